// Player points and match points worked by hand: the tier clamp, every
// placing under "Extra:" and "Exactly:", byes, the bracket-winner bonuses of
// Double and Triple, disqualified entries, double points, the panels' order,
// values at the bounds and beyond them, and the two points dialogs' rules.
#include <gtest/gtest.h>

#include <climits>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/points.h"
#include "engine/results.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "fakes/state_dump.h"
#include "records/event_log.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

class PointsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("t.kvb");
        // The built-in format's player points.
        s.WinPoints = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 17};
        s.ByePoints.fill(1);
        s.LosePoints = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 10};
    }
    TPlayer* P(int i) { return s.Players[i - 1].get(); }
    // Plays every decidable table, the entry signed up first winning, until
    // `until` holds or nothing is left to play.
    template <class Pred>
    void PlayLowerWins(Pred until) {
        for (int guard = 0; guard < 1000 && !until(); ++guard) {
            auto all = PlayableTables(s, false);
            if (all.empty()) return;
            const TPlayable& p = all.front();
            const TTableRec& t = s.Bracket(p.Bracket)[p.Round].Tables[p.Table];
            int seat = 0;
            if (t.Full() && Index(t.Seat[1]) < Index(t.Seat[0])) seat = 1;
            if (!t.Seat[0]) seat = 1;
            AssignWin(s, p.Bracket, p.Round, p.Table, seat, true, false);
        }
    }
    void PlayAll() {
        PlayLowerWins([&] { return GrandFinalDecided(s); });
    }
    int Index(const TPlayer* p) const {
        for (size_t i = 0; i < s.Players.size(); ++i)
            if (s.Players[i].get() == p) return static_cast<int>(i);
        return -1;
    }
    std::vector<int> AllPoints() {
        UpdatePlayerState(s);
        std::vector<int> v;
        for (auto& p : s.Players) v.push_back(p->Points);
        return v;
    }
    // A fresh tournament in the same state object (the state is never copied).
    void ResetForNext() {
        ClearUndoAndRedo(s);
        ResetTourneyState(s);
        SetUp();
    }
    bool ReadFileIfExistsOk() { return !ReadFileBytes(s.TourneyPath).empty(); }
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
};

// Single, 8 entries, the entry signed up first always wins: P1 beats P2,
// P3 and P5; P5 beats P6 and P7; P3 beats P4; P7 beats P8.
//   P1: 2 (round 1) + 2 (semi-final) + 17 (final)       = 21
//   P5: 2 + 2 + 10 (losing the final)                    = 14
//   P3, P7: 2 + 5 (losing a semi-final)                  = 7
TEST_F(PointsTest, PlacingsAddUnderExtraAndReplaceUnderExactly) {
    StartTourney(s, TElimFormat::Single, 8);
    PlayAll();
    ASSERT_TRUE(GrandFinalDecided(s));
    EXPECT_EQ(AllPoints(), (std::vector<int>{21, 0, 7, 0, 14, 0, 7, 0}));
    struct Case {
        int32_t First, Second, Third;
        std::vector<int> Expected;
    };
    const Case cases[] = {
        {0, 3, 0, {21, 0, 7, 0, 17, 0, 7, 0}},       // Extra: 14 + 3
        {0, -3, 0, {21, 0, 7, 0, 3, 0, 7, 0}},       // Exactly 3, whatever came before
        {-50, -3, -4, {50, 0, 4, 0, 3, 0, 4, 0}},    // all three exactly
        {5, 3, 4, {26, 0, 11, 0, 17, 0, 11, 0}},     // all three extra
        {0, 0, 0, {21, 0, 7, 0, 14, 0, 7, 0}},       // 0 adds nothing either way
    };
    for (const Case& c : cases) {
        s.FirstPlacePoints = c.First;
        s.SecondPlacePoints = c.Second;
        s.ThirdPlacePoints = c.Third;
        EXPECT_EQ(AllPoints(), c.Expected) << c.First << " " << c.Second << " " << c.Third;
    }
    s.DoublePlayerPoints = true;
    s.SecondPlacePoints = -3;
    EXPECT_EQ(AllPoints(), (std::vector<int>{42, 0, 14, 0, 6, 0, 14, 0}));
}

