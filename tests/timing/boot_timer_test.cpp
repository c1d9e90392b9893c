// Boots with a fixed clock: the button's running caption, the time-out on the
// tick after the boot time, counted and uncounted returns, two time-outs in
// one second, the time-out's question or box and its message, a result that
// ends a boot silently, the boot menu, "Active Boots", and boots that never
// outlive their players.
#include <gtest/gtest.h>

#include "engine/boots.h"
#include "engine/results.h"
#include "engine/undo.h"
#include "records/event_log.h"
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
    std::string Caption(int table, int seat) { return View.Caption(W, table, seat); }
    std::vector<TMessageKind> Kinds() const {
        std::vector<TMessageKind> k;
        for (const auto& p : Announcer.Postings)
            k.push_back(p.Kind);
        return k;
    }
    std::string Log() {
        std::string log = ReadFileBytes(Dir.File("t.log"));
        std::erase(log, '\r');
        return log;
    }
};

TEST_F(BootTimerTest, SevenMinutesShowOnTheButtonAndTimeOutOnTheNextTick) {
    const TTableRec& t = S.Winners[0].Tables[1];
    ToggleBoot(S, Clock, Seat(1, 0));  // P003 against P004
    ASSERT_EQ(S.ActiveBoots, std::vector<TPlayer*>{P(3)});
    ASSERT_EQ(Kinds(), std::vector<TMessageKind>{TMessageKind::mkBoot});
    const TMsgParams& m = Announcer.Postings[0].Params;
    EXPECT_EQ(m.PlayerName, "P003");
    EXPECT_EQ(m.OpponentName, "P004");
    EXPECT_EQ(m.TableNo, t.TableNo);
    EXPECT_EQ(m.BootSecondsLeft, 420);
    Advance(419.6);  // 420 s, rounded
    Tick();
    EXPECT_EQ(Caption(1, 0), "7:00");
    EXPECT_FALSE(View.Icon(W, 1, 0));  // the icon makes way for the time
    ASSERT_EQ(TickView.Boots.size(), 1u);
    EXPECT_EQ(TickView.Boots[0].Name, "P003");
    EXPECT_EQ(TickView.Boots[0].Time, "7:00");
    EXPECT_EQ(TickView.Boots[0].TableNo, t.TableNo);
    EXPECT_TRUE(Dialogs.Messages.empty());

    Advance(1);
    Tick();  // no lobby window: posted, then the information box
    EXPECT_TRUE(S.ActiveBoots.empty());
    EXPECT_EQ(P(3)->BootStart, 0);
    EXPECT_TRUE(P(3)->BootedOut);
    EXPECT_EQ(P(3)->BootCount, 1);
    EXPECT_EQ(Caption(1, 0), "1");
    EXPECT_TRUE(View.Icon(W, 1, 0));
    ASSERT_EQ(Kinds().back(), TMessageKind::mkBootTimedOut);
    EXPECT_EQ(Announcer.Postings.back().Params.PlayerName, "P004");
    EXPECT_EQ(Announcer.Postings.back().Params.OpponentName, "P003");
    EXPECT_EQ(Announcer.Postings.back().Params.TableNo, t.TableNo);
    ASSERT_EQ(Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Dialogs.Messages[0], "P003 has timed out at table " + std::to_string(t.TableNo) +
                                       ", you may inform the opp P004");
    EXPECT_NE(Log().find("Click: Boot button\n    -> \"P003\" has booted\n"), std::string::npos);
    EXPECT_NE(Log().find("Event: Player \"P003\" boot has timed out\n"), std::string::npos);
    EXPECT_TRUE(View.Called("redraw 0 0"));  // the name now shows the booted state
    Tick();  // the list empties once, then stays quiet
    EXPECT_TRUE(TickView.Boots.empty());
}

TEST_F(BootTimerTest, TheTimeOutQuestionWithALobbyWindow) {
    S.FLobbyEditWnd = 1;  // a room's chat input is known
    const int tableNo = S.Winners[0].Tables[0].TableNo;
    const std::string question = "P002 (playing P001) has timed out at table " +
                                 std::to_string(tableNo) + ". Post message in lobby?";
    // No: still booted out, nothing posted.
    ToggleBoot(S, Clock, Seat(0, 1));
    Advance(421);
    Dialogs.AnswerNo();
    Tick();
    EXPECT_EQ(Dialogs.Asked.back(), question);
    EXPECT_EQ(Kinds().back(), TMessageKind::mkBoot);
    EXPECT_TRUE(P(2)->BootedOut);
    EXPECT_TRUE(S.ActiveBoots.empty());
    // Yes with "Don't ask me again": posted, and the next one is not asked.
    ToggleBoot(S, Clock, Seat(0, 1));
    Advance(421);
    Dialogs.AnswerYes(true);
    Tick();
    EXPECT_EQ(Kinds().back(), TMessageKind::mkBootTimedOut);
    EXPECT_NE(S.Settings.ConfirmNotifyFilter & confirm_bits::BootTimedOutPost, 0u);
    EXPECT_EQ(P(2)->BootCount, 2);
    const size_t asked = Dialogs.Asked.size();
    ToggleBoot(S, Clock, Seat(0, 1));
    Advance(421);
    Tick();
    EXPECT_EQ(Dialogs.Asked.size(), asked);
    EXPECT_EQ(Kinds().back(), TMessageKind::mkBootTimedOut);
    EXPECT_TRUE(Dialogs.Messages.empty());  // no information box with a lobby window
}

