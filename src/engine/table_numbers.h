#pragma once
// Numbering the tables, and which numbers are in use.
#include <array>
#include <cstdint>

#include "model/tourney_state.h"

namespace kestrova {

void NumberTables(TTourneyState& s);
// The fixed numbers of the final tables (run by UpdateBracketTabs).
bool NumberFinalTables(TTourneyState& s);  // whether a number changed
bool IsTableNoInUse(const TTourneyState& s, TBracketKind bracket, int round, int tableNo);
// IsTableNoInUse for one round, as the state was when this was made. The
// seat search asks it for many tables in a row, but often stops at the
// first: that one is looked up alone (a pass that compares numbers only),
// and only a second question takes the fuller pass that answers all of
// them. The state must not change until Capture() has been called.
class TBusyNumbers {
public:
    TBusyNumbers(const TTourneyState& s, TBracketKind bracket, int round);
    bool InUse(int tableNo) const;
    // Answers from the state as it is now, whatever changes after.
    void Capture() const;
    // A number given to a table of this round since: busy from now on for other rounds.
    void Renumbered(int tableNo);

private:
    const TTourneyState& s_;
    TBracketKind bracket_;
    int round_;
    mutable bool captured_ = false, asked_ = false;
    mutable std::array<uint8_t, 512> busy_{};  // numbers beyond are asked one by one
};
bool IsVoidTable(const TTourneyState& s, int tableNo);

}  // namespace kestrova
