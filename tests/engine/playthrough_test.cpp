// Whole tournaments played through the engine with random winners.
// - Results alone: the invariants and a recount's agreement after every
//   result, one champion at the end, every result undone to the close and
//   redone.
// - With the host correcting at random (corrections, undo and redo): the
//   invariants after every step, saved and reopened the same at random steps
//   (now and then the play goes on from the file), nothing left waiting at
//   the end.
// - The engine's shortcuts give what the full work gives: two tournaments in
//   lockstep, one whose undo snapshots share nothing (every snapshot a full
//   copy), save the same bytes after every step and undo back through the
//   same states; the seat search's busy numbers agree with IsTableNoInUse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "engine/tourney_file.h"
#include "engine/undo.h"
#include "fakes/reopen_check.h"
#include "fakes/state_dump.h"
#include "records/kvb_writer.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

struct Case {
    TElimFormat Format;
    int Entries;
    bool Round2Byes = false;
};

std::string Name(const ::testing::TestParamInfo<Case>& info) {
    return FormatName(info.param.Format) + std::to_string(info.param.Entries) +
           (info.param.Round2Byes ? "R2" : "");
}

int LossesOf(const TPlayer& p) {
    int losses = 0;
    for (int k = 0; k < MaxStages; ++k) {
        const TTableRec* t = p.Tables[k];
        if (t && (t->Result == 1 || t->Result == 2) && t->Result - 1 != p.Seats[k]) ++losses;
    }
    return losses;
}

// The state as saved and as held, players by position.
std::string Picture(const TTourneyState& s) {
    return kvb::EncodeTourney(s) + DumpState(s);
}

// For each third round: the first number asked alone, then every number from
// one answer, against the question asked number by number.
std::string BusyNumbersDiffer(const TTourneyState& s) {
    for (int b = 0; b < s.BracketCount(); ++b)
        for (int r = 0; r < MaxRounds; r += 3) {
            const auto kind = static_cast<TBracketKind>(b);
            for (int first : {1, s.Bracket(kind)[r].Tables[0].TableNo}) {
                const TBusyNumbers busy(s, kind, r);
                for (int no = first; no <= s.RoomTableCount + 1; ++no)
                    if (busy.InUse(no) != IsTableNoInUse(s, kind, r, no))
                        return Format("bracket %d round %d number %d", b, r, no);
            }
        }
    return "";
}

class Playthrough : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        world.Wire(s);
        twinWorld.Wire(twin);
        s.LogToFile = twin.LogToFile = false;
    }
    void Start(TTourneyState& st, unsigned seed) {
        st.AssignAllRound2Byes = GetParam().Round2Byes;
        st.Random.seed(seed);
        StartTourney(st, GetParam().Format, GetParam().Entries);
    }
    // What the engine reports when its own bookkeeping went wrong, and the
    // invariants the state breaks.
    std::string Faults() {
        std::string out;
        for (const auto& m : world.Dialogs.Messages)
            if (m.find("CRITICAL") != std::string::npos) out += m + "\n";
        world.Dialogs.Messages.clear();
        return out + CheckInvariants(s);
    }
    void ExpectOneChampion();

    FakeWorld world, twinWorld;
    TTourneyState s, twin;
    TempDir dir;
};

// Everybody has played out; all but the champion lost as many times as the
// format allows, unless a final ended their run.
void Playthrough::ExpectOneChampion() {
    const TTableRec& gf = s.Winners[s.GrandFinalRound].Tables[0];
    const TPlayer* champion = gf.Winner();
    ASSERT_NE(champion, nullptr);
    const int allowed = static_cast<int>(GetParam().Format) + 1;
    const TTableRec* oneLossLast =
        GetParam().Format == TElimFormat::Triple ? &s.OneLoss[s.OneLossLastRound].Tables[0] : &gf;
    for (const auto& p : s.Players) {
        const TTableRec* cur = p->CurrentTable();
        ASSERT_NE(cur, nullptr);
        EXPECT_NE(cur->Result, 0) << p->Name << " is still in";
        if (p.get() == champion) continue;
        const int losses = LossesOf(*p);
        EXPECT_GE(losses, 1) << p->Name;
        EXPECT_LE(losses, allowed) << p->Name;
        EXPECT_TRUE(losses == allowed || cur == &gf || cur == oneLossLast)
            << p->Name << " left early";
    }
}

