// TQtSettingsStore: the settings file of platforms without a registry, in the
// user's configuration folder, and the one-time import of the INI file that
// earlier builds kept through QSettings.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <stdexcept>

#include "common/text.h"
#include "kit/dialog_util.h"
#include "ui/qt_ports.h"

namespace kestrova {

namespace {

QString ConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Morlun Software";
}

// The values the earlier INI file holds as text although they are numbers
// elsewhere: only these are imported as strings, everything that reads as a
// number becomes an integer, and anything else stays text (and is then
// ignored by the reading rules, as a value of the wrong type).
bool IsStringValue(const QString& subkey, const QString& name) {
    static const char* const names[] = {"Host name", "Active Macro File", "Default location",
                                        "Default Start Tables", "Middle Time Zone",
                                        "Right Time Zone"};
    if (!subkey.isEmpty()) return true;  // the recent-file lists
    for (const char* n : names)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) return true;
    return false;
}

TStoredValue ImportedValue(const QString& subkey, const QString& name, const QVariant& v) {
    const QString text = v.toString();
    if (!IsStringValue(subkey, name)) {
        bool ok = false;
        const qlonglong x = text.trimmed().toLongLong(&ok);
        if (ok && x >= INT32_MIN && x <= UINT32_MAX)
            return TStoredValue::Integer(static_cast<int32_t>(static_cast<uint32_t>(x)));
    }
    return TStoredValue::String(FromQ(text));
}

}  // namespace

TQtSettingsStore::TQtSettingsStore(QString file, QString legacyIni)
    : TSettingsFile(FromQ(file.isEmpty() ? DefaultFile() : file)),
      legacyIni_(legacyIni.isEmpty() ? ConfigFolder() + "/Kestrova.conf" : legacyIni) {}

QString TQtSettingsStore::DefaultFile() {
    return ConfigFolder() + "/Kestrova.settings";
}

void TQtSettingsStore::ImportOnce() {
    if (imported_) return;
    imported_ = true;
    const QString file = ToQ(Path());
    if (QFileInfo::exists(file) || !QFileInfo(legacyIni_).isFile()) return;
    QSettings old(legacyIni_, QSettings::IniFormat);
    for (const QString& key : old.allKeys()) {
        const int slash = key.lastIndexOf('/');
        const QString subkey = slash < 0 ? QString() : key.left(slash);
        const QString name = key.mid(slash + 1);
        TSettingsFile::Write(FromQ(subkey), FromQ(name), ImportedValue(subkey, name, old.value(key)));
    }
    try {
        TSettingsFile::Commit();
    } catch (const std::exception&) {
        // Kept in memory for this run; the next save reports the folder.
    }
}

bool TQtSettingsStore::Exists() {
    ImportOnce();
    return TSettingsFile::Exists();
}

TStoredValue TQtSettingsStore::Read(const std::string& subkey, const std::string& name) {
    ImportOnce();
    return TSettingsFile::Read(subkey, name);
}

void TQtSettingsStore::Write(const std::string& subkey, const std::string& name,
                             const TStoredValue& v) {
    ImportOnce();
    TSettingsFile::Write(subkey, name, v);
}

void TQtSettingsStore::ClearSubkey(const std::string& subkey) {
    ImportOnce();
    TSettingsFile::ClearSubkey(subkey);
}

void TQtSettingsStore::Commit() {
    ImportOnce();
    TSettingsFile::Commit();
}

TSettingsPlaces QtSettingsPlaces() {
    TSettingsPlaces p;
    p.Documents = FromQ(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    p.Program = FromQ(QCoreApplication::applicationDirPath());
    return p;
}

}  // namespace kestrova
