#include "records/tourney_file.h"

#include "engine/status.h"

namespace kestrova {

// Placeholder until the file layer lands: keeps the save call sites honest.
void SaveTourney(TTourneyState& s) { UpdatePlayerState(s); }
bool ReadTourney(TTourneyState&, const std::string&) { return false; }
void OpenTourney(TTourneyState& s, const std::string& path) { ReadTourney(s, path); }
void AddRecentTourney(TTourneyState&, const std::string&) {}
void SaveTourneyAs(TTourneyState& s, const std::string& path) {
    s.TourneyPath = path;
    SaveTourney(s);
}

}  // namespace kestrova
