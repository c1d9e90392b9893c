// The timing rules played from scripts in tests/data/timing: the match clock,
// the reminders and the boots (match_clock.txt, boots.txt: steps move the
// fixed clock, tick, play and press buttons; checks read what the views,
// boxes, clipboard, announcer and log were given), and the rules worked by
// hand: the world clock (zones.txt), the start-table example
// (start_tables.txt) and the limit each tab's clocks use (clock_limits.txt).
// A check of a list names what was added since the same check last ran
// (" | " between, "(none)" for nothing). The files' opening comments are the
// vocabulary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>

#include "common/int_list.h"
#include "common/text.h"
#include "engine/boots.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/undo.h"
#include "fakes/case_file.h"
#include "formats/format_defaults.h"
#include "lobby/script_steps.h"
#include "formats/messages.h"
#include "session/lifecycle.h"
#include "timing/boot_timer.h"
#include "timing/match_clock.h"
#include "timing/reminders.h"
#include "timing/start_tables.h"
#include "timing/time_zone.h"
#include "timing/time_zone_fit.h"
#include "timing/world_clock.h"
#include "timing/zone_text.h"

namespace kestrova::testing {
namespace {

constexpr auto W = TBracketKind::Winners;
using Lines = std::vector<std::string>;

// The enum whose values are in the order of `names`.
template <class E>
E Named(const std::string& word, const Lines& names) {
    return static_cast<E>(std::find(names.begin(), names.end(), word) - names.begin());
}

std::string Shown(const TSystemTime& d) {
    if (d.Month == 0) return "-";
    return Format("%d/%d/%d/%d", d.Month, d.DayOfWeek, d.Day, d.Hour);
}

std::string Shown(const TTimeZoneRule& r) {
    return Format("%d %d %d ", r.Bias, r.StandardBias, r.DaylightBias) + Shown(r.StandardDate) +
           " " + Shown(r.DaylightDate);
}

TDateTime InstantOf(const std::string& text) {  // "YYYY-MM-DD HH:NN"
    int y = 0, m = 0, d = 0, h = 0, n = 0;
    std::sscanf(text.c_str(), "%d-%d-%d %d:%d", &y, &m, &d, &h, &n);
    return EncodeDateTime(y, m, d, h, n);
}

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
        out += Format(out.empty() ? "%02x" : " %02x", c);
    return out;
}

std::string Bytes(const std::string& hex) {
    std::string out;
    std::istringstream in(hex);
    for (unsigned v; in >> std::hex >> v;)
        out += static_cast<char>(v);
    return out;
}

// "OFFSET FIRST LAST: UTC OFFSET-AFTER daylight|standard, ..." to the rule fitted.
std::string Fit(const std::string& in) {
    std::istringstream head(in.substr(0, in.find(':')));
    int offset = 0, first = 0, last = 0;
    head >> offset >> first >> last;
    std::vector<TZoneTransition> all;
    std::istringstream rest(in.substr(in.find(':') + 1));
    for (std::string one; std::getline(rest, one, ',');) {
        std::istringstream words(one);
        std::string day, time, kind;
        TZoneTransition t;
        words >> day >> time >> t.OffsetAfter >> kind;
        t.Utc = InstantOf(day + " " + time);
        t.StandardAfter = offset;
        t.DaylightAfter = kind == "daylight";
        all.push_back(t);
    }
    const auto rule = FitTziRule(offset, all, first, last);
    return rule ? Shown(*rule) : "none";
}

// "single|double|triple PLAYERS" to each round's field: its last table, "open"
// when it is enabled without an example, "-" when greyed ("greyed N" for a
// greyed field that still shows its last table).
std::string Example(const TRoundList& tables, const std::string& in) {
    std::istringstream words(in);
    std::string format;
    int players = 0;
    words >> format >> players;
    const auto f = Named<TElimFormat>(format, {"single", "double", "triple"});
    const TExampleTables x = ExampleLastTables(tables, players, f);
    std::string out;
    for (size_t r = 0; r < 15; ++r) {
        std::string field = x.Shown[r] ? std::to_string(x.Last[r]) : x.Reached[r] ? "open" : "-";
        if (x.Shown[r] && !x.Reached[r]) field = "greyed " + field;
        out += (r ? " " : "") + field;
    }
    return out;
}

// A timing view that keeps what every slot and list shows.
class FakeTimingView : public ITimingView {
  public:
    struct TSlot {
        std::string Text, Hint;
        TClockInk Ink = TClockInk::Unchanged;
        bool Yellow = false;
        Lines Told;  // every call, as "time TEXT [INK]", "hint TEXT", "blink on|off"
    };
    std::map<std::pair<TBracketKind, int>, TSlot> Slots;
    std::vector<TOverdueTable> Overdue;
    std::vector<TBootRow> Boots;
    int OverdueCalls = 0;
    TSlot& At(TBracketKind b, int slot) { return Slots[{b, slot}]; }
    void SlotTimeChanged(TBracketKind b, int slot, const std::string& text,
                         TClockInk ink) override {
        const char* inks[] = {"", " maroon", " navy"};
        At(b, slot).Told.push_back("time " + text + inks[static_cast<int>(ink)]);
        At(b, slot).Text = text;
        if (ink != TClockInk::Unchanged) At(b, slot).Ink = ink;
    }
    void SlotHintChanged(TBracketKind b, int slot, const std::string& hint) override {
        At(b, slot).Told.push_back("hint " + hint);
        At(b, slot).Hint = hint;
    }
    void SlotBlinkChanged(TBracketKind b, int slot, bool yellow) override {
        At(b, slot).Told.push_back(yellow ? "blink on" : "blink off");
        At(b, slot).Yellow = yellow;
    }
    void StatusClocks() override {}
    void OverdueRowsChanged(const std::vector<TOverdueTable>& rows) override {
        ++OverdueCalls;
        Overdue = rows;
    }
    void BootRowsChanged(const std::vector<TBootRow>& rows) override { Boots = rows; }
};

// Boot buttons as the engine tells the window of them.
class BootButtonView : public FakeView {
  public:
    std::map<std::tuple<int, int, int>, std::pair<std::string, bool>> Buttons;
    void BootButtonChanged(TBracketKind b, int t, int seat, const std::string& caption,
                           bool icon) override {
        Buttons[{static_cast<int>(b), t, seat}] = {caption, icon};
    }
    // The caption and whether the icon shows; "?" for a button never told of.
    std::pair<std::string, bool> Button(TBracketKind b, int t, int seat) {
        auto it = Buttons.find({static_cast<int>(b), t, seat});
        return it == Buttons.end() ? std::pair("?", false) : it->second;
    }
};

// Dialogs that run a hook inside the modal boxes.
class HookedDialogs : public FakeDialogs {
  public:
    std::function<void()> Inside;
    void MessageBox(TMessageBoxKind kind, const std::string& text) override {
        FakeDialogs::MessageBox(kind, text);
        if (Inside) Inside();
    }
    TConfirmAnswer ConfirmDlg(const std::string& text) override {
        if (Inside) Inside();
        return FakeDialogs::ConfirmDlg(text);
    }
};

// A tournament wired to fakes, with what the timing cases need.
struct Script {
    TempDir Dir;
    FakeWorld World;
    HookedDialogs Dialogs;
    BootButtonView View;
    RecordingAnnouncer Announcer;
    FakeTimingView TickView;
    TMatchClock Clock;
    TTourneyState S;
    FakeTimeZoneStore Zones;
    TRoundList Tables = DefaultStartTables;
    TSinceLast Since;
    // Steps run inside the modal boxes ("KEY = VALUE" lines), as ticks run
    // behind a real one; in the next box only, unless `EveryBox`.
    std::string InsideSteps;
    bool EveryBox = false;
    int Boxes = 0;  // the boxes the steps ran in

