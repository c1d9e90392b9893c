#pragma once
// A canonical text of a tournament state, for "exactly as it was" comparisons.
#include <string>

#include "model/tourney_state.h"

namespace kestrova::testing {

// Brackets (counts, byes, every table's number, result, seats and times),
// players (fields and stage links) and the five markers.
std::string DumpState(const TTourneyState& s);
// Checks the model's invariants; returns an empty string or the first violation.
std::string CheckInvariants(const TTourneyState& s);

}  // namespace kestrova::testing
