#include "engine/finals.h"

#include <algorithm>
#include <functional>

#include "common/text.h"
#include "engine/seat_search.h"
#include "records/event_log.h"

namespace kestrova {

namespace {
int SeatsTaken(const TTableRec& t) { return (t.Seat[0] ? 1 : 0) + (t.Seat[1] ? 1 : 0); }
}  // namespace

namespace {
// The entry won its way to t, a table past its bracket's last round, from a
// table in a round that is now its bracket's last (a table beyond that was
// never its to play), or crossed in to t as the champion of the bracket
// below when the final was still there.
bool CameFromFinalRound(const TPlayer& p, const TTableRec& t, const int last[3]) {
    for (int k = 1; k < MaxStages; ++k) {
        if (p.Tables[k] != &t) continue;
        const TTableRec* prev = p.Tables[k - 1];
        if (!prev || prev->Result - 1 != p.Seats[k - 1]) return false;
        const int b = static_cast<int>(BracketOf(*prev));
        const bool same = BracketOf(*prev) == BracketOf(t);
        const bool crossed = b == static_cast<int>(BracketOf(t)) + 1;
        return (same || crossed) && RoundOf(*prev) <= last[b];
    }
    return false;
}


// The entry is back at a table that became a crossing final. A lone win there
// was a bye into the round that no longer comes: the final is still to play,
// with seat 1 kept for the champion crossing in (KeepSeatOneFree).
void ReopenCrossingTable(TTourneyState& s, TTableRec& t) {
    if (!IsCrossingRound(s, t) || t.Result == 0 || t.Full()) return;
    t.Result = 0;
    t.EndTime = 0;
    t.StartTime = 0;
}

// Where the champion of a lower bracket crosses in: seat 1 of this table.
TTableRec* CrossingTarget(TTourneyState& s, TBracketKind b) {
    const bool valid = s.GrandFinalRound >= 0 && s.GrandFinalRound < MaxRounds;
    if (b == TBracketKind::OneLoss && s.ElimFormat != TElimFormat::Single && valid)
        return &s.Winners[s.GrandFinalRound].Tables[0];
    if (b == TBracketKind::TwoLoss && s.ElimFormat == TElimFormat::Triple &&
        s.OneLossLastRound >= 0 && s.OneLossLastRound < MaxRounds)
        return &s.OneLoss[s.OneLossLastRound].Tables[0];
    return nullptr;
}

// Takes the entry off every table from stage k on. A table it sat at alone
// (a forced bye on the way) is open again and empty.
void UnseatFrom(TPlayer& p, int k) {
    for (int j = k; j < MaxStages; ++j) {
        TTableRec* t = p.Tables[j];
        if (!t) continue;
        const int seat = SeatOf(*t, &p);
        if (seat >= 0) t->Seat[seat] = nullptr;
        if (t->Empty()) {
            t->Result = 0;
            t->EndTime = 0;
        }
        t->StartTime = 0;
        p.Tables[j] = nullptr;
        p.Seats[j] = 0;
    }
}

// The entry's win at `from`, its bracket's last round, makes it the
// bracket's champion: it crosses into the final above when that seat is free.
void CrossOver(TTourneyState& s, TPlayer& p, const TTableRec& from, int stage) {
    TTableRec* target = CrossingTarget(s, BracketOf(from));
    if (!target || target->Result != 0 || target->Seat[1] || stage >= MaxStages) return;
    target->Seat[1] = &p;
    MarkTableUsed(*target);
    target->StartTime = s.Now();
    p.Tables[stage] = target;
    p.Seats[stage] = 1;
    WriteLog(s, "    -> " + p.Name + " crosses into the final");
}

// When withdrawals bring a bracket's final forward, an entry that had already
// moved on past the new final sits at tables that can never count: its win
// there was the final's. It goes back to that table as its last one (or on to
// the final above, for a lower bracket's champion).
void UnseatBeyondFinals(TTourneyState& s, const TBeforeMove& beforeMove) {
    const int last[3] = {s.GrandFinalRound,
                         s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound
                                                             : s.OneLossFinalRound,
                         s.TwoLossFinalRound};
    for (int b = 0; b < s.BracketCount(); ++b) {
        TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = std::max(last[b] + 1, 1); r < MaxRounds; ++r)
            for (int i = 0; i < std::min(br[r].HighWater, MaxTablesPerRound); ++i) {
                TTableRec& t = br[r].Tables[i];
                for (TPlayer* p : t.Seat) {
                    if (!p || !CameFromFinalRound(*p, t, last)) continue;
                    const int k = StageAt(*p, t);
                    TTableRec* back = p->Tables[k - 1];
                    WriteLog(s, "    -> " + p->Name + " leaves a table beyond the final");
                    beforeMove();
                    UnseatFrom(*p, k);
                    ReopenCrossingTable(s, *back);
                    if (back->Result != 0) CrossOver(s, *p, *back, k);
                }
                if (t.Result == 0) t.StartTime = 0;
            }
    }
}

// Seat 1 of a crossing final belongs to the champion from below. An entry of
// the table's own bracket sitting there alone (its opponent in seat 0 left
// after it sat down) moves over to seat 0.
// Moves the entry sitting at `from` (at stage k) to a seat of `to`.
void MoveEntry(TPlayer& p, int k, TTableRec& from, TTableRec& to, int seat) {
    from.Seat[from.Seat[0] == &p ? 0 : 1] = nullptr;
    to.Seat[seat] = &p;
    MarkTableUsed(to);
    p.Tables[k] = &to;
    p.Seats[k] = seat;
}

void KeepSeatOneFree(TTableRec& t, const TBeforeMove& beforeMove) {
    TPlayer* p = t.Seat[1];
    if (t.Result != 0 || t.Seat[0] || !p) return;
    const int k = StageAt(*p, t);
    const TTableRec* prev = k > 0 ? p->Tables[k - 1] : nullptr;
    if (!prev || BracketOf(*prev) != BracketOf(t)) return;
    beforeMove();
    MoveEntry(*p, k, t, t, 0);
}

// The own bracket's finalist, left waiting at another table of a crossing
// final's round when withdrawals made it the final, joins the final's table.
void JoinCrossingTable(TTourneyState& s, TRoundRec& round, const TBeforeMove& beforeMove) {
    TTableRec& f = round.Tables[0];
    if (f.Result != 0 || f.Seat[0]) return;
    const int count = std::min(std::max(round.TableCount, round.HighWater), MaxTablesPerRound);
    for (int j = 1; j < count; ++j) {
        TTableRec& t = round.Tables[j];
        if (t.Result != 0 || SeatsTaken(t) != 1) continue;
        TPlayer* p = t.Seat[0] ? t.Seat[0] : t.Seat[1];
        const int k = StageAt(*p, t);
        if (k < 0) return;
        beforeMove();
        MoveEntry(*p, k, t, f, 0);
        t.StartTime = 0;
        if (f.Seat[1]) f.StartTime = s.Now();
        WriteLog(s, Format("    -> %s moves to table %d for the final", p->Name.c_str(), f.TableNo));
        return;
    }
}

// Swaps what two tables of one round hold (not their numbers) and the stage
// links that point at them.
void SwapTables(TTableRec& a, TTableRec& b) {
    for (TTableRec* t : {&a, &b}) {
        for (TPlayer* p : t->Seat) {
            if (!p) continue;
            for (auto& link : p->Tables) {
                if (link == &a) {
                    link = &b;
                } else if (link == &b) {
                    link = &a;
                }
            }
        }
    }
    std::swap(a.Result, b.Result);
    std::swap(a.Seat, b.Seat);
    std::swap(a.StartTime, b.StartTime);
    std::swap(a.EndTime, b.EndTime);
    std::swap(a.Reminded15, b.Reminded15);
    std::swap(a.Reminded10, b.Reminded10);
    std::swap(a.Reminded5, b.Reminded5);
}

// A final is the first table of its round. When withdrawals make a round
// the final whose first table is empty or already decided (both players quit,
// or its winner left before the next round), the table of the match still to
// be played there moves first, or else one still to be filled.
void KeepFinalFirst(TRoundRec& round, const TBeforeMove& beforeMove) {
    if (round.Tables[0].Result == 0 && !round.Tables[0].Empty()) return;
    // A final round counts one table; a table in use past it is looked at too.
    const int count = std::min(std::max(round.TableCount, round.HighWater), MaxTablesPerRound);
    auto swapFirst = [&round, &beforeMove](TTableRec& t) {
        beforeMove();
        SwapTables(round.Tables[0], t);
        MarkTableUsed(round.Tables[0]);
        MarkTableUsed(t);
    };
    for (int j = 1; j < count; ++j) {
        TTableRec& t = round.Tables[j];
        if (t.Result == 0 && !t.Empty()) return swapFirst(t);
    }
    if (round.Tables[0].Result == 0) return;  // empty: it waits for its entries
    for (int j = 1; j < count; ++j) {
        TTableRec& t = round.Tables[j];
        if (t.Result == 0) return swapFirst(t);
    }
    if (round.Tables[0].Result != 4) return;
    for (int j = 1; j < count; ++j) {
        TTableRec& t = round.Tables[j];
        if (t.Result != 4) return swapFirst(t);
    }
}
}  // namespace

