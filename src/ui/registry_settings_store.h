#pragma once
// The settings key of Windows, "HKEY_CURRENT_USER\Software\Morlun Software
// \Kestrova", through QSettings' native format, which writes an int as
// REG_DWORD and a QString as REG_SZ and reads them back as the same types
// (REG_DWORD as int, REG_SZ as QString), so the reading rules can tell them
// apart. Values of any other registry type read as strings and so are of the
// wrong type for every integer. Built everywhere, used on Windows only.
#include <QString>

#include "common/ports.h"

class QSettings;

namespace kestrova {

class TRegistrySettingsStore : public ISettingsStore {
  public:
    // key empty: the program's key under HKEY_CURRENT_USER.
    explicit TRegistrySettingsStore(QString key = {});
    ~TRegistrySettingsStore() override;

    bool Exists() override;
    TStoredValue Read(const std::string& subkey, const std::string& name) override;
    void Write(const std::string& subkey, const std::string& name, const TStoredValue& v) override;
    void ClearSubkey(const std::string& subkey) override;
    void Commit() override;

  private:
    QString Key(const std::string& subkey, const std::string& name) const;
    QSettings& Settings();
    QString key_;
    QSettings* settings_ = nullptr;
};

}  // namespace kestrova
