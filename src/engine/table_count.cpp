#include "engine/table_count.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "common/text.h"
#include "engine/finals.h"
#include "engine/points.h"
#include "engine/status.h"
#include "engine/table_numbers.h"
#include "records/event_log.h"

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

// One table, or as many as reach the last one that holds something.
int TablesHolding(const TRoundRec& round) {
    int used = std::min(std::max(round.HighWater, round.TableCount), MaxTablesPerRound);
    while (used > 1) {
        const TTableRec& t = round.Tables[used - 1];
        if (!t.Empty() || t.Result) break;
        --used;
    }
    return std::max(used, 1);
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
    // feeds its first seat: the champion crossing in still needs it. A table
    // past it that holds something stays counted (and saved).
    if (s.ElimFormat != TElimFormat::Single && s.GrandFinalRound < MaxRounds)
        s.Winners[s.GrandFinalRound].TableCount = TablesHolding(s.Winners[s.GrandFinalRound]);
    if (s.ElimFormat == TElimFormat::Triple && s.OneLossLastRound < MaxRounds)
        s.OneLoss[s.OneLossLastRound].TableCount = TablesHolding(s.OneLoss[s.OneLossLastRound]);
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
            // When the one-loss final is in this round too (withdrawals can
            // leave the two-loss bracket empty), the one-loss last round
            // comes after it and the loop ends before reaching it: it
            // receives the one-loss champion, and nobody is on the way there.
            if (f.OneLoss == r) LayOutRound(s.OneLoss[r + 1], r + 1, oIn, 0, false);
            f.TwoLoss = r;
            f.Found = true;
            return f;
        }
    }
    return f;
}
}  // namespace

namespace {
int InUse(const TRoundRec& round) {
    return std::min(std::max(round.TableCount, round.HighWater), MaxTablesPerRound);
}

// An open table nobody sits at has no match going on: a start time left
// there would hold its number busy, and the file would not keep it.
void ClearIdleTables(TRoundRec& round) {
    const int used = InUse(round);
    for (int i = 0; i < used; ++i) {
        TTableRec& t = round.Tables[i];
        if (t.Result == 0 && t.Empty()) t.StartTime = t.EndTime = 0;
    }
}

// The tables of a round that hold something, as a reopened file shows them:
// the count must rest only on what the file keeps. True when it moved.
bool TrimHighWater(TRoundRec& round) {
    // Tables at HighWater and beyond never held anyone.
    int used = InUse(round);
    while (used > 0) {
        const TTableRec& t = round.Tables[used - 1];
        if (!t.Empty() || t.Result || t.StartTime || t.EndTime) break;
        --used;
    }
    const bool changed = used != round.HighWater;
    round.HighWater = used;
    return changed;
}

// What one count decides: the markers, each round's shape and who sits
// where, word by word, so that two counts compare exactly.
class TCountShape {
public:
    // Room for the shape of `s` as it stands: trimming only lowers the
    // tables in use.
    void Start(const TTourneyState& s) {
        size_t need = 5;
        for (int b = 0; b < s.BracketCount(); ++b)
            for (const TRoundRec& round : s.Bracket(static_cast<TBracketKind>(b)))
                need += 1 + 3 * static_cast<size_t>(InUse(round));
        Start(need);
    }
    void Start(size_t need) {
        if (capacity_ < need) {
            words_ = std::make_unique_for_overwrite<uint64_t[]>(need);
            capacity_ = need;
        }
        end_ = words_.get();
    }
    void Add(uint64_t word) { *end_++ = word; }
    void AddRound(const TRoundRec& round) {
        AddRound(round, round.TableCount, round.HasBye, InUse(round));
    }
    // The round with these counts and tables in use.
    void AddRound(const TRoundRec& round, int tableCount, bool hasBye, int used) {
        Add(static_cast<uint64_t>(tableCount) * 2 + (hasBye ? 1 : 0));
        for (int i = 0; i < used; ++i) {
            const TTableRec& t = round.Tables[i];
            end_[0] = reinterpret_cast<uintptr_t>(t.Seat[0]);
            end_[1] = reinterpret_cast<uintptr_t>(t.Seat[1]);
            end_[2] = static_cast<uint64_t>(t.Result);
            end_ += 3;
        }
    }
    size_t Size() const { return static_cast<size_t>(end_ - words_.get()); }
    bool operator==(const TCountShape& o) const {
        return Size() == o.Size() &&
               std::memcmp(words_.get(), o.words_.get(), Size() * sizeof(uint64_t)) == 0;
    }

private:
    std::unique_ptr<uint64_t[]> words_;
    size_t capacity_ = 0;
    uint64_t* end_ = nullptr;
};

// Trims every round (and first clears its idle tables) and takes the shape
// the count left (with no shape, only trims). Each step looks at one round
// only, so going round by round does what going step by step over all rounds
// would. True when a round's tables in use moved.
bool TrimAndShape(TTourneyState& s, bool clearIdle, TCountShape* shape) {
    if (shape) {
        shape->Start(s);
        for (int v : {s.WinnersFinalRound, s.OneLossFinalRound, s.TwoLossFinalRound,
                      s.OneLossLastRound, s.GrandFinalRound})
            shape->Add(static_cast<uint64_t>(v));
    }
    bool changed = false;
    for (int b = 0; b < 3; ++b) {
        const bool counted = b < s.BracketCount();
        for (TRoundRec& round : s.Bracket(static_cast<TBracketKind>(b))) {
            if (clearIdle && counted) ClearIdleTables(round);
            changed |= TrimHighWater(round);
            if (counted && shape) shape->AddRound(round);
        }
    }
    if (changed) ++s.TableNoVersion;
    return changed;
}

// What a count writes (the markers and each counted round's table count and
// bye) and the tables each round has had in use. While nobody moves, two
// counts that agree here leave the same shape.
struct TCounts {
    static constexpr int kPerRound = 3;
    std::array<int32_t, 5 + kPerRound * 3 * MaxRounds> Words{};
    explicit TCounts(const TTourneyState& s) {
        auto w = Words.begin();
        for (int v : {s.WinnersFinalRound, s.OneLossFinalRound, s.TwoLossFinalRound,
                      s.OneLossLastRound, s.GrandFinalRound})
            *w++ = v;
        for (int b = 0; b < s.BracketCount(); ++b)
            for (const TRoundRec& round : s.Bracket(static_cast<TBracketKind>(b))) {
                *w++ = round.TableCount;
                *w++ = round.HasBye;
                *w++ = round.HighWater;
            }
    }
    bool operator==(const TCounts&) const = default;

