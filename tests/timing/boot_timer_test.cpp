// Boots beyond their scripts (tests/data/timing/boots.txt): ticks during the
// time-out question, a booted-out winner, and boots that never outlive
// their players.
#include <gtest/gtest.h>

#include "engine/boots.h"
#include "engine/results.h"
#include "engine/undo.h"
#include "session/lifecycle.h"
#include "timing/boot_timer.h"
#include "timing/timing_fixture.h"

namespace kestrova {
namespace {

using namespace testing;
constexpr auto W = TBracketKind::Winners;

class BootTimerTest : public ::testing::Test, public TimingWorld {
  protected:
    void SetUp() override { Start(TElimFormat::Double, 16); }
    // Table k of round 1: seat 0 holds P(2k+1), seat 1 P(2k+2).
    TSeatRef Seat(int table, int seat) { return {W, 0, table, seat}; }
};

TEST_F(BootTimerTest, TicksDuringTheTimeOutQuestionAskNothingMore) {
    S.FLobbyEditWnd = 1;  // a room's chat input is known
    ToggleBoot(S, Clock, Seat(0, 0));
    ToggleBoot(S, Clock, Seat(0, 1));  // both players of one table
    Advance(500);
    int inside = 0;
    Dialogs.Inside = [&] {
        if (++inside > 1) return;
        Advance(1);
        Tick();  // the second time-out waits until the question is answered
        EXPECT_FALSE(P(2)->BootedOut);
        EXPECT_EQ(S.ActiveBoots, std::vector<TPlayer*>{P(2)});
    };
    Tick();
    EXPECT_EQ(Dialogs.Asked.size(), 1u);
    Tick();
    EXPECT_EQ(Dialogs.Asked.size(), 2u);
    EXPECT_TRUE(P(2)->BootedOut);
}

TEST_F(BootTimerTest, BootedOutWinnerIsAskedAbout) {
    P(13)->BootedOut = true;
    AssignWin(S, W, 0, 6, 0, true, false);
    EXPECT_EQ(Dialogs.Asked.back(),
              "The player you just assigned a win to had booted too long.\r\nAre you sure you "
              "want to give them the win?");
    EXPECT_FALSE(P(13)->BootedOut);
    EXPECT_EQ(S.Winners[0].Tables[6].Result, 1);
}

TEST_F(BootTimerTest, ActiveBootsNeverOutliveTheirPlayers) {
    ToggleBoot(S, Clock, Seat(0, 0));
    AssignWin(S, W, 0, 1, 0, true, false);  // the snapshot holds P001's boot
    ToggleBoot(S, Clock, Seat(0, 0));       // returned
    Undo(S);
    EXPECT_EQ(S.ActiveBoots, std::vector<TPlayer*>{P(1)});
    Tick();
    EXPECT_EQ(TickView.Boots.size(), 1u);
    TNewTourneyOptions o;
    StartNewTourney(S, o);
    EXPECT_TRUE(S.ActiveBoots.empty());
    Tick();  // nothing left to show, nothing dangling to read
    EXPECT_TRUE(TickView.Boots.empty());
}

}  // namespace
}  // namespace kestrova
