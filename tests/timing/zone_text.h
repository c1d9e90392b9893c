#pragma once
// Time-zone rules and stored zones written as text, for the timing cases: a
// date "MONTH/WEEKDAY/OCCURRENCE/HOUR[:MINUTE:SECOND]" (weekday 0 is Sunday,
// occurrence 5 the last; "-" for none), a rule "BIAS STANDARD-BIAS DAYLIGHT-BIAS
// STANDARD-DATE DAYLIGHT-DATE" in minutes west of UTC, and a zone "KEY |
// STANDARD NAME | DAYLIGHT NAME | RULE", with " | fixed" when its offset is
// fixed. A zone's display is "(UTC+HH:00) KEY", as the system names them.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/text.h"
#include "timing/time_zone.h"

namespace kestrova::testing {

inline TSystemTime DateOf(const std::string& text) {
    TSystemTime d;
    std::sscanf(text.c_str(), "%hu/%hu/%hu/%hu:%hu:%hu", &d.Month, &d.DayOfWeek, &d.Day, &d.Hour,
                &d.Minute, &d.Second);
    return d;
}

inline TTimeZoneRule RuleOf(std::istream& words) {
    TTimeZoneRule r;
    std::string standard, daylight;
    words >> r.Bias >> r.StandardBias >> r.DaylightBias >> standard >> daylight;
    r.StandardDate = DateOf(standard);
    r.DaylightDate = DateOf(daylight);
    return r;
}

inline TTimeZoneRecord ZoneOf(const std::string& text) {
    std::vector<std::string> part;
    for (size_t from = 0, bar; from != std::string::npos;
         from = bar == std::string::npos ? bar : bar + 3)
        part.push_back(text.substr(from, (bar = text.find(" | ", from)) - from));
    std::istringstream words(part.at(3));
    const TTimeZoneRule rule = RuleOf(words);
    const std::string display = Format("(UTC%+03d:00) ", -rule.Bias / 60) + part[0];
    return {part[0], display, part[2], part[1], EncodeTzi(rule), part.size() > 4};
}

}  // namespace kestrova::testing
