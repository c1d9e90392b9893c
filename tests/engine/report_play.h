#pragma once
// Tournaments played through the engine with fixed times and known results,
// for the reports' tests and golden files.
#include <string>

#include "engine/play_helpers.h"

namespace kestrova::testing {

// Signs up `names` (seated two per table; an empty name keeps the one
// SeatEntries gives), presses All Start at 20:00 on 5 Dec 2026 and closes;
// then plays as PlayInSignupOrder does, one result every three minutes (a
// table starts when it fills and ends at its result).
void PlayKnownTourney(TTourneyState& s, FakeWorld& w, TElimFormat format,
                      const std::vector<std::string>& names, int upsetEvery, int results = -1);
// Host texts, e-mails and format name used by the golden reports.
void SetReportTexts(TTourneyState& s);

}  // namespace kestrova::testing
