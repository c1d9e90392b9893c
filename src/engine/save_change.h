#pragma once
// The end of every change the host makes to the tournament.
#include "model/tourney_state.h"

namespace kestrova {

// Recounts the rounds from what is recorded, as opening the file does, so
// that the tournament on screen and the one reopened from its file are the
// same; then writes the file.
void SaveChange(TTourneyState& s);

}  // namespace kestrova