    Script() {
        World.Wire(S, &Announcer);
        S.Ports.Dialogs = &Dialogs;
        S.Ports.View = &View;
        S.Ports.TimeZones = &Zones;
        S.TourneyPath = Dir.File("t.kvb");
        S.SettingsLoaded = true;
        Clock.SetView(&TickView);
        Dialogs.Inside = [this] {
            const std::string steps = InsideSteps;
            if (steps.empty()) return;
            ++Boxes;
            if (!EveryBox) InsideSteps.clear();
            for (const std::string& line : SplitLines(steps)) {
                const size_t eq = line.find(" = ");
                Step(line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 3));
            }
        };
    }
    // A started tournament: sign-ups closed and every first-round clock running.
    void Start(TElimFormat f, int n) {
        StartTourney(S, f, n);
        AllStart(S);
        Announcer.Postings.clear();
        Dialogs.Asked.clear();
    }
    void Advance(double seconds) { World.Clock.AdvanceSeconds(seconds); }
    void Tick() { Clock.TimerTick(S); }
    TDateTime Now() const { return World.Clock.Time; }
    TPlayer* P(int i) { return S.Players[static_cast<size_t>(i - 1)].get(); }
    void At(double seconds) {
        const TRoundRec& shown = S.Winners[static_cast<size_t>(S.SelectedTab[0])];
        World.Clock.Time = shown.Tables[0].StartTime + seconds / SecondsPerDay;
    }
    TTableRec& Table(int t) { return S.Winners[0].Tables[static_cast<size_t>(t)]; }
    Lines Postings() {
        Lines out;
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
        const auto [text, icon] = View.Button(W, t, seat);
        if (!icon) return text;
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
    void SetLocal(std::istream& words) {
        std::string state;
        TLocalZoneInfo& local = Zones.Local;
        words >> local.Bias >> local.StandardBias >> local.DaylightBias >> state;
        local.State = Named<TLocalZoneInfo::TState>(state, {"unknown", "standard", "daylight"});
    }
    std::string Bias(std::istream& words, const std::string& in) {
        const TTimeZoneRule r = RuleOf(words);
        const TZoneBias b = ZoneBias(r, Zones.Local, InstantOf(in.substr(in.find(" at ") + 4)));
        return Format("%.0f ", b.Days * 1440) + (b.Daylight ? "daylight" : "standard");
    }
    std::string ZoneClock(bool middle) {
        const std::string& pattern = middle ? S.MiddleClockFormat : S.RightClockFormat;
        return Format("%.0f", middle ? S.MiddleZoneBias : S.RightZoneBias) +
               (pattern.empty() ? "" : " ") + pattern;
    }
    std::string ZoneList() {
        Lines shown;
        for (const TTimeZoneInfo& z : ReadZoneList(Zones))
            shown.push_back(z.KeyName + " " + z.StdAbbrev + " " + z.DltAbbrev);
        return Joined(shown);
    }
    void Step(std::string key, const std::string& v);
};

void Script::Step(std::string key, const std::string& v) {
    int a = 0, b = 0;
    std::istringstream(v) >> a >> b;
    double seconds = 0;  // the second number, for lengths beyond an int
    std::istringstream(v) >> a >> seconds;
    const auto [in, want] = v.find("->") == std::string::npos ? std::pair(v, v) : Arrow(v);
    std::istringstream words(in);
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
        Lines shown;
        for (const auto& r : list)
            shown.push_back(row(r));
        return Joined(shown);
    };
    TAppSettings& set = S.Settings;
    const std::map<std::string, std::function<void()>> steps = {
        // The match clock and the boots.
        {"mode", [&] { set.DisplayMatchTimeRemaining = v == "remaining"; }},
        {"limits", [&] { S.MsgParams.TimeLimits = ParseIntList(v); }},
        {"tab", [&] { S.SelectedTab[0] = a; }},
        {"play to the winners final",  // at random, from the seed given
         [&] {
             std::mt19937 rng(static_cast<unsigned>(a));
             const auto& final = S.Winners[static_cast<size_t>(S.WinnersFinalRound)];
             for (int guard = 0; guard < 50 && final.Tables[0].StartTime == 0; ++guard)
                 ASSERT_TRUE(PlayRandomResult(S, rng));
         }},
        {"limit", [&] { S.MsgParams.TimeLimits[static_cast<size_t>(args[0])] = a; }},
        {"warning", [&] { S.Messages[static_cast<size_t>(TMessageKind::mkTimeWarning)] = v; }},
        {"remind", [&] { SetReminders(S, Has(v, "15"), Has(v, "10"), Has(" " + v, " 5")); }},
        {"only table", [&] { OnlyTable(a); }},
        {"restart", [&] { Restart(v); }},
        {"started ago", [&] { Table(a).StartTime = Now() - seconds / SecondsPerDay; }},
        {"forget reminders",
         [&] { Table(0).Reminded15 = Table(0).Reminded10 = Table(0).Reminded5 = false; }},
        {"at", [&] { At(std::stod(v)); }},
        {"advance", [&] { Advance(std::stod(v)); }},
        {"tick", [&] { Clock.TimerTick(S, false); }},
        {"busy tick", [&] { Clock.TimerTick(S, true); }},
        {"ticks",  // "COUNT x SECONDS": a tick after each step of the clock
         [&] {
             for (int i = 0; i < a; ++i) {
                 Advance(std::stod(v.substr(v.find(" x ") + 3)));
                 Tick();
             }
         }},
        {"inside boxes", [&] { InsideSteps = v, EveryBox = true; }},
        {"inside the next box", [&] { InsideSteps = v, EveryBox = false; }},
        {"file boot time", [&] { S.BootTime = a; }},
        {"clamp", [&] { ClampTimingValues(S); }},
        {"scan", [&] { Clock.CheckMatchTimes(S); }},
        {"refresh", [&] { Clock.RefreshView(S, W); }},
        {"win", [&] { AssignWin(S, W, 0, a, b, true, false); }},
        {"undo", [&] { Undo(S); }},
        {"new tourney",  // "= ROW": the starting tables given in the dialog
         [&] {
             TNewTourneyOptions o;
             if (!v.empty()) o.StartTables = ParseIntList(v);
             StartNewTourney(S, o);
         }},
        {"boot", [&] { ToggleBoot(S, Clock, seat); }},
        {"lobby window", [&] { S.FLobbyEditWnd = 1; }},
        {"answer", [&] { v == "no" ? Dialogs.AnswerNo() : Dialogs.AnswerYes(v != "yes"); }},
        {"boot time", [&] { SetBootTime(S, a); }},
        {"booted out", [&] { P(a)->BootedOut = true; }},
        {"boot start", [&] { P(a)->BootStart = std::stod(v.substr(v.find(' '))); }},  // "N DAYS"
        {"copy time", [&] { CopyTimeRemaining(S, seat); }},
        {"reset timer", [&] { ResetTimer(S, Clock, seat); }},
        {"do", [&] { BootCommand(v, seat); }},
        {"slot", [&] { EXPECT_EQ(Slot(args[0], v), v); }},
        {"hint", [&] { EXPECT_EQ(TickView.At(W, args[0]).Hint, v); }},
        {"told", [&] { EXPECT_EQ(Since(key, TickView.At(W, args[0]).Told), v); }},
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
        {"limits are", [&] { EXPECT_EQ(FormatIntList(S.MsgParams.TimeLimits), v); }},
        {"elapsed", [&] { EXPECT_EQ(ElapsedSeconds(Now(), Now() - seconds / SecondsPerDay), a); }},
        {"scan active", [&] { EXPECT_EQ(Clock.ReminderScanActive() ? "yes" : "no", v); }},
        {"boxes", [&] { EXPECT_EQ(Boxes, a); }},
        {"result", [&] { EXPECT_EQ(Table(args[0]).Result, a); }},
        {"redrawn", [&] { EXPECT_TRUE(View.Called("redraw " + v)); }},
        {"log", [&] { EXPECT_TRUE(Has(ReadFileBytes(Dir.File("t.log")), v)) << v; }},
        {"table menu", [&] { EXPECT_EQ(TableMenu(seat), v); }},
        {"menu", [&] { EXPECT_EQ(BootMenu(seat), v); }},
        // The time zones and the world clock.
        {"local", [&] { SetLocal(words); }},
        {"initials", [&] { EXPECT_EQ(ZoneInitials(in), want); }},
        {"transition",
         [&] {
             std::string date;
             int year = 0, bias = 0;
             words >> date >> year >> bias;
             EXPECT_NEAR(TransitionInstant(DateOf(date), year, bias), InstantOf(want),
                         1.0 / 86400000);
         }},
        {"bias", [&] { EXPECT_EQ(Bias(words, in), want); }},
        {"tzi",
         [&] {
             const std::string bytes = EncodeTzi(RuleOf(words));
             EXPECT_EQ(Hex(bytes), want);
             std::istringstream again(in);
             EXPECT_EQ(Shown(*DecodeTzi(bytes)), Shown(RuleOf(again)));
         }},
        {"tzi bytes",
         [&] {
             const auto rule = DecodeTzi(Bytes(in));
             const std::string again = rule ? Hex(EncodeTzi(*rule)) : "refused";
             EXPECT_EQ(again == Hex(Bytes(in)) ? "same" : again, want);
         }},
        {"fit", [&] { EXPECT_EQ(Fit(in), want); }},
        {"zone", [&] { Zones.Records.push_back(ZoneOf(v)); }},
        {"now", [&] { World.Clock.Time = InstantOf(v); }},
        {"middle zone", [&] { set.MiddleTimeZone = v; }},
        {"right zone", [&] { set.RightTimeZone = v; }},
        {"24 hour",
         [&] {
             set.MiddleTime24Hour = Has(v, "middle");
             set.RightTime24Hour = Has(v, "right");
         }},
        {"damaged",
         [&] {
             for (TTimeZoneRecord& r : Zones.Records)
                 if (r.KeyName == v) r.Tzi.resize(40);
         }},
        {"store",
         [&] {
             Zones.Fail = v == "failing";
             S.Ports.TimeZones = v == "none" ? nullptr : &Zones;
         }},
        {"load", [&] { LoadZoneClocks(S); }},
        {"middle", [&] { EXPECT_EQ(ZoneClock(true), v); }},
        {"right", [&] { EXPECT_EQ(ZoneClock(false), v); }},
        {"panels",
         [&] {
             const auto p = ClockPanelTexts(S);
             EXPECT_EQ(Trim(Joined({p[0], p[1], p[2]})), v);
         }},
        {"middle time", [&] { EXPECT_EQ(MiddleZoneTime(S), InstantOf(v)); }},
        {"expand", [&] { EXPECT_EQ(ExpandMessage(S, in, S.MsgParams), want); }},
        {"zone list", [&] { EXPECT_EQ(ZoneList(), v); }},
        // The start tables and the limits of the tabs.
        {"tables",
         [&] {
             Tables = ParseIntList(v);
             if (v == "wild") Tables.fill(-7);
         }},
        {"example", [&] { EXPECT_EQ(Example(Tables, in), want); }},
        {"finals",
         [&] { words >> S.GrandFinalRound >> S.WinnersFinalRound >> S.OneLossFinalRound; }},
        {"limit index",
         [&] {
             std::string bracket;
             int tab = 0;
             words >> bracket >> tab;
             const auto kind = Named<TBracketKind>(bracket, {"W", "O", "T"});
             EXPECT_EQ(ClockLimitIndex(S, kind, tab), std::stoi(want));
         }},
        {"start",
         [&] {
             std::string format;
             words >> format >> a;
             Start(Named<TElimFormat>(format, {"single", "double", "triple"}), a);
         }},
        {"apply", [&] { ApplyStartTables(S, ParseIntList(v)); }},
        {"set default", [&] { SaveDefaultStartTableRow(S, ParseIntList(v)); }},
        {"start tables", [&] { EXPECT_EQ(FormatIntList(S.StartTable), v); }},
        {"first table", [&] { EXPECT_EQ(Table(0).TableNo, a); }},
        {"first shown table",
         [&] { EXPECT_EQ(S.Winners[static_cast<size_t>(S.SelectedTab[0])].Tables[0].TableNo, a); }},
        {"saved", [&] { EXPECT_EQ(ReadFileBytes(Dir.File("t.kvb")).empty() ? "no" : "yes", v); }},
        {"default row", [&] { EXPECT_EQ(set.DefaultStartTables, v); }},
        {"saved row",
         [&] {
             set.DefaultStartTables = in;
             EXPECT_EQ(FormatIntList(DefaultStartTableRow(set)), want);
         }},
    };
    const auto step = steps.find(name);
    if (step == steps.end())
        ADD_FAILURE() << "unknown step " << name;
    else
        step->second();
}

// Each case of `file` on a fresh tournament, started in `format` with
// 45-minute limits when one is given.
void Play(const std::string& file, std::optional<TElimFormat> format) {
    for (const TCase& c : ReadCases(file)) {
        SCOPED_TRACE(c.Where());
        Script s;
        if (format) {
            s.Start(*format, 16);
            s.S.MsgParams.TimeLimits.fill(45);
        }
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
TEST(TimingScripts, RulesWorkedByHand) {
    for (const char* file :
         {"timing/zones.txt", "timing/start_tables.txt", "timing/clock_limits.txt"})
        Play(file, std::nullopt);
}

}  // namespace
}  // namespace kestrova::testing
