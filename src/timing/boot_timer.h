#pragma once
// Boots as the host drives them: the seat's boot button, its pop-up menu and
// the boot time. The clock's CheckBoots times them out.
#include "model/tourney_state.h"
#include "timing/match_clock.h"

namespace kestrova {

// The table of a seat reference, or null when it points outside the bracket.
TTableRec* TimedTableAt(TTourneyState& s, const TSeatRef& at);

// A click on a seat's boot button: starts timing the seat's player, or ends it.
void ToggleBoot(TTourneyState& s, TMatchClock& clock, const TSeatRef& at);

struct TBootMenuState {
    bool ClearCount = false, CancelTiming = false, CancelBooted = false;
    bool IncrementCount = false, DecrementCount = false;
};
TBootMenuState BootMenuEnabling(TTourneyState& s, const TSeatRef& at);
void ClearBootCount(TTourneyState& s, const TSeatRef& at);
void DecrementBootCount(TTourneyState& s, const TSeatRef& at);
void IncrementBootCount(TTourneyState& s, const TSeatRef& at);
void CancelBootSilently(TTourneyState& s, const TSeatRef& at);
void CancelBootedState(TTourneyState& s, const TSeatRef& at);

// "Boot Time": the new value (1 to 100) is stored and the tournament saved.
void SetBootTime(TTourneyState& s, int minutes);

}  // namespace kestrova
