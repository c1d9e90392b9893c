#include "engine/table_numbers.h"

#include <algorithm>

namespace kestrova {

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

bool NumberFinalTables(TTourneyState& s) {
    const uint64_t version = s.TableNoVersion;
    auto fix = [&s](TTableRec& t, int number) {
        if (FixNumber(t, number)) ++s.TableNoVersion;
    };
    const int n = s.RoomTableCount;
    const int m4 = QuadRoom(n);
    auto start = [&](int r) { return s.StartTable[std::clamp(r, 0, MaxRounds - 1)]; };
    auto valid = [](int r) { return r >= 0 && r < MaxRounds; };
    // Like every other table, a final's table is one of the room's: a semifinal
    // starting at the room's last table has its second table at the first.
    auto inRoom = [n](int number) { return Mod(number - 1, n) + 1; };
    if (valid(s.GrandFinalRound))
        fix(s.Winners[s.GrandFinalRound].Tables[0], inRoom(s.StartTable[14]));
    const int wf = s.WinnersFinalRound;
    if (!valid(wf)) return s.TableNoVersion != version;
    switch (s.ElimFormat) {
        case TElimFormat::Single:
            fix(s.Winners[wf].Tables[0], inRoom(s.StartTable[13]));
            fix(s.Winners[wf].Tables[1], inRoom(s.StartTable[13] + 1));
            break;
        case TElimFormat::Double:
            fix(s.Winners[wf].Tables[0], Mod(((start(wf) + 1) & ~1) - 1, n) + 1);
            if (valid(s.OneLossFinalRound))
                fix(s.OneLoss[s.OneLossFinalRound].Tables[0], inRoom((s.StartTable[13] & ~1) + 1));
            break;
        case TElimFormat::Triple:
            fix(s.Winners[wf].Tables[0], Mod((start(wf) + 1) & ~3, m4) + 1);
            if (valid(s.OneLossFinalRound))
                fix(s.OneLoss[s.OneLossFinalRound].Tables[0],
                    Mod(((start(s.OneLossFinalRound) + 1) & ~3) + 1, m4) + 1);
            if (valid(s.OneLossLastRound))
                fix(s.OneLoss[s.OneLossLastRound].Tables[0], inRoom(s.StartTable[13]));
            break;
    }
    return s.TableNoVersion != version;
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
    : s_(s), bracket_(bracket), round_(round) {}

void TBusyNumbers::Capture() const {
    if (captured_) return;
    captured_ = true;
    const TTourneyState& s = s_;
    for (int no : s.VoidTables)
        if (no >= 0 && no <= kBusyLimit) busy_[no] = 1;
    for (int b = 0; b < s.BracketCount(); ++b) {
        const TBracket& br = s.Bracket(static_cast<TBracketKind>(b));
        for (int r = 0; r < MaxRounds; ++r) {
            const TRoundRec& rr = br[r];
            const int count = std::min(rr.TableCount, MaxTablesPerRound);
            const bool here = b == static_cast<int>(bracket_) && r == round_;
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
    if (!captured_ && !asked_) {
        asked_ = true;  // the same question IsTableNoInUse answers, for one number
        return IsTableNoInUse(s_, bracket_, round_, tableNo);
    }
    Capture();
    return busy_[tableNo] != 0;
}

void TBusyNumbers::Renumbered(int tableNo) {
    (void)tableNo;  // an empty table holds no number busy for its own round
}

}  // namespace kestrova
