#pragma once
// Tournaments played through the engine with fixed times and known results,
// for the reports' tests and golden files.
#include <string>

#include "engine/play_helpers.h"

namespace kestrova::testing {

// Signs up `names` (seated two per table), presses All Start at 20:00 on
// 5 Dec 2026 and closes; then plays every decidable table, one every three
// minutes (a table starts when it fills and ends at its result): the first
// playable table, won by the entry signed up first, except that every
// `upsetEvery`-th result (0: never) goes to the other seat. Stops when the
// grand final is decided or after `results` results (-1: no limit).
void PlayKnownTourney(TTourneyState& s, FakeWorld& w, TElimFormat format,
                      const std::vector<std::string>& names, int upsetEvery, int results = -1);
// Host texts, e-mails and format name used by the golden reports.
void SetReportTexts(TTourneyState& s);

}  // namespace kestrova::testing
