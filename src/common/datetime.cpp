#include "common/datetime.h"

#include <cmath>

#include "common/text.h"

namespace kestrova {

namespace {
// Days from 1899-12-30 using the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;  // days since 1970-01-01
}
constexpr long long kEpochOffset = 25569;  // 1970-01-01 as days since 1899-12-30

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}
}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int ms) {
    long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                     kEpochOffset;
    double frac = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + ms) / 86400000.0;
    return static_cast<double>(days) + frac;
}

TDateParts DecodeDateTime(TDateTime t) {
    TDateParts p;
    if (!std::isfinite(t) || std::fabs(t) > 3e6) return p;
    long long totalMs = std::llround(t * 86400000.0);
    long long days = totalMs >= 0 ? totalMs / 86400000 : -((-totalMs + 86399999) / 86400000);
    long long msOfDay = totalMs - days * 86400000;
    CivilFromDays(days - kEpochOffset, p.Year, p.Month, p.Day);
    p.Hour = static_cast<int>(msOfDay / 3600000);
    p.Minute = static_cast<int>(msOfDay / 60000 % 60);
    p.Second = static_cast<int>(msOfDay / 1000 % 60);
    p.Millisecond = static_cast<int>(msOfDay % 1000);
    long long dow = (days + 6) % 7;  // 1899-12-30 was a Saturday
    if (dow < 0) dow += 7;
    p.DayOfWeek = static_cast<int>(dow);
    return p;
}

long long SecondsBetween(TDateTime later, TDateTime earlier) {
    return std::llround((later - earlier) * SecondsPerDay);
}

std::string FormatDuration(long long units) {
    if (units < 0) units = 0;
    return Format("%lld:%.2lld", units / 60, units % 60);
}

namespace {
size_t CountRun(std::string_view p, size_t i) {
    size_t n = 1;
    char c = LowerChar(p[i]);
    while (i + n < p.size() && LowerChar(p[i + n]) == c) ++n;
    return n;
}

bool PatternHasAmPm(std::string_view pattern) {
    return ContainsText(pattern, "am/pm") || ContainsText(pattern, "a/p");
}

void FormatInto(std::string& out, std::string_view p, const TDateParts& d,
                const TLocaleInfo& loc, int depth) {
    bool twelve = PatternHasAmPm(p);
    size_t i = 0;
    while (i < p.size()) {
        char c = p[i];
        char lc = LowerChar(c);
        if (c == '"' || c == '\'') {
            size_t end = p.find(c, i + 1);
            if (end == std::string_view::npos) end = p.size();
            out.append(p.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (lc == 'a' && StartsWithText(p.substr(i), "am/pm")) {
            std::string s = d.Hour < 12 ? "AM" : "PM";
            out += (c == 'a') ? LowerCase(s) : s;
            i += 5;
            continue;
        }
        if (lc == 'a' && StartsWithText(p.substr(i), "a/p")) {
            out += d.Hour < 12 ? (c == 'a' ? "a" : "A") : (c == 'a' ? "p" : "P");
            i += 3;
            continue;
        }
        size_t n = CountRun(p, i);
        switch (lc) {
            case 'd':
                if (n == 1) out += IntToStr(d.Day);
                else if (n == 2) out += Format("%02d", d.Day);
                else if (n == 3) out += loc.LongDayNames[d.DayOfWeek].substr(0, 3);
                else out += loc.LongDayNames[d.DayOfWeek];
                break;
            case 'm':
                if (n == 1) out += IntToStr(d.Month);
                else if (n == 2) out += Format("%02d", d.Month);
                else out += loc.ShortMonthNames[d.Month - 1];
                break;
            case 'y':
                if (n <= 2) out += Format("%02d", d.Year % 100);
                else out += Format("%04d", d.Year);
                break;
            case 'h': {
                int h = d.Hour;
                if (twelve) {
                    h %= 12;
                    if (h == 0) h = 12;
                }
                out += n >= 2 ? Format("%02d", h) : IntToStr(h);
                break;
            }
            case 'n':
                out += n >= 2 ? Format("%02d", d.Minute) : IntToStr(d.Minute);
                break;
            case 's':
                out += n >= 2 ? Format("%02d", d.Second) : IntToStr(d.Second);
                break;
            case 'z':
                out += Format("%03d", d.Millisecond);
                break;
            case 't':
                if (depth < 2) FormatInto(out, n >= 2 ? loc.LongTimePattern : loc.ShortTimePattern,
                                          d, loc, depth + 1);
                break;
            case 'c':
                if (depth < 2) {
                    FormatInto(out, loc.ShortDatePattern, d, loc, depth + 1);
                    out += ' ';
                    FormatInto(out, loc.LongTimePattern, d, loc, depth + 1);
                }
                break;
            default:
                out.append(p.substr(i, n));
                break;
        }
        i += n;
    }
}
}  // namespace

std::string FormatDateTime(std::string_view pattern, TDateTime t, const TLocaleInfo& locale) {
    std::string out;
    FormatInto(out, pattern, DecodeDateTime(t), locale, 0);
    return out;
}

}  // namespace kestrova
