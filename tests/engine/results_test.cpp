// Recording results where a script is not enough (tests/data/engine holds
// the rest): refusals that change nothing, the crossings of the loss-bracket
// champions, start times, the sign-up and boot announcements and the round-two
// byes owed.
#include <gtest/gtest.h>

#include "engine/corrections.h"
#include "engine/next_assign.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "fakes/state_dump.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

class ResultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s, &announcer);
        s.TourneyPath = dir.File("t.kvb");
    }
    void Start(TElimFormat f, int n) {
        StartTourney(s, f, n);
        announcer.Postings.clear();
        world.Dialogs.Asked.clear();
    }
    TTableRec& W(int r, int t) { return s.Winners[r].Tables[t]; }
    TTableRec& OL(int r, int t) { return s.OneLoss[r].Tables[t]; }
    TTableRec& TL(int r, int t) { return s.TwoLoss[r].Tables[t]; }
    TPlayer* P(int i) { return s.Players[i - 1].get(); }
    // Plays seat 0 of the first full open table (finals excluded) until `until` holds.
    template <class Pred>
    void PlaySeat0Until(Pred until) {
        for (int guard = 0; guard < 500 && !until(); ++guard) {
            auto all = PlayableTables(s, false);
            ASSERT_FALSE(all.empty()) << DumpState(s);
            const TPlayable& p = all.front();
            AssignWin(s, p.Bracket, p.Round, p.Table, 0, true, false);
        }
    }
    std::vector<TMessageKind> Kinds() const {
        std::vector<TMessageKind> k;
        for (const auto& p : announcer.Postings)
            k.push_back(p.Kind);
        return k;
    }
    TempDir dir;
    FakeWorld world;
    RecordingAnnouncer announcer;
    TTourneyState s;
};

TEST_F(ResultsTest, RefusalsLeaveEverythingAsItWas) {
    Start(TElimFormat::Double, 16);
    AssignWin(s, TBracketKind::Winners, 0, 0, 0, true, false);
    AssignWin(s, TBracketKind::Winners, 0, 1, 0, true, false);
    AssignWin(s, TBracketKind::Winners, 1, 0, 0, true, false);  // P001 won again
    auto unchanged = [&](auto&& act, const char* what) {
        const std::string before = DumpState(s);
        const size_t undo = s.UndoList.size();
        act();
        EXPECT_EQ(DumpState(s), before) << what;
        EXPECT_EQ(s.UndoList.size(), undo) << what;
    };
    // The other seat's win where the winner already has a result next round.
    unchanged([&] { AssignWin(s, TBracketKind::Winners, 0, 0, 1, true, false); }, "change");
    // Releasing that win is refused the same way.
    unchanged([&] { AssignWin(s, TBracketKind::Winners, 0, 0, 0, false, false); }, "release");
    // No winner: an empty seat.
    unchanged([&] { AssignWin(s, TBracketKind::Winners, 0, 20, 0, true, false); }, "empty");
    // Booted out and disqualified winners, not confirmed.
    P(5)->BootedOut = true;
    world.Dialogs.AnswerNo();
    unchanged([&] { AssignWin(s, TBracketKind::Winners, 0, 2, 0, true, false); }, "booted");
    EXPECT_EQ(world.Dialogs.Asked.back(),
              "The player you just assigned a win to had booted too long.\r\nAre you sure you "
              "want to give them the win?");
    P(5)->BootedOut = false;
    P(7)->Disqualified = true;
    world.Dialogs.AnswerNo();
    unchanged([&] { AssignWin(s, TBracketKind::Winners, 0, 3, 0, true, false); }, "disqualified");
    EXPECT_EQ(world.Dialogs.Asked.back(),
              "The player you just assigned a win to was disqualified\r\nAre you sure you want to "
              "give them the win?");
}