namespace {
// Whether some stage of the entry is a table that lies before the table of
// the stage before it. A crossing always is: it leads up to a bracket
// declared before the one it leaves, while a win or a loss leads to a later
// round or a lower bracket. So an entry without one has no crossing, and the
// check below needs no table read for it. (An empty stage is 0, which
// wraps to the largest number and so never lies before anything.)
bool MayHaveCrossed(const TPlayer& p) {
    bool back = false;
    for (int k = 1; k < MaxStages; ++k)
        back |= reinterpret_cast<uintptr_t>(p.Tables[k]) - 1 <
                reinterpret_cast<uintptr_t>(p.Tables[k - 1]);
    return back;
}

// A champion crossed into a final when its bracket's last round and the
// final were where they were then. When withdrawals move them on, a crossing
// still to be played that no longer leads from the bracket's last round into
// the final's seat 1 is undone: the entry plays on in its own bracket from the
// round after (or crosses into the final as it now stands).
void RedoStaleCrossings(TTourneyState& s, const TBeforeMove& beforeMove) {
    const int last[3] = {s.GrandFinalRound,
                         s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound
                                                             : s.OneLossFinalRound,
                         s.TwoLossFinalRound};
    for (auto& entry : s.Players) {
        TPlayer& p = *entry;
        if (!MayHaveCrossed(p)) continue;
        for (int k = 1; k < MaxStages; ++k) {
            TTableRec* t = p.Tables[k];
            const TTableRec* from = p.Tables[k - 1];
            if (!t || !from) continue;
            const int fb = static_cast<int>(BracketOf(*from));
            if (static_cast<int>(BracketOf(*t)) != fb - 1) continue;  // not a crossing
            if (t->Result != 0) continue;  // played: it stands
            const int r = RoundOf(*from);
            const bool stands = t == CrossingTarget(s, BracketOf(*from)) && p.Seats[k] == 1 &&
                                r == last[fb];
            if (stands || r > last[fb]) continue;
            beforeMove();
            UnseatFrom(p, k);
            WriteLog(s, "    -> " + p.Name + " plays on in its bracket before the final");
            if (r == last[fb]) {
                CrossOver(s, p, *from, k);
            } else if (TSeatFound f = FindSeat(s, BracketOf(*from), r + 1, false)) {
                TakeSeat(p, *f.Table, f.Seat, k);
                if (f.Table->Full()) f.Table->StartTime = s.Now();
            }
            break;
        }
    }
}
}  // namespace

