#include "timing/world_clock.h"

#include <stdexcept>

#include "common/datetime.h"
#include "model/tourney_state.h"

namespace kestrova {

namespace {

TDateTime UtcNow(TTourneyState& s) {
    return s.Ports.Clock ? s.Ports.Clock->UtcNow() : s.Now();
}

// One side's clock, or bias 0 and no pattern when the zone is not stored.
TZoneClock LoadOne(ITimeZoneStore& store, const std::string& key, bool hours24,
                   const TLocalZoneInfo& local, TDateTime utcNow) {
    if (key.empty()) return {};
    std::optional<TTimeZoneRecord> record = store.Find(key);
    if (!record) return {};
    std::optional<TTimeZoneInfo> zone = ZoneInfoFromRecord(*record);
    if (!zone) throw std::runtime_error("The rule of time zone " + key + " is damaged.");
    return ZoneClock(*zone, hours24, local, utcNow);
}

}  // namespace

TZoneClock ZoneClock(const TTimeZoneInfo& zone, bool hours24, const TLocalZoneInfo& local,
                     TDateTime utcNow) {
    const TZoneBias bias = ZoneBias(zone.Rule, local, utcNow);
    TZoneClock clock;
    clock.BiasMinutes = bias.Days * 1440.0;
    const std::string& name = bias.Daylight ? zone.DltAbbrev : zone.StdAbbrev;
    clock.Pattern = "\" " + name + ": \"" + (hours24 ? "hh:nn" : "h:nn am/pm");
    return clock;
}

void LoadZoneClocks(TTourneyState& s) {
    s.MiddleZoneBias = s.RightZoneBias = 0;
    s.MiddleClockFormat.clear();
    s.RightClockFormat.clear();
    ITimeZoneStore* store = s.Ports.TimeZones;
    if (!store) return;
    const TAppSettings& a = s.Settings;
    try {
        const TLocalZoneInfo local = store->LocalZone();
        const TDateTime utc = UtcNow(s);
        TZoneClock middle = LoadOne(*store, a.MiddleTimeZone, a.MiddleTime24Hour, local, utc);
        s.MiddleZoneBias = middle.BiasMinutes;
        s.MiddleClockFormat = middle.Pattern;
        TZoneClock right = LoadOne(*store, a.RightTimeZone, a.RightTime24Hour, local, utc);
        s.RightZoneBias = right.BiasMinutes;
        s.RightClockFormat = right.Pattern;
    } catch (const std::exception&) {
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, "Error getting time-zone information");
    }
}

TDateTime MiddleZoneTime(TTourneyState& s) {
    return s.Now() - s.MiddleZoneBias / 1440.0;
}

TDateTime RightZoneTime(TTourneyState& s) {
    return s.Now() - s.RightZoneBias / 1440.0;
}

std::array<std::string, 3> ClockPanelTexts(TTourneyState& s) {
    return {FormatDateTime("\" Local: \"t", s.Now(), s.Locale),
            FormatDateTime(s.MiddleClockFormat, MiddleZoneTime(s), s.Locale),
            FormatDateTime(s.RightClockFormat, RightZoneTime(s), s.Locale)};
}

}  // namespace kestrova
