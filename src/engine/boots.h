#pragma once
// Boots: a dropped player's time to come back.
#include "model/tourney_state.h"

namespace kestrova {

// Ends the timing of a boot (a result arrived, the player was removed, or the
// host ended it). Boots longer than 8.64 seconds are counted.
void EndBoot(TTourneyState& s, TPlayer& p);
// Removes every reference to p from the active boots.
void ForgetBoot(TTourneyState& s, const TPlayer* p);
// Rebuilds ActiveBoots from the players' BootStart (after undo or a file read).
void RebuildActiveBoots(TTourneyState& s);

}  // namespace kestrova
