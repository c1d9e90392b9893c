#pragma once
// Encoding the state as a tournament file of version 9 (single players) or
// 10 (teams), in one buffer.
#include <string>

#include "model/tourney_state.h"

namespace kestrova::kvb {

// The whole file: main header, extension block, players and round blocks.
std::string EncodeTourney(const TTourneyState& s);

}  // namespace kestrova::kvb
