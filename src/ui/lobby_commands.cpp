#include "ui/lobby_commands.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include "kit/dialog_util.h"
#include "lobby/lobby_link.h"
#include "lobby/macro_edit_form.h"
#include "lobby/macro_manager_form.h"
#include "records/event_log.h"

namespace kestrova {

namespace {
// Menu captions show a macro's or room's name as it is, "&" included.
QString Literal(const std::string& text) { return ToQ(text).replace("&", "&&"); }
}  // namespace

TLobbyCommands::TLobbyCommands(TTourneyState& s, TMainMenus& menus, QMainWindow* window, TRun run)
    : QObject(window), s_(s), m_(menus), window_(window), run_(std::move(run)) {
    stopMenu_ = new QMenu("&Macro", window);
    stop_ = stopMenu_->addAction("&Stop");
    window->menuBar()->insertMenu(m_.Macro->menuAction(), stopMenu_);
    stopMenu_->menuAction()->setVisible(false);
    connect(stop_, &QAction::triggered, this, [this] { runner_.Stop(); });
    runner_.RunningChanged = [this](bool running) { ShowRunning(running); };
    auto* group = new QActionGroup(m_.LobbyList);
    group->addAction(m_.LobbyDisabled);
    connect(m_.LobbyList, &QMenu::aboutToShow, this, &TLobbyCommands::RefreshRooms);
    connect(m_.LobbyDisabled, &QAction::triggered, this, [this] { run_([&] { DisableLobby(s_); }); });
    ConnectOptions();
    ConnectMacroFile();
    ApplySettings();
}

void TLobbyCommands::ConnectOptions() {
    connect(m_.AutoPost, &QMenu::aboutToShow, this,
            [this] { m_.AutoPostLoss->setEnabled(AutoPostLossAvailable(s_)); });
    connect(m_.AutoPostPreview, &QAction::triggered, this, [this](bool on) { SetAutoPostPreview(s_, on); });
    connect(m_.AutoPostLoss, &QAction::triggered, this, [this](bool on) { SetAutoPostLoss(s_, on); });
    connect(m_.PostManually, &QAction::triggered, this,
            [this](bool on) { SetPostAssignmentsManually(s_, on); });
    connect(m_.ShowLobbyList, &QAction::triggered, this, [this](bool on) {
        SetShowLobbyListInMenuBar(s_, on);
        PlaceLobbyList(on);
    });
}

void TLobbyCommands::ApplySettings() {
    const TAppSettings& set = s_.Settings;
    m_.AutoPostPreview->setChecked(set.AutoPostPreview);
    m_.AutoPostLoss->setChecked(set.AutoPostLoss);
    m_.AutoPostLoss->setEnabled(AutoPostLossAvailable(s_));
    m_.PostManually->setChecked(set.PostAssignmentsManually);
    m_.ShowLobbyList->setChecked(set.ShowMainMenuLobbies);
    PlaceLobbyList(set.ShowMainMenuLobbies);
    LoadMacros();
}

void TLobbyCommands::Tick() { RefindLobby(s_); }

void TLobbyCommands::PlaceLobbyList(bool inMenuBar) {
    QAction* list = m_.LobbyList->menuAction();
    QMenuBar* bar = window_->menuBar();
    bar->removeAction(list);
    m_.AutoPost->removeAction(list);
    if (inMenuBar) {
        m_.LobbyList->setTitle("&Lobby");
        const QList<QAction*> top = bar->actions();
        bar->insertAction(top.size() > 1 ? top[1] : nullptr, list);  // after "&File"
    } else {
        m_.LobbyList->setTitle("&Auto-post Lobby");
        const QList<QAction*> items = m_.AutoPost->actions();
        m_.AutoPost->insertAction(items.isEmpty() ? nullptr : items.front(), list);
    }
}

void TLobbyCommands::RefreshRooms() {
    for (QAction* a : roomActions_)
        delete a;
    roomActions_.clear();
    const TLobbyMenu menu = RefreshLobbyMenu(s_);
    auto* group = m_.LobbyDisabled->actionGroup();
    for (size_t i = 0; i < menu.Rooms.size(); ++i) {
        const TLobbyRoom room = menu.Rooms[i];
        auto* a = new QAction(Literal(room.Title), m_.LobbyList);
        a->setCheckable(true);
        a->setChecked(static_cast<int>(i) == menu.Checked);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, room] { run_([&] { SelectLobby(s_, room); }); });
        m_.LobbyList->insertAction(m_.LobbySeparator, a);
        roomActions_.push_back(a);
    }
    if (menu.Rooms.empty()) {
        auto* note = new QAction(NoRoomCaption, m_.LobbyList);
        note->setEnabled(false);
        m_.LobbyList->insertAction(m_.LobbySeparator, note);
        roomActions_.push_back(note);
    }
    m_.LobbyDisabled->setChecked(menu.Checked < 0);
}

