#pragma once
// The main window's lobby link and macros: the room list (in "&Auto-post
// options" or in the menu bar), the posting options, the "&Macro" menu with
// hot keys, the "&Stop" menu, the macro toolbar, the player's macro submenu
// and the macro-file commands. Each command calls the core (lobby/).
#include <QObject>
#include <QString>
#include <functional>

#include "lobby/macros.h"
#include "model/tourney_state.h"
#include "ui/main_menus.h"

class QMainWindow;

namespace kestrova {

class TLobbyCommands : public QObject {
    Q_OBJECT
  public:
    // Runs a command with the window's redraws collected (TKestrovaForm::Run).
    using TRun = std::function<void(const std::function<void()>&)>;
    enum class TFileDialog { NewFile, OpenFile, SaveAs };
    // A file dialog: the chosen path, or empty on Cancel. Tests answer it.
    using TChooseFile = std::function<QString(TFileDialog kind, const QString& title,
                                              const QString& start)>;

    TLobbyCommands(TTourneyState& s, TMainMenus& menus, QMainWindow* window, TRun run);

    // The settings were read: check marks, the room list's place, the macros.
    void ApplySettings();
    // Every tick of the main timer: the chosen room is found again.
    void Tick();
    // Rebuilds the macro menus and toolbar from the file in use.
    void LoadMacros();
    // The player pop-up opens on this seat.
    void SetMenuSeat(const TSeatRef& at) { menuSeat_ = at; }
    bool HasPlayerMacros() const { return !macros_.Player.empty(); }
    void SetChooseFile(TChooseFile choose) { choose_ = std::move(choose); }

    QMenu* StopMenu() const { return stopMenu_; }
    QAction* StopAction() const { return stop_; }
    TMacroRunner& Runner() { return runner_; }
    // The room entries and the note shown when no room is open.
    static constexpr const char* NoRoomCaption = "(No lobby room was found)";

  private:
    void ConnectOptions();
    void ConnectMacroFile();
    void RefreshRooms();
    void PlaceLobbyList(bool inMenuBar);
    void ShowRunning(bool running);
    void RebuildRecent();
    void UseFile(const std::string& path);
    QString Choose(TFileDialog kind, const QString& title, const QString& start);

    TTourneyState& s_;
    TMainMenus& m_;
    QMainWindow* window_;
    TRun run_;
    TChooseFile choose_;
    TMacroRunner runner_;
    TMacroMenus macros_;
    TSeatRef menuSeat_;
    QMenu* stopMenu_ = nullptr;
    QAction* stop_ = nullptr;
    std::vector<QAction*> roomActions_, macroActions_;
};

}  // namespace kestrova
