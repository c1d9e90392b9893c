// Corrections near the finals, played as a host would and checked by hand:
// after each script the tournament is saved and reopened and must be the
// same, no entry is left waiting at a table that can never be played, and
// the champion is never an entry that was removed.
//
// P01, P02, ... sign up in that order, two to a table; rounds and tables are
// the state's indexes, counted from 0.
#include <gtest/gtest.h>

#include <sstream>

#include "common/text.h"
#include "engine/corrections.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/table_count.h"
#include "fakes/reopen_check.h"
#include "fakes/state_dump.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

class CorrectionScenarios : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s);
        s.LogToFile = false;
    }
    void TearDown() override {
        EXPECT_EQ(CheckInvariants(s), "") << DumpState(s);
        EXPECT_EQ(ReopenDiff(s, dir.File("reopen.kvb")), "") << DumpState(s);
    }

    TPlayer* P(int i) { return s.Players[static_cast<size_t>(i - 1)].get(); }
    TPlayer* Named(const std::string& name) {
        for (auto& p : s.Players)
            if (p->Name == name) return p.get();
        ADD_FAILURE() << "no entry " << name;
        return nullptr;
    }
    // Where the entry sits now (its last stage).
    TSeatRef At(TPlayer* p) {
        const int k = p->LastStage();
        const TTableRec& t = *p->Tables[k];
        return {BracketOf(t), RoundOf(t), TableIndexOf(t), p->Seats[k]};
    }
    // "P01" in the scripts is the first entry: the engine names it P001.
    TPlayer* Entry(const std::string& word) { return Named(Format("P%03d", std::stoi(word.substr(1)))); }

    // One host action per line:
    //   win P01         the entry's win button at its current table (a lone
    //                   entry's win is a forced bye)
    //   remove P01      "Remove player (or has left)"
    //   withdraw P01 k  the entry's win at stage k is released
    //   void N          "Don't assign to this table number" on number N
    //   move P01 N      reassign: move within the round to table number N
    //   reopen          save, open the file again and go on from it
    void Play(const std::string& script) {
        std::istringstream lines(script);
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string op, who;
            words >> op;
            if (op.empty()) continue;
            SCOPED_TRACE(line);
            if (op == "void") {
                int no = 0;
                words >> no;
                ToggleVoidTable(s, no);
            } else if (op == "reopen") {
                const std::string path = dir.File("reopen.kvb");
                ASSERT_EQ(ReopenDiff(s, path), "") << DumpState(s);
            } else {
                words >> who;
                TPlayer* p = Entry(who);
                ASSERT_NE(p, nullptr);
                if (op == "win") {
                    const TSeatRef at = At(p);
                    AssignWin(s, at.Bracket, at.Round, at.Table, at.Seat, true, false);
                } else if (op == "remove") {
                    RemovePlayer(s, At(p));
                } else if (op == "withdraw") {
                    int k = 0;
                    words >> k;
                    const TTableRec& t = *p->Tables[k];
                    AssignWin(s, BracketOf(t), RoundOf(t), TableIndexOf(t), p->Seats[k], false, false);
                } else if (op == "move") {
                    std::string number;
                    words >> number;
                    CarryOutReassign(s, BuildReassign(s, At(p)), false, number);
                } else {
                    FAIL() << "unknown action " << op;
                }
            }
            ASSERT_EQ(CheckInvariants(s), "") << DumpState(s);
        }
    }

    // Seat 0 wins every table that can be played, in table order, until
    // `done` holds.
    template <class Done>
    void PlaySeatZeroUntil(Done done) {
        for (int guard = 0; guard < 400 && !done(); ++guard) {
            const std::vector<TPlayable> open = PlayableTables(s, false);
            ASSERT_FALSE(open.empty()) << DumpState(s);
            const TPlayable& t = open.front();
            AssignWin(s, t.Bracket, t.Round, t.Table, 0, true, false);
        }
        ASSERT_TRUE(done()) << DumpState(s);
    }

    // Nobody is left at an open table: the tournament is over.
    bool NobodyWaiting() {
        for (const auto& p : s.Players) {
            const TTableRec* t = p->CurrentTable();
            if (t && t->Result == 0) return false;
        }
        return true;
    }
    TTableRec& Final() { return s.Winners[s.GrandFinalRound].Tables[0]; }

    TempDir dir;
    FakeWorld world;
    TTourneyState s;
};

// The lower bracket's champion who crossed into the grand final keeps seat 1
// when the other finalist is removed; alone there, it is given the final.
TEST_F(CorrectionScenarios, RemovingTheOtherGrandFinalistLeavesTheCrossedChampionInSeatOne) {
    StartTourney(s, TElimFormat::Double, 8);
    PlaySeatZeroUntil([&] { return Final().Full(); });
    ASSERT_EQ(Final().Seat[0], P(1));
    ASSERT_EQ(Final().Seat[1], P(5));
    Play("remove P01\nreopen");
    EXPECT_EQ(Final().Seat[0], nullptr);
    EXPECT_EQ(Final().Seat[1], P(5));
    Play("win P05");
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_EQ(Final().Winner(), P(5));
    EXPECT_TRUE(NobodyWaiting());
}

// The same at the one-loss bracket's last table of a triple elimination,
// where the two-loss champion crosses in.
TEST_F(CorrectionScenarios, RemovingAtTheOneLossLastTableOfTripleKeepsTheFileReadable) {
    StartTourney(s, TElimFormat::Triple, 12);
    TTableRec* last = nullptr;
    PlaySeatZeroUntil([&] {
        last = &s.OneLoss[s.OneLossLastRound].Tables[0];
        return last->Full();
    });
    ASSERT_EQ(last->Seat[0], P(9));
    ASSERT_EQ(last->Seat[1], P(11));
    Play("remove P09\nreopen\nwin P11");
    EXPECT_EQ(last->Winner(), P(11));
    PlaySeatZeroUntil([&] { return GrandFinalDecided(s); });
    EXPECT_NE(Final().Winner(), P(9));
}

