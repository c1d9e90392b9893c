// Corrections worked by hand: withdrawn results, removals next to a bye,
// both-quit tables, voided numbers, relocation without room, the reassign
// dialog's lists and both of its choices, table-number edits, the player
// menu. No correction may leave a reference to a removed entry.
#include <gtest/gtest.h>

#include <random>

#include "engine/corrections.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "fakes/state_dump.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

class CorrectionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s, &announcer);
        s.TourneyPath = dir.File("t.kvb");
    }
    void Start(TElimFormat f, int n) { StartTourney(s, f, n); }
    void Win(TBracketKind b, int r, int t, int seat) { AssignWin(s, b, r, t, seat, true, false); }
    TTableRec& W(int r, int t) { return s.Winners[r].Tables[t]; }
    TTableRec& OL(int r, int t) { return s.OneLoss[r].Tables[t]; }
    TPlayer* P(int i) { return s.Players[i - 1].get(); }
    void TearDown() override { EXPECT_EQ(CheckInvariants(s), ""); }
    TempDir dir;
    FakeWorld world;
    RecordingAnnouncer announcer;
    TTourneyState s;
};

TEST_F(CorrectionsTest, CancellingEmptiesBothNextSeatsAndTheirStartTimes) {
    Start(TElimFormat::Double, 16);
    Win(TBracketKind::Winners, 0, 0, 0);
    Win(TBracketKind::Winners, 0, 1, 0);
    ASSERT_GT(W(1, 0).StartTime, 0);
    ASSERT_GT(OL(1, 0).StartTime, 0);
    AssignWin(s, TBracketKind::Winners, 0, 0, 0, false, false);  // the button released
    EXPECT_EQ(W(0, 0).Result, 0);
    EXPECT_EQ(W(0, 0).EndTime, 0);
    EXPECT_EQ(W(1, 0).Seat[0], nullptr);
    EXPECT_EQ(W(1, 0).Seat[1], P(3));
    EXPECT_EQ(W(1, 0).StartTime, 0);
    EXPECT_EQ(OL(1, 0).Seat[0], nullptr);
    EXPECT_EQ(OL(1, 0).StartTime, 0);
    EXPECT_EQ(P(1)->LastStage(), 0);
    EXPECT_EQ(P(2)->LastStage(), 0);
}

TEST_F(CorrectionsTest, CancelIsRefusedOnceTheWinnerWonAgain) {
    Start(TElimFormat::Double, 16);
    Win(TBracketKind::Winners, 0, 0, 0);
    Win(TBracketKind::Winners, 0, 1, 0);
    Win(TBracketKind::Winners, 1, 0, 0);
    const std::string before = DumpState(s);
    EXPECT_FALSE(CancelMatch(s, 0, W(0, 0)));
    EXPECT_EQ(DumpState(s), before);
    EXPECT_FALSE(CancelMatch(s, 0, W(0, 5)));  // nothing to cancel
}

TEST_F(CorrectionsTest, RemovingTheByePlayersOpponentMovesTheByePlayerIn) {
    Start(TElimFormat::Double, 13);
    ASSERT_TRUE(s.Winners[0].HasBye);
    ASSERT_EQ(s.Winners[0].TableCount, 7);
    RemovePlayer(s, {TBracketKind::Winners, 0, 5, 1});  // P012 at table 55
    EXPECT_EQ(W(0, 5).Seat[1], P(13));
    EXPECT_EQ(W(0, 6).Seat[0], nullptr);
    EXPECT_FALSE(s.Winners[0].HasBye);
    EXPECT_EQ(s.Winners[0].TableCount, 6);
    ASSERT_FALSE(world.Dialogs.Notices.empty());
    EXPECT_EQ(world.Dialogs.Notices.back(), "Player \"P013\" has been moved to table 55");
    EXPECT_EQ(P(12)->LastStage(), -1);
    EXPECT_EQ(s.Players.size(), 13u);  // out, not destroyed, after sign-ups closed
    EXPECT_EQ(s.UndoList.size(), 1u);
}