// Single, 15 entries: P15 sits alone at the bye table of round 1, then
// loses round 2 to P13. P3, P7, P11 lose round 2; P5 and P13 the
// semi-finals; P9 the final.
TEST_F(PointsTest, ByeWinsGetByePointsAndAreListed) {
    StartTourney(s, TElimFormat::Single, 15);
    ASSERT_TRUE(s.Winners[0].HasBye) << DumpState(s);
    PlayAll();
    EXPECT_EQ(AllPoints(), (std::vector<int>{23, 0, 2, 0, 9, 0, 2, 0, 16, 0, 2, 0, 9, 0, 1}));
    auto byes = ByeRows(s);
    ASSERT_EQ(byes.size(), 1u);
    EXPECT_EQ(byes[0].Name, "P015");
    EXPECT_EQ(byes[0].Rounds, "1");
}

TEST_F(PointsTest, PanelListsPointsAscendingThenNamesIgnoringCase) {
    StartTourney(s, TElimFormat::Single, 8);
    PlayAll();
    P(3)->Name = "bob";
    P(7)->Name = "Alice";
    P(5)->Disqualified = true;
    UpdatePlayerState(s);
    EXPECT_EQ(P(5)->Points, 0);
    std::vector<std::string> names;
    for (const auto& row : PlayerPointsRows(s)) names.push_back(row.Name + "=" + IntToStr(row.Points));
    EXPECT_EQ(names, (std::vector<std::string>{"Alice=7", "bob=7", "P001=21"}));
    EXPECT_EQ(world.View.CountLabel, "Players: 0/8");
}

