#include "records/recent_files.h"

#include <algorithm>

#include "common/text.h"
#include "model/tourney_state.h"
#include "records/confirm.h"

namespace kestrova {

void PushRecentPath(std::vector<std::string>& list, const std::string& path) {
    if (path.empty()) return;
    std::erase_if(list, [&](const std::string& p) { return SameText(p, path); });
    list.insert(list.begin(), path);
    if (list.size() > RecentTourneysMax) list.resize(RecentTourneysMax);
}

void AddRecentTourney(TTourneyState& s, const std::string& path) {
    PushRecentPath(s.Settings.RecentTourneys, path);
    SaveSettings(s);
}

}  // namespace kestrova
