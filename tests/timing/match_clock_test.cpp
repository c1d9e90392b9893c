// The one-second clock beyond its scripts (tests/data/timing): the Double
// winners-final index, starts a century away and values a file could carry,
// ticks behind a modal box, the timer reset, and three hours of ticks that
// keep time.
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

// The limit a tab's clocks use: the finals take the semi-final and final
// values, the loss brackets are a round or two behind, and all stay in range.
TEST(ClockLimitIndex, WorkedByHand) {
    TTourneyState s;
    s.GrandFinalRound = 4;
    s.WinnersFinalRound = 3;
    s.OneLossFinalRound = 6;
    constexpr auto O = TBracketKind::OneLoss, T = TBracketKind::TwoLoss;
    const struct {
        TBracketKind Bracket;
        int Tab, Index;
    } rows[] = {{W, 0, 0}, {W, 3, 13}, {W, 4, 14}, {O, 0, 1}, {O, 5, 13}, {O, 6, 7}, {T, 0, 2}, {T, 12, 14}, {T, 13, 14}};
    for (const auto& r : rows) EXPECT_EQ(ClockLimitIndex(s, r.Bracket, r.Tab), r.Index) << r.Tab;
}

TEST_F(MatchClockTest, FarStartsAndValuesAFileCouldCarryAreKeptInRange) {
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

TEST_F(MatchClockTest, ResettingTheTimerKeepsTheRemindersGivenAndRunsAWholeTick) {
    TTableRec& t = S.Winners[0].Tables[0];
    At(600);
    t.Reminded15 = true;
    const int before = TickView.StatusCalls;
    ResetTimer(S, Clock, {W, 0, 0, 0});
    EXPECT_EQ(t.StartTime, Now());
    EXPECT_TRUE(t.Reminded15);
    EXPECT_EQ(TickView.StatusCalls, before + 1);
    EXPECT_FALSE(TableMenuEnabling(S, {W, 99, 0, 0}).ResetTimer);
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

}  // namespace
}  // namespace kestrova
