// The start-table example worked by hand for 64 players with the built-in
// row, the saved default row and its bad forms, and applying a row.
#include <gtest/gtest.h>

#include "formats/format_defaults.h"
#include "timing/start_tables.h"
#include "timing/timing_fixture.h"

namespace kestrova {
namespace {

using namespace testing;

std::vector<int> Reached(const TExampleTables& x) {
    std::vector<int> v;
    for (int r = 0; r < 13; ++r)
        if (x.Reached[r]) v.push_back(x.Last[r]);
    return v;
}

TEST(StartTablesTest, ExampleForSixtyFourPlayers) {
    const TRoundList& S = DefaultStartTables;  // 50,90,1,80,110,130,140,80,98,30,60,90,120,148,150
    const TExampleTables single = ExampleLastTables(S, 64, TElimFormat::Single);
    EXPECT_EQ(Reached(single), (std::vector<int>{81, 105, 8, 83}));
    EXPECT_TRUE(single.Shown[13]);
    EXPECT_EQ(single.Last[13], 149);
    EXPECT_FALSE(single.Shown[14]);
    EXPECT_FALSE(single.Reached[4] || single.Shown[4]);
    EXPECT_TRUE(single.Reached[13] && single.Reached[14]);

    const TExampleTables dbl = ExampleLastTables(S, 64, TElimFormat::Double);
    EXPECT_EQ(Reached(dbl), (std::vector<int>{81, 121, 31, 103, 125, 139, 145, 81}));
    EXPECT_FALSE(dbl.Shown[13]);

    const TExampleTables triple = ExampleLastTables(S, 64, TElimFormat::Triple);
    EXPECT_EQ(Reached(triple),
              (std::vector<int>{81, 2, 62, 127, 7, 19, 23, 103, 111, 39, 67, 91}));
    EXPECT_FALSE(triple.Shown[12] || triple.Shown[13] || triple.Shown[14]);
}

TEST(StartTablesTest, ExampleStaysInRangeForAnyInput) {
    TRoundList wild;
    wild.fill(-7);
    for (TElimFormat f : {TElimFormat::Single, TElimFormat::Double, TElimFormat::Triple})
        for (int players : {-5, 12, 13, 100, 256, 100000}) {
            const TExampleTables x = ExampleLastTables(wild, players, f);
            for (int r = 0; r < 15; ++r)
                if (x.Shown[r]) {
                    EXPECT_GE(x.Last[r], 1);
                    EXPECT_LE(x.Last[r], 150);
                }
            EXPECT_TRUE(x.Reached[0]);
        }
}

TEST(StartTablesTest, TheSavedDefaultRow) {
    TAppSettings set;
    set.DefaultStartTables = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
    EXPECT_EQ(DefaultStartTableRow(set), (TRoundList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16",
                            "1,2,3,4,5,6,7,8,9,10,11,12,13,14,151", "0,2,3,4,5,6,7,8,9,10,11,12,13,14,15",
                            "a,2,3,4,5,6,7,8,9,10,11,12,13,14,15"}) {
        set.DefaultStartTables = bad;
        EXPECT_EQ(DefaultStartTableRow(set), DefaultStartTables) << bad;
    }
}

class StartTablesApplyTest : public ::testing::Test, public TimingWorld {};

TEST_F(StartTablesApplyTest, OkRenumbersAndSaves) {
    TRoundList row = DefaultStartTables;
    row[0] = 10;
    row[1] = 999;  // clamped
    ApplyStartTables(S, row);
    EXPECT_EQ(S.StartTable[0], 10);
    EXPECT_EQ(S.StartTable[1], 150);
    EXPECT_EQ(S.Winners[0].Tables[0].TableNo, 10);
    EXPECT_NE(ReadFileBytes(Dir.File("t.log")).find("    -> Starting tables are: 10,150,1,80,"),
              std::string::npos);
    EXPECT_FALSE(ReadFileBytes(Dir.File("t.kvb")).empty());
    SaveDefaultStartTableRow(S, row);
    EXPECT_EQ(S.Settings.DefaultStartTables, "10,999,1,80,110,130,140,80,98,30,60,90,120,148,150");
    Start(TElimFormat::Single, 16);
    row[0] = 20;
    ApplyStartTables(S, row);  // sign-ups closed: nothing changes
    EXPECT_EQ(S.StartTable[0], 10);
}

}  // namespace
}  // namespace kestrova
