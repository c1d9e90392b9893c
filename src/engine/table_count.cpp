#include "engine/table_count.h"

#include <algorithm>

#include "common/text.h"
#include "engine/seat_search.h"
#include "engine/status.h"
#include "records/event_log.h"
#include "engine/points.h"

namespace kestrova {

void ClearBrackets(TTourneyState& s) {
    ++s.TableNoVersion;
    for (int b = 0; b < 3; ++b) {
        TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            TRoundRec& round = br[r];
            round.TableCount = 0;
            round.HasBye = false;
            round.HighWater = 0;
            round.Expected = 0;
            round.RoundNumber = r + 1;
            round.Bracket = static_cast<TBracketKind>(b);
            for (auto& t : round.Tables) {
                t = TTableRec{};
                t.Round = &round;
            }
        }
    }
}

namespace {
int Half(int n) { return (n + 1) / 2; }

void SetCount(TRoundRec& round, int entries) {
    round.TableCount = Half(entries);
    round.HasBye = entries % 2 != 0;
}

// Single elimination counts the final as GrandFinalRound, the semi as WinnersFinalRound.
void FinishMarkers(TTourneyState& s, int wf, int of, int tf) {
    s.WinnersFinalRound = wf;
    s.OneLossFinalRound = of;
    s.TwoLossFinalRound = tf;
    s.GrandFinalRound = wf + 1;
    s.OneLossLastRound = of + 1;
    if (s.GrandFinalRound < MaxRounds) s.Winners[s.GrandFinalRound].HasBye = false;
    if (s.OneLossLastRound < MaxRounds) s.OneLoss[s.OneLossLastRound].HasBye = false;
    // A final table exists even when withdrawals emptied the bracket that
    // feeds its first seat: the champion crossing in still needs it.
    if (s.ElimFormat != TElimFormat::Single && s.GrandFinalRound < MaxRounds)
        s.Winners[s.GrandFinalRound].TableCount = 1;
    if (s.ElimFormat == TElimFormat::Triple && s.OneLossLastRound < MaxRounds)
        s.OneLoss[s.OneLossLastRound].TableCount = 1;
    if (s.ElimFormat == TElimFormat::Single) {
        s.WinnersFinalRound -= 1;
        s.GrandFinalRound -= 1;
    }
}

void EndOfCount(TTourneyState& s) {
    SelectMatchPointsTier(s);
    UpdateBracketTabs(s);
    s.View().RedrawAll();
}
}  // namespace

void UpdateTableCount(TTourneyState& s, int n) {
    WriteLog(s, "    -> UpdateTableCount");
    int w = n, o = 0, t = 0;
    int wf = 0, of = 0, tf = 0;
    for (int r = 0; r < MaxRounds - 1 && t != 1; ++r) {
        SetCount(s.Winners[r], w);
        SetCount(s.OneLoss[r], o);
        SetCount(s.TwoLoss[r], t);
        int t2 = o / 2 + Half(t);
        int o2 = w / 2 + Half(o);
        int w2 = Half(w);
        if (t2 == 1) tf = r;
        if (o2 == 1 && of == 0) of = r;
        if (w2 == 1 && wf == 0) wf = r;
        w = w2;
        o = o2;
        t = t2;
    }
    FinishMarkers(s, wf, of, tf);
    EndOfCount(s);
}

