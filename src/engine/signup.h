#pragma once
// Sign-up and seating in the first round; renaming and erasing names; team mode.
#include <string>

#include "model/tourney_state.h"

namespace kestrova {

// Adds a name (or "name/partner" in team mode) and seats it in Winners round 0.
// tableIndex -1 chooses a table (seat then -1). Returns the entry that now
// holds the name, or nullptr when nothing was added (refused or a duplicate).
TPlayer* AddPlayer(TTourneyState& s, const std::string& text, int tableIndex = -1,
                   bool silent = false, bool bothPartners = false, int seat = -1);
// The callers of the add strip: each logs its line and calls AddPlayer.
TPlayer* AddPlayerFromBox(TTourneyState& s, const std::string& text);     // Enter
TPlayer* AddPlayerFromButton(TTourneyState& s, const std::string& text);  // add button
TPlayer* AddPlayerFromSuggestion(TTourneyState& s, const std::string& name);

// The in-place name edit of a seat (round index `round` of `bracket`).
// Opening it logs the click; Escape logs and gives back the name to show.
void BeginPlayerNameEdit(TTourneyState& s, TBracketKind bracket);
std::string CancelPlayerNameEdit(TTourneyState& s, TBracketKind bracket, int round, int table,
                                 int seat);
// Enter (or leaving the edit, which logs its own line first). Returns the text
// the name box shows afterwards.
std::string EditPlayerName(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                           const std::string& text);
std::string ExitPlayerNameEdit(TTourneyState& s, TBracketKind bracket, int round, int table,
                               int seat, const std::string& text);
// "Team Properties" OK on a seat (an entry or an empty first-round spot).
// Returns the entry the seat holds afterwards, or nullptr.
TPlayer* ApplyTeamProperties(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                             const std::string& teamName, const std::string& first,
                             const std::string& second);
void SetTeamMode(TTourneyState& s, bool on);
void SetOnePerTable(TTourneyState& s, bool on);  // the check box, clicked
// "All Start": announced, and the first round's clocks start unless running.
void AllStart(TTourneyState& s);
// "Close": sign-ups end and the first round is fixed. Results call both
// by themselves (the first result starts, most results decided close).
void CloseSignups(TTourneyState& s);

}  // namespace kestrova