TEST_F(CorrectionsTest, BothQuitInWinnersRoundTwoShrinksBothRoundsThree) {
    Start(TElimFormat::Double, 16);
    for (int r = 0; r < 2; ++r)
        for (int t = 0; t < s.Winners[r].TableCount; ++t)
            Win(TBracketKind::Winners, r, t, 0);
    ASSERT_EQ(s.OneLoss[3].TableCount, 3);  // 4 one-loss winners + 2 winners losers
    ASSERT_FALSE(s.OneLoss[3].HasBye);
    ASSERT_EQ(s.WinnersFinalRound, 3);
    BothPlayersQuit(s, {TBracketKind::Winners, 2, 0, 0});
    EXPECT_EQ(W(2, 0).Result, 4);
    EXPECT_EQ(s.OneLoss[3].TableCount, 3);  // 5 entries
    EXPECT_TRUE(s.OneLoss[3].HasBye);
    EXPECT_EQ(s.WinnersFinalRound,
              2);  // one entry left for Winners round 3: the last table is the WF
    EXPECT_EQ(P(1)->LastStage(), 2);
    EXPECT_EQ(P(9)->LastStage(), 2);
}

TEST_F(CorrectionsTest, VoidedNumbersAreSkippedButKeepTheirEntries) {
    SetElimFormat(s, TElimFormat::Double);
    ToggleVoidTable(s, 50);
    EXPECT_TRUE(IsVoidChecked(s, 50));
    AddPlayer(s, "Ann");
    EXPECT_EQ(s.Players[0]->Tables[0], &W(0, 1));  // table 51
    ToggleVoidTable(s, 50);
    EXPECT_FALSE(IsVoidChecked(s, 50));
    ResetTourneyState(s);

    Start(TElimFormat::Double, 16);
    ToggleVoidTable(s, 90);
    ToggleVoidTable(s, 50);  // a table already carrying it
    Win(TBracketKind::Winners, 0, 0, 0);
    EXPECT_EQ(W(0, 0).Result, 1);
    EXPECT_EQ(P(1)->CurrentTable(), &W(1, 1));  // 92, not 90
    EXPECT_EQ(W(0, 0).Seat[1], P(2));
}

TEST_F(CorrectionsTest, RelocationWithoutAFreeSeatKeepsTheEntry) {
    Start(TElimFormat::Double, 16);
    const std::string before = DumpState(s);
    EXPECT_FALSE(RelocatePlayer(s, 0, 7, *P(16), s.Winners[0]));
    EXPECT_EQ(DumpState(s), before);
    EXPECT_EQ(world.Dialogs.Messages.size(), 1u);
    EXPECT_NE(ReadFileBytes(dir.File("t.log"))
                  .find("    -> Relocating player - Name = P016, Round = 1, Table = 57, Seat = 1"),
              std::string::npos);
}