namespace {
struct WalkResult {
    int Next = 0;
    int Down = 0;
    int Won = 0;       // tables decided with a winner, or to be played by two
    int LeftWins = 0;  // decided tables whose winner left before the next round
};

// A round that leaves one entry is its bracket's final, unless it has (or
// will have) two winners and one of them left before the next round: a final
// has one winner, and one who left is never the champion. The entry left
// then goes on alone to the final, which the host gives it. Whether the
// other match was played before or after the winner left makes no
// difference: the file cannot tell the two apart.
bool EndsBracket(const WalkResult& w) {
    return w.Next == 0 || (w.Next == 1 && !(w.LeftWins > 0 && w.Won > 1));
}

bool SeatedNext(const TPlayer* p, int r) { return p && r + 1 < MaxStages && p->Tables[r + 1]; }

// Walks a Winners round that keeps its shape (the first round while sign-ups
// are open, the first two with round-2 byes planned): who goes on (next) and
// who drops (down). Its empty-seat wins are the planned round-2 byes or byes
// forced in the first round, where nobody can still be on the way: they add
// no bye table.
WalkResult WalkFixedRound(const TRoundRec& b, int r) {
    WalkResult res{0, 0, 0, 0};
    const int m = b.TableCount - (b.HasBye ? 1 : 0);
    for (int i = 0; i < m && i < MaxTablesPerRound; ++i) {
        const TTableRec& t = b.Tables[i];
        if (t.Result == 0) {
            res.Next += 1;
            res.Down += 1;
        } else if (t.Result == 1 || t.Result == 2) {
            if (SeatedNext(t.Seat[t.Result % 2], r)) res.Down += 1;
            if (SeatedNext(t.Seat[t.Result - 1], r) || m == 1) res.Next += 1;
        }
    }
    if (b.HasBye && m >= 0 && m < MaxTablesPerRound) {
        const TTableRec& bye = b.Tables[m];
        const bool byeStillWaiting = bye.Seat[0] && bye.Result == 1 && !SeatedNext(bye.Seat[0], r);
        if (!byeStillWaiting) res.Next += 1;
    }
    return res;
}

int SeatsTaken(const TTableRec& t) { return (t.Seat[0] ? 1 : 0) + (t.Seat[1] ? 1 : 0); }

using THolds = std::array<int8_t, MaxTablesPerRound>;

// Where the entries still on their way will sit: how many each table holds
// once `entries` have all arrived, in table order, within the bracket's bound.
// A voided number does not change the count: when the round's tables run
// out, the seat search gives the voided table a number of its own (so the
// count rests only on what is seated and decided, as the file keeps it).
// Returns the last table in use, -1 if none, or the bound itself when some
// entries find no table within it.
int FillRound(const TRoundRec& b, int entries, THolds& holds) {
    const int bound = SeatSearchBound[static_cast<int>(b.Bracket)];
    const int used = std::clamp(b.HighWater, 0, MaxTablesPerRound);
    int seated = 0;
    for (int i = 0; i < used; ++i) seated += SeatsTaken(b.Tables[i]);
    int pending = std::max(0, entries - seated);
    holds.fill(0);
    int last = -1;
    for (int i = 0; i < MaxTablesPerRound && (i < used || (pending > 0 && i < bound)); ++i) {
        const TTableRec& t = b.Tables[i];
        int n = SeatsTaken(t);
        if (t.Result == 0 && i < bound) {
            const int fill = std::min(2 - n, pending);
            pending -= fill;
            n += fill;
        }
        holds[i] = static_cast<int8_t>(n);
        if (n > 0 || t.Result != 0) last = i;
    }
    return pending > 0 ? bound : last;
}

// Lays out a round from what its tables hold. Every table in use counts, also
// one past the planned count (seated by the search's second pass, or left
// there when a withdrawal shrank the round), and an entry left alone with
// nobody on the way goes on alone instead of holding a place for an opponent
// who will never come. A forced bye therefore adds a table only while
// somebody is still on the way.
WalkResult LayOutRound(TRoundRec& b, int r, int entries, int next, bool countLosers) {
    THolds holds;
    const int bound = SeatSearchBound[static_cast<int>(b.Bracket)];
    const int last = std::min(FillRound(b, entries, holds), bound - 1);
    b.Expected = entries;
    b.TableCount = last + 1;
    b.HasBye = last >= 0 && holds[last] == 1 &&
               (b.Tables[last].Result == 0 || !b.Tables[last].Seat[1]);
    WalkResult res{next, 0, 0, 0};
    for (int i = 0; i <= last; ++i) {
        const TTableRec& t = b.Tables[i];
        if (t.Result == 0) {
            if (holds[i] == 2) res.Won += 1;
            if (holds[i] > 0) res.Next += 1;
            if (holds[i] == 2 && countLosers) res.Down += 1;
        } else if (t.Result == 1 || t.Result == 2) {
            // A winner who left before the next round does not go on: the
            // bracket's count must not wait for them.
            res.Won += 1;
            if (SeatedNext(t.Seat[t.Result - 1], r))
                res.Next += 1;
            else
                res.LeftWins += 1;
            if (countLosers && SeatedNext(t.Seat[t.Result % 2], r)) res.Down += 1;
        }
    }
    return res;
}
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
void UnseatBeyondFinals(TTourneyState& s) {
    const int last[3] = {s.GrandFinalRound,
                         s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound
                                                             : s.OneLossFinalRound,
                         s.TwoLossFinalRound};
    for (int b = 0; b < s.BracketCount(); ++b) {
        TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = std::max(last[b] + 1, 1); r < MaxRounds; ++r)
            for (TTableRec& t : br[r].Tables) {
                for (TPlayer* p : t.Seat) {
                    if (!p || !CameFromFinalRound(*p, t, last)) continue;
                    const int k = StageAt(*p, t);
                    TTableRec* back = p->Tables[k - 1];
                    WriteLog(s, "    -> " + p->Name + " leaves a table beyond the final");
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

void KeepSeatOneFree(TTableRec& t) {
    TPlayer* p = t.Seat[1];
    if (t.Result != 0 || t.Seat[0] || !p) return;
    const int k = StageAt(*p, t);
    const TTableRec* prev = k > 0 ? p->Tables[k - 1] : nullptr;
    if (!prev || BracketOf(*prev) != BracketOf(t)) return;
    MoveEntry(*p, k, t, t, 0);
}

// The own bracket's finalist, left waiting at another table of a crossing
// final's round when withdrawals made it the final, joins the final's table.
void JoinCrossingTable(TTourneyState& s, TRoundRec& round) {
    TTableRec& f = round.Tables[0];
    if (f.Result != 0 || f.Seat[0]) return;
    const int count = std::min(std::max(round.TableCount, round.HighWater), MaxTablesPerRound);
    for (int j = 1; j < count; ++j) {
        TTableRec& t = round.Tables[j];
        if (t.Result != 0 || SeatsTaken(t) != 1) continue;
        TPlayer* p = t.Seat[0] ? t.Seat[0] : t.Seat[1];
        const int k = StageAt(*p, t);
        if (k < 0) return;
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
void KeepFinalFirst(TRoundRec& round) {
    if (round.Tables[0].Result == 0 && !round.Tables[0].Empty()) return;
    // A final round counts one table; a table in use past it is looked at too.
    const int count = std::min(std::max(round.TableCount, round.HighWater), MaxTablesPerRound);
    auto swapFirst = [&round](TTableRec& t) {
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
struct TFinals {
    int Winners = 0, OneLoss = 0, TwoLoss = 0;  // the rounds the markers come from
    bool Found = false;  // every bracket found its last round
};

// Lays out every round, bracket by bracket, and finds each bracket's final:
// the first round that leaves one entry (or none) once the bracket above has
// finished and nobody still drops in from it. A lower bracket can hold a
// single entry in an early round (after forced byes or withdrawals) without
// that being its final, and its last loser from above may be the only one
// left, who then plays (or is given) its final in the round after.
TFinals CountRounds(TTourneyState& s) {
    TFinals f;
    bool wDone = false, oDone = false;
    const bool round2Byes = s.AssignAllRound2Byes && s.ElimFormat == TElimFormat::Single;
    int wIn = 0, oIn = 0, tIn = 0;  // entries the next round of each bracket receives
    for (int r = 0; r < MaxRounds - 1; ++r) {
        // The first round keeps its sign-up shape while sign-ups are open,
        // and with round-2 byes planned the first two rounds keep the shape
        // the plan gives them. Otherwise everybody of the first round sits at
        // closing (wIn is 0: nobody is on the way).
        const bool keepShape = (round2Byes && r <= 1) || (r == 0 && !s.SignupClosed);
        TRoundRec& wr = s.Winners[r];
        WalkResult w = keepShape ? WalkFixedRound(wr, r) : LayOutRound(wr, r, wIn, 0, !wDone);
        if (keepShape) wr.Expected = 2 * wr.TableCount - (wr.HasBye ? 1 : 0);
        if (r == 0 && round2Byes) {
            // Every planned bye holds a seat in round 2: those still to give and
            // those given (whose empty seat no walk counts).
            TByeCounts c;
            Get2ndRoundByeStatus(s, c);
            w.Next += c.ByesToGo + c.ByesGiven;
        }
        SetCount(s.Winners[r + 1], wIn = w.Next);
        if (!wDone && EndsBracket(w)) {
            f.Winners = r;
            wDone = true;
        }
        if (s.ElimFormat == TElimFormat::Single) {
            f.Found = wDone;
            if (wDone) return f;
            continue;
        }
        WalkResult o = LayOutRound(s.OneLoss[r], r, oIn, w.Down, !oDone);
        SetCount(s.OneLoss[r + 1], oIn = o.Next);
        if (wDone && !oDone && EndsBracket(o) && w.Down == 0) {
            f.OneLoss = r;
            oDone = true;
        }
        if (s.ElimFormat == TElimFormat::Double) {
            f.Found = oDone;
            if (oDone) return f;
            continue;
        }
        WalkResult t = LayOutRound(s.TwoLoss[r], r, tIn, o.Down, false);
        SetCount(s.TwoLoss[r + 1], tIn = t.Next);
        if (oDone && EndsBracket(t) && o.Down == 0) {
            f.TwoLoss = r;
            f.Found = true;
            return f;
        }
    }
    return f;
}

// A champion crossed into a final when its bracket's last round and the
// final were where they were then. When withdrawals move them on, a crossing
// still to be played that no longer leads from the bracket's last round into
// the final's seat 1 is undone: the entry plays on in its own bracket from the
// round after (or crosses into the final as it now stands).
void RedoStaleCrossings(TTourneyState& s) {
    const int last[3] = {s.GrandFinalRound,
                         s.ElimFormat == TElimFormat::Triple ? s.OneLossLastRound
                                                             : s.OneLossFinalRound,
                         s.TwoLossFinalRound};
    for (auto& entry : s.Players) {
        TPlayer& p = *entry;
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

// After withdrawals: entries past a final that came forward go back, the live
// table of each final round comes first, and seat 1 of a crossing final stays
// free for the champion from below.
void SettleFinals(TTourneyState& s) {
    UnseatBeyondFinals(s);
    RedoStaleCrossings(s);
    if (s.GrandFinalRound >= 0 && s.GrandFinalRound < MaxRounds) {
        KeepFinalFirst(s.Winners[s.GrandFinalRound]);
        if (s.ElimFormat != TElimFormat::Single) {
            KeepSeatOneFree(s.Winners[s.GrandFinalRound].Tables[0]);
            JoinCrossingTable(s, s.Winners[s.GrandFinalRound]);
        }
    }
    if (s.ElimFormat == TElimFormat::Triple && s.OneLossLastRound < MaxRounds) {
        KeepFinalFirst(s.OneLoss[s.OneLossLastRound]);
        KeepSeatOneFree(s.OneLoss[s.OneLossLastRound].Tables[0]);
        JoinCrossingTable(s, s.OneLoss[s.OneLossLastRound]);
    }
}
}  // namespace

namespace {
// An open table nobody sits at has no match going on: a start time left
// there would hold its number busy, and the file would not keep it.
void ClearIdleTables(TTourneyState& s) {
    for (int b = 0; b < s.BracketCount(); ++b)
        for (TRoundRec& round : s.Bracket(static_cast<TBracketKind>(b))) {
            const int used = std::min(std::max(round.TableCount, round.HighWater), MaxTablesPerRound);
            for (int i = 0; i < used; ++i) {
                TTableRec& t = round.Tables[i];
                if (t.Result == 0 && t.Empty()) t.StartTime = t.EndTime = 0;
            }
        }
}
}  // namespace

namespace {
// The tables of a round that hold something, as a reopened file shows them:
// the count must rest only on what the file keeps.
void TrimHighWater(TTourneyState& s) {
    bool changed = false;
    for (int b = 0; b < 3; ++b)
        for (TRoundRec& round : s.Bracket(static_cast<TBracketKind>(b))) {
            int used = 0;
            for (int i = 0; i < MaxTablesPerRound; ++i) {
                const TTableRec& t = round.Tables[i];
                if (!t.Empty() || t.Result || t.StartTime || t.EndTime) used = i + 1;
            }
            changed |= used != round.HighWater;
            round.HighWater = used;
        }
    if (changed) ++s.TableNoVersion;
}

// What one count decides: the markers, each round's shape and who sits where.
uint64_t CountSignature(const TTourneyState& s) {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](uint64_t v) { h = (h ^ v) * 1099511628211ull; };
    for (int v : {s.WinnersFinalRound, s.OneLossFinalRound, s.TwoLossFinalRound,
                  s.OneLossLastRound, s.GrandFinalRound})
        mix(static_cast<uint64_t>(v));
    for (int b = 0; b < s.BracketCount(); ++b)
        for (const TRoundRec& round : s.Bracket(static_cast<TBracketKind>(b))) {
            mix(static_cast<uint64_t>(round.TableCount) * 2 + (round.HasBye ? 1 : 0));
            const int used = std::min(std::max(round.TableCount, round.HighWater), MaxTablesPerRound);
            for (int i = 0; i < used; ++i) {
                const TTableRec& t = round.Tables[i];
                mix(reinterpret_cast<uintptr_t>(t.Seat[0]));
                mix(reinterpret_cast<uintptr_t>(t.Seat[1]));
                mix(static_cast<uint64_t>(t.Result));
            }
        }
    return h;
}

void CountOnce(TTourneyState& s) {
    const TFinals f = CountRounds(s);
    FinishMarkers(s, f.Winners, f.OneLoss, f.TwoLoss);
    // Finals are only moved about when every bracket found its last round
    // within the rounds there are.
    if (f.Found) SettleFinals(s);
    TrimHighWater(s);
}
}  // namespace

void UpdateFullTableCount(TTourneyState& s) {
    WriteLog(s, "    -> UpdateFullTableCount");
    ClearIdleTables(s);
    TrimHighWater(s);
    // A count reads the shape the last one left, and settling the finals can
    // move entries: count again until nothing changes, so that the counts
    // are the same whether the tournament was played here or reopened.
    uint64_t before = CountSignature(s);
    for (int pass = 0; pass < 4; ++pass) {
        CountOnce(s);
        const uint64_t after = CountSignature(s);
        if (after == before) break;
        before = after;
    }
    EndOfCount(s);
}

void SetElimFormat(TTourneyState& s, TElimFormat format) {
    s.ElimFormat = format;
    static const char* const kLines[] = {"    -> ElimFormat = Single", "    -> ElimFormat = Double",
                                         "    -> ElimFormat = Triple"};
    WriteLog(s, kLines[static_cast<int>(format) % 3]);
    NumberTables(s);
    UpdateTableCount(s, MaxPlayers);
}

namespace {
int Mod(long long x, int n) {
    if (n <= 0) return 0;
    long long m = x % n;
    return static_cast<int>(m < 0 ? m + n : m);
}
int QuadRoom(int n) {
    int m = n & ~3;
    return m > 0 ? m : n;
}
}  // namespace

void NumberTables(TTourneyState& s) {
    ++s.TableNoVersion;
    const int n = s.RoomTableCount;
    const int m4 = QuadRoom(n);
    for (int r = 0; r < MaxRounds; ++r) {
        const int st = s.StartTable[r];
        for (int i = 0; i < MaxTablesPerRound; ++i) {
            if (s.ElimFormat == TElimFormat::Single || r == 0) {
                s.Winners[r].Tables[i].TableNo = Mod(st + i - 1, n) + 1;
            } else if (s.ElimFormat == TElimFormat::Double) {
                s.Winners[r].Tables[i].TableNo = Mod(((st + 2 * i + 1) & ~1) - 1, n) + 1;
                s.OneLoss[r].Tables[i].TableNo = Mod((st + 2 * i) & ~1, n) + 1;
            } else {
                long long b = 4LL * ((st + 1) / 4 + i);
                s.Winners[r].Tables[i].TableNo = Mod(b, m4) + 1;
                s.OneLoss[r].Tables[i].TableNo = Mod(b + 1, m4) + 1;
                s.TwoLoss[r].Tables[i].TableNo = Mod(b + 2, m4) + 1;
            }
        }
    }
}

namespace {
// A final table keeps the number it was seated under: the seat search may
// have renumbered it because its fixed number was busy elsewhere.
bool FixNumber(TTableRec& t, int number) {
    if (!t.Empty() || t.Result != 0 || t.TableNo == number) return false;
    t.TableNo = number;
    return true;
}
}  // namespace

void NumberFinalTables(TTourneyState& s) {
    auto fix = [&s](TTableRec& t, int number) {
        if (FixNumber(t, number)) ++s.TableNoVersion;
    };
    const int n = s.RoomTableCount;
    const int m4 = QuadRoom(n);
    auto start = [&](int r) { return s.StartTable[std::clamp(r, 0, MaxRounds - 1)]; };
    auto valid = [](int r) { return r >= 0 && r < MaxRounds; };
    if (valid(s.GrandFinalRound)) fix(s.Winners[s.GrandFinalRound].Tables[0], s.StartTable[14]);
    const int wf = s.WinnersFinalRound;
    if (!valid(wf)) return;
    switch (s.ElimFormat) {
        case TElimFormat::Single:
            fix(s.Winners[wf].Tables[0], s.StartTable[13]);
            fix(s.Winners[wf].Tables[1], s.StartTable[13] + 1);
            break;
        case TElimFormat::Double:
            fix(s.Winners[wf].Tables[0], Mod(((start(wf) + 1) & ~1) - 1, n) + 1);
            if (valid(s.OneLossFinalRound))
                fix(s.OneLoss[s.OneLossFinalRound].Tables[0], (s.StartTable[13] & ~1) + 1);
            break;
        case TElimFormat::Triple:
            fix(s.Winners[wf].Tables[0], Mod((start(wf) + 1) & ~3, m4) + 1);
            if (valid(s.OneLossFinalRound))
                fix(s.OneLoss[s.OneLossFinalRound].Tables[0], Mod(((start(s.OneLossFinalRound) + 1) & ~3) + 1, m4) + 1);
            if (valid(s.OneLossLastRound))
                fix(s.OneLoss[s.OneLossLastRound].Tables[0], s.StartTable[13]);
            break;
    }
}

bool OpponentOnTheWay(const TTableRec& t) {
    if (t.Result != 0 || SeatsTaken(t) != 1) return false;
    THolds holds;
    FillRound(*t.Round, t.Round->Expected, holds);
    return holds[TableIndexOf(t)] == 2;
}

bool ForcedByeFits(const TTourneyState& s, const TTableRec& t) {
    if (!OpponentOnTheWay(t)) return true;
    // Somebody on the way was to sit at t: they need a table of their own
    // here and go on to the next round separately.
    const TRoundRec& round = *t.Round;
    const int i = TableIndexOf(t);
    THolds holds;
    const int bound = SeatSearchBound[static_cast<int>(BracketOf(t))];
    TRoundRec trial = round;
    trial.Tables[i].Result = t.Seat[0] ? 1 : 2;
    if (FillRound(trial, round.Expected, holds) >= bound) return false;
    const int r = RoundOf(t);
    if (r + 1 >= MaxRounds) return true;
    const TRoundRec& next = s.Bracket(BracketOf(t))[r + 1];
    return FillRound(next, next.Expected + 1, holds) < bound;
}

bool IsVoidTable(const TTourneyState& s, int tableNo) {
    return std::find(s.VoidTables.begin(), s.VoidTables.end(), tableNo) != s.VoidTables.end();
}

bool IsTableNoInUse(const TTourneyState& s, TBracketKind bracket, int round, int tableNo) {
    if (IsVoidTable(s, tableNo)) return true;
    for (int b = 0; b < s.BracketCount(); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& rr = br[r];
            int count = std::min(rr.TableCount, MaxTablesPerRound);
            for (int i = 0; i < count; ++i) {
                const TTableRec& t = rr.Tables[i];
                if (t.TableNo != tableNo || t.Result != 0) continue;
                if (t.StartTime > 0) return true;
                if (rr.HasBye && i == count - 1 && t.Seat[0]) return true;
                bool here = b == static_cast<int>(bracket) && r == round;
                if ((t.Seat[0] || t.Seat[1]) && !here) return true;
            }
        }
    }
    return false;
}

namespace {
constexpr int kBusyLimit = 511;  // room numbers are at most 150; others are asked one by one
}  // namespace

TBusyNumbers::TBusyNumbers(const TTourneyState& s, TBracketKind bracket, int round)
    : s_(s), bracket_(bracket), round_(round) {
    for (int no : s.VoidTables)
        if (no >= 0 && no <= kBusyLimit) busy_[no] = 1;
    for (int b = 0; b < s.BracketCount(); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& rr = br[r];
            const int count = std::min(rr.TableCount, MaxTablesPerRound);
            const bool here = b == static_cast<int>(bracket) && r == round;
            for (int i = 0; i < count; ++i) {
                const TTableRec& t = rr.Tables[i];
                if (t.Result != 0 || t.TableNo < 0 || t.TableNo > kBusyLimit) continue;
                if (t.StartTime > 0 || (rr.HasBye && i == count - 1 && t.Seat[0]) ||
                    ((t.Seat[0] || t.Seat[1]) && !here))
                    busy_[t.TableNo] = 1;
            }
        }
    }
}

bool TBusyNumbers::InUse(int tableNo) const {
    if (tableNo < 0 || tableNo > kBusyLimit) return IsTableNoInUse(s_, bracket_, round_, tableNo);
    return busy_[tableNo] != 0;
}

void TBusyNumbers::Renumbered(int tableNo) {
    (void)tableNo;  // an empty table holds no number busy for its own round
}

bool IsCrossingRound(const TTourneyState& s, const TTableRec& t) {
    if (s.ElimFormat == TElimFormat::Single) return false;
    if (BracketOf(t) == TBracketKind::Winners) return RoundOf(t) == s.GrandFinalRound;
    return s.ElimFormat == TElimFormat::Triple && BracketOf(t) == TBracketKind::OneLoss &&
           RoundOf(t) == s.OneLossLastRound;
}

bool RoundComplete(const TRoundRec& round) {
    int count = std::min(round.TableCount, MaxTablesPerRound);
    for (int i = 0; i < count; ++i)
        if (round.Tables[i].Result == 0) return false;
    return true;
}

bool Get2ndRoundByeStatus(TTourneyState& s, TByeCounts& c) {
    WriteLog(s, "    -> Get2ndRoundByeStatus");
    const TRoundRec& r0 = s.Winners[0];
    int quit = 0;
    for (int i = 0; i < std::min(r0.TableCount, MaxTablesPerRound); ++i)
        if (r0.Tables[i].Result == 4) ++quit;
    c.PlayersInRound = r0.TableCount - quit;
    c.TotalSeats = 1;
    for (int v = c.PlayersInRound - 1; v > 0; v >>= 1) c.TotalSeats *= 2;
    c.TablesEmpty = c.TotalSeats / 2;
    c.ByesToGo = c.TotalSeats - c.PlayersInRound;
    const TRoundRec& r1 = s.Winners[1];
    for (int t = 0; t < c.TotalSeats / 2 && t < MaxTablesPerRound; ++t) {
        const TTableRec& tab = r1.Tables[t];
        if (tab.Result != 0) {
            c.TablesEmpty -= 1;
            if (!tab.Seat[tab.Result == 1 ? 1 : 0] && (tab.Result == 1 || tab.Result == 2)) {
                c.ByesToGo -= 1;
                c.ByesGiven += 1;
            }
        } else if (tab.Full()) {
            c.TablesEmpty -= 1;
        }
    }
    if (c.ByesToGo < 0) c.ByesToGo = 0;
    if (!LogEnabled(s)) return c.ByesToGo > 0;
    WriteLog(s, "        -> nPlayersInRound = " + IntToStr(c.PlayersInRound));
    WriteLog(s, "        -> nTotalSeats = " + IntToStr(c.TotalSeats));
    WriteLog(s, "        -> nTablesEmpty = " + IntToStr(c.TablesEmpty));
    WriteLog(s, "        -> nByesToGo = " + IntToStr(c.ByesToGo));
    return c.ByesToGo > 0;
}

}  // namespace kestrova
