#include "engine/boots.h"

#include <algorithm>
#include <cmath>

#include "records/event_log.h"

namespace kestrova {

void EndBoot(TTourneyState& s, TPlayer& p) {
    if (std::fabs(s.Now() - p.BootStart) > 0.0001) p.BootCount += 1;
    WriteLog(s, "    -> Boot returned: " + p.Name);
    ForgetBoot(s, &p);
    p.BootStart = 0;
    ShowBootButtons(s, p, BootCountCaption(p), true);
}

void ForgetBoot(TTourneyState& s, const TPlayer* p) {
    s.ActiveBoots.erase(std::remove(s.ActiveBoots.begin(), s.ActiveBoots.end(), p),
                        s.ActiveBoots.end());
}

void RebuildActiveBoots(TTourneyState& s) {
    std::vector<TPlayer*> kept;
    for (TPlayer* p : s.ActiveBoots) {
        bool alive = std::any_of(s.Players.begin(), s.Players.end(),
                                 [p](const auto& q) { return q.get() == p; });
        if (alive && p->BootStart != 0) kept.push_back(p);
    }
    for (auto& q : s.Players)
        if (q->BootStart != 0 && std::find(kept.begin(), kept.end(), q.get()) == kept.end())
            kept.push_back(q.get());
    s.ActiveBoots = std::move(kept);
}

std::string BootCountCaption(const TPlayer& p) {
    return p.BootCount >= 1 ? std::to_string(p.BootCount) : std::string();
}

void ShowBootButtons(TTourneyState& s, const TPlayer& p, const std::string& caption, bool icon) {
    for (int b = 0; b < s.BracketCount(); ++b) {
        const auto kind = static_cast<TBracketKind>(b);
        const int shown = s.SelectedTab[b] + b;
        if (shown < 0 || shown >= MaxRounds) continue;
        const TRoundRec& round = s.Bracket(kind)[shown];
        for (int k = 0; k < MaxStages; ++k) {
            const TTableRec* t = p.Tables[k];
            if (!t || t->Round != &round) continue;
            const int seat = SeatOf(*t, &p);
            if (seat >= 0) s.View().BootButtonChanged(kind, TableIndexOf(*t), seat, caption, icon);
            break;
        }
    }
}

void ClampTimingValues(TTourneyState& s) {
    for (int32_t& limit : s.MsgParams.TimeLimits)
        limit = std::clamp(limit, 0, MaxTimeLimit);
    s.BootTime = std::clamp(s.BootTime, MinBootTime, MaxBootTime);
}

}  // namespace kestrova
