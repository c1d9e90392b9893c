#pragma once
// Recording results in the three brackets.
#include "model/tourney_state.h"

namespace kestrova {

// A win button of a seat: pressed = the button went down (a win recorded),
// released = it came up (the win withdrawn). The view shows every button from
// the table's Result afterwards, so refusals need no undoing in the view.
// round is the round index (the one-loss view's tab index + 1, two-loss + 2).
void AssignWinnersWin(TTourneyState& s, int round, int table, int seat, bool pressed, bool silent);
void AssignOneLossWin(TTourneyState& s, int round, int table, int seat, bool pressed, bool silent);
void AssignTwoLossWin(TTourneyState& s, int round, int table, int seat, bool pressed, bool silent);
// Dispatches by bracket.
void AssignWin(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
               bool pressed, bool silent);
// The click on a win button (logs "Click: ... Win check" and calls the above).
void WinButtonClicked(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                      bool pressed);

}  // namespace kestrova
