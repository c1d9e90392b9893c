#pragma once
// Steps shared by recording a result in any of the three brackets.
#include <string>

#include "engine/seat_search.h"
#include "model/tourney_state.h"

namespace kestrova {

struct TWinContext {
    TBracketKind Bracket = TBracketKind::Winners;
    int Round = 0;
    int Table = 0;
    int Seat = 0;
    bool Pressed = true;
    bool Silent = false;
    TTableRec* T = nullptr;
    TPlayer* W = nullptr;
    TPlayer* L = nullptr;
    bool Forced = false;
};

// Fills the context from the button; false when the table cannot be found.
bool LocateWin(TTourneyState& s, TWinContext& c);
// Questions, refusals, the undo snapshot and the end of running boots.
// False: stop (nothing changed). A released button is fully handled here.
bool WinPreamble(TTourneyState& s, TWinContext& c, const char* bracketName);
// Seats an entry moving on; logs the placement and returns the seat found.
// who: "Winner" or "Loser" (log text), startTimeAt[seat]: whether arriving in
// that seat of a half-full table starts its clock.
TSeatFound SeatMovingEntry(TTourneyState& s, TPlayer& p, TBracketKind bracket, int round,
                           bool winnersWinner, const char* who, const bool startAt[2]);
// The bye-table notice ("winner", "loser", "player"); true when p was put on
// seat 0 of the round's bye table (its announcement is then skipped).
bool ByeTableNotice(TTourneyState& s, const TSeatFound& f, const char* who);
void ReportSeatFailure(TTourneyState& s, const char* who, const char* bracketText);
// The loser's instant auto-post is allowed (option on, chat window known, no preview).
bool LoserAutoPostAllowed(TTourneyState& s);

}  // namespace kestrova
