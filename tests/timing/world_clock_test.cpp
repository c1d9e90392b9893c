// The world clock: the rules worked by hand in tests/data/timing/zones.txt
// (initials, transitions, US, southern, no daylight saving, impossible
// dates), the TZI bytes, fitting tz transitions to the TZI form, and
// LoadZoneClocks with its patterns, tokens and failures.
#include <gtest/gtest.h>

#include "common/datetime.h"
#include <cstdio>
#include <sstream>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "formats/messages.h"
#include "model/tourney_state.h"
#include "timing/time_zone.h"
#include "timing/time_zone_fit.h"
#include "timing/world_clock.h"

namespace kestrova {
namespace {

TSystemTime Date(int month, int weekday, int occurrence, int hour) {
    TSystemTime d;
    d.Month = static_cast<uint16_t>(month);
    d.DayOfWeek = static_cast<uint16_t>(weekday);
    d.Day = static_cast<uint16_t>(occurrence);
    d.Hour = static_cast<uint16_t>(hour);
    return d;
}

// US rules: daylight from the second Sunday of March, standard from the first
// Sunday of November, both at 2:00.
TTimeZoneRule Us(int bias) {
    return {bias, 0, -60, Date(11, 0, 1, 2), Date(3, 0, 2, 2)};
}
// A southern zone: daylight from the first Sunday of October to the first
// Sunday of April.
const TTimeZoneRule Sydney{-600, 0, -60, Date(4, 0, 1, 3), Date(10, 0, 1, 2)};
const TTimeZoneRule Tokyo{-540, 0, 0, {}, {}};

const TLocalZoneInfo EasternStandard{300, 0, -60, TLocalZoneInfo::TState::Standard};
const TLocalZoneInfo EasternDaylight{300, 0, -60, TLocalZoneInfo::TState::Daylight};


TSystemTime DateOf(const std::string& text) {  // "MONTH/WEEKDAY/OCCURRENCE/HOUR" or "-"
    TSystemTime d;
    if (text == "-") return d;
    int v[4] = {};
    std::sscanf(text.c_str(), "%d/%d/%d/%d", &v[0], &v[1], &v[2], &v[3]);
    d.Month = static_cast<uint16_t>(v[0]);
    d.DayOfWeek = static_cast<uint16_t>(v[1]);
    d.Day = static_cast<uint16_t>(v[2]);
    d.Hour = static_cast<uint16_t>(v[3]);
    return d;
}

TDateTime InstantOf(const std::string& text) {  // "YYYY-MM-DD HH:NN"
    int y = 0, m = 0, d = 0, h = 0, n = 0;
    std::sscanf(text.c_str(), "%d-%d-%d %d:%d", &y, &m, &d, &h, &n);
    return EncodeDateTime(y, m, d, h, n);
}

TEST(ZoneRules, EachCaseWorksOutAsWritten) {
    for (const testing::TCase& c : testing::ReadCases("timing/zones.txt")) {
        TLocalZoneInfo local;
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(c.Where() + ": " + key + " = " + value);
            const auto [in, want] = key == "local" ? std::pair(value, std::string()) : testing::Arrow(value);
            std::istringstream words(in);
            if (key == "local") {
                std::string state;
                words >> local.Bias >> local.StandardBias >> local.DaylightBias >> state;
                local.State = state == "standard"  ? TLocalZoneInfo::TState::Standard
                              : state == "daylight" ? TLocalZoneInfo::TState::Daylight
                                                    : TLocalZoneInfo::TState::Unknown;
            } else if (key == "initials") {
                EXPECT_EQ(ZoneInitials(in), want);
            } else if (key == "transition") {
                std::string date;
                int year = 0, bias = 0;
                words >> date >> year >> bias;
                EXPECT_NEAR(TransitionInstant(DateOf(date), year, bias), InstantOf(want), 1.0 / 86400000);
            } else if (key == "bias") {
                TTimeZoneRule r;
                std::string standard, daylight, at;
                words >> r.Bias >> r.StandardBias >> r.DaylightBias >> standard >> daylight >> at;
                r.StandardDate = DateOf(standard);
                r.DaylightDate = DateOf(daylight);
                const TZoneBias b = ZoneBias(r, local, InstantOf(in.substr(in.find(" at ") + 4)));
                char shown[40];
                std::snprintf(shown, sizeof shown, "%.0f %s", b.Days * 1440, b.Daylight ? "daylight" : "standard");
                EXPECT_EQ(shown, want);
            } else {
                ADD_FAILURE() << "unknown field";
            }
        }
    }
}

TEST(Tzi, FortyFourLittleEndianBytesBothWays) {
    const TTimeZoneRule us = Us(300);
    const std::string bytes = EncodeTzi(us);
    ASSERT_EQ(bytes.size(), TziSize);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x2c\x01\x00\x00", 4));  // 300
    EXPECT_EQ(bytes.substr(8, 4), std::string("\xc4\xff\xff\xff", 4));  // -60
    EXPECT_EQ(bytes.substr(14, 2), std::string("\x0b\x00", 2));         // November
    const auto back = DecodeTzi(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(EncodeTzi(*back), bytes);
    EXPECT_FALSE(DecodeTzi(bytes.substr(0, 43)));
    EXPECT_FALSE(DecodeTzi(bytes + "x"));
}

TEST(FitTziRule, UsTransitionsBecomeTheUsRule) {
    // New York, 2026 and 2027 (seconds east of UTC: -18000 standard).
    const std::vector<TZoneTransition> t = {
        {EncodeDateTime(2026, 3, 8, 7, 0), -14400, -18000, true},
        {EncodeDateTime(2026, 11, 1, 6, 0), -18000, -18000, false},
        {EncodeDateTime(2027, 3, 14, 7, 0), -14400, -18000, true},
        {EncodeDateTime(2027, 11, 7, 6, 0), -18000, -18000, false},
    };
    const auto rule = FitTziRule(-18000, t, 2026, 2027);
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->Bias, 300);
    EXPECT_EQ(rule->DaylightBias, -60);
    EXPECT_EQ(rule->DaylightDate.Month, 3);
    EXPECT_EQ(rule->DaylightDate.Day, 2);
    EXPECT_EQ(rule->DaylightDate.Hour, 2);
    EXPECT_EQ(rule->StandardDate.Month, 11);
    EXPECT_EQ(rule->StandardDate.Day, 1);
    EXPECT_EQ(rule->StandardDate.Hour, 1);  // 2:00 daylight time is 1:00 standard time
    // A year that breaks the pattern does not fit; nor does a lone transition.
    auto moved = t;
    moved[2].Utc += 7;
    EXPECT_FALSE(FitTziRule(-18000, moved, 2026, 2027));
    EXPECT_FALSE(FitTziRule(-18000, {t[0]}, 2026, 2026));
    // No transitions: the standard offset alone.
    const auto fixed = FitTziRule(19800, {}, 2026, 2027);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->Bias, -330);
    EXPECT_FALSE(HasDaylightRule(*fixed));
}