// Double 11 with number 2 voided: Winners round 2 receives the winners of
// round 1's three tables (two matches and the bye), so it has 2 tables, the
// second a bye, whatever was played in the one-loss bracket meanwhile.
TEST_F(CorrectionScenarios, AForcedByeInTheOneLossBracketKeepsTheWinnersCountAfterReopening) {
    StartTourney(s, TElimFormat::Double, 11);
    Play("void 2\nwin P01\nwin P04\nreopen");
    ASSERT_EQ(At(P(3)).Bracket, TBracketKind::OneLoss);
    Play("win P03\nwin P03\nreopen");
    EXPECT_EQ(s.Winners[2].TableCount, 2) << DumpState(s);
    EXPECT_TRUE(s.Winners[2].HasBye);
}

// Single 8: P01 and P05 reach the final, P01 leaves. The semi-finals stay
// semi-finals: P05 waits alone at the final and is given it, and P01, who
// left, is never the champion.
TEST_F(CorrectionScenarios, TheEntryWhoLeftTheFinalIsNeverTheChampion) {
    StartTourney(s, TElimFormat::Single, 8);
    Play("win P01\nwin P03\nwin P05\nwin P07\nwin P01\nwin P05\nremove P01\nreopen");
    EXPECT_EQ(s.GrandFinalRound, 2);
    EXPECT_FALSE(Final().Full());
    EXPECT_TRUE(Final().Seat[0] == P(5) || Final().Seat[1] == P(5));
    EXPECT_FALSE(NobodyWaiting());
    Play("win P05");
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_EQ(Final().Winner(), P(5));
    EXPECT_TRUE(NobodyWaiting());
}

// Double 8: P08 drops to the one-loss bracket, leaves, and is then given the
// win of its first table after all, so P07 drops instead. One-loss round 1
// receives the four first-round losers P02, P04, P06 and P07: two ordinary
// tables, and nobody waits at a third.
TEST_F(CorrectionScenarios, AWinGivenBackToAnEntryWhoLeftStrandsNobody) {
    StartTourney(s, TElimFormat::Double, 8);
    Play("win P07\nremove P08\nwithdraw P07 0\nwin P08\nwin P01\nwin P03\nwin P05\nreopen");
    const TRoundRec& ol1 = s.OneLoss[1];
    EXPECT_EQ(ol1.TableCount, 2);
    EXPECT_FALSE(ol1.HasBye);
    EXPECT_TRUE(ol1.Tables[0].Full() && ol1.Tables[1].Full());
    for (int i = ol1.TableCount; i < MaxTablesPerRound; ++i)
        EXPECT_TRUE(ol1.Tables[i].Empty()) << "table " << i;
    PlaySeatZeroUntil([&] { return GrandFinalDecided(s); });
    EXPECT_TRUE(NobodyWaiting()) << DumpState(s);
}

// Single 8: P01 wins and leaves in round 1; the host withdraws P01's
// first-round win to give it to P02, who stayed. Nothing was played after
// it, so the withdrawal stands and P02 goes on.
TEST_F(CorrectionScenarios, AWinIsWithdrawnAfterItsWinnerLeftWhileNothingWasPlayedSince) {
    StartTourney(s, TElimFormat::Single, 8);
    Play("win P01\nremove P01\nwithdraw P01 0\nwin P02\nreopen");
    EXPECT_EQ(s.Winners[0].Tables[0].Winner(), P(2));
    EXPECT_EQ(At(P(2)).Round, 1);
    PlaySeatZeroUntil([&] { return GrandFinalDecided(s); });
    EXPECT_TRUE(NobodyWaiting());
}

// Once the round the winner left for has been played out, the place cannot
// come back: the withdrawal is refused and nothing changes.
TEST_F(CorrectionScenarios, AWinIsNotWithdrawnOnceTheNextRoundWasPlayed) {
    StartTourney(s, TElimFormat::Single, 8);
    Play("win P01\nremove P01\nwin P03\nwin P05\nwin P07");
    PlaySeatZeroUntil([&] { return RoundComplete(s.Winners[1]); });
    const std::string before = DumpState(s);
    Play("withdraw P01 0");
    EXPECT_EQ(DumpState(s), before);
}

// Withdrawals of a win whose winner left that are refused, leaving nothing
// changed: where the loser drops to the bracket below (the entry who left
// would be back as that loser), and a bye (nobody takes the place; the entry
// who left would be back alone at its table).
TEST_F(CorrectionScenarios, AWinWhoseWinnerLeftIsNotWithdrawnWhereTheEntryWouldComeBack) {
    struct Refused {
        TElimFormat Format;
        int Entries;
        const char* Before;
    };
    const Refused cases[] = {
        {TElimFormat::Double, 8, "win P01\nremove P01"},
        {TElimFormat::Single, 7, "win P07\nremove P07"},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.Before);
        ResetTourneyState(s);
        StartTourney(s, c.Format, c.Entries);
        Play(c.Before);
        const std::string before = DumpState(s);
        Play(c.Format == TElimFormat::Double ? "withdraw P01 0" : "withdraw P07 0");
        EXPECT_EQ(DumpState(s), before);
    }
}

}  // namespace
}  // namespace kestrova
