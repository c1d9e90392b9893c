#pragma once
// "Reopens exactly as it was saved": writes a state's file, reads it into a
// fresh state and compares what the two hold.
#include <string>

#include "model/tourney_state.h"

namespace kestrova::testing {

// What a reopened tournament must hold as the live one did: the markers,
// every round's count and bye, the tables in use (and any other table that
// holds something), the void numbers and every entry with its stage links.
std::string DumpSaved(const TTourneyState& s);
// Saves `s` to `path`, reads it back into a fresh state and returns "" when
// both hold the same, else the reader's refusal or the first lines that differ.
std::string ReopenDiff(TTourneyState& s, const std::string& path);

}  // namespace kestrova::testing