TEST_F(ResultsTest, OneLossFinalWinnerCrossesIntoGrandFinalSeat1) {
    Start(TElimFormat::Double, 16);
    ASSERT_EQ(s.OneLossFinalRound, 5);
    PlaySeat0Until([&] { return OL(5, 0).Full(); });
    TPlayer* w = OL(5, 0).Seat[0];
    TPlayer* l = OL(5, 0).Seat[1];
    AssignWin(s, TBracketKind::OneLoss, 5, 0, 0, true, false);
    EXPECT_EQ(W(4, 0).Seat[1], w);
    EXPECT_EQ(w->CurrentTable(), &W(4, 0));
    EXPECT_EQ(l->CurrentTable(), &OL(5, 0));  // out, third place
    EXPECT_NE(ReadFileBytes(dir.File("t.log")).find("    -> Grand Final assignment (seat 1)\r\n"),
              std::string::npos);
    EXPECT_EQ(s.EmailLabels[1], w->Name + "'s Email:");
    EXPECT_EQ(s.EmailLabels[2], l->Name + "'s Email:");
    announcer.Postings.clear();
    PostNextAssign(s, *l);
    EXPECT_EQ(Kinds(),
              (std::vector<TMessageKind>{TMessageKind::mkThankYou, TMessageKind::mkThirdPlace}));
    EXPECT_EQ(CheckInvariants(s), "");
}

TEST_F(ResultsTest, TripleChampionsCrossAndThirdPlaceFollowsTheOneLossChampionOnly) {
    Start(TElimFormat::Triple, 16);
    ASSERT_EQ(s.TwoLossFinalRound, 7);
    ASSERT_EQ(s.OneLossLastRound, 6);
    PlaySeat0Until([&] { return OL(6, 0).Full(); });
    TPlayer* olChamp = OL(6, 0).Seat[0];
    TPlayer* tlChamp = OL(6, 0).Seat[1];
    EXPECT_EQ(StageAt(*olChamp, OL(6, 0)), 6);
    EXPECT_EQ(StageAt(*tlChamp, OL(6, 0)), 8);  // crossed from two-loss round 7

    // The two-loss champion wins: its grand-final stage is its own next stage.
    AssignWin(s, TBracketKind::OneLoss, 6, 0, 1, true, false);
    EXPECT_EQ(W(4, 0).Seat[1], tlChamp);
    EXPECT_EQ(StageAt(*tlChamp, W(4, 0)), 9);
    EXPECT_EQ(GetRoundIndex(s, 9, TBracketKind::Winners), 14);
    announcer.Postings.clear();
    PostNextAssign(s, *tlChamp);
    ASSERT_EQ(announcer.Postings.size(), 1u);
    EXPECT_EQ(announcer.Postings[0].Params.RoundIndex, 14);
    EXPECT_EQ(announcer.Postings[0].Kind,
              W(4, 0).Full() ? TMessageKind::mkNextAssign2 : TMessageKind::mkNextAssign1);
    announcer.Postings.clear();
    PostNextAssign(s, *olChamp);
    EXPECT_EQ(Kinds(),
              (std::vector<TMessageKind>{TMessageKind::mkThankYou, TMessageKind::mkThirdPlace}));

    // The other way round: the two-loss champion losing there only gets "Thank you".
    ASSERT_TRUE(Undo(s));
    AssignWin(s, TBracketKind::OneLoss, 6, 0, 0, true, false);
    EXPECT_EQ(W(4, 0).Seat[1], olChamp);
    EXPECT_EQ(StageAt(*olChamp, W(4, 0)), 7);
    announcer.Postings.clear();
    PostNextAssign(s, *tlChamp);
    EXPECT_EQ(Kinds(), std::vector<TMessageKind>{TMessageKind::mkThankYou});
}

TEST_F(ResultsTest, TwoLossFinalWinnerTakesSeat1OfTheOneLossLastRound) {
    Start(TElimFormat::Triple, 16);
    PlaySeat0Until([&] { return TL(7, 0).Full() && OL(6, 0).Seat[0]; });
    TPlayer* w = TL(7, 0).Seat[1];
    AssignWin(s, TBracketKind::TwoLoss, 7, 0, 1, true, false);
    EXPECT_EQ(OL(6, 0).Seat[1], w);
    EXPECT_GT(OL(6, 0).StartTime, 0);
}

