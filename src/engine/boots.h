#pragma once
// Boots: a dropped player's time to come back. The bookkeeping that result
// entry and removals share; the ticking itself is timing's (timing/boot_timer).
#include <string>

#include "model/tourney_state.h"

namespace kestrova {

// Ends the timing of a boot (a result arrived, the player was removed, or the
// host ended it). Boots longer than 8.64 seconds are counted. Posts nothing.
void EndBoot(TTourneyState& s, TPlayer& p);
// Removes every reference to p from the active boots.
void ForgetBoot(TTourneyState& s, const TPlayer* p);
// Rebuilds ActiveBoots from the players' BootStart (after undo or a file read).
void RebuildActiveBoots(TTourneyState& s);

// The caption of a boot button at rest: the count, or empty below 1.
std::string BootCountCaption(const TPlayer& p);
// Sets the caption (and the icon) of each of p's boot buttons in the rounds
// the three views show now (at most one per view).
void ShowBootButtons(TTourneyState& s, const TPlayer& p, const std::string& caption, bool icon);

// The dialogs' ranges. Values from a file or the formats file outside them
// are clamped, so no later arithmetic on them can overflow.
constexpr int MaxTimeLimit = 300;
constexpr int MinBootTime = 1, MaxBootTime = 100;
void ClampTimingValues(TTourneyState& s);

}  // namespace kestrova
