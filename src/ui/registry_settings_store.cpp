#include "ui/registry_settings_store.h"

#include <QSettings>

#include <stdexcept>

#include "kit/dialog_util.h"

namespace kestrova {

TRegistrySettingsStore::TRegistrySettingsStore(QString key)
    : key_(key.isEmpty() ? "HKEY_CURRENT_USER\\Software\\Morlun Software\\Kestrova" : key) {}

TRegistrySettingsStore::~TRegistrySettingsStore() {
    delete settings_;
}

QSettings& TRegistrySettingsStore::Settings() {
    if (!settings_) settings_ = new QSettings(key_, QSettings::NativeFormat);
    return *settings_;
}

QString TRegistrySettingsStore::Key(const std::string& subkey, const std::string& name) const {
    return subkey.empty() ? ToQ(name) : ToQ(subkey) + "/" + ToQ(name);
}

bool TRegistrySettingsStore::Exists() {
    QSettings& q = Settings();
    return !q.childKeys().isEmpty() || !q.childGroups().isEmpty();
}

TStoredValue TRegistrySettingsStore::Read(const std::string& subkey, const std::string& name) {
    QSettings& q = Settings();
    const QString key = Key(subkey, name);
    if (!q.contains(key)) return {};
    const QVariant v = q.value(key);
    switch (v.typeId()) {
        case QMetaType::Int:
            return TStoredValue::Integer(v.toInt());
        case QMetaType::UInt:
            return TStoredValue::Integer(static_cast<int32_t>(v.toUInt()));
        case QMetaType::QString:
            return TStoredValue::String(FromQ(v.toString()));
        default:
            return TStoredValue::String({});  // present, of no type of ours
    }
}

void TRegistrySettingsStore::Write(const std::string& subkey, const std::string& name,
                                   const TStoredValue& v) {
    QSettings& q = Settings();
    if (v.IsInteger())
        q.setValue(Key(subkey, name), static_cast<int>(v.Int));
    else if (v.IsString())
        q.setValue(Key(subkey, name), ToQ(v.Text));
}

void TRegistrySettingsStore::ClearSubkey(const std::string& subkey) {
    QSettings& q = Settings();
    q.beginGroup(ToQ(subkey));
    q.remove("");
    q.endGroup();
}

void TRegistrySettingsStore::Commit() {
    QSettings& q = Settings();
    q.sync();
    if (q.status() != QSettings::NoError)
        throw std::runtime_error("the registry key " + key_.toStdString() + " cannot be written");
}

}  // namespace kestrova
