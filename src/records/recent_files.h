#pragma once
// The "Recent tourneys" list: at most five paths, newest first.
#include <string>
#include <vector>

namespace kestrova {

class TTourneyState;

constexpr size_t RecentTourneysMax = 5;

// Puts the path at the top; an entry equal to it without regard to letter case
// moves up instead of appearing twice, and the oldest beyond five drops out.
void PushRecentPath(std::vector<std::string>& list, const std::string& path);
// PushRecentPath on the recent tourneys of the settings, which are then saved.
void AddRecentTourney(TTourneyState& s, const std::string& path);

}  // namespace kestrova
