// The worked tables of the tournament model: planned counts, markers and
// table numbering.
#include <gtest/gtest.h>

#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "fakes/fake_ports.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::TempDir;

class TableCountTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("t.kvb");
    }
    std::vector<int> Counts(const TBracket& b, int n) {
        std::vector<int> v;
        for (int r = 0; r < n; ++r) v.push_back(b[r].TableCount);
        return v;
    }
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
};

TEST_F(TableCountTest, SixteenEntriesDoubleAndTriple) {
    for (TElimFormat f : {TElimFormat::Double, TElimFormat::Triple}) {
        s.ElimFormat = f;
        UpdateTableCount(s, 16);
        EXPECT_EQ(Counts(s.Winners, 5), (std::vector<int>{8, 4, 2, 1, 1}));
        EXPECT_EQ(Counts(s.OneLoss, 7), (std::vector<int>{0, 4, 4, 3, 2, 1, 1}));
        EXPECT_EQ(Counts(s.TwoLoss, 8), (std::vector<int>{0, 0, 2, 3, 3, 3, 2, 1}));
        EXPECT_TRUE(s.TwoLoss[5].HasBye);
        EXPECT_FALSE(s.TwoLoss[4].HasBye);
        EXPECT_FALSE(s.Winners[4].HasBye);
        EXPECT_FALSE(s.OneLoss[6].HasBye);
        EXPECT_EQ(s.WinnersFinalRound, 3);
        EXPECT_EQ(s.GrandFinalRound, 4);
        EXPECT_EQ(s.OneLossFinalRound, 5);
        EXPECT_EQ(s.OneLossLastRound, 6);
        EXPECT_EQ(s.TwoLossFinalRound, 7);
    }
}

TEST_F(TableCountTest, SixteenEntriesSingleAndLabels) {
    s.ElimFormat = TElimFormat::Single;
    UpdateTableCount(s, 16);
    EXPECT_EQ(s.WinnersFinalRound, 2);
    EXPECT_EQ(s.GrandFinalRound, 3);
    EXPECT_EQ(RoundLabel(s, 3, TBracketKind::Winners), "GF");
    EXPECT_EQ(RoundLabel(s, 2, TBracketKind::Winners), "SF");
    EXPECT_EQ(GetRoundIndex(s, 3, TBracketKind::Winners), 14);
    EXPECT_EQ(GetRoundIndex(s, 2, TBracketKind::Winners), 13);
}

TEST_F(TableCountTest, PlanningSizeMarkers) {
    s.ElimFormat = TElimFormat::Triple;
    UpdateTableCount(s, 128);
    EXPECT_EQ(Counts(s.Winners, 7), (std::vector<int>{64, 32, 16, 8, 4, 2, 1}));
    EXPECT_EQ(s.WinnersFinalRound, 6);
    EXPECT_EQ(s.GrandFinalRound, 7);
    EXPECT_EQ(s.OneLossFinalRound, 9);
    EXPECT_EQ(s.TwoLossFinalRound, 12);
    s.ElimFormat = TElimFormat::Single;
    UpdateTableCount(s, 128);
    EXPECT_EQ(s.WinnersFinalRound, 5);
    EXPECT_EQ(s.GrandFinalRound, 6);
}

TEST_F(TableCountTest, OddCountHasByeTable) {
    s.ElimFormat = TElimFormat::Double;
    UpdateTableCount(s, 13);
    EXPECT_EQ(s.Winners[0].TableCount, 7);
    EXPECT_TRUE(s.Winners[0].HasBye);
}

