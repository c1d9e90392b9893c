#include "ui/qt_time_zone_store.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include "kit/dialog_util.h"
#include "timing/time_zone_fit.h"

namespace kestrova {

namespace {

constexpr double UnixEpochDays = 25569.0;  // 1970-01-01 as a TDateTime

TDateTime ToDateTime(const QDateTime& utc) {
    return UnixEpochDays + static_cast<double>(utc.toMSecsSinceEpoch()) / 86400000.0;
}

QDateTime YearStart(int year) {
    return QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
}

std::vector<TZoneTransition> Transitions(const QTimeZone& zone, int firstYear, int lastYear) {
    std::vector<TZoneTransition> out;
    for (const auto& t : zone.transitions(YearStart(firstYear), YearStart(lastYear + 1))) {
        TZoneTransition z;
        z.Utc = ToDateTime(t.atUtc);
        z.OffsetAfter = t.offsetFromUtc;
        z.StandardAfter = t.standardTimeOffset;
        z.DaylightAfter = t.daylightTimeOffset != 0;
        out.push_back(z);
    }
    return out;
}

// "(UTC-05:00) America/New_York", by the standard offset.
QString DisplayName(const QByteArray& id, int standardOffsetSeconds) {
    const int minutes = std::abs(standardOffsetSeconds) / 60;
    return QString("(UTC%1%2:%3) %4")
        .arg(standardOffsetSeconds < 0 ? '-' : '+')
        .arg(minutes / 60, 2, 10, QChar('0'))
        .arg(minutes % 60, 2, 10, QChar('0'))
        .arg(QString::fromLatin1(id));
}

QString LongName(const QTimeZone& zone, QTimeZone::TimeType type, const QDateTime& at) {
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    QString name = zone.displayName(type, QTimeZone::LongName, english);
    if (name.isEmpty()) name = zone.abbreviation(at);
    return name;
}

}  // namespace

TQtTimeZoneStore::TQtTimeZoneStore(int year)
    : year_(year ? year : QDate::currentDate().year()) {}

std::vector<std::string> TQtTimeZoneStore::KeyNames() {
    std::vector<std::string> names;
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
        names.push_back(id.toStdString());
    return names;
}

std::optional<TTimeZoneRecord> TQtTimeZoneStore::Find(const std::string& keyName) {
    if (auto it = cache_.find(keyName); it != cache_.end()) return it->second;
    const QByteArray id = QByteArray::fromStdString(keyName);
    if (!QTimeZone::isTimeZoneIdAvailable(id)) return std::nullopt;
    const QTimeZone zone(id);
    if (!zone.isValid()) return std::nullopt;
    const QDateTime mid(QDate(year_, 7, 1), QTime(12, 0), Qt::UTC);
    const int standard = zone.standardTimeOffset(mid);
    std::optional<TTimeZoneRule> rule =
        FitTziRule(standard, Transitions(zone, year_, year_ + 1), year_, year_ + 1);
    TTimeZoneRecord r;
    r.KeyName = keyName;
    r.FixedOffset = !rule;
    if (!rule) rule = FixedOffsetRule(zone.offsetFromUtc(QDateTime::currentDateTimeUtc()));
    r.Display = FromQ(DisplayName(id, -rule->Bias * 60));
    r.Std = FromQ(LongName(zone, QTimeZone::StandardTime, mid));
    r.Dlt = FromQ(LongName(zone, QTimeZone::DaylightTime, mid));
    r.Tzi = EncodeTzi(*rule);
    cache_[keyName] = r;
    return r;
}

TLocalZoneInfo TQtTimeZoneStore::LocalZone() {
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    TLocalZoneInfo local;
    local.Bias = -zone.standardTimeOffset(now) / 60;
    local.StandardBias = 0;
    local.DaylightBias = -zone.daylightTimeOffset(now) / 60;
    local.State = zone.isDaylightTime(now) ? TLocalZoneInfo::TState::Daylight
                                           : TLocalZoneInfo::TState::Standard;
    if (!zone.isValid()) local = {};
    return local;
}

}  // namespace kestrova
