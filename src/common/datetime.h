#pragma once
// TDateTime helpers: days since 1899-12-30, durations and date/time patterns.
#include <string>
#include <string_view>

#include "common/types.h"

namespace kestrova {

// Locale facts the patterns need; the application fills it from the system,
// tests fix it.
struct TLocaleInfo {
    std::string ShortTimePattern = "h:nn AM/PM";  // the "t" pattern
    std::string LongTimePattern = "h:nn:ss AM/PM";
    std::string ShortDatePattern = "m/d/yyyy";
    std::string ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string LongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                   "Thursday", "Friday", "Saturday"};
};

struct TDateParts {
    int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int DayOfWeek = 6;  // 0 Sunday .. 6 Saturday
};

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0, int ms = 0);
TDateParts DecodeDateTime(TDateTime t);

// Seconds between two date-times, rounded to the nearest whole second.
long long SecondsBetween(TDateTime later, TDateTime earlier);
constexpr double SecondsPerDay = 86400.0;

// "%d:%.2d" of (value div 60, value mod 60): minutes:seconds or hours:minutes.
std::string FormatDuration(long long units);

// Formats a date-time with a pattern: d dd ddd dddd m mm mmm mmmm yy yyyy h hh
// n nn s ss z, AM/PM and am/pm, "t" (short time), "c", '/' and ':' as they
// stand, and text in double or single quotes taken literally.
std::string FormatDateTime(std::string_view pattern, TDateTime t, const TLocaleInfo& locale);

}  // namespace kestrova
