#pragma once
// Sign-up and seating in the first round; renaming and erasing names; team mode.
#include <string>

#include "engine/tourney_state.h"

namespace kestrova {

// Adds a name (or "name/partner" in team mode) and seats it in Winners round 0.
// tableIndex -1 chooses a table (seat then -1). Returns the entry that now
// holds the name, or nullptr.
TPlayer* AddPlayer(TTourneyState& s, const std::string& text, int tableIndex = -1,
                   bool silent = false, bool bothPartners = false, int seat = -1);
// The callers of the add strip: each logs its line and calls AddPlayer.
TPlayer* AddPlayerFromBox(TTourneyState& s, const std::string& text);      // Enter
TPlayer* AddPlayerFromButton(TTourneyState& s, const std::string& text);   // add button
TPlayer* AddPlayerFromSuggestion(TTourneyState& s, const std::string& name);

// Enter in an in-place name edit of a seat (round index `round` of `bracket`).
// Returns the text the name box shows afterwards.
std::string EditPlayerName(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                           const std::string& text);
// "Team Properties" OK on a seat (an entry or an empty first-round spot).
void ApplyTeamProperties(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                         const std::string& teamName, const std::string& first,
                         const std::string& second);
void SetTeamMode(TTourneyState& s, bool on);
void SetOnePerTable(TTourneyState& s, bool on);  // the check box, clicked

}  // namespace kestrova
