#pragma once
// The world clock of the status bar: local time on the left, the middle and
// right zones chosen in the settings beside it. The same two zone times feed
// the %e and %w tokens.
#include <array>
#include <string>

#include "common/types.h"
#include "timing/time_zone.h"

namespace kestrova {

class TTourneyState;

// A zone's clock: its offset from local time and its pattern, e.g.
// "\" EST: \"h:nn am/pm" (the initials and colon are literal text).
struct TZoneClock {
    double BiasMinutes = 0;
    std::string Pattern;
};
TZoneClock ZoneClock(const TTimeZoneInfo& zone, bool hours24, const TLocalZoneInfo& local,
                     TDateTime utcNow);

// Both zone biases and patterns from the settings (after start-up and after
// the zone dialog). A zone the store does not hold keeps bias 0 and an empty
// pattern; a store that fails shows "Error getting time-zone information"
// and keeps what was computed before.
void LoadZoneClocks(TTourneyState& s);

TDateTime MiddleZoneTime(TTourneyState& s);
TDateTime RightZoneTime(TTourneyState& s);

// The three status-bar panels: " Local: " and the short time, then the two
// zone clocks (empty while a zone has no pattern).
std::array<std::string, 3> ClockPanelTexts(TTourneyState& s);

}  // namespace kestrova
