#include "timing/time_zone.h"

#include <algorithm>

#include "common/datetime.h"

namespace kestrova {

namespace {

uint16_t Get16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) |
                                 (static_cast<uint8_t>(b[at + 1]) << 8));
}
int32_t Get32(std::string_view b, size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(Get16(b, at)) |
                                (static_cast<uint32_t>(Get16(b, at + 2)) << 16));
}
void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    Put16(out, static_cast<uint16_t>(u & 0xFFFF));
    Put16(out, static_cast<uint16_t>(u >> 16));
}

TSystemTime GetDate(std::string_view b, size_t at) {
    TSystemTime t;
    uint16_t* fields[] = {&t.Year, &t.Month,  &t.DayOfWeek, &t.Day,
                          &t.Hour, &t.Minute, &t.Second,    &t.Milliseconds};
    for (size_t i = 0; i < 8; ++i)
        *fields[i] = Get16(b, at + 2 * i);
    return t;
}
void PutDate(std::string& out, const TSystemTime& t) {
    for (uint16_t v : {t.Year, t.Month, t.DayOfWeek, t.Day, t.Hour, t.Minute, t.Second,
                       t.Milliseconds})
        Put16(out, v);
}

bool UsableDate(const TSystemTime& d) {
    return d.Month >= 1 && d.Month <= 12 && d.DayOfWeek <= 6 && d.Day >= 1 && d.Day <= 5 &&
           d.Hour <= 23 && d.Minute <= 59 && d.Second <= 59;
}

}  // namespace

std::optional<TTimeZoneRule> DecodeTzi(std::string_view b) {
    if (b.size() != TziSize) return std::nullopt;
    TTimeZoneRule r;
    r.Bias = Get32(b, 0);
    r.StandardBias = Get32(b, 4);
    r.DaylightBias = Get32(b, 8);
    r.StandardDate = GetDate(b, 12);
    r.DaylightDate = GetDate(b, 28);
    return r;
}

std::string EncodeTzi(const TTimeZoneRule& r) {
    std::string out;
    Put32(out, r.Bias);
    Put32(out, r.StandardBias);
    Put32(out, r.DaylightBias);
    PutDate(out, r.StandardDate);
    PutDate(out, r.DaylightDate);
    return out;
}

std::string ZoneInitials(std::string name) {
    // Positions are counted from 1, as the rule is written.
    for (size_t i = 2; name.size() >= i; ++i) {
        const size_t space = name.find(' ');
        const size_t last = space == std::string::npos ? name.size() : space + 1;
        if (last >= i) name.erase(i - 1, last - i + 1);
    }
    return name;
}

bool HasDaylightRule(const TTimeZoneRule& rule) {
    if (rule.StandardDate.Month == 0 || rule.DaylightDate.Month == 0) return false;
    return UsableDate(rule.StandardDate) && UsableDate(rule.DaylightDate);
}

TDateTime TransitionInstant(const TSystemTime& date, int year, int32_t bias) {
    TDateTime t = EncodeDateTime(year, date.Month, 1, date.Hour, date.Minute, date.Second);
    while (DecodeDateTime(t).DayOfWeek != date.DayOfWeek)
        t += 1;
    if (date.Day == 5) {
        while (DecodeDateTime(t + 7).Month == date.Month)
            t += 7;
    } else {
        t += 7.0 * (date.Day - 1);
    }
    return t + bias / 1440.0;
}

int32_t LocalBias(const TLocalZoneInfo& local) {
    switch (local.State) {
        case TLocalZoneInfo::TState::Standard: return local.Bias + local.StandardBias;
        case TLocalZoneInfo::TState::Daylight: return local.Bias + local.DaylightBias;
        case TLocalZoneInfo::TState::Unknown: break;
    }
    return local.Bias;
}

TZoneBias ZoneBias(const TTimeZoneRule& rule, const TLocalZoneInfo& local, TDateTime utcNow) {
    const int32_t lb = LocalBias(local);
    int32_t rb = rule.Bias;
    bool daylight = false;
    if (HasDaylightRule(rule)) {
        const int year = DecodeDateTime(utcNow).Year;
        const TDateTime s = TransitionInstant(rule.StandardDate, year, rule.Bias);
        const TDateTime d = TransitionInstant(rule.DaylightDate, year, rule.Bias);
        daylight = (s <= d && (utcNow < s || utcNow > d)) || (s > d && d <= utcNow && utcNow <= s);
        rb = rule.Bias + (daylight ? rule.DaylightBias : rule.StandardBias);
    }
    return {(rb - lb) / 1440.0, daylight};
}

std::optional<TTimeZoneInfo> ZoneInfoFromRecord(const TTimeZoneRecord& record) {
    std::optional<TTimeZoneRule> rule = DecodeTzi(record.Tzi);
    if (!rule) return std::nullopt;
    TTimeZoneInfo info;
    info.KeyName = record.KeyName;
    info.Display = record.Display;
    info.DltAbbrev = ZoneInitials(record.Dlt);
    info.StdAbbrev = ZoneInitials(record.Std);
    info.Rule = *rule;
    info.FixedOffset = record.FixedOffset;
    return info;
}

std::vector<TTimeZoneInfo> ReadZoneList(ITimeZoneStore& store) {
    std::vector<TTimeZoneInfo> zones;
    for (const std::string& key : store.KeyNames()) {
        std::optional<TTimeZoneRecord> record = store.Find(key);
        if (!record) continue;
        if (std::optional<TTimeZoneInfo> info = ZoneInfoFromRecord(*record))
            zones.push_back(std::move(*info));
    }
    std::stable_sort(zones.begin(), zones.end(), [](const auto& a, const auto& b) {
        if (a.Rule.Bias != b.Rule.Bias) return a.Rule.Bias > b.Rule.Bias;
        return a.Display < b.Display;
    });
    return zones;
}

}  // namespace kestrova
