// Whole tournaments played through the engine with random winners: the
// model's invariants after every result, a single champion at the end, every
// result undone back to the close and redone.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "session/lifecycle.h"
#include "fakes/state_dump.h"

namespace kestrova {
namespace {

using namespace testing;

struct Case {
    TElimFormat Format;
    int Entries;
    bool Round2Byes;
};

std::string Name(const Case& c) {
    static const char* const kNames[] = {"Single", "Double", "Triple"};
    return std::string(kNames[static_cast<int>(c.Format)]) + std::to_string(c.Entries) +
           (c.Round2Byes ? "R2" : "");
}

// The counts of the rounds in play (up to each bracket's last round).
std::string CountsInPlay(const TTourneyState& s) {
    std::string out = std::to_string(s.WinnersFinalRound) + " " + std::to_string(s.OneLossFinalRound) +
                      " " + std::to_string(s.TwoLossFinalRound) + "\n";
    const int last[3] = {s.GrandFinalRound,
                         s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound : s.OneLossFinalRound,
                         s.TwoLossFinalRound};
    for (int b = 0; b < s.BracketCount(); ++b)
        for (int r = 0; r <= last[b] && r < MaxRounds; ++r) {
            const TRoundRec& round = s.Bracket(static_cast<TBracketKind>(b))[r];
            out += "round " + std::to_string(b) + " " + std::to_string(r) + ": " +
                   std::to_string(round.TableCount) + (round.HasBye ? " bye" : "") + "\n";
        }
    return out;
}

// Counts the state holds must be what a recount from scratch gives.
std::string CountsMatchRecount(TTourneyState& s) {
    std::string before = CountsInPlay(s);
    UpdateFullTableCount(s);
    std::string after = CountsInPlay(s);
    if (before == after) return {};
    std::istringstream a(before), b(after);
    std::string la, lb, out = "table counts differ from a recount:";
    while (std::getline(a, la) && std::getline(b, lb))
        if (la != lb) out += "\n- " + la + "\n+ " + lb;
    return out;
}

int LossesOf(const TPlayer& p) {
    int losses = 0;
    for (int k = 0; k < MaxStages; ++k) {
        const TTableRec* t = p.Tables[k];
        if (t && (t->Result == 1 || t->Result == 2) && t->Result - 1 != p.Seats[k]) ++losses;
    }
    return losses;
}

class PlaythroughTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { world.Wire(s); s.LogToFile = false; }
    void ResetForNext() {
        ResetTourneyState(s);
        world.Dialogs.Messages.clear();
    }
    FakeWorld world;
    TTourneyState s;
};

TEST_P(PlaythroughTest, PlaysToOneChampionThenUndoesAndRedoesEverything) {
    const Case c = GetParam();
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TTourneyState& st = s;
        st.AssignAllRound2Byes = c.Round2Byes;
        st.Random.seed(seed);
        StartTourney(st, c.Format, c.Entries);
        const std::string atClose = DumpState(st);
        std::mt19937 rng(seed * 7919 + c.Entries);
        int results = 0;
        // Forced byes now and then in the smaller fields; the 100+ fields run with
        // their rounds near the brackets' capacities, where a forced bye is refused.
        const int forcedOneIn = (c.Round2Byes || c.Entries > 64) ? 0 : 40;
        while (!GrandFinalDecided(st)) {
            ASSERT_LT(results, 4000) << "no end in sight";
            ASSERT_TRUE(PlayRandomResult(st, rng, forcedOneIn))
                << "stuck after " << results << " results\n"
                << DumpState(st);
            ++results;
            for (const auto& m : world.Dialogs.Messages)
                ASSERT_EQ(m.find("CRITICAL"), std::string::npos) << m << "\n" << DumpState(st);
            world.Dialogs.Messages.clear();
            std::string bad = CheckInvariants(st);
            ASSERT_EQ(bad, "") << DumpState(st);
            ASSERT_EQ(CountsMatchRecount(st), "") << "after result " << results;
        }
        const TTableRec& gf = st.Winners[st.GrandFinalRound].Tables[0];
        const TPlayer* champion = gf.Winner();
        ASSERT_NE(champion, nullptr);
        const int allowed = static_cast<int>(c.Format) + 1;
        for (const auto& p : st.Players) {
            const TTableRec* cur = p->CurrentTable();
            ASSERT_NE(cur, nullptr);
            EXPECT_NE(cur->Result, 0) << p->Name << " is still in";
            if (p.get() == champion) continue;
            int losses = LossesOf(*p);
            EXPECT_GE(losses, 1) << p->Name;
            EXPECT_LE(losses, allowed) << p->Name;
            // Only the finals end a run early: the grand final, and in triple
            // elimination the table where the loss-bracket champions meet.
            const bool finalTable =
                cur == &gf || (c.Format == TElimFormat::Triple &&
                               cur == &st.OneLoss[st.OneLossLastRound].Tables[0]);
            if (losses < allowed) {
                EXPECT_TRUE(finalTable) << p->Name << " left early";
            }
        }

        const std::string atEnd = DumpState(st);
        const int recorded = static_cast<int>(st.UndoList.size());  // refusals record nothing
        EXPECT_GE(recorded, results * 9 / 10);
        int undone = 0;
        while (Undo(st)) ++undone;
        EXPECT_EQ(undone, recorded);
        EXPECT_EQ(DumpState(st), atClose);
        int redone = 0;
        while (Redo(st)) ++redone;
        EXPECT_EQ(redone, recorded);
        EXPECT_EQ(DumpState(st), atEnd);
        ResetForNext();
    }
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (int n : {8, 9, 12, 13, 16, 17, 31, 32, 33, 64, 100, 127, 128}) {
        cases.push_back({TElimFormat::Single, n, false});
        cases.push_back({TElimFormat::Single, n, true});
        cases.push_back({TElimFormat::Double, n, false});
        cases.push_back({TElimFormat::Triple, n, false});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Formats, PlaythroughTest, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return Name(info.param); });

}  // namespace
}  // namespace kestrova
