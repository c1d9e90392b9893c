#pragma once
// The main window. It owns the one tournament state and the port objects for
// the life of the process, shows the state and routes the host's gestures to
// the core's operations. It computes no tournament facts of its own.
#include <QLabel>
#include <QMainWindow>
#include <QSplitter>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "formats/format_edit_form.h"
#include "lobby/friends_ports.h"
#include "model/tourney_state.h"
#include "session/lifecycle.h"
#include "ui/add_find_strip.h"
#include "ui/bracket_panel.h"
#include "ui/main_menus.h"
#include "ui/start_time_strip.h"
#include "ui/status_docks.h"

namespace kestrova {

class TSelectTimeZoneForm;
class TTeamPropertiesForm;
class TLinkCommands;
class TLobbyCommands;
class TTimingHost;
class TRapidAssignControl;
struct TRapidAssignUi;

// The port objects the window owns; unset ones fall back to the core's defaults.
struct TFormPorts {
    std::unique_ptr<IDialogs> Dialogs;
    std::unique_ptr<IClock> Clock;
    std::unique_ptr<ILobbyPort> Lobby;
    std::unique_ptr<ILobbyWindows> LobbyWindows;  // none: no room is ever found
    std::unique_ptr<ISettingsStore> Settings;
    std::unique_ptr<IAnnouncer> Announcer;
    std::unique_ptr<IFileTypes> FileTypes;
    std::unique_ptr<ITimeZoneStore> TimeZones;
    // The friends-list assistant's platform; unset: the system's.
    std::unique_ptr<TFriendsPlatform> Friends;
};

class TKestrovaForm : public QMainWindow, public IView, private IBracketActions {
    Q_OBJECT
  public:
    // The new-tournament dialog: the options on "Start", nothing on "Cancel".
    using TNewTourneyDialog = std::function<std::optional<TNewTourneyOptions>(QWidget* parent)>;
    // The "Save as" dialog: the path and the file type (1 to 4), nothing on Cancel.
    using TSaveAsDialog =
        std::function<std::optional<std::pair<QString, int>>(QWidget* parent, const QString& start)>;

    explicit TKestrovaForm(TFormPorts ports = {}, QWidget* parent = nullptr);
    ~TKestrovaForm() override;

    TTourneyState& State() { return state_; }
    void SetNewTourneyDialog(TNewTourneyDialog dialog) { newDialog_ = std::move(dialog); }
    void SetSaveAsDialog(TSaveAsDialog dialog) { saveAsDialog_ = std::move(dialog); }
    // The command line's file, or the new-tournament dialog.
    void StartUp(const QString& path);
    void NewTourney();
    void OpenFileCommand();

    // --- IView
    void RedrawRound(TBracketKind bracket, int round) override;
    void RedrawAll() override;
    void TabsChanged() override;
    void SelectRound(TBracketKind bracket, int round) override;
    void ScrollToTable(TBracketKind bracket, int round, int tableIndex) override;
    void CountLabelChanged(const std::string& text) override;
    void UndoRedoChanged(bool undoEnabled, bool redoEnabled) override;
    void SignupStateChanged() override;
    void FindStatusChanged(const std::string& text) override;
    void FindTextChanged(const std::string& text) override;
    void AddBoxCleared() override;
    void OnePerTableChanged(bool checked) override;
    void TeamCaptionsChanged() override;
    void TitleChanged(const std::string& title) override;
    void FormatMenuChanged() override;
    void HostFieldsChanged() override;
    void PlayerPointsChanged() override;
    void StatusMessage(const std::string& text) override;

    // A tournament with entries that was never saved: asks whether to save
    // it (Save as behind "Yes"). False when the host keeps it open.
    bool ConfirmDiscard();
    // The places, once the grand final is decided.
    void ShowResult();
    QLabel* ResultLabel() const { return result_; }
    QLabel* PostedLabel() const { return posted_; }
    void BootButtonChanged(TBracketKind bracket, int tableIndex, int seat,
                           const std::string& caption, bool icon) override;

