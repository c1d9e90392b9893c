#pragma once
// Dimensioning the brackets and numbering their tables.
#include <array>

#include "model/tourney_state.h"

namespace kestrova {

// Zero-fills the three brackets and restores the round and table back-references.
void ClearBrackets(TTourneyState& s);
// Planned counts for n entries, assuming every match is played.
void UpdateTableCount(TTourneyState& s, int playerCount);
// Counts from the entries placed and the results recorded.
void UpdateFullTableCount(TTourneyState& s);
void SetElimFormat(TTourneyState& s, TElimFormat format);
void NumberTables(TTourneyState& s);
// The fixed numbers of the final tables (run by UpdateBracketTabs).
void NumberFinalTables(TTourneyState& s);
bool IsTableNoInUse(const TTourneyState& s, TBracketKind bracket, int round, int tableNo);
// IsTableNoInUse for one round, answered from one pass over the brackets
// (the seat search asks it for many tables in a row).
class TBusyNumbers {
public:
    TBusyNumbers(const TTourneyState& s, TBracketKind bracket, int round);
    bool InUse(int tableNo) const;
    // A number given to a table of this round since: busy from now on for other rounds.
    void Renumbered(int tableNo);

private:
    const TTourneyState& s_;
    TBracketKind bracket_;
    int round_;
    std::array<uint8_t, 512> busy_{};  // numbers beyond are asked one by one
};
bool IsVoidTable(const TTourneyState& s, int tableNo);
// Whether a bye forced on the lone entry at open table t keeps its round and
// the next within the bracket's capacity (64/32/24 tables). It only reshapes
// them when somebody still on the way was to sit at t.
bool ForcedByeFits(const TTourneyState& s, const TTableRec& t);
// The lone entry at open table t still has an opponent on the way to it.
bool OpponentOnTheWay(const TTableRec& t);
bool RoundComplete(const TRoundRec& round);
// t's round is a final that a lower bracket's champion crosses into (the
// grand final; in Triple also the one-loss bracket's last round).
bool IsCrossingRound(const TTourneyState& s, const TTableRec& t);

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