void TLobbyCommands::LoadMacros() {
    for (QAction* a : macroActions_)
        delete a;
    macroActions_.clear();
    m_.RunMacroMenu->clear();
    m_.MacrosBar->clear();
    macros_ = kestrova::LoadMacros(s_.Settings.MacroFileName);
    for (const TMacroMenus::TEntry& e : macros_.General) {
        auto* a = new QAction(Literal(e.Name), m_.Macro);
        if (e.HotKey)
            if (const auto seq = HotKeySequence(*e.HotKey)) a->setShortcut(*seq);
        const std::string name = e.Name;
        connect(a, &QAction::triggered, this, [this, name] { runner_.RunMacro(s_, name); });
        m_.Macro->insertAction(m_.MacroSeparator, a);
        macroActions_.push_back(a);
    }
    for (const std::string& name : macros_.Player) {
        QAction* a = m_.RunMacroMenu->addAction(Literal(name));
        connect(a, &QAction::triggered, this, [this, name] {
            const TTableRec& t = s_.Bracket(menuSeat_.Bracket)[menuSeat_.Round].Tables[menuSeat_.Table];
            const TPlayer* p = t.Seat[menuSeat_.Seat];
            if (p) runner_.RunPlayerMacro(s_, *p, StageAt(*p, t), name);
        });
    }
    for (const TMacroMenus::TButton& b : macros_.Toolbar) {
        QAction* a = m_.MacrosBar->addAction(Literal(b.Caption));
        a->setData(ToQ(b.Macro));
        const std::string name = b.Macro;
        connect(a, &QAction::triggered, this, [this, name] { runner_.RunMacro(s_, name); });
    }
}

void TLobbyCommands::ShowRunning(bool running) {
    m_.Macro->menuAction()->setVisible(!running);
    stopMenu_->menuAction()->setVisible(running);
}

void TLobbyCommands::ConnectMacroFile() {
    connect(m_.MacroEdit, &QAction::triggered, this, [this] {
        WriteLog(s_, "Menu: Macro/Edit");
        if (EditMacros(s_.Settings.MacroFileName, s_.MsgParams.HostName, s_.Dialogs(), window_))
            LoadMacros();
    });
    connect(m_.MacroNew, &QAction::triggered, this, [this] {
        const QString path = Choose(TFileDialog::NewFile, "Create New Macro File", ToQ(s_.Settings.FilesFolder));
        if (!path.isEmpty()) UseFile(FromQ(path));
    });
    connect(m_.MacroOpen, &QAction::triggered, this, [this] {
        const QString path = Choose(TFileDialog::OpenFile, "Open Macro File", ToQ(s_.Settings.FilesFolder));
        if (!path.isEmpty()) UseFile(FromQ(path));
    });
    connect(m_.MacroSaveAs, &QAction::triggered, this, [this] {
        const QString path = Choose(TFileDialog::SaveAs, "Save Macros", ToQ(s_.Settings.MacroFileName));
        if (!path.isEmpty()) SaveMacrosAs(s_, FromQ(path));
    });
    connect(m_.MacroRecent, &QMenu::aboutToShow, this, &TLobbyCommands::RebuildRecent);
}

void TLobbyCommands::UseFile(const std::string& path) {
    SetMacroFile(s_, path);
    LoadMacros();
}

void TLobbyCommands::RebuildRecent() {
    m_.MacroRecent->clear();
    for (const std::string& path : s_.Settings.RecentMacroFiles) {
        QAction* a = m_.MacroRecent->addAction(QFileInfo(ToQ(path)).fileName().replace("&", "&&"));
        connect(a, &QAction::triggered, this, [this, path] { UseFile(path); });
    }
}

QString TLobbyCommands::Choose(TFileDialog kind, const QString& title, const QString& start) {
    if (choose_) return choose_(kind, title, start);
    const QString filter = "Macro File (*.kvm)";
    if (kind == TFileDialog::OpenFile) return QFileDialog::getOpenFileName(window_, title, start, filter);
    // "Save Macros" asks before overwriting; a new file is first written by the manager.
    const auto options = kind == TFileDialog::NewFile ? QFileDialog::DontConfirmOverwrite
                                                      : QFileDialog::Options();
    return QFileDialog::getSaveFileName(window_, title, start, filter, nullptr, options);
}

}  // namespace kestrova