    // Pieces, for tests and the benchmark.
    TBracketPanel* Panel(TBracketKind b) const { return panels_[static_cast<int>(b)]; }
    TAddFindStrip* AddFind() const { return addFind_; }
    TStartTimeStrip* StartStrip() const { return startStrip_; }
    TMainMenus& Menus() { return *menus_; }
    TStatusDocks& Docks() { return *docks_; }
    TLobbyCommands& LobbyCommands() { return *lobby_; }
    TRapidAssignControl& RapidAssign();
    QLabel* ClockPanel(int i) const { return clockPanels_[i]; }
    void TickClock();
    // The one-second timer and the match clock (timing_commands.cpp).
    TTimingHost& Timing() { return *timing_; }
    // A command is under way (its questions and postings included).
    bool CommandRunning() const { return batching_; }
    void ApplyArrangement();
    // Puts the window where the settings say (Left, Top, Height; the width
    // by the arrangement), on the primary screen at the default size when
    // that place lies off every screen.
    void RestoreGeometry();
    // Rearranges the status panels until the window's least size fits area.
    void FitToArea(QSize area);
    // After the settings were read: place, size and options (settings_commands.cpp).
    void ApplySettings();
    // The "&Intenet link" submenu is hidden unless the command line asks for it.
    void ShowLinkMenu(bool on);
    TLinkCommands& Link() { return *link_; }
    void EditFormatsCommand();
    // The sub-dialogs the format editor may open (each disabled until given).
    TFormatEditorServices FormatEditorServices;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void BuildCentral();
    void BuildStatusBar();
    void ConnectStrips();
    void ConnectMenus();
    void ConnectPointsMenus();  // points_commands.cpp
    void CheckPointsMenus();
    void ConnectTiming();
    void EnsurePanels();
    void ApplyOptionsFromSettings();
    // Runs a command with redraws collected and drawn once at its end.
    void Run(const std::function<void()>& command);
    void FlushRedraws();
    void FocusAddOrFind();
    // The least size at which every strip's labels and buttons fit.
    void FitMinimumToContents();
    int ArrangedWidth();

    // IBracketActions
    void WinClicked(const TSeatRef& at, bool pressed) override;
    void NameClicked(const TSeatRef& at) override;
    void NameMenu(const TSeatRef& at, const QPoint& global) override;
    void WinMenu(const TSeatRef& at, const QPoint& global) override;
    void PlayerMenu(const TSeatRef& at, const QPoint& global, bool onWinButton);
    void ConnectOptionMenus();
    // rapid_assign_commands.cpp
    void ConnectRapidAssign(std::unique_ptr<TFriendsPlatform> platform);
    void RapidAssignMenuChanged();
    void UpdateOptionChecks();
    void TableNoClicked(const TSeatRef& at) override;
    void TableMenu(const TSeatRef& at, const QPoint& global) override;
    void CopyClicked(const TSeatRef& at) override;
    void BootClicked(const TSeatRef& at) override;
    void BootMenu(const TSeatRef& at, const QPoint& global) override;
    void RoundShown(TBracketKind bracket) override;
    void TimingTableMenu(const TSeatRef& at);
    void TabClicked(TBracketKind bracket, int tab) override;
    void MinMaxToggled(TBracketKind bracket, bool minimised) override;

    void NameEditDone(const TSeatRef& at, const QString& text, TInPlaceEdit::TEnd how);
    void TableEditDone(const TSeatRef& at, const QString& text, TInPlaceEdit::TEnd how);
    void PlayerMenuCommand(void (*op)(TTourneyState&, const TSeatRef&));
    void SaveAsCommand();
    void RebuildRecentMenu();
    void ElimCommand(TElimFormat format);
    void ConnectWorldClock();
    void StoreGeometry();
    void ConnectFormatDialogs();
    void ConnectLink();

    TTourneyState state_;
    TFormPorts ports_;
    TBoxMetrics metrics_;
    std::unique_ptr<TMainMenus> menus_;
    std::unique_ptr<TStatusDocks> docks_;
    TAddFindStrip* addFind_ = nullptr;
    TStartTimeStrip* startStrip_ = nullptr;
    QSplitter* brackets_ = nullptr;
    std::array<TBracketPanel*, 3> panels_{};
    std::array<QLabel*, 3> clockPanels_{};
    QLabel* result_ = nullptr;
    QLabel* posted_ = nullptr;
    QTimer postedTimer_;
    std::unique_ptr<TTimingHost> timing_;
    TSeatRef timingSeat_;  // the seat of the open boot or table pop-up
    TSeatRef menuSeat_;
    int menuTableNo_ = 0;
    TNewTourneyDialog newDialog_;
    TSaveAsDialog saveAsDialog_;
    // Created once and reused: team mode opens it over the clicked name box.
    TTeamPropertiesForm* teamForm_ = nullptr;
    IDialogs fallbackDialogs_;
    TLinkCommands* link_ = nullptr;  // a child of the window
    TLobbyCommands* lobby_ = nullptr;  // owned as a child QObject
    // Redraws asked for while a command runs: [bracket][round].
    bool batching_ = false;
    std::array<std::array<bool, MaxRounds>, 3> dirty_{};
    bool tabsDirty_ = false;
    // The host already answered the save question of this discard.
    bool discardAgreed_ = false;
    bool closed_ = false;  // the settings were written when the window closed
    TSelectTimeZoneForm* zoneForm_ = nullptr;  // created on first use
    // Last, so it stops (and puts the friends list back) before the rest goes.
    std::unique_ptr<TRapidAssignUi> rapid_;
};

}  // namespace kestrova
