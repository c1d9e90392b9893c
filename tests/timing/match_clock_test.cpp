// The one-second clock with a fixed clock stepped by hand: table texts in
// both display modes, the blink, finished tables, the overdue list, the
// reminders and their windows, the Double winners-final index, a clock set
// back, ticks behind a modal box, and three hours of ticks that keep time.
#include <gtest/gtest.h>

#include "common/datetime.h"
#include "engine/boots.h"
#include "engine/results.h"
#include "engine/status.h"
#include "timing/reminders.h"
#include "timing/timing_fixture.h"

namespace kestrova {
namespace {

using namespace testing;
constexpr auto W = TBracketKind::Winners;

class MatchClockTest : public ::testing::Test, public TimingWorld {
  protected:
    void SetUp() override {
        Start(TElimFormat::Single, 16);  // 8 tables in round 1, all running
        S.MsgParams.TimeLimits.fill(45);
        S.Messages[static_cast<size_t>(TMessageKind::mkTimeWarning)] = "%p and %o: %x minutes left";
    }
    // Puts the clock at `seconds` after table 0 of round 1 started.
    void At(long long seconds) {
        World.Clock.Time = S.Winners[0].Tables[0].StartTime + seconds / SecondsPerDay;
    }
    const FakeTimingView::TSlot& Slot(int k) { return TickView.At(W, k); }
};

TEST_F(MatchClockTest, FortyFiveMinuteTableInBothModes) {
    struct Row {
        long long Seconds;
        bool Remaining;
        const char* Text;
        bool Yellow;
    };
    const Row rows[] = {
        {0, true, "0:45", false},     {59, true, "0:45", false},   {60, true, "0:44", false},
        {2699, true, "0:01", false},  {2700, true, "0:00", false}, {2701, true, "0:00", true},
        {2702, true, "0:00", false},  {2703, true, "0:00", true},  {0, false, "0:00", false},
        {59, false, "0:00", false},   {60, false, "0:01", false},  {2700, false, "0:45", false},
        {2701, false, "0:45", true},  {3901, false, "1:05", true}, {3902, false, "1:05", false},
    };
    for (const Row& r : rows) {
        S.Settings.DisplayMatchTimeRemaining = r.Remaining;
        At(r.Seconds);
        Tick();
        EXPECT_EQ(Slot(0).Text, r.Text) << r.Seconds << (r.Remaining ? " remaining" : " elapsed");
        EXPECT_EQ(Slot(0).Yellow, r.Yellow) << r.Seconds;
        EXPECT_EQ(Slot(0).Ink, TClockInk::Maroon);
    }
    EXPECT_EQ(Slot(0).Hint, "Started at 8:00 PM");
    EXPECT_EQ(Slot(8).Text, "");  // no table there
    EXPECT_EQ(Slot(8).Hint, "");
}

TEST_F(MatchClockTest, FinishedTableShowsItsLengthInNavyAndNeverBlinks) {
    At(3000);
    AssignWin(S, W, 0, 0, 0, true, false);  // 50 minutes: past its limit when it ended
    for (int extra = 0; extra < 3; ++extra) {
        Advance(1);
        Tick();
        EXPECT_EQ(Slot(0).Text, "0:50");
        EXPECT_EQ(Slot(0).Ink, TClockInk::Navy);
        EXPECT_FALSE(Slot(0).Yellow);
    }
    for (const TOverdueTable& o : TickView.Overdue)
        EXPECT_NE(o.TableNo, S.Winners[0].Tables[0].TableNo);
}

TEST_F(MatchClockTest, OverdueTablesAreListedLongestFirstAndTheListEmpties) {
    TTableRec& a = S.Winners[0].Tables[2];
    TTableRec& b = S.Winners[0].Tables[5];
    for (int k = 0; k < 8; ++k)
        if (k != 2 && k != 5) S.Winners[0].Tables[k].StartTime = Now();  // far from overdue
    a.StartTime = Now() - 2760 / SecondsPerDay;  // 46 minutes ago
    b.StartTime = Now() - 4560 / SecondsPerDay;  // 1 h 16 min ago
    Tick();
    ASSERT_EQ(TickView.Overdue.size(), 2u);
    EXPECT_EQ(TickView.Overdue[0].TableNo, b.TableNo);
    EXPECT_EQ(TickView.Overdue[0].RoundLabel, "1");
    EXPECT_EQ(TickView.Overdue[0].ElapsedMinutes, 76);
    EXPECT_EQ(TickView.Overdue[0].OverdueSeconds, 4560 - 2700);
    EXPECT_EQ(TickView.Overdue[1].TableNo, a.TableNo);
    EXPECT_EQ(TickView.Overdue[1].OverdueSeconds, 60);
    const int calls = TickView.OverdueCalls;
    Advance(1);
    Tick();  // the same rows: the list is not rebuilt
    EXPECT_EQ(TickView.OverdueCalls, calls);
    AssignWin(S, W, 0, 5, 0, true, false);
    Tick();
    ASSERT_EQ(TickView.Overdue.size(), 1u);
    EXPECT_EQ(TickView.Overdue[0].TableNo, a.TableNo);
    AssignWin(S, W, 0, 2, 1, true, false);
    Tick();
    EXPECT_TRUE(TickView.Overdue.empty());
    EXPECT_TRUE(Clock.Overdue().empty());
}

TEST_F(MatchClockTest, FifteenMinuteReminderWindow) {
    struct Row {
        long long Left;
        bool Fires;
        int MinutesLeft;
    };
    for (const Row& r : {Row{900, true, 15}, Row{899, true, 14}, Row{841, true, 14},
                         Row{840, false, 0}, Row{901, false, 0}}) {
        for (int k = 1; k < 8; ++k)
            S.Winners[0].Tables[k].StartTime = 0;
        TTableRec& t = S.Winners[0].Tables[0];
        t.Reminded15 = t.Reminded10 = t.Reminded5 = false;
        S.Settings.RemindAt15 = true;
        Dialogs.Messages.clear();
        World.Lobby.Clipboard.clear();
        At(2700 - r.Left);
        Clock.CheckMatchTimes(S);
        if (!r.Fires) {
            EXPECT_TRUE(Dialogs.Messages.empty()) << r.Left;
            EXPECT_FALSE(t.Reminded15);
            continue;
        }
        ASSERT_EQ(Dialogs.Messages.size(), 1u) << r.Left;
        EXPECT_EQ(Dialogs.Messages[0], ReminderText(t.TableNo, "1", 15));
        EXPECT_EQ(Dialogs.Messages[0], "Table " + std::to_string(t.TableNo) +
                                           " in round 1 has 15 minutes left. You may Ctrl+V into "
                                           "the table.");
        ASSERT_EQ(World.Lobby.Clipboard.size(), 1u);
        EXPECT_EQ(World.Lobby.Clipboard[0], t.Seat[0]->Name + " and " + t.Seat[1]->Name + ": " +
                                                std::to_string(r.MinutesLeft) + " minutes left");
        EXPECT_TRUE(t.Reminded15);
        Clock.CheckMatchTimes(S);  // once per table and threshold
        EXPECT_EQ(Dialogs.Messages.size(), 1u);
    }
}

TEST_F(MatchClockTest, RemindersOnceEachAndNeverLateAfterASkippedWindow) {
    S.Settings.RemindAt15 = S.Settings.RemindAt10 = S.Settings.RemindAt5 = true;
    for (int k = 1; k < 8; ++k)
        S.Winners[0].Tables[k].StartTime = 0;  // one table only
    TTableRec& t = S.Winners[0].Tables[0];
    At(2700 - 901);
    Tick();
    At(2700 - 839);  // suspended across the whole 15-minute window
    Tick();
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_FALSE(t.Reminded15);
    At(2700 - 600);
    Tick();
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_NE(Dialogs.Messages[0].find(" has 10 minutes left."), std::string::npos);
    // The host sets the clock back a minute: the window comes round again, silently.
    At(2700 - 660);
    Tick();
    At(2700 - 599);
    Tick();
    EXPECT_EQ(Dialogs.Messages.size(), 1u);
    At(2700 - 300);
    Tick();
    ASSERT_EQ(Dialogs.Messages.size(), 2u);
    EXPECT_NE(Dialogs.Messages[1].find(" has 5 minutes left."), std::string::npos);
    At(2700 - 240);  // R = 240 is outside the last window
    t.Reminded5 = false;
    Tick();
    EXPECT_EQ(Dialogs.Messages.size(), 2u);
}

TEST_F(MatchClockTest, ZeroLimitSwitchesEveryConsequenceOff) {
    S.MsgParams.TimeLimits[0] = 0;
    S.Settings.RemindAt15 = true;
    S.Settings.DisplayMatchTimeRemaining = true;
    At(1800);
    Tick();
    EXPECT_TRUE(Dialogs.Messages.empty());
    At(3601);
    Tick();
    EXPECT_EQ(Slot(0).Text, "1:00");  // elapsed, not remaining
    EXPECT_FALSE(Slot(0).Yellow);
    EXPECT_TRUE(TickView.Overdue.empty());
    const TSeatRef at{W, 0, 0, 0};
    EXPECT_TRUE(TableMenuEnabling(S, at).ResetTimer);
    EXPECT_FALSE(TableMenuEnabling(S, at).CopyTime);
}

TEST_F(MatchClockTest, DoubleWinnersFinalUsesTheSemifinalLimitOnScreenOnly) {
    TimingWorld d;
    d.Start(TElimFormat::Double, 8);
    std::mt19937 rng(3);
    for (int guard = 0; guard < 50 && d.S.Winners[d.S.WinnersFinalRound].Tables[0].StartTime == 0;
         ++guard)
        ASSERT_TRUE(PlayRandomResult(d.S, rng));
    const int wf = d.S.WinnersFinalRound;
    ASSERT_EQ(GetRoundIndex(d.S, wf, W), wf);
    ASSERT_EQ(ClockLimitIndex(d.S, W, wf), 13);
    d.S.MsgParams.TimeLimits.fill(0);
    d.S.MsgParams.TimeLimits[static_cast<size_t>(wf)] = 20;
    d.S.MsgParams.TimeLimits[13] = 30;
    d.S.Settings.DisplayMatchTimeRemaining = true;
    d.S.SelectedTab[0] = wf;
    TTableRec& t = d.S.Winners[wf].Tables[0];
    d.World.Clock.Time = t.StartTime + 21 * 60 / SecondsPerDay;
    d.Tick();
    EXPECT_EQ(d.TickView.At(W, 0).Text, "0:09");  // 30 minutes on screen
    EXPECT_FALSE(d.TickView.At(W, 0).Yellow);
    int rows = 0;  // 20 minutes for the list
    for (const TOverdueTable& o : d.TickView.Overdue)
        if (o.RoundLabel == "WF") {
            ++rows;
            EXPECT_EQ(o.TableNo, t.TableNo);
            EXPECT_EQ(o.OverdueSeconds, 60);
        }
    EXPECT_EQ(rows, 1);
}

TEST_F(MatchClockTest, StartInTheFutureShowsAFreshMatch) {
    S.Settings.RemindAt15 = true;
    S.MsgParams.TimeLimits[0] = 10;  // a future start must not look like 15 minutes left
    At(-600);
    S.Settings.DisplayMatchTimeRemaining = true;
    Tick();
    EXPECT_EQ(Slot(0).Text, "0:10");
    S.Settings.DisplayMatchTimeRemaining = false;
    Clock.RefreshView(S, W);
    EXPECT_EQ(Slot(0).Text, "0:00");
    EXPECT_FALSE(Slot(0).Yellow);
    EXPECT_TRUE(Dialogs.Messages.empty());
    // A start a century away, and limits and boot times a file could carry.
    S.Winners[0].Tables[1].StartTime = Now() - 36500;
    S.MsgParams.TimeLimits[0] = INT32_MAX;
    S.BootTime = INT32_MIN;
    Tick();
    EXPECT_EQ(ElapsedSeconds(Now(), Now() - 36500), 1000000000LL);
    ClampTimingValues(S);
    EXPECT_EQ(S.MsgParams.TimeLimits[0], 300);
    EXPECT_EQ(S.BootTime, 1);
    EXPECT_EQ(ElapsedSeconds(Now(), Now() + 1), 0);
}

TEST_F(MatchClockTest, TicksBehindTheReminderBoxKeepTheClocksButNotTheScan) {
    S.Settings.RemindAt15 = true;
    for (int k = 1; k < 8; ++k)
        S.Winners[0].Tables[k].StartTime = S.Winners[0].Tables[0].StartTime;
    At(2700 - 900);
    int inside = 0;
    Dialogs.Inside = [&] {
        ++inside;
        EXPECT_TRUE(Clock.ReminderScanActive());
        const int before = TickView.TimeCalls;
        Advance(60);
        Tick();  // the box is modal: the clock goes on behind it
        EXPECT_GT(TickView.TimeCalls, before);
    };
    Tick();
    Dialogs.Inside = nullptr;
    // Eight tables share the second: eight boxes one after another, none stacked.
    EXPECT_EQ(inside, 8);
    EXPECT_EQ(Dialogs.Messages.size(), 8u);
    EXPECT_FALSE(Clock.ReminderScanActive());
    Tick();
    EXPECT_EQ(Dialogs.Messages.size(), 8u);
}

TEST_F(MatchClockTest, BusyHostDefersRemindersWhileTheWindowLasts) {
    S.Settings.RemindAt15 = true;
    At(2700 - 900);
    Clock.TimerTick(S, true);
    EXPECT_TRUE(Dialogs.Messages.empty());
    EXPECT_FALSE(S.Winners[0].Tables[0].Reminded15);
    At(2700 - 880);
    Clock.TimerTick(S, false);
    EXPECT_EQ(Dialogs.Messages.size(), 8u);
}

TEST_F(MatchClockTest, ThreeHoursOfTicksKeepTime) {
    S.Settings.DisplayMatchTimeRemaining = false;
    const TDateTime begin = S.Winners[0].Tables[0].StartTime;
    World.Clock.Time = begin;
    // A table that starts later, to check two clocks at once.
    S.Winners[0].Tables[3].StartTime = begin + 125 / SecondsPerDay;
    for (int second = 0; second < 3 * 3600; ++second) {
        if (second == 5000) Advance(2400.4);  // the machine slept for 40 minutes
        Advance(1.0002);  // ticks arrive a little late, and the error must not add up
        Tick();
    }
    for (int k : {0, 3}) {
        const long long e = ElapsedSeconds(Now(), S.Winners[0].Tables[k].StartTime);
        EXPECT_EQ(Slot(k).Text, FormatDuration(e / 60)) << k;
        EXPECT_EQ(Slot(k).Yellow, e % 2 == 1);
    }
    EXPECT_EQ(Slot(0).Text, "3:40");
}

TEST_F(MatchClockTest, CopyAndResetTheTimer) {
    const TSeatRef at{W, 0, 0, 0};
    TTableRec& t = S.Winners[0].Tables[0];
    At(10 * 60 + 30);
    CopyTimeRemaining(S, at);
    ASSERT_EQ(World.Lobby.Clipboard.size(), 1u);
    EXPECT_EQ(World.Lobby.Clipboard[0], t.Seat[0]->Name + " and " + t.Seat[1]->Name + ": 34 minutes left");
    At(46 * 60 + 30);
    CopyTimeRemaining(S, at);
    EXPECT_EQ(World.Lobby.Clipboard.back(), t.Seat[0]->Name + " and " + t.Seat[1]->Name + ": -1 minutes left");
    t.Reminded15 = true;
    const int before = TickView.StatusCalls;
    ResetTimer(S, Clock, at);
    EXPECT_EQ(t.StartTime, Now());
    EXPECT_TRUE(t.Reminded15);
    EXPECT_EQ(TickView.StatusCalls, before + 1);  // a whole tick ran
    EXPECT_EQ(Slot(0).Text, "0:00");
    AssignWin(S, W, 0, 0, 0, true, false);
    EXPECT_FALSE(TableMenuEnabling(S, at).ResetTimer);
    EXPECT_FALSE(TableMenuEnabling(S, {W, 0, 9, 0}).ResetTimer);  // no match there
    EXPECT_FALSE(TableMenuEnabling(S, {W, 99, 0, 0}).ResetTimer);
}

}  // namespace
}  // namespace kestrova
