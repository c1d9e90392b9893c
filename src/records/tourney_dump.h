#pragma once
// The tournament state as JSON (UTF-8): every field the tournament file keeps,
// the players with their rebuilt stage links, and every round of the brackets
// in use. Used by "kvbtool dump" and by tests that compare whole states.
#include <string>

#include "model/tourney_state.h"

namespace kestrova {

// fileVersion: the version byte of the file read, shown as "file_version" when not 0.
std::string DumpTourneyJson(const TTourneyState& s, int fileVersion = 0);

}  // namespace kestrova
