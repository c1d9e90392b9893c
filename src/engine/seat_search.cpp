#include "engine/seat_search.h"

#include <algorithm>

#include "engine/finals.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"

namespace kestrova {

bool IsByeTable(const TTableRec& t) {
    const TRoundRec& r = *t.Round;
    return r.HasBye && TableIndexOf(t) == r.TableCount - 1;
}

void TakeSeat(TPlayer& p, TTableRec& t, int seat, int stage) {
    t.Seat[seat] = &p;
    MarkTableUsed(t);
    if (stage >= 0 && stage < MaxStages) {
        p.Tables[stage] = &t;
        p.Seats[stage] = seat;
    }
}

namespace {
TSeatFound Pass(TTourneyState& s, TBracketKind b, int r, int limit, bool winnersWinner,
               const TBusyNumbers& busy) {
    TRoundRec& round = s.Bracket(b)[r];
    for (int t = 0; t < limit; ++t) {
        TTableRec& tab = round.Tables[t];
        if (tab.Result != 0) continue;
        // An entry already waiting at a table keeps it, and gets its opponent
        // there, even when the number has since come into use elsewhere or
        // been voided: skipping it would leave them without one. A voided
        // number takes no new table, and the bye table's entry waits for nobody.
        const bool keeps = !tab.Empty() && !IsByeTable(tab);
        if (!keeps && busy.InUse(tab.TableNo)) continue;
        if (!tab.Seat[0]) return {&tab, 0};
        bool byeSeat = winnersWinner && round.HasBye && t == round.TableCount - 1;
        if (!tab.Seat[1] && !byeSeat) return {&tab, 1};
    }
    return {};
}

// Gives the first empty table whose number is busy a free number, stepping
// 1, 2 or 3 by format from the number of the round's last table in use.
void RenumberBusyTable(TTourneyState& s, TBracketKind b, int r, int bound,
                       const TBusyNumbers& busy) {
    TRoundRec& round = s.Bracket(b)[r];
    for (int t = 0; t < bound; ++t) {
        TTableRec& tab = round.Tables[t];
        if (!tab.Empty() || tab.Result != 0 || !busy.InUse(tab.TableNo)) continue;
        int last = std::clamp(round.TableCount - 1, 0, MaxTablesPerRound - 1);
        int n = round.Tables[last].TableNo;
        const int room = std::max(1, s.RoomTableCount);
        for (int tries = 0; tries <= room; ++tries) {
            n = (static_cast<int>(s.ElimFormat) + n) % room + 1;
            if (!busy.InUse(n)) {
                tab.TableNo = n;
                ++s.TableNoVersion;
                s.View().RedrawRound(b, r);
                break;
            }
        }
        return;
    }
}
}  // namespace

namespace {
// A bracket's final round: its winner is the bracket's champion.
bool IsFinalRound(const TTourneyState& s, TBracketKind b, int r) {
    switch (b) {
        case TBracketKind::Winners:
            return r == (s.ElimFormat == TElimFormat::Single ? s.GrandFinalRound : s.WinnersFinalRound);
        case TBracketKind::OneLoss: return r == s.OneLossFinalRound;
        case TBracketKind::TwoLoss: return r == s.TwoLossFinalRound;
    }
    return false;
}

// In a final round that withdrawals left with more than one table, an entry
// already waiting there alone is the opponent: two entries waiting apart
// would each wait for the other for ever.
TSeatFound WaitingAlone(TRoundRec& round, int bound) {
    const int count = std::min(std::max(round.TableCount, round.HighWater), bound);
    for (int t = 0; t < count; ++t) {
        TTableRec& tab = round.Tables[t];
        if (tab.Result == 0 && !tab.Full() && !tab.Empty()) return {&tab, tab.Seat[0] ? 1 : 0};
    }
    return {};
}

// The table where a lower bracket's champion crosses in: the grand final, and
// in Triple the one-loss bracket's last table.
bool IsCrossingRound(const TTourneyState& s, TBracketKind b, int r) {
    if (b == TBracketKind::Winners) return s.ElimFormat != TElimFormat::Single && r == s.GrandFinalRound;
    return b == TBracketKind::OneLoss && s.ElimFormat == TElimFormat::Triple &&
           r == s.OneLossLastRound;
}
}  // namespace

TSeatFound FindSeat(TTourneyState& s, TBracketKind b, int r, bool winnersWinner) {
    if (r < 0 || r >= MaxRounds) return {};
    const int bound = SeatSearchBound[static_cast<int>(b)];
    TRoundRec& round = s.Bracket(b)[r];
    // When withdrawals let the champion from below cross in first, its start
    // time marks the final's number busy; the number is still the final's own.
    if (IsCrossingRound(s, b, r) && round.Tables[0].Result == 0 && !round.Tables[0].Seat[0])
        return {&round.Tables[0], 0};
    if (IsFinalRound(s, b, r))
        if (TSeatFound f = WaitingAlone(round, bound)) return f;
    const TBusyNumbers busy(s, b, r);
    TSeatFound f = Pass(s, b, r, std::clamp(round.TableCount, 0, bound), winnersWinner, busy);
    if (f) return f;
    busy.Capture();  // renumbering changes the state the numbers are asked of
    RenumberBusyTable(s, b, r, bound, busy);
    return Pass(s, b, r, bound, winnersWinner, busy);
}

}  // namespace kestrova
