#pragma once
// Finding a seat for an entry moving on to the next round of a bracket.
#include "model/tourney_state.h"

namespace kestrova {

struct TSeatFound {
    TTableRec* Table = nullptr;
    int Seat = -1;
    explicit operator bool() const { return Table != nullptr; }
};

// First usable seat of round r of the bracket: a first pass over the tables
// in use, a renumbering of an empty table whose number is busy, then a second
// pass up to the bracket's bound. winnersWinner: never seat 1 of the bye table.
TSeatFound FindSeat(TTourneyState& s, TBracketKind bracket, int round, bool winnersWinner);
// Puts p into the seat at stage `stage`.
void TakeSeat(TPlayer& p, TTableRec& t, int seat, int stage);
// True when t is its round's bye table (the last table in use of a round with a bye).
bool IsByeTable(const TTableRec& t);

}  // namespace kestrova
