// The clock and the boots beyond their scripts (tests/data/timing): the
// Double winners-final limit, values a file could carry, ticks behind a modal
// box and three hours of ticks that keep time.
#include <gtest/gtest.h>

#include "common/datetime.h"
#include "engine/boots.h"
#include "timing/boot_timer.h"
#include "timing/reminders.h"
#include "timing/timing_fixture.h"

namespace kestrova::testing {
namespace {

constexpr auto W = TBracketKind::Winners;

struct ClockTest : ::testing::Test, TimingWorld {
    void SetUp() override {
        Start(TElimFormat::Single, 16);  // 8 tables in round 1, all running
        S.MsgParams.TimeLimits.fill(45);
    }
    // Puts the clock at `seconds` after table 0 of round 1 started.
    void At(long long seconds) {
        World.Clock.Time = S.Winners[0].Tables[0].StartTime + seconds / SecondsPerDay;
    }
    const FakeTimingView::TSlot& Slot(int k) { return TickView.At(W, k); }
};

TEST(MatchClock, DoubleWinnersFinalUsesTheSemifinalLimitOnScreenOnly) {
    TimingWorld d;
    d.Start(TElimFormat::Double, 8);
    std::mt19937 rng(3);
    const int wf = d.S.WinnersFinalRound;
    for (int guard = 0; guard < 50 && d.S.Winners[wf].Tables[0].StartTime == 0; ++guard)
        ASSERT_TRUE(PlayRandomResult(d.S, rng));
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
    ASSERT_EQ(d.TickView.Overdue.size(), 1u);  // 20 minutes for the list
    EXPECT_EQ(d.TickView.Overdue[0].RoundLabel, "WF");
    EXPECT_EQ(d.TickView.Overdue[0].TableNo, t.TableNo);
    EXPECT_EQ(d.TickView.Overdue[0].OverdueSeconds, 60);
}

TEST_F(ClockTest, FarStartsAndValuesAFileCouldCarryAreKeptInRange) {
    S.Winners[0].Tables[1].StartTime = Now() - 36500;
    S.MsgParams.TimeLimits[0] = INT32_MAX;
    S.BootTime = INT32_MIN;
    Tick();
    EXPECT_EQ(ElapsedSeconds(Now(), Now() - 36500), 1000000000LL);
    EXPECT_EQ(ElapsedSeconds(Now(), Now() + 1), 0);
    ClampTimingValues(S);
    EXPECT_EQ(S.MsgParams.TimeLimits[0], 300);
    EXPECT_EQ(S.BootTime, 1);
}

TEST_F(ClockTest, TicksBehindTheReminderBoxKeepTheClocksButNotTheScan) {
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
    EXPECT_FALSE(Clock.ReminderScanActive());
    Tick();
    EXPECT_EQ(Dialogs.Messages.size(), 8u);
}

TEST_F(ClockTest, ThreeHoursOfTicksKeepTime) {
    const TDateTime begin = S.Winners[0].Tables[0].StartTime;
    World.Clock.Time = begin;
    S.Winners[0].Tables[3].StartTime = begin + 125 / SecondsPerDay;  // two clocks at once
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

TEST(BootTimer, TicksDuringTheTimeOutQuestionAskNothingMore) {
    TimingWorld w;
    w.Start(TElimFormat::Double, 16);
    w.S.FLobbyEditWnd = 1;  // a room's chat input is known
    ToggleBoot(w.S, w.Clock, {W, 0, 0, 0});
    ToggleBoot(w.S, w.Clock, {W, 0, 0, 1});  // both players of one table
    w.Advance(500);
    int inside = 0;
    w.Dialogs.Inside = [&] {
        if (++inside > 1) return;
        w.Advance(1);
        w.Tick();  // the second time-out waits until the question is answered
        EXPECT_FALSE(w.P(2)->BootedOut);
        EXPECT_EQ(w.S.ActiveBoots, std::vector<TPlayer*>{w.P(2)});
    };
    w.Tick();
    EXPECT_EQ(w.Dialogs.Asked.size(), 1u);
    w.Tick();
    EXPECT_EQ(w.Dialogs.Asked.size(), 2u);
    EXPECT_TRUE(w.P(2)->BootedOut);
}

}  // namespace
}  // namespace kestrova::testing
