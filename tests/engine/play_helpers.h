#pragma once
// Helpers that sign up and play whole tournaments through the engine.
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/tourney_state.h"
#include "fakes/fake_ports.h"

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
// Chooses the next result the way PlayRandomResult plays it.
std::optional<TResultChoice> ChooseRandomResult(const TTourneyState& s, std::mt19937& rng,
                                                int forcedByeOneIn = 0);
// Plays one random result; false when nothing is playable.
bool PlayRandomResult(TTourneyState& s, std::mt19937& rng, int forcedByeOneIn = 0);
// Plays until the grand final is decided (or nothing is playable).
int PlayToEnd(TTourneyState& s, std::mt19937& rng);

}  // namespace kestrova::testing