TEST_F(CorrectionsTest, ReassignListsDefaultsAndBothChoices) {
    Start(TElimFormat::Double, 16);
    Win(TBracketKind::Winners, 0, 0, 0);  // P001 alone at table 90

    TReassignInfo alone = BuildReassign(s, {TBracketKind::Winners, 1, 0, 0});
    EXPECT_EQ(alone.CurrentText, "Player \"P001\" is currently at table 90 for Round 2.");
    EXPECT_EQ(alone.OpponentText, "They are sitting alone.");
    EXPECT_EQ(alone.ThisRound, (std::vector<std::string>{"90 **", "92", "94", "96"}));
    EXPECT_TRUE(alone.MoveSelected);
    EXPECT_FALSE(alone.AssignWinEnabled);

    TReassignInfo paired = BuildReassign(s, {TBracketKind::Winners, 0, 1, 0});
    EXPECT_EQ(paired.OpponentText, "The other player at the table is \"P004\".");
    EXPECT_EQ(paired.ThisRound, std::vector<std::string>{"51 **"});
    EXPECT_EQ(paired.NextRound, (std::vector<std::string>{"90", "92", "94", "96"}));
    EXPECT_FALSE(paired.MoveSelected);
    EXPECT_TRUE(paired.AssignWinEnabled);

    const size_t undo = s.UndoList.size();
    CarryOutReassign(s, paired, true, "92");
    EXPECT_EQ(s.UndoList.size(), undo + 2);  // the reassignment and the win
    EXPECT_EQ(W(0, 1).Result, 1);
    EXPECT_EQ(P(3)->CurrentTable(), &W(1, 1));
    EXPECT_EQ(W(1, 0).Seat[1], nullptr);
    EXPECT_EQ(announcer.Postings.back().Params.PlayerName, "P003");
    EXPECT_EQ(announcer.Postings.back().Params.TableNo, 92);

    CarryOutReassign(s, alone, false, "94 ");
    EXPECT_EQ(s.UndoList.size(), undo + 3);
    EXPECT_EQ(P(1)->CurrentTable(), &W(1, 2));
    EXPECT_TRUE(W(1, 0).Empty());
    // The bye table of a round with a bye shows " *" while its seat is free.
    ResetTourneyState(s);
    Start(TElimFormat::Double, 13);
    Win(TBracketKind::Winners, 0, 0, 0);
    TReassignInfo bye = BuildReassign(s, {TBracketKind::Winners, 0, 1, 0});
    EXPECT_EQ(bye.NextRound, (std::vector<std::string>{"90", "92", "94", "96 *"}));
}

TEST_F(CorrectionsTest, TableNumberEditAcceptsOnlyRoomNumbers) {
    Start(TElimFormat::Double, 16);
    for (const char* bad : {"0", "151", "", "12a", "9999999999"}) {
        EditTableNumber(s, TBracketKind::Winners, 1, 0, bad);
        EXPECT_EQ(W(1, 0).TableNo, 90) << bad;
    }
    EditTableNumber(s, TBracketKind::Winners, 1, 0, "150");
    EXPECT_EQ(W(1, 0).TableNo, 150);
    EditTableNumber(s, TBracketKind::OneLoss, 1, 0, "1");
    EXPECT_EQ(OL(1, 0).TableNo, 1);
}

TEST_F(CorrectionsTest, PlayerMenuEnabling) {
    Start(TElimFormat::Double, 16);
    Win(TBracketKind::Winners, 0, 0, 0);
    TPlayerMenuState empty = PlayerMenuEnabling(s, {TBracketKind::Winners, 1, 0, 1}, true, true);
    EXPECT_FALSE(empty.Remove || empty.BothQuit || empty.Reassign || empty.Disqualify ||
                 empty.Ban || empty.RunMacro || empty.AssignSilently);
    TPlayerMenuState open = PlayerMenuEnabling(s, {TBracketKind::Winners, 0, 1, 1}, false, false);
    EXPECT_TRUE(open.Remove && open.Reassign && open.Disqualify && open.Ban && open.BothQuit);
    EXPECT_FALSE(open.RunMacro || open.AssignSilently);
    TPlayerMenuState decided = PlayerMenuEnabling(s, {TBracketKind::Winners, 0, 0, 0}, true, true);
    EXPECT_TRUE(decided.Remove && decided.RunMacro && decided.AssignSilently);
    EXPECT_FALSE(decided.BothQuit);
    TPlayerMenuState alone = PlayerMenuEnabling(s, {TBracketKind::Winners, 1, 0, 0}, false, true);
    EXPECT_FALSE(alone.BothQuit);
    EXPECT_TRUE(alone.RunMacro);
}

