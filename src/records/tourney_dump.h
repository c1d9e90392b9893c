#pragma once
// The tournament state as JSON (UTF-8): every field the tournament file keeps,
// the players with their rebuilt stage links, and every round of the brackets
// in use. Used by "kvbtool dump" and by tests that compare whole states.
#include <string>

#include "engine/tourney_state.h"

namespace kestrova {

std::string DumpTourneyJson(const TTourneyState& s);

}  // namespace kestrova
