#pragma once
// Registration of the tournament file type, so that a double-clicked .kvb
// opens in the program. Windows: the file class under the current user's
// "Software\Classes" ("KestrovaFile", ".kvb", its icon and open command).
// Elsewhere: the freedesktop way, under the user's data folder
// (XDG_DATA_HOME): a .desktop file for the program and a shared-mime-info
// type for *.kvb, made known with update-mime-database, update-desktop-database
// and xdg-mime when they are installed.
#include <QString>
#include <memory>

#include "common/ports.h"

namespace kestrova {

class TXdgFileTypes : public IFileTypes {
  public:
    static constexpr const char* MimeType = "application/x-kestrova-tournament";
    static constexpr const char* DesktopName = "kestrova.desktop";

    // dataHome empty: XDG_DATA_HOME (or ~/.local/share); program empty: this program.
    explicit TXdgFileTypes(QString dataHome = {}, QString program = {});
    bool Registered() override;
    bool Register() override;

    QString DesktopFile() const;
    QString MimePackage() const;

  private:
    QString dataHome_, program_;
};

class TWindowsFileTypes : public IFileTypes {
  public:
    explicit TWindowsFileTypes(QString program = {});
    bool Registered() override;
    bool Register() override;

  private:
    QString program_;
};

// The registration of this platform.
std::unique_ptr<IFileTypes> MakePlatformFileTypes();

}  // namespace kestrova