TEST_F(BootTimerTest, ShortBootsAreNotCounted) {
    struct Row {
        double Seconds;
        int Count;
    };
    int expected = 0;
    for (const Row& r : {Row{5, 0}, Row{8.6, 0}, Row{8.7, 1}, Row{9, 1}}) {
        ToggleBoot(S, Clock, Seat(2, 0));
        Advance(r.Seconds);
        Tick();
        ToggleBoot(S, Clock, Seat(2, 0));
        expected += r.Count;
        EXPECT_EQ(P(5)->BootCount, expected) << r.Seconds;
        EXPECT_EQ(Kinds().back(), TMessageKind::mkBootReturned);
        EXPECT_EQ(Announcer.Postings.back().Params.PlayerName, "P005");
        EXPECT_EQ(Caption(2, 0), expected ? std::to_string(expected) : "");
        EXPECT_TRUE(S.ActiveBoots.empty());
    }
    EXPECT_NE(Log().find("    -> Boot returned: P005\n"), std::string::npos);
}

TEST_F(BootTimerTest, TwoTimeOutsInOneSecondTakeTwoTicks) {
    ToggleBoot(S, Clock, Seat(3, 1));
    ToggleBoot(S, Clock, Seat(4, 0));
    ASSERT_EQ(S.ActiveBoots, (std::vector<TPlayer*>{P(8), P(9)}));
    Advance(430);
    Tick();
    EXPECT_TRUE(P(8)->BootedOut);
    EXPECT_FALSE(P(9)->BootedOut);
    EXPECT_EQ(S.ActiveBoots, std::vector<TPlayer*>{P(9)});
    Tick();
    EXPECT_TRUE(P(9)->BootedOut);
    EXPECT_TRUE(S.ActiveBoots.empty());
    EXPECT_EQ(Dialogs.Messages.size(), 2u);
}

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

TEST_F(BootTimerTest, AResultEndsABootSilently) {
    ToggleBoot(S, Clock, Seat(5, 0));
    Advance(60);
    Announcer.Postings.clear();
    AssignWin(S, W, 0, 5, 1, true, false);
    EXPECT_EQ(P(11)->BootStart, 0);
    EXPECT_TRUE(S.ActiveBoots.empty());
    for (TMessageKind k : Kinds())
        EXPECT_NE(k, TMessageKind::mkBootReturned);
    // The count the boot added is reset when the loser is seated again.
    EXPECT_EQ(P(11)->BootCount, 0);
    EXPECT_NE(Log().find("    -> Boot returned: P011\n"), std::string::npos);
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

TEST_F(BootTimerTest, TheBootMenu) {
    const TSeatRef at = Seat(7, 1);  // P016
    TBootMenuState m = BootMenuEnabling(S, at);
    EXPECT_FALSE(m.ClearCount || m.DecrementCount || m.CancelTiming || m.CancelBooted);
    EXPECT_TRUE(m.IncrementCount);
    IncrementBootCount(S, at);
    IncrementBootCount(S, at);
    EXPECT_EQ(Caption(7, 1), "2");
    m = BootMenuEnabling(S, at);
    EXPECT_TRUE(m.ClearCount && m.DecrementCount);
    DecrementBootCount(S, at);
    EXPECT_EQ(P(16)->BootCount, 1);
    EXPECT_EQ(Caption(7, 1), "1");
    ToggleBoot(S, Clock, at);
    Advance(20);
    Tick();
    EXPECT_TRUE(BootMenuEnabling(S, at).CancelTiming);
    ClearBootCount(S, at);  // timed: the caption keeps the clock
    EXPECT_EQ(P(16)->BootCount, 0);
    EXPECT_EQ(Caption(7, 1), "0:20");
    Announcer.Postings.clear();
    CancelBootSilently(S, at);
    EXPECT_TRUE(Announcer.Postings.empty());
    EXPECT_EQ(P(16)->BootCount, 1);
    EXPECT_EQ(Caption(7, 1), "1");
    DecrementBootCount(S, at);
    DecrementBootCount(S, at);  // disabled at 0: nothing happens
    EXPECT_EQ(P(16)->BootCount, 0);
    EXPECT_EQ(Caption(7, 1), "");
    P(16)->BootedOut = true;
    EXPECT_TRUE(BootMenuEnabling(S, at).CancelBooted);
    CancelBootedState(S, at);
    EXPECT_FALSE(P(16)->BootedOut);
    EXPECT_TRUE(View.Called("redraw 0 0"));
    const TBootMenuState none = BootMenuEnabling(S, Seat(20, 0));  // an empty seat
    EXPECT_FALSE(none.ClearCount || none.IncrementCount || none.CancelTiming);
    ToggleBoot(S, Clock, Seat(20, 0));
    EXPECT_TRUE(S.ActiveBoots.empty());
    const std::string log = Log();
    EXPECT_NE(log.find("Menu: Clear boot count\n    -> Player = P016\n"), std::string::npos);
    EXPECT_NE(log.find("Menu: Decrement boot count\n    -> Player = P016\n"), std::string::npos);
    EXPECT_NE(log.find("Menu: Cancel boot silently\n"), std::string::npos);
    EXPECT_NE(log.find("Menu: Cancel booted state\n    -> Player = P016\n"), std::string::npos);
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

TEST_F(BootTimerTest, BootTimeIsKeptInRange) {
    SetBootTime(S, 0);
    EXPECT_EQ(S.BootTime, 1);
    SetBootTime(S, 250);
    EXPECT_EQ(S.BootTime, 100);
    SetBootTime(S, 3);
    ToggleBoot(S, Clock, Seat(1, 1));
    EXPECT_EQ(Announcer.Postings.back().Params.BootSecondsLeft, 180);
    Advance(181);
    Tick();
    EXPECT_TRUE(P(4)->BootedOut);
}

}  // namespace
}  // namespace kestrova