TEST_F(ResultsTest, StartTimesWithAndWithoutManualPosting) {
    for (bool manual : {false, true}) {
        SCOPED_TRACE(manual ? "manual" : "automatic");
        ResetTourneyState(s);
        s.Settings.PostAssignmentsManually = manual;
        Start(TElimFormat::Triple, 16);
        const TDateTime now = world.Clock.Time;
        AssignWin(s, TBracketKind::Winners, 0, 0, 0, true, false);
        world.Clock.AdvanceSeconds(60);
        AssignWin(s, TBracketKind::Winners, 0, 1, 0, true, false);
        const TDateTime later = world.Clock.Time;
        EXPECT_EQ(W(1, 0).StartTime, manual ? 0 : later);  // winner into Winners
        EXPECT_EQ(OL(1, 0).StartTime, later);              // loser into OneLoss: always
        EXPECT_NE(now, later);
        // OneLoss winner arriving in seat 1 (seat 0 taken): always;
        AssignWin(s, TBracketKind::Winners, 0, 2, 0, true, false);
        AssignWin(s, TBracketKind::Winners, 0, 3, 0, true, false);
        AssignWin(s, TBracketKind::OneLoss, 1, 0, 0, true, false);  // P002 to OL 2 t0 seat 0
        world.Clock.AdvanceSeconds(60);
        AssignWin(s, TBracketKind::OneLoss, 1, 1, 0, true, false);  // P006 to seat 1
        EXPECT_EQ(OL(2, 0).StartTime, world.Clock.Time);
        // and its loser into TwoLoss: seat 0 alone first, then seat 1 always.
        EXPECT_EQ(TL(2, 0).StartTime, world.Clock.Time);
    }
}

TEST_F(ResultsTest, SignUpAndBootAnnouncementParameters) {
    SetElimFormat(s, TElimFormat::Double);
    AddPlayer(s, "Ann");
    ASSERT_EQ(Kinds(), std::vector<TMessageKind>{TMessageKind::mkSignup});
    EXPECT_EQ(announcer.Postings[0].Params.PlayerName, "Ann");
    EXPECT_EQ(announcer.Postings[0].Params.TableNo, 50);
    ResetTourneyState(s);

    Start(TElimFormat::Double, 16);
    announcer.Postings.clear();
    P(5)->BootStart = world.Clock.Time - 60 / SecondsPerDay;
    s.BootTime = 7;
    PostNextAssign(s, *P(5));
    ASSERT_EQ(Kinds(), std::vector<TMessageKind>{TMessageKind::mkBoot});
    EXPECT_EQ(announcer.Postings[0].Params.BootSecondsLeft, 360);
}

class Round2ByesTest : public ResultsTest {
  protected:
    void StartSingle(int n) {
        s.AssignAllRound2Byes = true;
        Start(TElimFormat::Single, n);
    }
    TByeCounts Counts() {
        TByeCounts c;
        Get2ndRoundByeStatus(s, c);
        return c;
    }
};

TEST_F(Round2ByesTest, ByesOwedBySize) {
    StartSingle(16);
    TByeCounts c = Counts();
    EXPECT_EQ(c.ByesToGo, 0);
    EXPECT_FALSE(Get2ndRoundByeStatus(s, c));
    ResetTourneyState(s);
    StartSingle(9);
    c = Counts();
    EXPECT_EQ(c.PlayersInRound, 5);
    EXPECT_EQ(c.TotalSeats, 8);
    EXPECT_EQ(c.ByesToGo, 3);
}

TEST_F(Round2ByesTest, BothQuitInTheFirstRoundRaisesTheByes) {
    StartSingle(16);
    BothPlayersQuit(s, {TBracketKind::Winners, 0, 0, 0});
    TByeCounts c = Counts();
    EXPECT_EQ(c.PlayersInRound, 7);
    EXPECT_EQ(c.ByesToGo, 1);
}

}  // namespace
}  // namespace kestrova
