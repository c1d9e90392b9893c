#pragma once
// Dimensioning the brackets: how many tables each round has, and which
// round is each bracket's final.
#include "model/tourney_state.h"

namespace kestrova {

// Zero-fills the three brackets and restores the round and table back-references.
void ClearBrackets(TTourneyState& s);
// Planned counts for n entries, assuming every match is played.
void UpdateTableCount(TTourneyState& s, int playerCount);
// Counts from the entries placed and the results recorded.
void UpdateFullTableCount(TTourneyState& s);
// The same count without a log line, redrawing only when it changed something:
// run after every change so that the counts always follow from the record.
void RefreshCounts(TTourneyState& s);
void SetElimFormat(TTourneyState& s, TElimFormat format);
// Whether a bye forced on the lone entry at open table t keeps its round and
// the next within the bracket's capacity (64/32/24 tables). It only reshapes
// them when somebody still on the way was to sit at t.
bool ForcedByeFits(const TTourneyState& s, const TTableRec& t);
// The round can still seat one entry more than it expects within the bound.
bool RoomForOneMore(const TRoundRec& round);
// The lone entry at open table t still has an opponent on the way to it.
bool OpponentOnTheWay(const TTableRec& t);
bool RoundComplete(const TRoundRec& round);

// Round-two byes (single elimination).
struct TByeCounts {
    int PlayersInRound = 0;
    int TotalSeats = 0;
    int TablesEmpty = 0;
    int ByesToGo = 0;
    int ByesGiven = 0;  // round-2 tables already decided as byes
};
bool Get2ndRoundByeStatus(TTourneyState& s, TByeCounts& counts);

}  // namespace kestrova
