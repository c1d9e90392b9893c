#pragma once
// Plays a tournament by hand for the file tests: seats entries and records
// random results the way the bracket moves them on (winner to round r+1 of
// the same bracket, loser to round r+1 of the next bracket or out), keeping
// the tables, seats and stage links consistent. Stops short of the finals.
#include <random>

#include "engine/table_count.h"
#include "model/tourney_state.h"

namespace kestrova::testing {

inline TPlayer& AddEntry(TTourneyState& s, const std::string& name, const std::string& p1 = "",
                         const std::string& p2 = "") {
    auto p = std::make_unique<TPlayer>();
    p->Name = name;
    p->Player1 = p1;
    p->Player2 = p2;
    s.Players.push_back(std::move(p));
    return *s.Players.back();
}

inline void SeatAt(TTableRec& t, int seat, TPlayer& p) {
    t.Seat[seat] = &p;
    MarkTableUsed(t);
    int stage = RoundOf(t);
    p.Tables[stage] = &t;
    p.Seats[stage] = seat;
}

// Seats n entries two by two in the first round and closes sign-ups.
inline void SignUpAndClose(TTourneyState& s, int n, bool team, TDateTime now) {
    s.TeamMode = team;
    for (int i = 0; i < n; ++i) {
        std::string a = "Player" + std::to_string(i);
        TPlayer& p =
            team ? AddEntry(s, a + "/Mate" + std::to_string(i), a, "Mate" + std::to_string(i))
                 : AddEntry(s, a);
        SeatAt(s.Winners[0].Tables[i / 2], i % 2, p);
    }
    s.Winners[0].TableCount = (n + 1) / 2;
    s.Winners[0].HasBye = n % 2 != 0;
    s.OneLoss[0].TableCount = 0;
    s.OneLoss[0].HasBye = false;
    s.Started = s.SignupClosed = true;
    s.StartedAt = s.ClosedAt = now;
    for (int i = 0; i < n / 2; ++i)
        s.Winners[0].Tables[i].StartTime = now;
    UpdateFullTableCount(s);
}

inline bool Seat(TTourneyState& s, TBracketKind b, int r, TPlayer& p, TDateTime now) {
    if (r >= MaxRounds) return false;
    TRoundRec& round = s.Bracket(b)[r];
    for (int i = 0; i < round.TableCount; ++i) {
        TTableRec& t = round.Tables[i];
        for (int seat = 0; seat < 2; ++seat) {
            if (t.Seat[seat]) continue;
            SeatAt(t, seat, p);
            if (t.Full()) t.StartTime = now;
            return true;
        }
    }
    return false;
}

// Decides one open table at random; false when none is left before the finals.
inline bool PlayOneMatch(TTourneyState& s, std::mt19937& rng, TDateTime now) {
    std::vector<TTableRec*> open;
    for (int b = 0; b < s.BracketCount(); ++b) {
        auto kind = static_cast<TBracketKind>(b);
        int stop = kind == TBracketKind::Winners   ? s.WinnersFinalRound
                   : kind == TBracketKind::OneLoss ? s.OneLossFinalRound
                                                   : s.TwoLossFinalRound;
        for (int r = 0; r < stop; ++r) {
            TRoundRec& round = s.Bracket(kind)[r];
            for (int i = 0; i < round.TableCount; ++i) {
                TTableRec& t = round.Tables[i];
                bool bye = round.HasBye && i == round.TableCount - 1 && t.Seat[0] && !t.Seat[1];
                if (t.Result == 0 && (t.Full() || bye)) open.push_back(&t);
            }
        }
    }
    if (open.empty()) return false;
    TTableRec& t = *open[rng() % open.size()];
    t.Result = t.Full() ? 1 + static_cast<int>(rng() % 2) : 1;
    t.EndTime = now;
    TBracketKind b = BracketOf(t);
    int r = RoundOf(t);
    TPlayer* winner = t.Winner();
    TPlayer* loser = t.Loser();
    Seat(s, b, r + 1, *winner, now);
    if (loser && static_cast<int>(b) + 1 < s.BracketCount())
        Seat(s, static_cast<TBracketKind>(static_cast<int>(b) + 1), r + 1, *loser, now);
    UpdateFullTableCount(s);
    return true;
}

}  // namespace kestrova::testing
