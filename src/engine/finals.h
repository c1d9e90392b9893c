#pragma once
// The final rounds after withdrawals: who sits at a final, and where a lower
// bracket's champion crosses in.
#include <functional>

#include "model/tourney_state.h"

namespace kestrova {

// Once the counts have found every bracket's last round: entries past a final
// that came forward go back, a crossing that no longer leads from a bracket's
// last round is done again, the live table of each final comes first, and
// seat 1 of a crossing final stays free for the champion from below.
// beforeMove is called before each move of anybody (or change of a table's
// result or seats), while the tables still read as before.
using TBeforeMove = std::function<void()>;
void SettleFinals(TTourneyState& s, const TBeforeMove& beforeMove);
// t's round is a final that a lower bracket's champion crosses into (the
// grand final; in Triple also the one-loss bracket's last round).
bool IsCrossingRound(const TTourneyState& s, const TTableRec& t);

}  // namespace kestrova