using ResultsPlay = Playthrough;

TEST_P(ResultsPlay, PlaysToOneChampionThenUndoesAndRedoesEverything) {
    const Case c = GetParam();
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Start(s, seed);
        const std::string atClose = DumpState(s);
        std::mt19937 rng(seed * 7919 + c.Entries);
        // Forced byes now and then in the smaller fields; the 100+ fields run with
        // their rounds near the brackets' capacities, where a forced bye is refused.
        const int forcedOneIn = (c.Round2Byes || c.Entries > 64) ? 0 : 40;
        int results = 0;
        while (!GrandFinalDecided(s)) {
            ASSERT_LT(results, 4000) << "no end in sight";
            ASSERT_TRUE(PlayRandomResult(s, rng, forcedOneIn))
                << "stuck after " << results << " results\n"
                << DumpState(s);
            ++results;
            ASSERT_EQ(Faults(), "") << DumpState(s);
            const std::string counted = DumpSaved(s);
            UpdateFullTableCount(s);
            ASSERT_EQ(DumpSaved(s), counted) << "a recount differs after result " << results;
        }
        ExpectOneChampion();
        const std::string atEnd = DumpState(s);
        const int recorded = static_cast<int>(s.UndoList.size());  // refusals record nothing
        EXPECT_GE(recorded, results * 9 / 10);
        int undone = 0, redone = 0;
        while (Undo(s))
            ++undone;
        EXPECT_EQ(undone, recorded);
        EXPECT_EQ(DumpState(s), atClose);
        while (Redo(s))
            ++redone;
        EXPECT_EQ(redone, recorded);
        EXPECT_EQ(DumpState(s), atEnd);
        ResetTourneyState(s);
    }
}

// Seeds of long runs that once went wrong, played every time: a bye or a win
// withdrawn after its winner left, once the bracket's final was decided or
// its next round was full; an empty final table left with another number by
// a move within the final round; a move to an empty table of a round at its
// bound. For a long local run, KESTROVA_SEEDS=n plays n times as many.
std::vector<unsigned> Seeds(const Case& c) {
    static const Case kKnown[] = {{TElimFormat::Triple, 64},  {TElimFormat::Triple, 100},
                                  {TElimFormat::Triple, 128}, {TElimFormat::Double, 128},
                                  {TElimFormat::Double, 100}, {TElimFormat::Single, 17},
                                  {TElimFormat::Single, 33},  {TElimFormat::Double, 128}};
    static const unsigned kKnownSeeds[] = {2314, 2572, 72, 797, 1500, 3232, 91, 1386};
    const char* scale = std::getenv("KESTROVA_SEEDS");
    const unsigned n = 10 * static_cast<unsigned>(std::max(1, scale ? std::atoi(scale) : 1));
    std::vector<unsigned> seeds;
    for (unsigned seed = 1; seed <= n; ++seed)
        seeds.push_back(seed);
    for (int i = 0; i < 8; ++i)
        if (kKnown[i].Format == c.Format && kKnown[i].Entries == c.Entries && kKnownSeeds[i] > n)
            seeds.push_back(kKnownSeeds[i]);
    return seeds;
}

using CorrectionsPlay = Playthrough;

