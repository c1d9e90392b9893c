#pragma once
// Qt implementations of the core's ports: dialogs, clock, clipboard/lobby and
// the settings store, plus the system locale for date/time patterns.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "common/datetime.h"
#include "common/ports.h"
#include "model/app_settings.h"

class QSettings;

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

// The per-user settings under "Morlun Software" / "Kestrova". The location is
// the platform's (registry on Windows) unless an INI file is given, which
// tests use to keep their settings in a temporary folder.
class TQtSettingsStore : public ISettingsStore {
  public:
    // iniFile empty: the platform's store. documentsFolder empty: the
    // user's documents folder (the parent of the default files folder).
    explicit TQtSettingsStore(QString iniFile = {}, QString documentsFolder = {});
    ~TQtSettingsStore() override;

    // Writes every value of the settings, then the recent-tournament list.
    void Save(const TTourneyState& state) override;
    // Reads the settings back; values that are missing keep their defaults.
    // False when a value that must be present is missing or unreadable
    // ("Error reading configuration"): what was read before stays, the rest
    // keeps the defaults.
    bool LoadAppSettings(TAppSettings& settings);
    // LoadAppSettings plus the options that live in the state ("Four Per
    // Table", "Cap Names", the two round-2 bye options).
    bool LoadSettings(TTourneyState& state);
    // Written by their own commands, not by Save.
    void SaveDefaultStartTables(const std::string& tables);
    void SaveLastVersionInstalled(int build);
    // The default files folder (documents + "Tarvex Kestrova Files/").
    std::string DefaultFilesFolder() const;

    // The options kept in the state rather than in TAppSettings.
    struct TStateOptions {
        bool TeamMode = false, CapNames = false, AllByes = false, RandomByes = false;
    };

  private:
    bool Load(TAppSettings& settings, TStateOptions* options);
    std::unique_ptr<QSettings> Open() const;
    QString iniFile_, documentsFolder_;
};

// The system's time and date patterns and month/day names.
void FillLocaleFromSystem(TLocaleInfo& locale);
// A Qt date/time pattern rewritten in the core's pattern letters.
std::string QtPatternToCore(const QString& qtPattern);

}  // namespace kestrova
