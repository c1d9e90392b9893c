#pragma once
// Turning a zone of a tz database (transition instants and offsets) into the
// TZI form: the nth (or last) weekday of a month at a time of day, by which
// ZoneBias finds the zone's transitions. Time-zone stores without TZI rules
// of their own (the system's tz database) build their records with this.
#include <optional>
#include <vector>

#include "common/types.h"
#include "timing/time_zone.h"

namespace kestrova {

// One transition of a zone: its instant (UTC) and the offsets in force after
// it (seconds east of UTC).
struct TZoneTransition {
    TDateTime Utc = 0;
    int32_t OffsetAfter = 0;    // total offset from UTC
    int32_t StandardAfter = 0;  // the standard part of it
    bool DaylightAfter = false;
};

// The rule that, through ZoneBias, reproduces every transition given for the
// years firstYear to lastYear (each year one into daylight time and one out,
// with the same offsets), or nothing when no TZI rule does. A zone without
// transitions in those years gets a rule without daylight saving. The times
// of day are stored in local standard time, which is what ZoneBias adds the
// Bias to, so the computed instants are the zone's own.
std::optional<TTimeZoneRule> FitTziRule(int32_t standardOffsetSeconds,
                                        const std::vector<TZoneTransition>& transitions,
                                        int firstYear, int lastYear);

// A rule holding one fixed offset (seconds east of UTC), without daylight saving.
TTimeZoneRule FixedOffsetRule(int32_t offsetSeconds);

}  // namespace kestrova
