// The Options menu's friends-list items and the window's reactions to the
// assistant: the check mark and the mode follow the core's state, the
// search opens "Unrestored ZoneFriends Lists".
#include "ui/rapid_assign_commands.h"

#include <QMetaObject>

#include "lobby/friends_restore_form.h"
#include "ui/kestrova_form.h"

namespace kestrova {

TQtRapidAssignLoop::TQtRapidAssignLoop(std::function<void(const std::function<void()>&)> runner)
    : runner_(std::move(runner)) {
    QObject::connect(&timer_, &QTimer::timeout, &context_, [this] {
        if (tick_) runner_(tick_);
    });
}

void TQtRapidAssignLoop::Post(std::function<void()> call) {
    // Queued to the thread of the context object, from whichever thread posts.
    QMetaObject::invokeMethod(
        &context_, [this, call = std::move(call)] { runner_(call); }, Qt::QueuedConnection);
}

void TQtRapidAssignLoop::StartTimer(int milliseconds, std::function<void()> tick) {
    tick_ = std::move(tick);
    timer_.start(milliseconds);
}

void TQtRapidAssignLoop::StopTimer() {
    timer_.stop();
    tick_ = nullptr;
}

TRapidAssignUi::TRapidAssignUi(TTourneyState& state, TFriendsPlatform platform,
                               std::function<void(const std::function<void()>&)> runner)
    : Platform(std::move(platform)), Loop(std::move(runner)) {
    Diagnostics = Platform.Diagnostics ? std::move(Platform.Diagnostics)
                                       : std::make_unique<TLogDiagnostics>(state);
    TRapidAssignPorts p;
    p.Favorites = Platform.Favorites.get();
    p.Window = Platform.Window.get();
    p.Files = Platform.Files.get();
    p.Watcher = Platform.Watcher.get();
    p.Diagnostics = Diagnostics.get();
    p.Loop = &Loop;
    p.Dialogs = &state.Dialogs();
    Assistant = std::make_unique<TRapidAssign>(p);
    Control = std::make_unique<TRapidAssignControl>(state, *Assistant);
}

// The window side goes first; the assistant then stops and puts the list back.
TRapidAssignUi::~TRapidAssignUi() {
    Control.reset();
    Assistant.reset();
}

void TKestrovaForm::ConnectRapidAssign(std::unique_ptr<TFriendsPlatform> platform) {
    TFriendsPlatform p =
        platform ? std::move(*platform)
                 : MakeDefaultFriendsPlatform([this] { return state_.Settings.FriendsFolder; });
    rapid_ = std::make_unique<TRapidAssignUi>(
        state_, std::move(p), [this](const std::function<void()>& call) { Run(call); });
    TRapidAssignControl& c = *rapid_->Control;
    c.OnMenuChanged = [this] { RapidAssignMenuChanged(); };
    TMainMenus& m = *menus_;
    connect(m.RapidActive, &QAction::triggered, this,
            [this, &c] { Run([&] { c.ActiveClicked(); }); });
    connect(m.RapidAdded, &QAction::triggered, this,
            [this, &c] { Run([&] { c.ModeChosen(TRapidAssignMode::Added); }); });
    connect(m.RapidRemoved, &QAction::triggered, this,
            [this, &c] { Run([&] { c.ModeChosen(TRapidAssignMode::Removed); }); });
    connect(m.RapidFolder, &QAction::triggered, this,
            [this, &c] { Run([&] { c.ChooseFolder(); }); });
    connect(m.RapidSearch, &QAction::triggered, this, [this, &c] {
        std::vector<TUnrestoredList> lists = c.SearchUnrestored();
        if (lists.empty()) return;
        if (auto chosen = TFriendsRestoreForm::Ask(lists, this)) c.RestoreLists(*chosen);
    });
    RapidAssignMenuChanged();
}

void TKestrovaForm::RapidAssignMenuChanged() {
    const TRapidAssignControl& c = *rapid_->Control;
    TMainMenus& m = *menus_;
    m.RapidActive->setEnabled(c.MenuEnabled());
    m.RapidActive->setChecked(c.Checked());
    m.RapidSearch->setEnabled(c.SearchEnabled());
    (c.Mode() == TRapidAssignMode::Added ? m.RapidAdded : m.RapidRemoved)->setChecked(true);
}

TRapidAssignControl& TKestrovaForm::RapidAssign() {
    return *rapid_->Control;
}

}  // namespace kestrova