// The winners-bracket champion waits (OneLossFinalRound - WinnersFinalRound)
// rounds in Double; in Triple (TwoLossFinalRound - WinnersFinalRound + 1),
// and the one-loss champion (TwoLossFinalRound - OneLossFinalRound). With 3
// a round and 4 fixed only those entries' totals change.
TEST_F(PointsTest, BracketWinnersWaitingForTheFinalEarnTheirBonus) {
    struct Case {
        TElimFormat Format;
        int Wf, Olf, Tlf;
        std::vector<int> Bonus;  // per entry
    };
    const Case cases[] = {
        {TElimFormat::Double, 2, 4, 0, {3 * 2 + 4, 0, 0, 0, 0, 0, 0, 0}},
        // P2, never beaten by a lower entry, wins the one-loss bracket.
        {TElimFormat::Triple, 2, 4, 6, {3 * 5 + 4, 3 * 2 + 4, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ResetForNext();
        StartTourney(s, c.Format, 8);
        ASSERT_EQ(s.WinnersFinalRound, c.Wf);
        ASSERT_EQ(s.OneLossFinalRound, c.Olf);
        ASSERT_EQ(s.TwoLossFinalRound, c.Tlf);
        PlayAll();
        ASSERT_TRUE(GrandFinalDecided(s));
        const auto before = AllPoints();
        s.WinOfWinPoints = 3;
        s.FixedWinOfWinPoints = 4;
        const auto after = AllPoints();
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_EQ(after[i] - before[i], c.Bonus[i]) << "entry " << i + 1;
        // Doubling doubles the bonus with the rest.
        s.DoublePlayerPoints = true;
        EXPECT_EQ(AllPoints()[0], 2 * after[0]);
        s.DoublePlayerPoints = false;
        s.WinOfWinPoints = s.FixedWinOfWinPoints = 0;
    }
}

// A formats file may hold any 32-bit value: the arithmetic is done in 64
// bits and a total past the int32 range stays at its bound.
TEST_F(PointsTest, HugeAndNegativeValuesNeverOverflow) {
    StartTourney(s, TElimFormat::Single, 8);
    PlayAll();
    s.WinPoints.fill(INT_MAX);
    s.LosePoints.fill(INT_MIN);
    s.SecondPlacePoints = INT_MIN;  // "Exactly:" 2^31
    auto v = AllPoints();
    EXPECT_EQ(v[0], INT_MAX);           // 3 * INT_MAX
    EXPECT_EQ(v[1], INT_MIN);           // one loss
    EXPECT_EQ(v[2], -1);                // INT_MAX + INT_MIN
    EXPECT_EQ(v[4], INT_MAX);           // set to 2^31
    s.WinPoints.fill(-7);
    s.LosePoints.fill(0);
    s.SecondPlacePoints = 0;
    s.DoublePlayerPoints = true;
    v = AllPoints();
    EXPECT_EQ(v[0], -42);
    EXPECT_TRUE(PlayerPointsRows(s).empty());  // nobody above 0
}

TEST_F(PointsTest, TierFollowsTheFieldSizeClampedToTheFiveRows) {
    for (int t = 0; t < 5; ++t) s.MatchPointsTiers[t].fill(t + 1);
    struct Case {
        TElimFormat Format;
        int Entries, Row;
    };
    const Case cases[] = {
        {TElimFormat::Single, 8, 0},    // final at round index 2: clamped
        {TElimFormat::Single, 16, 0},   // final at 3
        {TElimFormat::Single, 17, 1},   // final at 4
        {TElimFormat::Double, 24, 1},   // grand final at 5
        {TElimFormat::Triple, 128, 3},  // grand final at 7
        {TElimFormat::Single, 128, 3},  // final at 6
    };
    for (const Case& c : cases) {
        ResetForNext();
        for (int t = 0; t < 5; ++t) s.MatchPointsTiers[t].fill(t + 1);
        StartTourney(s, c.Format, c.Entries);
        EXPECT_EQ(s.MsgParams.MatchPoints[0], c.Row + 1) << c.Entries << " GF " << s.GrandFinalRound;
    }
    // 256 entries (a final at 11) is past this program's field; the clamp holds.
    s.GrandFinalRound = 12;
    SelectMatchPointsTier(s);
    EXPECT_EQ(s.MsgParams.MatchPoints[0], 5);
    // Undo picks the tier again for the field it restores.
    s.MatchPointsTiers[0].fill(9);
    ResetForNext();
    for (int t = 0; t < 5; ++t) s.MatchPointsTiers[t].fill(t + 1);
    StartTourney(s, TElimFormat::Single, 16);
    PlayLowerWins([&] { return s.Winners[0].Tables[0].Result != 0; });
    s.MatchPointsTiers[0].fill(9);
    Undo(s);
    EXPECT_EQ(s.MsgParams.MatchPoints[0], 9);
}

TEST_F(PointsTest, ArrangementFieldsRowsAndGreying) {
    TMatchPointsArrangement a;
    for (int t = 0; t < 5; ++t) a.Tiers[t].fill(3);
    EditArrangementField(a, 4, 7);  // same for all: every row
    for (int t = 0; t < 5; ++t) EXPECT_EQ(a.Tiers[t][4], 7);
    a.SameForAll = false;
    a.Tier = 2;
    EditArrangementField(a, 14, 250);  // bounded to 100, chosen row only
    EXPECT_EQ(a.Tiers[2][14], 100);
    EXPECT_EQ(a.Tiers[1][14], 3);
    EditArrangementField(a, 15, 9);  // outside the list: nothing
    SetSameForAll(a, true);
    for (int t = 0; t < 5; ++t) EXPECT_EQ(a.Tiers[t], a.Tiers[2]);

    auto usable = [&](TElimFormat e, bool same, int tier) {
        a.Elim = e;
        a.SameForAll = same;
        a.Tier = tier;
        std::string out;
        for (int i = 0; i < RoundIndexCount; ++i) out += ArrangementFieldUsable(a, i) ? 'x' : '.';
        return out;
    };
    EXPECT_EQ(usable(TElimFormat::Single, true, 0), "xxxxxx.......xx");
    EXPECT_EQ(usable(TElimFormat::Single, false, 0), "xx...........xx");
    EXPECT_EQ(usable(TElimFormat::Single, false, 4), "xxxxxx.......xx");
    EXPECT_EQ(usable(TElimFormat::Double, false, 2), "xxxxxxxx.....xx");
    EXPECT_EQ(usable(TElimFormat::Triple, true, 0), "xxxxxxxxxxxxxxx");
}

TEST_F(PointsTest, ArrangementOkLogsTheRowsAndSetsTheEliminationWhileOpen) {
    TMatchPointsArrangement a = ReadArrangement(s);
    for (int t = 0; t < 5; ++t) a.Tiers[t].fill(t);
    a.Elim = TElimFormat::Triple;
    ApplyArrangement(s, a);
    EXPECT_EQ(s.ElimFormat, TElimFormat::Triple);
    EXPECT_EQ(s.MatchPointsItem, MatchPointsOther);
    EXPECT_EQ(s.MatchPointsTiers[4][0], 4);
    const std::string log = ReadFileBytes(LogPathFor(s.TourneyPath));
    EXPECT_NE(log.find("    -> Points8to16 = 0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"
                       "    -> Points17to32 = 1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("    -> Points129to256 = 4,4,4"), std::string::npos);
    EXPECT_FALSE(ReadArrangement(s).SameForAll);
    // Once sign-ups are closed the elimination stays.
    StartTourney(s, TElimFormat::Single, 8);
    a.Elim = TElimFormat::Double;
    ApplyArrangement(s, a);
    EXPECT_EQ(s.ElimFormat, TElimFormat::Single);
}

TEST_F(PointsTest, PlayerPointsValuesReadEditAndStore) {
    s.FirstPlacePoints = -20;
    s.SecondPlacePoints = -10;
    s.ThirdPlacePoints = 0;
    s.HostPoints = 500;  // read from a file: shown within the field's bound
    TPlayerPointsValues v = ReadPlayerPointsValues(s);
    EXPECT_TRUE(v.Exactly);
    EXPECT_EQ(v.First, 20);
    EXPECT_EQ(v.Second, 10);
    EXPECT_EQ(v.Host, 100);
    EXPECT_FALSE(v.SameRounds);
    EditPointsCell(v, 3, 0, 9);
    EXPECT_EQ(v.Win[3], 9);
    EXPECT_EQ(v.Win[4], 2);
    SetSameRounds(v, true);
    EXPECT_EQ(v.Win[14], 2);  // the first row everywhere
    EXPECT_EQ(v.Lose[14], 0);
    EditPointsCell(v, 7, 2, 4);
    for (int r = 0; r < RoundIndexCount; ++r) EXPECT_EQ(v.Lose[r], 4);
    v.Exactly = true;
    v.Third = 0;
    v.WinOfWin = 6;
    ApplyPlayerPointsValues(s, v);
    EXPECT_EQ(s.FirstPlacePoints, -20);
    EXPECT_EQ(s.SecondPlacePoints, -10);
    EXPECT_EQ(s.ThirdPlacePoints, 0);  // 0 under "Exactly:" stays 0
    EXPECT_EQ(s.WinOfWinPoints, 6);
    EXPECT_EQ(s.LosePoints[0], 4);
    v.Exactly = false;
    ApplyPlayerPointsValues(s, v);
    EXPECT_EQ(s.FirstPlacePoints, 20);
    EXPECT_TRUE(ReadFileIfExistsOk());
}
}  // namespace
}  // namespace kestrova
