#include "timing/time_zone_fit.h"

#include <cmath>

#include "common/datetime.h"

namespace kestrova {

namespace {

constexpr double OneSecond = 1.0 / 86400.0;

int DaysInMonth(int year, int month) {
    const TDateTime first = EncodeDateTime(year, month, 1);
    const TDateTime next = month == 12 ? EncodeDateTime(year + 1, 1, 1)
                                       : EncodeDateTime(year, month + 1, 1);
    return static_cast<int>(std::lround(next - first));
}

// The transition date of one instant, in local standard time; the
// occurrence as counted, and whether "last in the month" names it too.
TSystemTime DateOf(TDateTime utc, int32_t standardOffsetSeconds, bool& couldBeLast) {
    const TDateParts p = DecodeDateTime(utc + standardOffsetSeconds / 86400.0 + OneSecond / 2);
    TSystemTime d;
    d.Month = static_cast<uint16_t>(p.Month);
    d.DayOfWeek = static_cast<uint16_t>(p.DayOfWeek);
    d.Day = static_cast<uint16_t>((p.Day - 1) / 7 + 1);
    d.Hour = static_cast<uint16_t>(p.Hour);
    d.Minute = static_cast<uint16_t>(p.Minute);
    d.Second = static_cast<uint16_t>(p.Second);
    couldBeLast = p.Day + 7 > DaysInMonth(p.Year, p.Month);
    return d;
}

std::vector<TSystemTime> Candidates(TSystemTime d, bool couldBeLast) {
    std::vector<TSystemTime> out{d};
    if (couldBeLast && d.Day != 5) {
        d.Day = 5;
        out.insert(out.begin(), d);  // "last" is the likelier rule
    }
    return out;
}

bool SameInstant(TDateTime a, TDateTime b) {
    return std::fabs(a - b) < OneSecond / 2;
}

// Whether the rule gives exactly these transitions, year by year.
bool Reproduces(const TTimeZoneRule& rule, const std::vector<TZoneTransition>& all, int firstYear,
                int lastYear) {
    for (int year = firstYear; year <= lastYear; ++year) {
        const TDateTime s = TransitionInstant(rule.StandardDate, year, rule.Bias);
        const TDateTime d = TransitionInstant(rule.DaylightDate, year, rule.Bias);
        int found = 0;
        for (const TZoneTransition& t : all) {
            if (DecodeDateTime(t.Utc).Year != year) continue;
            if (!SameInstant(t.Utc, t.DaylightAfter ? d : s)) return false;
            ++found;
        }
        if (found != 2) return false;
    }
    return true;
}

}  // namespace

TTimeZoneRule FixedOffsetRule(int32_t offsetSeconds) {
    TTimeZoneRule r;
    r.Bias = -offsetSeconds / 60;
    return r;
}

std::optional<TTimeZoneRule> FitTziRule(int32_t standardOffsetSeconds,
                                        const std::vector<TZoneTransition>& transitions,
                                        int firstYear, int lastYear) {
    if (standardOffsetSeconds % 60 != 0) return std::nullopt;
    if (transitions.empty()) return FixedOffsetRule(standardOffsetSeconds);
    const TZoneTransition* into = nullptr;
    const TZoneTransition* outOf = nullptr;
    for (const TZoneTransition& t : transitions) {
        if (t.StandardAfter != standardOffsetSeconds) return std::nullopt;
        if (DecodeDateTime(t.Utc).Year != firstYear) continue;
        (t.DaylightAfter ? into : outOf) = &t;
    }
    if (!into || !outOf) return std::nullopt;
    for (const TZoneTransition& t : transitions)
        if (t.DaylightAfter && t.OffsetAfter != into->OffsetAfter) return std::nullopt;
    const int32_t saved = into->OffsetAfter - standardOffsetSeconds;
    if (saved % 60 != 0 || saved == 0) return std::nullopt;

    TTimeZoneRule rule = FixedOffsetRule(standardOffsetSeconds);
    rule.DaylightBias = -saved / 60;
    bool lastS = false, lastD = false;
    const TSystemTime s = DateOf(outOf->Utc, standardOffsetSeconds, lastS);
    const TSystemTime d = DateOf(into->Utc, standardOffsetSeconds, lastD);
    for (const TSystemTime& sc : Candidates(s, lastS))
        for (const TSystemTime& dc : Candidates(d, lastD)) {
            rule.StandardDate = sc;
            rule.DaylightDate = dc;
            if (Reproduces(rule, transitions, firstYear, lastYear)) return rule;
        }
    return std::nullopt;
}

}  // namespace kestrova
