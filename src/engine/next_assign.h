#pragma once
// Announcing an entry's next table, and posting a template through the announcer.
#include "model/tourney_state.h"

namespace kestrova {

// Posts the template of `kind` with the state's MsgParams (through the announcer port).
void Announce(TTourneyState& s, TMessageKind kind, bool automatic);
// Chooses the message kind for the entry's current table and posts it.
// automatic: the program posts by itself (after a result or a sign-up); false
// when the host asked (the copy button).
void PostNextAssign(TTourneyState& s, TPlayer& entry, bool automatic = true);
// The copy button of a seat: logs, sets a full table's start time, saves, announces.
void CopyForPlayer(TTourneyState& s, TBracketKind bracket, int round, int table, int seat);
// A lobby chat window is chosen.
bool LobbyAttached(TTourneyState& s);

}  // namespace kestrova
