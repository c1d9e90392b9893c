// The match clock, the reminders and the boots played from scripts in
// tests/data/timing (match_clock.txt, boots.txt): steps move the fixed clock,
// tick, play and press buttons; checks read what the views, boxes, clipboard,
// announcer and log were given. A check of a list names what was added since
// the same check last ran (" | " between, "(none)" for nothing).
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "common/text.h"
#include "engine/boots.h"
#include "engine/results.h"
#include "fakes/case_file.h"
#include "timing/boot_timer.h"
#include "timing/reminders.h"
#include "timing/timing_fixture.h"

namespace kestrova::testing {
namespace {

constexpr auto W = TBracketKind::Winners;

struct Script : TimingWorld {
    std::map<std::string, size_t> Seen;
    std::string Since(const std::string& check, const std::vector<std::string>& list) {
        size_t& from = Seen[check];
        std::string out = from == list.size() ? "(none)" : "";
        for (size_t i = from; i < list.size(); ++i)
            out += (i == from ? "" : " | ") + list[i];
        from = list.size();
        return out;
    }
    static std::string Joined(const std::vector<std::string>& v) {
        std::string out = v.empty() ? "(none)" : "";
        for (size_t i = 0; i < v.size(); ++i)
            out += (i ? " | " : "") + v[i];
        return out;
    }
    void At(double seconds) {
        World.Clock.Time = S.Winners[0].Tables[0].StartTime + seconds / SecondsPerDay;
    }
    TTableRec& Table(int t) { return S.Winners[0].Tables[static_cast<size_t>(t)]; }
    std::vector<std::string> Postings() {
        std::vector<std::string> out;
        for (const auto& p : Announcer.Postings)
            out.push_back(std::string(MessageKey(p.Kind)) + ": " + p.Params.PlayerName + " " +
                          p.Params.OpponentName + " " + std::to_string(p.Params.TableNo) +
                          (p.Kind == TMessageKind::mkBoot
                               ? " " + std::to_string(p.Params.BootSecondsLeft)
                               : "") +
                          (p.Automatic ? "" : " [host]"));
        return out;
    }
    std::string Player(int i) {
        const TPlayer& p = *P(i);
        return std::string(p.BootedOut ? "booted out, " : "") + std::to_string(p.BootCount) +
               (p.BootCount == 1 ? " boot" : " boots") + (p.BootStart != 0 ? ", timed" : "");
    }
    // The slot's text, ", yellow" when it blinks, and its ink when `v` names one.
    std::string Slot(int k, const std::string& v) {
        const auto& x = TickView.At(W, k);
        const char* inks[] = {"", ", maroon", ", navy"};
        const bool ink =
            v.find("maroon") != std::string::npos || v.find("navy") != std::string::npos;
        return x.Text + (x.Yellow ? ", yellow" : "") + (ink ? inks[static_cast<int>(x.Ink)] : "");
    }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
    void OnlyTable(int kept) {
        for (int t = 0; t < 8; ++t)
            if (t != kept) Table(t).StartTime = 0;
    }
    void Restart(const std::string& tables) {
        std::istringstream in(tables);
        for (int t; in >> t;)
            Table(t).StartTime = Now();
    }
    void BootCommand(const std::string& v, const TSeatRef& seat) {
        if (v == "increment") IncrementBootCount(S, seat);
        if (v == "decrement") DecrementBootCount(S, seat);
        if (v == "clear") ClearBootCount(S, seat);
        if (v == "cancel silently") CancelBootSilently(S, seat);
        if (v == "cancel booted") CancelBootedState(S, seat);
    }
    static std::string Overdue(const TOverdueTable& o) {
        return Format("%d ", o.TableNo) + o.RoundLabel +
               Format(" %d %d", o.ElapsedMinutes, o.OverdueSeconds);
    }
    static std::string BootRow(const TBootRow& r) {
        return r.Name + " " + r.Time + " " + std::to_string(r.TableNo);
    }
    std::string Caption(int t, int seat) {
        const std::string text = View.Caption(W, t, seat);
        if (!View.Icon(W, t, seat)) return text;
        return text.empty() ? "(icon)" : text + " (icon)";
    }
    static std::string Enabled(const std::vector<std::pair<bool, const char*>>& items) {
        std::string shown;
        for (const auto& [enabled, item] : items)
            if (enabled) shown += (shown.empty() ? "" : ", ") + std::string(item);
        return shown.empty() ? "(none)" : shown;
    }
    std::string TableMenu(const TSeatRef& seat) {
        const TTableMenuState m = TableMenuEnabling(S, seat);
        return Enabled({{m.CopyTime, "copy"}, {m.ResetTimer, "reset"}});
    }
    std::string BootMenu(const TSeatRef& seat) {
        const TBootMenuState m = BootMenuEnabling(S, seat);
        return Enabled({{m.ClearCount, "clear"},
                        {m.IncrementCount, "increment"},
                        {m.DecrementCount, "decrement"},
                        {m.CancelTiming, "cancel timing"},
                        {m.CancelBooted, "cancel booted"}});
    }
    void Step(std::string key, const std::string& v);
};

void Script::Step(std::string key, const std::string& v) {
    std::istringstream in(v);
    int a = 0, b = 0;
    in >> a >> b;
    // "slot 3", "caption 1 0", "menu 7 1": the numbers after the name are arguments.
    std::istringstream k(key);
    std::string name, word;
    std::vector<int> args;
    k >> name;
    while (k >> word) {
        if (std::isdigit(static_cast<unsigned char>(word[0])))
            args.push_back(std::stoi(word));
        else
            name += " " + word;
    }
    const TSeatRef seat{W, 0, args.size() > 0 ? args[0] : a, args.size() > 1 ? args[1] : b};
    const bool at = name.size() > 3 && name.compare(name.size() - 3, 3, " at") == 0;
    if (at) {
        At(std::stod(v));
        name.resize(name.size() - 3);
    }
    auto rows = [&](auto& list, auto row) {
        std::vector<std::string> shown;
        for (const auto& r : list)
            shown.push_back(row(r));
        return Joined(shown);
    };
    const std::map<std::string, std::function<void()>> steps = {
        {"mode", [&] { S.Settings.DisplayMatchTimeRemaining = v == "remaining"; }},
        {"limit", [&] { S.MsgParams.TimeLimits[static_cast<size_t>(args[0])] = a; }},
        {"warning", [&] { S.Messages[static_cast<size_t>(TMessageKind::mkTimeWarning)] = v; }},
        {"remind", [&] { SetReminders(S, Has(v, "15"), Has(v, "10"), Has(" " + v, " 5")); }},
        {"only table", [&] { OnlyTable(a); }},
        {"restart", [&] { Restart(v); }},
        {"started ago", [&] { Table(a).StartTime = Now() - b / SecondsPerDay; }},
        {"forget reminders",
         [&] { Table(0).Reminded15 = Table(0).Reminded10 = Table(0).Reminded5 = false; }},
        {"at", [&] { At(std::stod(v)); }},
        {"advance", [&] { Advance(std::stod(v)); }},
        {"tick", [&] { Clock.TimerTick(S, false); }},
        {"busy tick", [&] { Clock.TimerTick(S, true); }},
        {"scan", [&] { Clock.CheckMatchTimes(S); }},
        {"refresh", [&] { Clock.RefreshView(S, W); }},
        {"win", [&] { AssignWin(S, W, 0, a, b, true, false); }},
        {"boot", [&] { ToggleBoot(S, Clock, seat); }},
        {"lobby window", [&] { S.FLobbyEditWnd = 1; }},
        {"answer", [&] { v == "no" ? Dialogs.AnswerNo() : Dialogs.AnswerYes(v != "yes"); }},
        {"boot time", [&] { SetBootTime(S, a); }},
        {"booted out", [&] { P(a)->BootedOut = true; }},
        {"copy time", [&] { CopyTimeRemaining(S, seat); }},
        {"reset timer", [&] { ResetTimer(S, Clock, seat); }},
        {"do", [&] { BootCommand(v, seat); }},
        // Checks.
        {"slot", [&] { EXPECT_EQ(Slot(args[0], v), v); }},
        {"hint", [&] { EXPECT_EQ(TickView.At(W, args[0]).Hint, v); }},
        {"messages", [&] { EXPECT_EQ(Since(name, Dialogs.Messages), v); }},
        {"asked", [&] { EXPECT_EQ(Since(name, Dialogs.Asked), v); }},
        {"clipboard", [&] { EXPECT_EQ(Since(name, World.Lobby.Clipboard), v); }},
        {"posted", [&] { EXPECT_EQ(Since(name, Postings()), v); }},
        {"not posted", [&] { EXPECT_FALSE(Has(Since("posted", Postings()), v)); }},
        {"overdue", [&] { EXPECT_EQ(rows(TickView.Overdue, Overdue), v); }},
        {"overdue shown", [&] { EXPECT_EQ(TickView.OverdueCalls, a); }},
        {"boot rows", [&] { EXPECT_EQ(rows(TickView.Boots, BootRow), v); }},
        {"active boots",
         [&] { EXPECT_EQ(rows(S.ActiveBoots, [](const TPlayer* p) { return p->Name; }), v); }},
        {"player", [&] { EXPECT_EQ(Player(args[0]), v); }},
        {"caption", [&] { EXPECT_EQ(Caption(args[0], args[1]), v); }},
        {"boot time is", [&] { EXPECT_EQ(S.BootTime, a); }},
        {"result", [&] { EXPECT_EQ(Table(args[0]).Result, a); }},
        {"redrawn", [&] { EXPECT_TRUE(View.Called("redraw " + v)); }},
        {"log", [&] { EXPECT_TRUE(Has(ReadFileBytes(Dir.File("t.log")), v)) << v; }},
        {"table menu", [&] { EXPECT_EQ(TableMenu(seat), v); }},
        {"menu", [&] { EXPECT_EQ(BootMenu(seat), v); }},
    };
    const auto step = steps.find(name);
    if (step == steps.end())
        ADD_FAILURE() << "unknown step " << name;
    else
        step->second();
}

void Play(const std::string& file, TElimFormat format) {
    for (const TCase& c : ReadCases(file)) {
        SCOPED_TRACE(c.Where());
        Script s;
        s.Start(format, 16);
        s.S.MsgParams.TimeLimits.fill(45);
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(key + " = " + value);
            s.Step(key, value);
        }
    }
}

TEST(TimingScripts, MatchClock) {
    Play("timing/match_clock.txt", TElimFormat::Single);
}
TEST(TimingScripts, Boots) {
    Play("timing/boots.txt", TElimFormat::Double);
}

}  // namespace
}  // namespace kestrova::testing