TEST_F(CorrectionsTest, DisqualifiedWinnerNeedsConfirmation) {
    Start(TElimFormat::Double, 16);
    DisqualifyPlayer(s, {TBracketKind::Winners, 0, 0, 0});
    EXPECT_EQ(world.Dialogs.Asked.back(), "Are you sure you want to disqualify \"P001\"?");
    EXPECT_TRUE(P(1)->Disqualified);
    EXPECT_TRUE(s.UndoList.empty());
    world.Dialogs.AnswerNo();
    Win(TBracketKind::Winners, 0, 0, 0);
    EXPECT_EQ(W(0, 0).Result, 0);
    EXPECT_TRUE(P(1)->Disqualified);
    world.Dialogs.AnswerYes();
    Win(TBracketKind::Winners, 0, 0, 0);
    EXPECT_EQ(W(0, 0).Result, 1);
    EXPECT_FALSE(P(1)->Disqualified);
}

TEST_F(CorrectionsTest, RemovalsDuringSignupDestroyTheEntries) {
    SetElimFormat(s, TElimFormat::Double);
    SetOnePerTable(s, false);
    for (const char* n : {"a", "b", "c", "d"})
        AddPlayer(s, n);
    RemovePlayer(s, {TBracketKind::Winners, 0, 0, 0});
    EXPECT_EQ(s.Players.size(), 3u);
    EXPECT_EQ(W(0, 0).Seat[0], nullptr);
    AddPlayer(s, "e");
    EXPECT_EQ(W(0, 0).Seat[0]->Name, "e");
    BothPlayersQuit(s, {TBracketKind::Winners, 0, 1, 0});
    EXPECT_EQ(world.Dialogs.Asked.back(),
              "Are you sure that \"c\" and \"d\" have quit the tournament?");
    ASSERT_EQ(s.Players.size(), 2u);
    EXPECT_EQ(s.Players[0]->Name, "b");
    EXPECT_EQ(s.Players[1]->Name, "e");
    EXPECT_TRUE(W(0, 1).Empty());
}

}  // namespace
}  // namespace kestrova