TEST_F(TableCountTest, DoubleNumberingInterleaves) {
    s.StartTable.fill(1);
    s.RoomTableCount = 150;
    SetElimFormat(s, TElimFormat::Double);
    EXPECT_EQ(s.Winners[1].Tables[0].TableNo, 2);
    EXPECT_EQ(s.Winners[1].Tables[1].TableNo, 4);
    EXPECT_EQ(s.Winners[1].Tables[2].TableNo, 6);
    EXPECT_EQ(s.OneLoss[1].Tables[0].TableNo, 1);
    EXPECT_EQ(s.OneLoss[1].Tables[1].TableNo, 3);
    EXPECT_EQ(s.Winners[0].Tables[0].TableNo, 1);
    EXPECT_EQ(s.Winners[0].Tables[1].TableNo, 2);
}

TEST_F(TableCountTest, TripleNumberingGroupsOfFour) {
    s.StartTable.fill(1);
    SetElimFormat(s, TElimFormat::Triple);
    EXPECT_EQ(s.Winners[2].Tables[0].TableNo, 1);
    EXPECT_EQ(s.OneLoss[2].Tables[0].TableNo, 2);
    EXPECT_EQ(s.TwoLoss[2].Tables[0].TableNo, 3);
    EXPECT_EQ(s.Winners[2].Tables[1].TableNo, 5);
    EXPECT_EQ(s.OneLoss[2].Tables[1].TableNo, 6);
    EXPECT_EQ(s.TwoLoss[2].Tables[1].TableNo, 7);
}

TEST_F(TableCountTest, SingleNumberingWrapsAround) {
    s.RoomTableCount = 10;
    s.StartTable.fill(9);
    SetElimFormat(s, TElimFormat::Single);
    EXPECT_EQ(s.Winners[0].Tables[0].TableNo, 9);
    EXPECT_EQ(s.Winners[0].Tables[1].TableNo, 10);
    EXPECT_EQ(s.Winners[0].Tables[2].TableNo, 1);
    EXPECT_EQ(s.Winners[0].Tables[3].TableNo, 2);
}

TEST_F(TableCountTest, FinalTablesGetFixedNumbers) {
    SetElimFormat(s, TElimFormat::Double);
    EXPECT_EQ(s.Winners[s.GrandFinalRound].Tables[0].TableNo, 150);
    EXPECT_EQ(s.OneLoss[s.OneLossFinalRound].Tables[0].TableNo, (148 & ~1) + 1);
}

TEST_F(TableCountTest, VoidAndBusyNumbersAreInUse) {
    SetElimFormat(s, TElimFormat::Single);
    s.VoidTables.push_back(77);
    EXPECT_TRUE(IsTableNoInUse(s, TBracketKind::Winners, 1, 77));
    TPlayer p;
    TTableRec& t = s.Winners[0].Tables[0];
    t.Seat[0] = &p;
    EXPECT_TRUE(IsTableNoInUse(s, TBracketKind::Winners, 1, t.TableNo));
    EXPECT_FALSE(IsTableNoInUse(s, TBracketKind::Winners, 0, t.TableNo));
    t.StartTime = 1;
    EXPECT_TRUE(IsTableNoInUse(s, TBracketKind::Winners, 0, t.TableNo));
    t.Result = 1;
    EXPECT_FALSE(IsTableNoInUse(s, TBracketKind::Winners, 0, t.TableNo));
}

TEST_F(TableCountTest, TabCaptionsOfSixteenEntries) {
    s.ElimFormat = TElimFormat::Double;
    UpdateTableCount(s, 16);
    EXPECT_EQ(s.TabCaptions[0], (std::vector<std::string>{"1", "2", "3", "WF", "GF"}));
    EXPECT_EQ(s.TabCaptions[1], (std::vector<std::string>{"2", "3", "4", "5", "SF"}));
    s.ElimFormat = TElimFormat::Triple;
    UpdateTableCount(s, 16);
    EXPECT_EQ(s.TabCaptions[1], (std::vector<std::string>{"2", "3", "4", "5", "QF", "SF"}));
    EXPECT_EQ(s.TabCaptions[2], (std::vector<std::string>{"3", "4", "5", "6 *", "7", "QF"}));
}

}  // namespace
}  // namespace kestrova
