// Match points worked by hand beyond what a formats file gives
// (tests/data/engine/points_formats.txt): the tier's clamp and undo, and the
// two points dialogs' rules.
#include <gtest/gtest.h>

#include <tuple>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/points.h"
#include "engine/results.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "records/event_log.h"

namespace kestrova {
namespace {

using namespace testing;

class PointsTest : public ::testing::Test {
  protected:
    // The built-in player points: 2 a win, 17 the final, 5 for losing a
    // semi-final, 10 the final.
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("t.kvb");
        s.WinPoints = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 17};
        s.LosePoints = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 10};
    }
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
};

// Past this program's field the clamp holds; undo picks the row again for
// the field it restores (the rows by size: tests/data/engine/points_formats.txt).
TEST_F(PointsTest, TierClampedAndPickedAgainOnUndo) {
    StartTourney(s, TElimFormat::Single, 16);
    AssignWin(s, TBracketKind::Winners, 0, 0, 0, true, false);
    s.MatchPointsTiers[0].fill(9);
    Undo(s);
    EXPECT_EQ(s.MsgParams.MatchPoints[0], 9);
    s.MatchPointsTiers[4].fill(5);
    s.GrandFinalRound = 12;
    SelectMatchPointsTier(s);
    EXPECT_EQ(s.MsgParams.MatchPoints[0], 5);
}

TEST_F(PointsTest, MatchPointsDialogEditsRowsAndGreysFields) {
    TMatchPointsArrangement a;
    for (int t = 0; t < 5; ++t)
        a.Tiers[t].fill(3);
    EditArrangementField(a, 0, 7);  // same for all: every row, and nothing past them
    EditArrangementField(a, 1, 0);
    EditArrangementField(a, 2, 4);
    for (int t = 0; t < 5; ++t)
        EXPECT_EQ(Format("%d %d %d", a.Tiers[t][0], a.Tiers[t][1], a.Tiers[t][2]), "7 0 4");
    EXPECT_EQ(Format("%d %d %d", static_cast<int>(a.Elim), a.SameForAll, a.Tier), "0 1 0");
    a.SameForAll = false;
    a.Tier = 2;
    EditArrangementField(a, 14, 250);  // bounded to 100, the chosen row only
    EditArrangementField(a, 15, 9);    // outside the list: nothing
    EXPECT_EQ(Format("%d %d", a.Tiers[2][14], a.Tiers[1][14]), "100 3");
    SetSameForAll(a, true);
    for (int t = 0; t < 5; ++t)
        EXPECT_EQ(a.Tiers[t], a.Tiers[2]);
    const std::tuple<TElimFormat, bool, int, const char*> cases[] = {
        {TElimFormat::Single, true, 0, "xxxxxx.......xx"},
        {TElimFormat::Single, false, 0, "xx...........xx"},
        {TElimFormat::Single, false, 4, "xxxxxx.......xx"},
        {TElimFormat::Double, false, 2, "xxxxxxxx.....xx"},
        {TElimFormat::Triple, true, 0, "xxxxxxxxxxxxxxx"},
    };
    for (const auto& [format, same, tier, usable] : cases) {
        a.Elim = format;
        a.SameForAll = same;
        a.Tier = tier;
        std::string out;
        for (int i = 0; i < RoundIndexCount; ++i)
            out += ArrangementFieldUsable(a, i) ? 'x' : '.';
        EXPECT_EQ(out, usable);
    }
    // OK logs the rows and sets the elimination while sign-ups are open.
    for (int t = 0; t < 5; ++t)
        a.Tiers[t].fill(t);
    a.Elim = TElimFormat::Triple;
    ApplyArrangement(s, a);
    EXPECT_EQ(s.ElimFormat, TElimFormat::Triple);
    EXPECT_EQ(s.MatchPointsItem, MatchPointsOther);
    const std::string log = ReadFileBytes(LogPathFor(s.TourneyPath));
    EXPECT_NE(log.find("    -> Points8to16 = 0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
                       "    -> Points17to32 = 1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("    -> Points129to256 = 4,4,4"), std::string::npos);
    EXPECT_FALSE(ReadArrangement(s).SameForAll);
    StartTourney(s, TElimFormat::Single, 8);
    a.Elim = TElimFormat::Double;
    ApplyArrangement(s, a);
    EXPECT_EQ(s.ElimFormat, TElimFormat::Single);
}

TEST_F(PointsTest, PlayerPointsDialogReadsEditsAndStores) {
    s.FirstPlacePoints = -20;
    s.SecondPlacePoints = -10;
    s.HostPoints = 500;  // read from a file: shown within the field's bound
    TPlayerPointsValues v = ReadPlayerPointsValues(s);
    EXPECT_EQ(Format("%d %d %d %d %d", v.Exactly, v.First, v.Second, v.Host, v.SameRounds),
              "1 20 10 100 0");
    EditPointsCell(v, 3, 0, 9);
    EXPECT_EQ(Format("%d %d", v.Win[3], v.Win[4]), "9 2");
    EditPointsCell(v, 0, 1, 5);  // the first round's row is a row like any other
    EXPECT_EQ(Format("%d %d", v.Bye[0], v.Bye[1]), "5 0");
    SetSameRounds(v, true);  // the first row everywhere
    EXPECT_EQ(Format("%d %d", v.Win[14], v.Lose[14]), "2 0");
    EditPointsCell(v, 7, 2, 4);
    for (int r = 0; r < RoundIndexCount; ++r)
        EXPECT_EQ(v.Lose[r], 4);
    v.Third = 0;
    v.WinOfWin = 6;
    ApplyPlayerPointsValues(s, v);
    EXPECT_EQ(Format("%d %d %d %d %d", s.FirstPlacePoints, s.SecondPlacePoints, s.ThirdPlacePoints,
                     s.WinOfWinPoints, s.LosePoints[0]),
              "-20 -10 0 6 4");  // 0 under "Exactly:" stays 0
    v.Exactly = false;
    v.Second = 0;
    ApplyPlayerPointsValues(s, v);
    EXPECT_EQ(s.FirstPlacePoints, 20);
    EXPECT_FALSE(ReadPlayerPointsValues(s).Exactly);  // a 0 is no "Exactly:"
    EXPECT_FALSE(ReadFileBytes(s.TourneyPath).empty());
}

}  // namespace
}  // namespace kestrova