// After withdrawals: entries past a final that came forward go back, the live
// table of each final round comes first, and seat 1 of a crossing final stays
// free for the champion from below.
void SettleFinals(TTourneyState& s, const TBeforeMove& beforeMove) {
    UnseatBeyondFinals(s, beforeMove);
    RedoStaleCrossings(s, beforeMove);
    if (s.GrandFinalRound >= 0 && s.GrandFinalRound < MaxRounds) {
        KeepFinalFirst(s.Winners[s.GrandFinalRound], beforeMove);
        if (s.ElimFormat != TElimFormat::Single) {
            KeepSeatOneFree(s.Winners[s.GrandFinalRound].Tables[0], beforeMove);
            JoinCrossingTable(s, s.Winners[s.GrandFinalRound], beforeMove);
        }
    }
    if (s.ElimFormat == TElimFormat::Triple && s.OneLossLastRound < MaxRounds) {
        KeepFinalFirst(s.OneLoss[s.OneLossLastRound], beforeMove);
        KeepSeatOneFree(s.OneLoss[s.OneLossLastRound].Tables[0], beforeMove);
        JoinCrossingTable(s, s.OneLoss[s.OneLossLastRound], beforeMove);
    }
}

bool IsCrossingRound(const TTourneyState& s, const TTableRec& t) {
    if (s.ElimFormat == TElimFormat::Single) return false;
    if (BracketOf(t) == TBracketKind::Winners) return RoundOf(t) == s.GrandFinalRound;
    return s.ElimFormat == TElimFormat::Triple && BracketOf(t) == TBracketKind::OneLoss &&
           RoundOf(t) == s.OneLossLastRound;
}

}  // namespace kestrova
