// Corrections that need more than a host's script (tests/data/engine holds
// those): sign-up past a voided number, relocation without room, the
// reassign dialog's lists and both of its choices, table-number edits, the
// player menu. No correction may leave a reference to a removed entry.
#include <gtest/gtest.h>

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

TEST_F(CorrectionsTest, AVoidedNumberIsSkippedBySignUp) {
    SetElimFormat(s, TElimFormat::Double);
    ToggleVoidTable(s, 50);
    EXPECT_TRUE(IsVoidChecked(s, 50));
    AddPlayer(s, "Ann");
    EXPECT_EQ(s.Players[0]->Tables[0], &W(0, 1));  // table 51
    ToggleVoidTable(s, 50);
    EXPECT_FALSE(IsVoidChecked(s, 50));
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
