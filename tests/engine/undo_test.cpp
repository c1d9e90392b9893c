// Undo and redo: whole results restored exactly, redo lost on a new change,
// snapshots dropped whenever Players loses or reorders records, and the size
// of one snapshot in a full tournament.
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

class UndoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s);
        s.LogToFile = false;
    }
    void Win(int r, int t, int seat = 0) {
        AssignWin(s, TBracketKind::Winners, r, t, seat, true, false);
    }
    // Sixteen entries signed up two to a table, one result recorded, sign-ups still open.
    void SignupWithAResult() {
        SetElimFormat(s, TElimFormat::Double);
        SetOnePerTable(s, false);
        for (int i = 0; i < 16; ++i)
            ASSERT_NE(AddPlayer(s, "n" + std::to_string(i)), nullptr)
                << i << (world.Dialogs.Messages.empty() ? "" : world.Dialogs.Messages.back());
        Win(0, 3);
        ASSERT_FALSE(s.SignupClosed);
        ASSERT_EQ(s.UndoList.size(), 1u);
    }
    void ExpectBothEmpty() {
        EXPECT_TRUE(s.UndoList.empty());
        EXPECT_TRUE(s.RedoList.empty());
        EXPECT_FALSE(world.View.UndoEnabled);
        EXPECT_FALSE(world.View.RedoEnabled);
        EXPECT_FALSE(Undo(s));
        EXPECT_FALSE(Redo(s));
        EXPECT_EQ(CheckInvariants(s), "");
    }
    FakeWorld world;
    TTourneyState s;
};

TEST_F(UndoTest, WinUndoRedoAndANewWinDropsRedo) {
    StartTourney(s, TElimFormat::Double, 16);
    const std::string before = DumpState(s);
    Win(0, 0);
    const std::string after = DumpState(s);
    EXPECT_TRUE(world.View.UndoEnabled);
    ASSERT_TRUE(Undo(s));
    EXPECT_EQ(DumpState(s), before);
    EXPECT_FALSE(world.View.UndoEnabled);
    EXPECT_TRUE(world.View.RedoEnabled);
    ASSERT_TRUE(Redo(s));
    EXPECT_EQ(DumpState(s), after);
    ASSERT_TRUE(Undo(s));
    Win(0, 1);
    EXPECT_TRUE(s.RedoList.empty());
    EXPECT_FALSE(world.View.RedoEnabled);
    EXPECT_FALSE(Redo(s));
}

TEST_F(UndoTest, TenWinsUndoneTenTimes) {
    StartTourney(s, TElimFormat::Triple, 32);
    const std::string atClose = DumpState(s);
    for (int t = 0; t < 10; ++t)
        Win(0, t, t % 2);
    int undone = 0;
    while (Undo(s))
        ++undone;
    EXPECT_EQ(undone, 10);
    EXPECT_EQ(DumpState(s), atClose);
}

TEST_F(UndoTest, DisqualifyTakesNoSnapshotAndUndoBringsBackTheEarlierValue) {
    StartTourney(s, TElimFormat::Double, 16);
    Win(0, 0);
    DisqualifyPlayer(s, {TBracketKind::Winners, 0, 1, 0});
    EXPECT_EQ(s.UndoList.size(), 1u);
    EXPECT_TRUE(s.Players[2]->Disqualified);
    ASSERT_TRUE(Undo(s));
    EXPECT_FALSE(s.Players[2]->Disqualified);
    EXPECT_EQ(s.Winners[0].Tables[0].Result, 0);
}

TEST_F(UndoTest, AddingAPlayerEmptiesBothStacks) {
    SignupWithAResult();
    ASSERT_TRUE(Undo(s));
    ASSERT_TRUE(Redo(s));
    ASSERT_TRUE(Undo(s));
    ASSERT_NE(AddPlayer(s, "late"), nullptr);
    ExpectBothEmpty();
}

TEST_F(UndoTest, StacksEmptiedWhenPlayersLosesRecords) {
    {
        SCOPED_TRACE("erased sign-up name");
        SignupWithAResult();
        EditPlayerName(s, TBracketKind::Winners, 0, 0, 0, "");
        EXPECT_EQ(s.Players.size(), 15u);
        ExpectBothEmpty();
        ResetTourneyState(s);
    }
    {
        SCOPED_TRACE("removed during sign-up");
        SignupWithAResult();
        RemovePlayer(s, {TBracketKind::Winners, 0, 0, 1});
        EXPECT_EQ(s.Players.size(), 15u);
        ExpectBothEmpty();
        ResetTourneyState(s);
    }
    {
        SCOPED_TRACE("both quit during sign-up");
        SignupWithAResult();
        ASSERT_TRUE(Undo(s));  // one snapshot on each stack
        Win(0, 3);
        ASSERT_TRUE(Undo(s));
        BothPlayersQuit(s, {TBracketKind::Winners, 0, 1, 0});
        EXPECT_EQ(s.Players.size(), 14u);
        ExpectBothEmpty();
        ResetTourneyState(s);
    }
    {
        SCOPED_TRACE("new tournament");
        SignupWithAResult();
        ASSERT_TRUE(Undo(s));
        Win(0, 3);
        ResetTourneyState(s);
        ExpectBothEmpty();
    }
}

TEST_F(UndoTest, SnapshotOf128EntriesInTripleStaysSmall) {
    StartTourney(s, TElimFormat::Triple, 128);
    std::mt19937 rng(5);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(PlayRandomResult(s, rng));
    auto snap = TUndoRedo::Take(s);
    EXPECT_LE(snap->Bytes(), 64u * 1024u);
    RecordProperty("snapshot_bytes", static_cast<int>(snap->Bytes()));
}

}  // namespace
}  // namespace kestrova
