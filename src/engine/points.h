#pragma once
// Match points (games to win) and player points.
#include "model/tourney_state.h"

namespace kestrova {

// Copies the tier row that fits the field into the match points of MsgParams.
void SelectMatchPointsTier(TTourneyState& s);
// Recomputes every entry's Points (0 for disqualified entries).
void ComputePlayerPoints(TTourneyState& s);

}  // namespace kestrova
