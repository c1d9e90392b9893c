#pragma once
// Corrections: withdrawing results, removals, both quit, reassigning,
// disqualifying, voided and edited table numbers.
#include <string>
#include <vector>

#include "model/tourney_state.h"

namespace kestrova {

// Withdraws a result and its consequences; false (nothing changed) when a
// consequence is already decided. round is the table's round index (logged).
bool CancelMatch(TTourneyState& s, int round, TTableRec& table);
// CancelMatch would succeed (or there is nothing to cancel).
bool CanCancelMatch(const TTourneyState& s, const TTableRec& table);
void RemoveAWinnersSpot(TTourneyState& s, int round);
void RemoveAOneLossSpot(TTourneyState& s, int round);
void RemoveATwoLossSpot(TTourneyState& s, int round);
// Moves p (at stage `round` of bracket round `roundRec`) to the first free seat
// at or below table t0. False when no seat is free down to table 0.
bool RelocatePlayer(TTourneyState& s, int round, int t0, TPlayer& p, TRoundRec& roundRec);

// Player menu (a seat of a table shown in a bracket view).
struct TPlayerMenuState {
    bool Remove = false, BothQuit = false, Reassign = false, Disqualify = false;
    bool Ban = false, RunMacro = false, AssignSilently = false;
};
TPlayerMenuState PlayerMenuEnabling(const TTourneyState& s, const TSeatRef& at, bool onWinButton,
                                    bool playerMacrosExist);
void RemovePlayer(TTourneyState& s, const TSeatRef& at);
void BothPlayersQuit(TTourneyState& s, const TSeatRef& at);
void DisqualifyPlayer(TTourneyState& s, const TSeatRef& at);
void AssignWinSilently(TTourneyState& s, const TSeatRef& at);

// The reassign dialog's content.
struct TReassignInfo {
    TPlayer* Player = nullptr;
    TSeatRef At;
    int Stage = 0;  // k: the entry's last stage from the clicked round
    std::string CurrentText;   // "Player \"%s\" is currently at table %d for %s."
    std::string OpponentText;  // "The other player at the table is \"%s\"." / "They are sitting alone."
    std::vector<std::string> ThisRound;  // "12", "14 **", "17 *"
    std::vector<std::string> NextRound;
    bool AssignWinEnabled = true, MoveEnabled = true;
    bool MoveSelected = false;  // default choice
};
TReassignInfo BuildReassign(TTourneyState& s, const TSeatRef& at);
// OK of the dialog: assignWin chooses the first choice; entry is the selected list text.
void CarryOutReassign(TTourneyState& s, const TReassignInfo& info, bool assignWin,
                      const std::string& entry);

// Table menu.
bool IsVoidChecked(const TTourneyState& s, int tableNo);
void ToggleVoidTable(TTourneyState& s, int tableNo);
// In-place table-number edit: accepted only for 1..RoomTableCount.
void EditTableNumber(TTourneyState& s, TBracketKind bracket, int round, int table,
                     const std::string& text);

}  // namespace kestrova
