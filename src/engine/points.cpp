#include "engine/points.h"

#include <algorithm>

namespace kestrova {

void SelectMatchPointsTier(TTourneyState& s) {
    int t = s.GrandFinalRound - (s.ElimFormat == TElimFormat::Single ? 3 : 4);
    t = std::clamp(t, 0, 4);
    s.MsgParams.MatchPoints = s.MatchPointsTiers[t];
}

void ComputePlayerPoints(TTourneyState& s) {
    // Player points come with the points rules; until then every total is 0.
    for (auto& p : s.Players) p->Points = 0;
}

}  // namespace kestrova
