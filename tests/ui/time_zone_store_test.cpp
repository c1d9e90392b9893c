// The tz-database zone store: its records and, for every zone whose rule
// fits the TZI form, ZoneBias against QTimeZone at 200 instants spread over
// two years (instants within an hour of a transition left out).
#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>
#include <cmath>
#include <cstdio>

#include "timing/time_zone.h"
#include "ui/qt_time_zone_store.h"

namespace kestrova {
namespace {

constexpr double UnixEpochDays = 25569.0;

TEST(QtTimeZoneStore, NewYorkAndTheDefaults) {
    TQtTimeZoneStore store(2026);
    EXPECT_EQ(store.DefaultKeyNames(),
              (std::pair<std::string, std::string>{"America/New_York", "America/Los_Angeles"}));
    const auto ny = store.Find("America/New_York");
    ASSERT_TRUE(ny);
    EXPECT_FALSE(ny->FixedOffset);
    EXPECT_EQ(ny->Display, "(UTC-05:00) America/New_York");
    EXPECT_EQ(ZoneInitials(ny->Std), "EST");
    EXPECT_EQ(ZoneInitials(ny->Dlt), "EDT");
    const auto rule = DecodeTzi(ny->Tzi);
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->Bias, 300);
    EXPECT_EQ(rule->DaylightBias, -60);
    EXPECT_EQ(rule->DaylightDate.Month, 3);
    EXPECT_EQ(rule->DaylightDate.Day, 2);
    EXPECT_EQ(rule->StandardDate.Month, 11);
    EXPECT_EQ(rule->StandardDate.Day, 1);
    const auto tokyo = store.Find("Asia/Tokyo");
    ASSERT_TRUE(tokyo);
    EXPECT_FALSE(HasDaylightRule(*DecodeTzi(tokyo->Tzi)));
    EXPECT_FALSE(store.Find("Nowhere/Atlantis"));
    EXPECT_FALSE(store.Find(""));
}

TEST(QtTimeZoneStore, EveryFittingZoneAgreesWithQTimeZone) {
    const int year = QDate::currentDate().year();
    TQtTimeZoneStore store(year);
    const TLocalZoneInfo utcLocal{0, 0, 0, TLocalZoneInfo::TState::Standard};
    const QDateTime start(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
    const qint64 span = start.secsTo(QDateTime(QDate(year + 2, 1, 1), QTime(0, 0), Qt::UTC));
    int zones = 0, fit = 0, withDaylight = 0, agree = 0;
    std::vector<std::string> disagree;
    for (const std::string& key : store.KeyNames()) {
        const auto record = store.Find(key);
        if (!record) continue;
        ++zones;
        if (record->FixedOffset) continue;
        ++fit;
        const TTimeZoneRule rule = *DecodeTzi(record->Tzi);
        withDaylight += HasDaylightRule(rule) ? 1 : 0;
        const QTimeZone zone(QByteArray::fromStdString(key));
        const auto transitions =
            zone.transitions(start.addDays(-1), start.addSecs(span).addDays(1));
        bool ok = true;
        for (int i = 0; i < 200 && ok; ++i) {
            const QDateTime at = start.addSecs(span * i / 200 + 3607 * i % 86400);
            bool nearTransition = false;
            for (const auto& t : transitions)
                nearTransition |= std::llabs(t.atUtc.secsTo(at)) <= 3600;
            if (nearTransition) continue;
            const TDateTime utc = UnixEpochDays + at.toSecsSinceEpoch() / 86400.0;
            const double minutes = ZoneBias(rule, utcLocal, utc).Days * 1440.0;
            // With local time at UTC, the zone's time is UTC minus the bias.
            ok = std::lround(-minutes * 60) == zone.offsetFromUtc(at);
        }
        if (ok)
            ++agree;
        else
            disagree.push_back(key);
    }
    std::printf("tz zones: %d, fitting the TZI form: %d (%d with daylight saving), agreeing: %d\n",
                zones, fit, withDaylight, agree);
    EXPECT_GT(zones, 300);
    EXPECT_GT(fit, zones * 9 / 10);
    EXPECT_GT(withDaylight, 50);
    EXPECT_EQ(agree, fit);
    for (const auto& k : disagree)
        ADD_FAILURE() << k;
}

}  // namespace
}  // namespace kestrova
