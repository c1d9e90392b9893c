#pragma once
// A tournament seated by hand for the file tests: n entries two by two in
// the first round, sign-ups closed, every first-round table started.
#include "engine/table_count.h"
#include "model/tourney_state.h"

namespace kestrova::testing {

inline void SignUpAndClose(TTourneyState& s, int n, bool team, TDateTime now) {
    s.TeamMode = team;
    for (int i = 0; i < n; ++i) {
        auto p = std::make_unique<TPlayer>();
        p->Name = "Player" + std::to_string(i);
        if (team) {
            p->Player1 = p->Name;
            p->Player2 = "Mate" + std::to_string(i);
            p->Name += "/" + p->Player2;
        }
        TTableRec& t = s.Winners[0].Tables[i / 2];
        t.Seat[i % 2] = p.get();
        MarkTableUsed(t);
        p->Tables[0] = &t;
        p->Seats[0] = i % 2;
        s.Players.push_back(std::move(p));
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

}  // namespace kestrova::testing