TEST(FitTziRule, TheLastSundayIsPreferredWhereBothFit) {
    // London: the last Sundays of March and October, 1:00 UTC.
    const std::vector<TZoneTransition> t = {
        {EncodeDateTime(2026, 3, 29, 1, 0), 3600, 0, true},
        {EncodeDateTime(2026, 10, 25, 1, 0), 0, 0, false},
        {EncodeDateTime(2027, 3, 28, 1, 0), 3600, 0, true},
        {EncodeDateTime(2027, 10, 31, 1, 0), 0, 0, false},
    };
    const auto rule = FitTziRule(0, t, 2026, 2027);
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->DaylightDate.Day, 5);
    EXPECT_EQ(rule->StandardDate.Day, 5);
}

// ---- LoadZoneClocks

TTimeZoneRecord Record(const std::string& key, const TTimeZoneRule& rule, const char* std,
                       const char* dlt) {
    return {key, "(" + key + ")", dlt, std, EncodeTzi(rule), false};
}

struct ClockWorld {
    testing::FakeWorld world;
    testing::FakeTimeZoneStore zones;
    TTourneyState s;
    ClockWorld() {
        world.Wire(s);
        s.Ports.TimeZones = &zones;
        zones.Local = EasternStandard;
        zones.Records = {
            Record("America/Los_Angeles", Us(480), "Pacific Standard Time", "Pacific Daylight Time"),
            Record("Asia/Tokyo", Tokyo, "Tokyo Standard Time", "Tokyo Daylight Time"),
            Record("Australia/Sydney", Sydney, "AUS Eastern Standard Time",
                   "AUS Eastern Daylight Time")};
        world.Clock.Time = EncodeDateTime(2026, 1, 15, 17, 5);
        s.Settings.MiddleTimeZone = "America/Los_Angeles";
        s.Settings.RightTimeZone = "Australia/Sydney";
    }
};

