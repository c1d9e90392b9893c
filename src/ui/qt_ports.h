#pragma once
// Qt implementations of the core's ports: dialogs, clock, clipboard/lobby and
// the settings file, plus the system locale for date/time patterns.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "common/datetime.h"
#include "common/ports.h"
#include "model/app_settings.h"
#include "records/settings.h"
#include "records/settings_file.h"

namespace kestrova {

class TTourneyState;

// The host's dialogs: the question and notice forms, message boxes, the
// input box and the folder chooser. Dialogs are parented to the window set
// with SetParent (the main window), so they stay on top of it.
class TQtDialogs : public IDialogs {
  public:
    explicit TQtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    TConfirmAnswer ConfirmDlg(const std::string& text) override;
    bool NotifyDlg(const std::string& text) override;
    void MessageBox(TMessageBoxKind kind, const std::string& text) override;
    bool YesNo(const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<std::string> ChooseFolder(const std::string& text,
                                            const std::string& start) override;

  private:
    QPointer<QWidget> parent_;
};

class TQtClock : public IClock {
  public:
    TDateTime Now() override;
    TDateTime UtcNow() override;
};

// Clipboard and waits. The lobby's windows are a port of their own
// (ILobbyWindows); without Win32 windows no room is ever found, and lines
// stay on the clipboard for the host to paste.
class TQtLobbyPort : public ILobbyPort {
  public:
    bool SetClipboard(const std::string& text) override;
    // Runs a local event loop, so timers, menus and sockets keep being served.
    void Wait(int milliseconds) override;
};

// The per-user settings file "Kestrova.settings" in the user's configuration
// folder (a typed TSettingsFile). The first time it is used and the file does
// not exist, the INI file of earlier builds ("Kestrova.conf" beside it) is
// read once and carried over. Tests give both paths.
class TQtSettingsStore : public TSettingsFile {
  public:
    explicit TQtSettingsStore(QString file = {}, QString legacyIni = {});
    static QString DefaultFile();

    bool Exists() override;
    TStoredValue Read(const std::string& subkey, const std::string& name) override;
    void Write(const std::string& subkey, const std::string& name, const TStoredValue& v) override;
    void ClearSubkey(const std::string& subkey) override;
    void Commit() override;

  private:
    void ImportOnce();
    QString legacyIni_;
    bool imported_ = false;
};

// The documents and program folders the default files folder comes from.
TSettingsPlaces QtSettingsPlaces();

// The system's time and date patterns and month/day names.
void FillLocaleFromSystem(TLocaleInfo& locale);
// A Qt date/time pattern rewritten in the core's pattern letters.
std::string QtPatternToCore(const QString& qtPattern);

}  // namespace kestrova
