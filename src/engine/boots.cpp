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
    s.View().RedrawAll();
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

}  // namespace kestrova