    // The shape as it was when these counts were read, taken while the seats
    // and results still are as they were then.
    void ShapeThen(const TTourneyState& s, TCountShape& shape) const {
        const int rounds = s.BracketCount() * MaxRounds;
        auto used = [this](int i) {
            const int32_t* r = &Words[5 + kPerRound * i];
            return std::min(std::max(r[0], r[2]), MaxTablesPerRound);
        };
        size_t need = 5;
        for (int i = 0; i < rounds; ++i) need += 1 + 3 * static_cast<size_t>(used(i));
        shape.Start(need);
        for (int i = 0; i < 5; ++i) shape.Add(static_cast<uint64_t>(Words[i]));
        for (int i = 0; i < rounds; ++i) {
            const int32_t* r = &Words[5 + kPerRound * i];
            const TBracket& br = s.Bracket(static_cast<TBracketKind>(i / MaxRounds));
            shape.AddRound(br[i % MaxRounds], r[0], r[1] != 0, used(i));
        }
    }
};

// True when settling the finals moved anybody.
bool CountOnce(TTourneyState& s, const TBeforeMove& beforeMove) {
    const TFinals f = CountRounds(s);
    FinishMarkers(s, f.Winners, f.OneLoss, f.TwoLoss);
    // Finals are only moved about when every bracket found its last round
    // within the rounds there are.
    if (!f.Found) return false;
    bool moved = false;
    SettleFinals(s, [&] {
        if (!moved) beforeMove();
        moved = true;
    });
    return moved;
}
}  // namespace

namespace {
// Counts until nothing changes; returns whether anything did.
bool CountToRest(TTourneyState& s) {
    // A count reads the shape the last one left, and settling the finals can
    // move entries: count again until nothing changes, so that the counts
    // are the same whether the tournament was played here or reopened.
    TCountShape start, shapes[2];
    TrimAndShape(s, true, nullptr);
    // Most counts move nobody and leave the tables in use as they were: the
    // next count would read just what this one read and change nothing, so
    // it is not made, and the shape before it is not needed. (With round-2
    // byes planned a count also writes the bye status to the log: those
    // counts are all made.)
    const bool round2Byes = s.AssignAllRound2Byes && s.ElimFormat == TElimFormat::Single;
    const TCounts counts(s);
    bool started = false;
    const TBeforeMove takeStart = [&] {
        if (!started) counts.ShapeThen(s, start);
        started = true;
    };
    const bool moved = CountOnce(s, takeStart);
    if (!moved && !round2Byes && !TrimAndShape(s, false, nullptr))
        return !(TCounts(s) == counts);
    // Otherwise count to rest, comparing whole shapes. Unless somebody moved,
    // the seats still are as they were; the first count was made (and perhaps
    // trimmed: trimming again finds nothing more to trim).
    takeStart();
    const TCountShape* before = &start;
    const TBeforeMove nothing = [] {};
    for (int pass = 0; pass < 4; ++pass) {
        if (pass > 0) CountOnce(s, nothing);
        TCountShape& after = shapes[pass % 2];
        TrimAndShape(s, false, &after);
        if (after == *before) break;
        before = &after;
    }
    return *before != start;
}
}  // namespace

void UpdateFullTableCount(TTourneyState& s) {
    WriteLog(s, "    -> UpdateFullTableCount");
    CountToRest(s);
    EndOfCount(s);
}

void RefreshCounts(TTourneyState& s) {
    // An empty final table takes its fixed number again after a move, as an
    // open of the file gives it.
    const bool counted = CountToRest(s);
    if (NumberFinalTables(s) || counted) EndOfCount(s);
}

void SetElimFormat(TTourneyState& s, TElimFormat format) {
    s.ElimFormat = format;
    static const char* const kLines[] = {"    -> ElimFormat = Single", "    -> ElimFormat = Double",
                                         "    -> ElimFormat = Triple"};
    WriteLog(s, kLines[static_cast<int>(format) % 3]);
    NumberTables(s);
    UpdateTableCount(s, MaxPlayers);
    // Then counted from the entries, as every later change is and as an open
    // of the file is: the plan also sets the final markers of brackets the
    // format does not have, which a count leaves at 0, and the file saved
    // now must read back as it was.
    RefreshCounts(s);
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
    return RoomForOneMore(s.Bracket(BracketOf(t))[r + 1]);
}

bool RoomForOneMore(const TRoundRec& round) {
    THolds holds;
    return FillRound(round, round.Expected + 1, holds) < SeatSearchBound[static_cast<int>(round.Bracket)];
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
