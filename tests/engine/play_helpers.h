#pragma once
// Helpers that sign up and play whole tournaments through the engine.
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "fakes/fake_ports.h"
#include "model/tourney_state.h"

namespace kestrova::testing {

// n entries seated two per table in table order (as sign-up does without
// "One player/table"), named P001, P002, ...
void SeatEntries(TTourneyState& s, int n);
// A state in the given format with n entries, sign-ups closed.
void StartTourney(TTourneyState& s, TElimFormat format, int n);

struct TPlayable {
    TBracketKind Bracket;
    int Round;
    int Table;
    bool Alone;  // one entry at a table that is not the bye table
};
// Open tables that can be decided now: full tables and byes.
std::vector<TPlayable> PlayableTables(const TTourneyState& s, bool includeLonePlayers);
bool GrandFinalDecided(const TTourneyState& s);
struct TResultChoice {
    TBracketKind Bracket;
    int Round, Table, Seat;
};
// Chooses the next result the way PlayRandomResult plays it (the benchmark
// times AssignWin alone).
std::optional<TResultChoice> ChooseRandomResult(const TTourneyState& s, std::mt19937& rng,
                                                int forcedByeOneIn = 0);
// Plays one random result; false when nothing is playable.
bool PlayRandomResult(TTourneyState& s, std::mt19937& rng, int forcedByeOneIn = 0);
// Plays the first playable table, won by the entry signed up first, until the
// grand final is decided, nothing is playable or `results` results were given
// (-1: no limit); every `upsetEvery`-th result (0: never) goes to the other
// seat. With a clock, each result comes three minutes after the one before.
void PlayInSignupOrder(TTourneyState& s, int upsetEvery = 0, int results = -1,
                       FakeClock* clock = nullptr);

// Every seat holding an entry at an open (or a decided) table, up to the
// seat search's bound.
std::vector<TSeatRef> SeatsAt(const TTourneyState& s, bool open);
// One step of the host, chosen on one state and done on it or on a twin.
struct THostStep {
    std::string Name;  // empty: nothing to do
    std::function<bool(TTourneyState&)> Do;
};
// A random correction: a win withdrawn or released, a removal, a both-quit
// table, a reassignment, a disqualification, a number voided, undo or redo.
THostStep ChooseCorrection(TTourneyState& s, std::mt19937& rng);
// A random result, else a win for an entry left alone at a final (the grand
// final last: a lower bracket's champion may still be on the way).
THostStep ChooseResult(const TTourneyState& s, std::mt19937& rng, int forcedByeOneIn);
// One step of a mix, made: one time in four a correction, else (or when the
// correction is refused) a result. Its Do is empty when nothing was playable.
THostStep PlayMixedStep(TTourneyState& s, std::mt19937& rng, int forcedByeOneIn);
// "Single", "Double" or "Triple".
const char* FormatName(TElimFormat f);

}  // namespace kestrova::testing