namespace kestrova {
namespace {

// A both-quit semi-final makes the other semi-final the final: its table
// becomes the final's table, and it decides the champion.
TEST_F(CorrectionsTest, BothQuitInASemiFinalMakesTheOtherOneTheFinal) {
    Start(TElimFormat::Single, 8);
    for (int t = 0; t < 4; ++t) Win(TBracketKind::Winners, 0, t, 0);
    ASSERT_EQ(s.GrandFinalRound, 2);
    TPlayer* a = W(1, 1).Seat[0];
    TPlayer* b = W(1, 1).Seat[1];
    BothPlayersQuit(s, {TBracketKind::Winners, 1, 0, 0});
    EXPECT_EQ(s.GrandFinalRound, 1);
    EXPECT_EQ(W(1, 0).Seat[0], a);  // the live semi-final moved to the final's table
    EXPECT_EQ(W(1, 0).Seat[1], b);
    EXPECT_EQ(W(1, 1).Result, 4);
    Win(TBracketKind::Winners, 1, 0, 1);
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_EQ(W(1, 0).Winner(), b);
    EXPECT_EQ(b->CurrentTable(), &W(1, 0));
}

// A winner already seated at the old final when the other semi-final is
// abandoned: its semi-final win was the final, and it leaves the old table.
TEST_F(CorrectionsTest, AWinnerPastTheNewFinalIsTheChampion) {
    Start(TElimFormat::Single, 8);
    for (int t = 0; t < 4; ++t) Win(TBracketKind::Winners, 0, t, 0);
    Win(TBracketKind::Winners, 1, 1, 0);
    TPlayer* champion = W(1, 1).Winner();
    ASSERT_EQ(W(2, 0).Seat[0], champion);
    BothPlayersQuit(s, {TBracketKind::Winners, 1, 0, 0});
    EXPECT_EQ(s.GrandFinalRound, 1);
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_EQ(W(1, 0).Winner(), champion);
    EXPECT_EQ(champion->CurrentTable(), &W(1, 0));
    EXPECT_TRUE(W(2, 0).Empty());
}

// An entry whose opponent left, where nobody can move in (the round's last
// table is already played), goes on alone: its forced bye adds no table for an
// opponent who will never come, and the final still gets its two entries.
TEST_F(CorrectionsTest, AnEntryLeftAloneGoesOnWithoutATableForNobody) {
    Start(TElimFormat::Single, 8);
    for (int t = 0; t < 4; ++t) Win(TBracketKind::Winners, 0, t, 0);
    Win(TBracketKind::Winners, 1, 1, 0);  // P5 into the final
    RemovePlayer(s, {TBracketKind::Winners, 1, 0, 1});  // P3 leaves
    EXPECT_EQ(W(1, 0).Seat[0], P(1));
    EXPECT_EQ(W(1, 0).Seat[1], nullptr);
    EXPECT_EQ(s.Winners[1].TableCount, 2);
    Win(TBracketKind::Winners, 1, 0, 0);  // forced bye
    EXPECT_EQ(s.Winners[1].TableCount, 2);
    EXPECT_EQ(s.GrandFinalRound, 2);
    EXPECT_EQ(W(2, 0).Seat[0], P(5));
    EXPECT_EQ(W(2, 0).Seat[1], P(1));
    Win(TBracketKind::Winners, 2, 0, 1);
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_TRUE(world.Dialogs.Messages.empty());
}

// In the same round a forced bye does add the bye table while the opponent
// is still on the way (a loser yet to drop from the round above).
TEST_F(CorrectionsTest, AForcedByeAddsATableOnlyWhileSomebodyIsOnTheWay) {
    Start(TElimFormat::Double, 16);
    for (int t = 0; t < 7; ++t) Win(TBracketKind::Winners, 0, t, 0);
    ASSERT_EQ(OL(1, 3).Seat[0], P(14));
    ASSERT_EQ(s.OneLoss[1].TableCount, 4);
    Win(TBracketKind::OneLoss, 1, 3, 0);  // P16's loss is still to come
    EXPECT_EQ(s.OneLoss[1].TableCount, 5);
    EXPECT_TRUE(s.OneLoss[1].HasBye);
    EXPECT_EQ(s.OneLoss[2].TableCount, 5);  // 5 winners here, 4 losers from above
    Undo(s);
    BothPlayersQuit(s, {TBracketKind::Winners, 0, 7, 0});  // nobody drops now
    EXPECT_EQ(s.OneLoss[1].TableCount, 4);
    Win(TBracketKind::OneLoss, 1, 3, 0);
    EXPECT_EQ(s.OneLoss[1].TableCount, 4);
    EXPECT_EQ(s.OneLoss[2].TableCount, 4);  // 4 winners here, 4 losers from above
}

// A finalist who leaves after winning the semi-final: the semi-finals stay
// semi-finals. The other one is still played and its winner, alone at the
// final, is given it; the first semi-final's win can still be withdrawn
// while the final is open.
TEST_F(CorrectionsTest, AFinalistWhoLeavesLeavesTheFinalToTheOtherSemiFinalsWinner) {
    Start(TElimFormat::Single, 8);
    for (int t = 0; t < 4; ++t) Win(TBracketKind::Winners, 0, t, 0);
    Win(TBracketKind::Winners, 1, 0, 0);  // P1 into the final
    RemovePlayer(s, {TBracketKind::Winners, 2, 0, 0});
    EXPECT_EQ(s.GrandFinalRound, 2);
    EXPECT_EQ(W(1, 0).Winner(), P(1));
    EXPECT_EQ(W(1, 1).Result, 0);
    EXPECT_TRUE(CanCancelMatch(s, W(1, 0)));
    Win(TBracketKind::Winners, 1, 1, 1);  // P7 into the final
    EXPECT_EQ(W(2, 0).Seat[0], P(7));
    EXPECT_FALSE(GrandFinalDecided(s));
    Win(TBracketKind::Winners, 2, 0, 0);  // alone there: a forced bye
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_EQ(W(2, 0).Winner(), P(7));
}

// Both finalists of the Winners bracket quit: the one-loss bracket's champion
// reaches the grand final alone and is given it.
TEST_F(CorrectionsTest, AnAbandonedWinnersFinalLeavesTheGrandFinalToTheLossBracket) {
    Start(TElimFormat::Double, 8);
    for (int t = 0; t < 4; ++t) Win(TBracketKind::Winners, 0, t, 0);
    for (int t = 0; t < 2; ++t) Win(TBracketKind::Winners, 1, t, 0);
    BothPlayersQuit(s, {TBracketKind::Winners, 2, 0, 0});
    std::mt19937 rng(7);
    while (PlayRandomResult(s, rng)) ASSERT_EQ(CheckInvariants(s), "");
    TTableRec& gf = W(s.GrandFinalRound, 0);
    ASSERT_EQ(gf.Seat[0], nullptr);
    ASSERT_NE(gf.Seat[1], nullptr);
    TPlayer* champion = gf.Seat[1];
    EXPECT_EQ(champion->LastStage() >= 0, true);
    Win(TBracketKind::Winners, s.GrandFinalRound, 0, 1);
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_EQ(gf.Winner(), champion);
    EXPECT_TRUE(world.Dialogs.Messages.empty());
}

// OneLoss round 1 of a 128-entry Double sits at its 32 tables: a bye forced
// on the entry still waiting for the last loser would need a 33rd table.
TEST_F(CorrectionsTest, AForcedByePastTheCapacityIsRefusedOnlyWhileSomebodyIsOnTheWay) {
    Start(TElimFormat::Double, 128);
    for (int t = 0; t < 63; ++t) Win(TBracketKind::Winners, 0, t, 0);
    // The losers sit where the numbers were free; one of them waits alone.
    int lone = -1;
    for (int t = 0; t < 32; ++t)
        if (!OL(1, t).Full()) lone = t;
    ASSERT_GE(lone, 0);
    ASSERT_EQ(OL(1, lone).Seat[0], P(126));
    ASSERT_EQ(s.OneLoss[1].TableCount, 32);
    Win(TBracketKind::OneLoss, 1, lone, 0);
    EXPECT_EQ(OL(1, lone).Result, 0);
    ASSERT_FALSE(world.Dialogs.Messages.empty());
    EXPECT_EQ(world.Dialogs.Messages.back(),
              "This round has no room for another table. Cannot force a bye in this round.");
    BothPlayersQuit(s, {TBracketKind::Winners, 0, 63, 0});
    Win(TBracketKind::OneLoss, 1, lone, 0);
    EXPECT_EQ(OL(1, lone).Result, 1);
    EXPECT_EQ(s.OneLoss[1].TableCount, 32);
}

// An entry waits at a table whose number has since been given to a match in
// progress elsewhere: its opponent still sits down there, not at a new table.
TEST_F(CorrectionsTest, AnOpponentJoinsTheWaitingEntryWhateverTheNumber) {
    Start(TElimFormat::Single, 8);
    Win(TBracketKind::Winners, 0, 0, 0);
    ASSERT_EQ(W(1, 0).Seat[0], P(1));
    EditTableNumber(s, TBracketKind::Winners, 0, 3, std::to_string(W(1, 0).TableNo));
    ASSERT_GT(W(0, 3).StartTime, 0);
    Win(TBracketKind::Winners, 0, 1, 0);
    EXPECT_EQ(W(1, 0).Seat[1], P(3));
    EXPECT_TRUE(W(1, 1).Empty());
}

}  // namespace
}  // namespace kestrova
