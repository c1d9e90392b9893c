#pragma once
// Time zones for the world clock: the 44-byte "TZI" rule of the platform's
// time-zone store, a zone's offset from local time under that rule, and the
// initials shown before a zone's clock.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ports.h"
#include "common/types.h"

namespace kestrova {

// A transition date of a rule: month 0 means no daylight saving; DayOfWeek
// 0 is Sunday; Day is the occurrence 1 to 4, or 5 for the last in the month.
struct TSystemTime {
    uint16_t Year = 0, Month = 0, DayOfWeek = 0, Day = 0;
    uint16_t Hour = 0, Minute = 0, Second = 0, Milliseconds = 0;
};

// The "TZI" record, in its order: UTC = local standard time + Bias (minutes).
struct TTimeZoneRule {
    int32_t Bias = 0, StandardBias = 0, DaylightBias = 0;
    TSystemTime StandardDate, DaylightDate;
};

constexpr size_t TziSize = 44;
// Little-endian, as the registry stores it. Nothing unless exactly 44 bytes.
std::optional<TTimeZoneRule> DecodeTzi(std::string_view bytes);
std::string EncodeTzi(const TTimeZoneRule& rule);

// One zone known to the platform.
struct TTimeZoneInfo {
    std::string KeyName;    // the store's identifier
    std::string Display;    // shown in lists
    std::string DltAbbrev;  // initials of the daylight-time name
    std::string StdAbbrev;  // initials of the standard-time name
    TTimeZoneRule Rule;
    bool FixedOffset = false;  // its rule did not fit; the current offset alone
};

// The first character and the first character after each space:
// "Eastern Standard Time" gives "EST"; a hyphenated word is one word.
std::string ZoneInitials(std::string name);

// True when the rule has usable daylight-saving dates (months 1 to 12, day of
// week 0 to 6, occurrence 1 to 5, a time of day). A rule with month 0, or
// with dates that cannot be (month 13, occurrence 0 or 9), keeps its Bias alone.
bool HasDaylightRule(const TTimeZoneRule& rule);

// The instant (UTC) of a transition date in `year`, by the rule's Bias.
TDateTime TransitionInstant(const TSystemTime& date, int year, int32_t bias);

// The local zone's bias now (minutes): Bias plus the standard or daylight
// bias in force, Bias alone when the state is unknown.
int32_t LocalBias(const TLocalZoneInfo& local);

struct TZoneBias {
    double Days = 0;  // to subtract from local time to get the zone's time
    bool Daylight = false;
};
// The zone's offset from local time at the UTC instant `utcNow`.
TZoneBias ZoneBias(const TTimeZoneRule& rule, const TLocalZoneInfo& local, TDateTime utcNow);

// A store record as a TTimeZoneInfo; nothing when its TZI is not 44 bytes.
std::optional<TTimeZoneInfo> ZoneInfoFromRecord(const TTimeZoneRecord& record);

// Every zone of the store, westernmost (largest Bias) first; ties by display
// name. Records without a usable TZI are left out. Throws as the store does.
std::vector<TTimeZoneInfo> ReadZoneList(ITimeZoneStore& store);

}  // namespace kestrova
