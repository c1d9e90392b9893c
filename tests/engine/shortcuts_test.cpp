// The engine's shortcuts give what the full work gives. Two tournaments are
// played step for step with the same results and corrections: one as the
// program plays it, one whose undo snapshots share nothing (every snapshot a
// full copy, so no piece is ever judged unchanged). After every step both
// save the same bytes and hold the same state, and undoing everything takes
// both back through the same states. Along the way the seat search's busy
// numbers, asked one at a time or all at once, agree with IsTableNoInUse.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "engine/corrections.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/table_numbers.h"
#include "engine/undo.h"
#include "fakes/state_dump.h"
#include "records/kvb_writer.h"

namespace kestrova {
namespace {

using namespace testing;

// The state as saved and as held, players by position.
std::string Picture(const TTourneyState& s) {
    return kvb::EncodeTourney(s) + DumpState(s);
}

// Every seat holding an entry at an open table, as the host could pick it.
std::vector<TSeatRef> OpenSeats(const TTourneyState& s) {
    std::vector<TSeatRef> out;
    for (int b = 0; b < s.BracketCount(); ++b)
        for (int r = 0; r < MaxRounds; ++r)
            for (int i = 0; i < SeatSearchBound[b]; ++i) {
                const TTableRec& t = s.Bracket(static_cast<TBracketKind>(b))[r].Tables[i];
                for (int seat = 0; seat < 2; ++seat)
                    if (t.Result == 0 && t.Seat[seat])
                        out.push_back({static_cast<TBracketKind>(b), r, i, seat});
            }
    return out;
}

// For each round: the first number asked alone, then every number from one
// answer, against the question asked number by number.
std::string BusyNumbersDiffer(const TTourneyState& s) {
    for (int b = 0; b < s.BracketCount(); ++b)
        for (int r = 0; r < MaxRounds; r += 3) {
            const auto kind = static_cast<TBracketKind>(b);
            for (int first : {1, s.Bracket(kind)[r].Tables[0].TableNo}) {
                const TBusyNumbers busy(s, kind, r);
                for (int no = first; no <= s.RoomTableCount + 1; ++no)
                    if (busy.InUse(no) != IsTableNoInUse(s, kind, r, no))
                        return "bracket " + std::to_string(b) + " round " + std::to_string(r) +
                               " number " + std::to_string(no);
            }
        }
    return "";
}

class ShortcutsTest : public ::testing::TestWithParam<TElimFormat> {
  protected:
    void SetUp() override {
        for (int i = 0; i < 2; ++i) {
            worlds[i].Wire(states[i]);
            states[i].LogToFile = false;
            states[i].Random.seed(7);
            StartTourney(states[i], GetParam(), MaxPlayers);
        }
    }
    TTourneyState& Played() { return states[0]; }
    TTourneyState& Copied() { return states[1]; }

    // The same step in both: a result most of the time, now and then a
    // correction, an undo or a redo (chosen on the first, done on both).
    void Step() {
        TTourneyState& s = Played();
        const unsigned kind = rng() % 12;
        const std::vector<TSeatRef> open = OpenSeats(s);
        if (kind == 0 && !open.empty()) {
            const TSeatRef at = open[rng() % open.size()];
            for (TTourneyState& t : states)
                RemovePlayer(t, at);
        } else if (kind == 1 && !open.empty()) {
            const TSeatRef at = open[rng() % open.size()];
            for (TTourneyState& t : states)
                DisqualifyPlayer(t, at);
        } else if (kind == 2) {
            for (TTourneyState& t : states)
                Undo(t);
        } else if (kind == 3) {
            for (TTourneyState& t : states)
                Redo(t);
        } else if (auto c = ChooseRandomResult(s, rng, 30)) {
            for (TTourneyState& t : states)
                AssignWin(t, c->Bracket, c->Round, c->Table, c->Seat, true, false);
        } else if (auto lone = LoneEntry(s)) {
            // Removals left somebody alone at a final: the host gives the win.
            for (TTourneyState& t : states)
                AssignWin(t, lone->Bracket, lone->Round, lone->Table, lone->Seat, true, false);
        }
    }

    // An entry alone at an open table, the grand final's last.
    static std::optional<TSeatRef> LoneEntry(const TTourneyState& s) {
        std::optional<TSeatRef> lone;
        for (const TSeatRef& at : OpenSeats(s)) {
            if (s.Bracket(at.Bracket)[at.Round].Tables[at.Table].Full()) continue;
            const bool grandFinal =
                at.Bracket == TBracketKind::Winners && at.Round == s.GrandFinalRound;
            if (!lone || !grandFinal) lone = at;
        }
        return lone;
    }

    FakeWorld worlds[2];
    TTourneyState states[2];
    std::mt19937 rng{GetParam() == TElimFormat::Single ? 11u : 12u};
};

TEST_P(ShortcutsTest, SaveTheBytesTheFullWorkSaves) {
    for (int step = 1; step < 3000 && !GrandFinalDecided(Played()); ++step) {
        // Nothing for the next snapshot of the copy to share.
        Copied().UndoPieces.reset();
        Copied().TableNoCache.reset();
        Copied().NamesCache.reset();
        Step();
        ASSERT_EQ(Picture(Played()), Picture(Copied())) << "step " << step;
        if (step % 40 == 0) {
            ASSERT_EQ(BusyNumbersDiffer(Played()), "") << "step " << step;
        }
    }
    ASSERT_TRUE(GrandFinalDecided(Played()));
    ASSERT_GT(Played().UndoList.size(), 100u);
    while (!Played().UndoList.empty()) {
        Undo(Played());
        Undo(Copied());
        ASSERT_EQ(Picture(Played()), Picture(Copied())) << Played().UndoList.size() << " left";
    }
}

std::string FormatName(const ::testing::TestParamInfo<TElimFormat>& info) {
    static const char* const kNames[] = {"Single", "Double", "Triple"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Formats, ShortcutsTest,
                         ::testing::Values(TElimFormat::Single, TElimFormat::Double,
                                           TElimFormat::Triple),
                         FormatName);

}  // namespace
}  // namespace kestrova