TEST_P(CorrectionsPlay, EndsWithOneChampionOrAnEmptiedFinal) {
    const Case c = GetParam();
    for (unsigned seed : Seeds(c)) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed * 104729 + c.Entries * 3 + static_cast<unsigned>(c.Format));
        Start(s, seed);
        int steps = 0;
        while (!GrandFinalDecided(s)) {
            ASSERT_LT(steps++, 20 * c.Entries + 400) << "no end in sight\n" << DumpState(s);
            const THostStep step = PlayMixedStep(s, rng, 40);
            if (!step.Do) break;
            const std::string at = Format("step %d (%s)\n", steps, step.Name.c_str());
            ASSERT_EQ(Faults(), "") << at << DumpState(s);
            if (rng() % 5 != 0) continue;
            const std::string path = dir.File("reopen.kvb");
            ASSERT_EQ(ReopenDiff(s, path), "") << at << DumpState(s);
            if (rng() % 3 != 0) continue;
            ASSERT_TRUE(ReadTourney(s, path));  // its undo history is gone
            s.TourneyPath.clear();              // the play goes on without writing after every step
        }
        // Nothing may be left waiting: every table holding an entry is decided.
        const std::vector<TSeatRef> open = SeatsAt(s, true);
        ASSERT_TRUE(open.empty()) << "stuck after " << steps << " steps at bracket "
                                  << static_cast<int>(open[0].Bracket) << " round " << open[0].Round
                                  << " table " << open[0].Table << "\n"
                                  << DumpState(s);
        const TTableRec& gf = s.Winners[s.GrandFinalRound].Tables[0];
        int champions = 0;
        for (const auto& p : s.Players)
            champions += p->CurrentTable() == &gf && gf.Winner() == p.get();
        EXPECT_TRUE(!GrandFinalDecided(s) || champions == (gf.Result == 4 ? 0 : 1)) << champions;
        ResetTourneyState(s);
    }
}

using LockstepPlay = Playthrough;

TEST_P(LockstepPlay, SavesTheBytesTheFullWorkSaves) {
    Start(s, 7);
    Start(twin, 7);
    std::mt19937 rng(11 + static_cast<unsigned>(GetParam().Format));
    for (int step = 1; step < 3000 && !GrandFinalDecided(s); ++step) {
        // Nothing for the next snapshot of the twin to share.
        twin.UndoPieces.reset();
        twin.TableNoCache.reset();
        twin.NamesCache.reset();
        THostStep next;
        if (rng() % 4 == 0) next = ChooseCorrection(s, rng);
        if (next.Name.empty()) next = ChooseResult(s, rng, 30);
        if (!next.Do) break;
        const bool done = next.Do(s);
        ASSERT_EQ(next.Do(twin), done) << "step " << step << " (" << next.Name << ")";
        ASSERT_EQ(Picture(s), Picture(twin)) << "step " << step << " (" << next.Name << ")";
        ASSERT_EQ(step % 40 ? "" : BusyNumbersDiffer(s), "") << "step " << step;
    }
    ASSERT_GT(s.UndoList.size(), 100u);
    while (!s.UndoList.empty()) {
        Undo(s);
        Undo(twin);
        ASSERT_EQ(Picture(s), Picture(twin)) << s.UndoList.size() << " left";
    }
}

std::vector<Case> Cases(std::initializer_list<int> sizes, std::vector<Case> kinds) {
    std::vector<Case> cases;
    for (int n : sizes)
        for (Case c : kinds)
            cases.push_back({c.Format, n, c.Round2Byes});
    return cases;
}

constexpr TElimFormat kSingle = TElimFormat::Single, kDouble = TElimFormat::Double,
                      kTriple = TElimFormat::Triple;

INSTANTIATE_TEST_SUITE_P(
    Formats, ResultsPlay,
    ::testing::ValuesIn(Cases({8, 9, 12, 13, 16, 17, 31, 32, 33, 64, 100, 127, 128},
                              {{kSingle, 0}, {kSingle, 0, true}, {kDouble, 0}, {kTriple, 0}})),
    Name);
INSTANTIATE_TEST_SUITE_P(Formats, CorrectionsPlay,
                         ::testing::ValuesIn(Cases({8, 13, 16, 17, 32, 33, 64, 100, 128},
                                                   {{kSingle, 0}, {kDouble, 0}, {kTriple, 0}})),
                         Name);
INSTANTIATE_TEST_SUITE_P(Formats, LockstepPlay,
                         ::testing::ValuesIn(Cases({MaxPlayers},
                                                   {{kSingle, 0}, {kDouble, 0}, {kTriple, 0}})),
                         Name);

}  // namespace
}  // namespace kestrova