TEST(LoadZoneClocks, PatternsAndPanelsFromTheSettings) {
    ClockWorld w;
    LoadZoneClocks(w.s);
    EXPECT_DOUBLE_EQ(w.s.MiddleZoneBias, 180);
    EXPECT_EQ(w.s.MiddleClockFormat, "\" PST: \"h:nn am/pm");
    EXPECT_DOUBLE_EQ(w.s.RightZoneBias, -960);
    EXPECT_EQ(w.s.RightClockFormat, "\" AEDT: \"h:nn am/pm");
    auto panels = ClockPanelTexts(w.s);
    EXPECT_EQ(panels[0], " Local: 5:05 PM");
    EXPECT_EQ(panels[1], " PST: 2:05 pm");
    EXPECT_EQ(panels[2], " AEDT: 9:05 am");
    EXPECT_EQ(MiddleZoneTime(w.s), EncodeDateTime(2026, 1, 15, 14, 5));

    w.s.Settings.MiddleTime24Hour = true;
    w.s.Settings.RightTimeZone = "Asia/Tokyo";
    w.s.Settings.RightTime24Hour = true;
    LoadZoneClocks(w.s);
    panels = ClockPanelTexts(w.s);
    EXPECT_EQ(panels[1], " PST: 14:05");
    EXPECT_EQ(panels[2], " TST: 07:05");
    // The tokens %e and %w give the same two times.
    EXPECT_EQ(ExpandMessage(w.s, "%e / %w", w.s.MsgParams), "2:05 PM / 7:05 AM");
    EXPECT_TRUE(w.world.Dialogs.Messages.empty());
}

TEST(LoadZoneClocks, AZoneThatIsNotStoredKeepsBiasZeroAndAnEmptyPattern) {
    ClockWorld w;
    w.s.Settings.MiddleTimeZone = "Eastern Standard Time";  // a name from another store
    w.s.Settings.RightTimeZone = "";
    LoadZoneClocks(w.s);
    EXPECT_EQ(w.s.MiddleZoneBias, 0);
    EXPECT_EQ(w.s.MiddleClockFormat, "");
    EXPECT_EQ(w.s.RightClockFormat, "");
    EXPECT_EQ(ClockPanelTexts(w.s)[1], "");
    EXPECT_TRUE(w.world.Dialogs.Messages.empty());
    // Without any store: the same.
    w.s.Ports.TimeZones = nullptr;
    LoadZoneClocks(w.s);
    EXPECT_EQ(w.s.RightClockFormat, "");
}

TEST(LoadZoneClocks, AFailingStoreWarnsAndKeepsWhatWasComputed) {
    ClockWorld w;
    w.zones.Records[2].Tzi.resize(40);  // Sydney's rule is damaged
    LoadZoneClocks(w.s);
    EXPECT_EQ(w.world.Dialogs.Messages,
              std::vector<std::string>{"Error getting time-zone information"});
    EXPECT_EQ(w.s.MiddleClockFormat, "\" PST: \"h:nn am/pm");
    EXPECT_EQ(w.s.RightClockFormat, "");

    ClockWorld v;
    v.zones.Fail = true;
    LoadZoneClocks(v.s);
    EXPECT_EQ(v.world.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(v.s.MiddleZoneBias, 0);
}

TEST(ReadZoneList, WesternmostFirstAndDamagedRecordsLeftOut) {
    ClockWorld w;
    w.zones.Records.push_back({"Bad/Zone", "bad", "", "", "short", false});
    const auto zones = ReadZoneList(w.zones);
    ASSERT_EQ(zones.size(), 3u);
    EXPECT_EQ(zones[0].KeyName, "America/Los_Angeles");
    EXPECT_EQ(zones[1].KeyName, "Asia/Tokyo");
    EXPECT_EQ(zones[2].KeyName, "Australia/Sydney");
    EXPECT_EQ(zones[0].StdAbbrev, "PST");
    EXPECT_EQ(zones[0].DltAbbrev, "PDT");
}

}  // namespace
}  // namespace kestrova
