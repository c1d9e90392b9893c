// The match clock, the reminders and the boots played from scripts in
// tests/data/timing (match_clock.txt, boots.txt): steps move the fixed clock,
// tick, play and press buttons; checks read what the views, boxes, clipboard,
// announcer and log were given. A check of a list names what was added since
// the same check last ran (" | " between, "(none)" for nothing).
#include <gtest/gtest.h>

#include <sstream>

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
    if (name == "mode")
        S.Settings.DisplayMatchTimeRemaining = v == "remaining";
    else if (name == "limit")
        S.MsgParams.TimeLimits[static_cast<size_t>(args[0])] = a;
    else if (name == "warning")
        S.Messages[static_cast<size_t>(TMessageKind::mkTimeWarning)] = v;
    else if (name == "remind") {
        bool on[3] = {false, false, false};
        std::istringstream minutes(v);
        for (int m; minutes >> m;)
            on[m == 15 ? 0 : m == 10 ? 1 : 2] = true;
        SetReminders(S, on[0], on[1], on[2]);
    } else if (name == "only table")
        for (int t = 0; t < 8; ++t)
            Table(t).StartTime = t == a ? Table(t).StartTime : 0;
    else if (name == "restart") {
        std::istringstream tables(v);
        for (int t; tables >> t;)
            Table(t).StartTime = Now();
    } else if (name == "started ago")
        Table(a).StartTime = Now() - b / SecondsPerDay;
    else if (name == "forget reminders")
        Table(0).Reminded15 = Table(0).Reminded10 = Table(0).Reminded5 = false;
    else if (name == "at")
        At(std::stod(v));
    else if (name == "advance")
        Advance(std::stod(v));
    else if (name == "tick" || name == "busy tick")
        Clock.TimerTick(S, name == "busy tick");
    else if (name == "scan")
        Clock.CheckMatchTimes(S);
    else if (name == "refresh")
        Clock.RefreshView(S, W);
    else if (name == "win")
        AssignWin(S, W, 0, a, b, true, false);
    else if (name == "boot")
        ToggleBoot(S, Clock, seat);
    else if (name == "lobby window")
        S.FLobbyEditWnd = 1;
    else if (name == "answer")
        v == "no" ? Dialogs.AnswerNo() : Dialogs.AnswerYes(v != "yes");
    else if (name == "boot time")
        SetBootTime(S, a);
    else if (name == "booted out")
        P(a)->BootedOut = true;
    else if (name == "copy time")
        CopyTimeRemaining(S, seat);
    else if (name == "reset timer")
        ResetTimer(S, Clock, seat);
    else if (name == "do") {
        if (v == "increment")
            IncrementBootCount(S, seat);
        else if (v == "decrement")
            DecrementBootCount(S, seat);
        else if (v == "clear")
            ClearBootCount(S, seat);
        else if (v == "cancel silently")
            CancelBootSilently(S, seat);
        else if (v == "cancel booted")
            CancelBootedState(S, seat);
        else
            ADD_FAILURE() << "no such boot command";
    }
    // Checks.
    else if (name == "slot")
        EXPECT_EQ(Slot(args[0], v), v);
    else if (name == "hint")
        EXPECT_EQ(TickView.At(W, args[0]).Hint, v);
    else if (name == "messages")
        EXPECT_EQ(Since(name, Dialogs.Messages), v);
    else if (name == "asked")
        EXPECT_EQ(Since(name, Dialogs.Asked), v);
    else if (name == "clipboard")
        EXPECT_EQ(Since(name, World.Lobby.Clipboard), v);
    else if (name == "posted")
        EXPECT_EQ(Since(name, Postings()), v);
    else if (name == "not posted")
        EXPECT_EQ(Since("posted", Postings()).find(v), std::string::npos);
    else if (name == "overdue") {
        std::vector<std::string> rows;
        for (const TOverdueTable& o : TickView.Overdue)
            rows.push_back(std::to_string(o.TableNo) + " " + o.RoundLabel + " " +
                           std::to_string(o.ElapsedMinutes) + " " +
                           std::to_string(o.OverdueSeconds));
        EXPECT_EQ(Joined(rows), v);
    } else if (name == "overdue shown")
        EXPECT_EQ(TickView.OverdueCalls, a);
    else if (name == "boot rows") {
        std::vector<std::string> rows;
        for (const TBootRow& r : TickView.Boots)
            rows.push_back(r.Name + " " + r.Time + " " + std::to_string(r.TableNo));
        EXPECT_EQ(Joined(rows), v);
    } else if (name == "active boots") {
        std::string names;
        for (const TPlayer* p : S.ActiveBoots)
            names += (names.empty() ? "" : " ") + p->Name;
        EXPECT_EQ(names.empty() ? "(none)" : names, v);
    } else if (name == "player")
        EXPECT_EQ(Player(args[0]), v);
    else if (name == "caption") {
        const std::string text = View.Caption(W, args[0], args[1]);
        EXPECT_EQ(
            View.Icon(W, args[0], args[1]) ? (text.empty() ? "(icon)" : text + " (icon)") : text,
            v);
    } else if (name == "boot time is")
        EXPECT_EQ(S.BootTime, a);
    else if (name == "result")
        EXPECT_EQ(Table(args[0]).Result, a);
    else if (name == "redrawn")
        EXPECT_TRUE(View.Called("redraw " + v));
    else if (name == "log")
        EXPECT_NE(ReadFileBytes(Dir.File("t.log")).find(v), std::string::npos) << v;
    else if (name == "table menu" || name == "menu") {
        std::vector<std::string> on;
        if (name == "table menu") {
            const TTableMenuState m = TableMenuEnabling(S, seat);
            if (m.CopyTime) on.push_back("copy");
            if (m.ResetTimer) on.push_back("reset");
        } else {
            const TBootMenuState m = BootMenuEnabling(S, seat);
            const std::pair<bool, const char*> items[] = {{m.ClearCount, "clear"},
                                                          {m.IncrementCount, "increment"},
                                                          {m.DecrementCount, "decrement"},
                                                          {m.CancelTiming, "cancel timing"},
                                                          {m.CancelBooted, "cancel booted"}};
            for (const auto& [enabled, item] : items)
                if (enabled) on.push_back(item);
        }
        std::string shown;
        for (const auto& o : on)
            shown += (shown.empty() ? "" : ", ") + o;
        EXPECT_EQ(on.empty() ? "(none)" : shown, v);
    } else
        ADD_FAILURE() << "unknown step " << name;
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
