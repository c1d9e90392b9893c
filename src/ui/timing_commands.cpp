// The main window's timing commands: the one-second timer, the boot button
// and its pop-up, the table pop-up's timer items, and the timing items of
// the Format options and hosting options menus.
#include <QMenu>
#include <QMenuBar>

#include "engine/status.h"
#include "kit/dialog_util.h"
#include "timing/boot_time_form.h"
#include "timing/boot_timer.h"
#include "timing/reminders.h"
#include "timing/start_tables_form.h"
#include "timing/time_limits_form.h"
#include "ui/kestrova_form.h"
#include "ui/timing_host.h"

namespace kestrova {

namespace {

QAction* ItemOf(QMenu* menu, const char* caption) {
    if (!menu) return nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == caption) return a;
    return nullptr;
}

QMenu* SubmenuOf(const QList<QAction*>& actions, const char* caption) {
    for (QAction* a : actions)
        if (a->text() == caption) return a->menu();
    return nullptr;
}

// Connects an item the menus built disabled, and enables it.
template <class F>
QAction* Wire(QObject* owner, QMenu* menu, const char* caption, F&& f) {
    QAction* a = ItemOf(menu, caption);
    if (!a) return nullptr;
    a->setEnabled(true);
    QObject::connect(a, &QAction::triggered, owner, std::forward<F>(f));
    return a;
}

}  // namespace

void TKestrovaForm::ConnectTiming() {
    timing_ = std::make_unique<TTimingHost>(this);
    TMainMenus& m = *menus_;
    QMenu* options = m.Options;
    Wire(this, options, "&Boot time...", [this] {
        TBootTimeForm form(state_, this);
        form.exec();
    });
    Wire(this, options, "&Time limits...", [this] {
        TTimeLimitsForm form(state_, this);
        form.exec();
    });
    QAction* startTables = Wire(this, options, "&Default start tables...",
                                [this] { Run([&] { RunDefaultStartTables(state_, this); }); });
    // It does nothing once sign-ups are closed, and looks it.
    connect(options, &QMenu::aboutToShow, this,
            [this, startTables] { startTables->setEnabled(!state_.SignupClosed); });

    QMenu* hosting = SubmenuOf(SubmenuOf(menuBar()->actions(), "Optio&ns")->actions(),
                               "&Hosting options");
    QAction* resetBoot = Wire(this, hosting, "Reset b&oot counts on assign",
                              [this](bool on) { SetResetBootOnAssign(state_, on); });
    QAction* remaining = Wire(this, hosting, "&Display match time remaining",
                              [this](bool on) { SetDisplayTimeRemaining(state_, timing_->Clock(), on); });
    for (QAction* a : {resetBoot, remaining})
        a->setCheckable(true);
    connect(hosting, &QMenu::aboutToShow, this, [this, resetBoot, remaining] {
        resetBoot->setChecked(state_.Settings.ResetBootOnAssign);
        remaining->setChecked(state_.Settings.DisplayMatchTimeRemaining);
    });
    Wire(this, hosting, "Match tim&e reminders...", [this] {
        TMatchRemindersForm form(state_, this);
        form.exec();
    });

    using TBootOp = void (*)(TTourneyState&, const TSeatRef&);
    const std::pair<const char*, TBootOp> bootItems[] = {
        {"Clear boot count", &ClearBootCount},
        {"Silently cancel timing", &CancelBootSilently},
        {"Cancel booted state", &CancelBootedState},
        {"Increment boot count", &IncrementBootCount},
        {"Decrement boot count", &DecrementBootCount},
    };
    for (const auto& [caption, op] : bootItems)
        Wire(this, m.BootMenu, caption, [this, op = op] { Run([&] { op(state_, timingSeat_); }); });
    connect(m.TmCopyTime, &QAction::triggered, this,
            [this] { CopyTimeRemaining(state_, timingSeat_); });
    connect(m.TmResetTimer, &QAction::triggered, this,
            [this] { ResetTimer(state_, timing_->Clock(), timingSeat_); });
}

void TKestrovaForm::BootClicked(const TSeatRef& at) {
    Run([&] { ToggleBoot(state_, timing_->Clock(), at); });
}

void TKestrovaForm::BootMenu(const TSeatRef& at, const QPoint& global) {
    timingSeat_ = at;
    const TBootMenuState on = BootMenuEnabling(state_, at);
    const std::pair<const char*, bool> items[] = {
        {"Clear boot count", on.ClearCount},       {"Silently cancel timing", on.CancelTiming},
        {"Cancel booted state", on.CancelBooted},  {"Increment boot count", on.IncrementCount},
        {"Decrement boot count", on.DecrementCount},
    };
    for (const auto& [caption, enabled] : items)
        if (QAction* a = ItemOf(menus_->BootMenu, caption)) a->setEnabled(enabled);
    if (!global.isNull()) menus_->BootMenu->popup(global);
}

void TKestrovaForm::TimingTableMenu(const TSeatRef& at) {
    timingSeat_ = at;
    const TTableMenuState on = TableMenuEnabling(state_, at);
    menus_->TmResetTimer->setEnabled(on.ResetTimer);
    menus_->TmCopyTime->setEnabled(on.CopyTime);
}

void TKestrovaForm::RoundShown(TBracketKind bracket) {
    if (timing_) timing_->Clock().RefreshView(state_, bracket);
}

void TKestrovaForm::BootButtonChanged(TBracketKind bracket, int tableIndex, int seat,
                                      const std::string& caption, bool icon) {
    TBracketPanel* panel = Panel(bracket);
    TTableBox* box = panel ? panel->Box(tableIndex) : nullptr;
    if (box && seat >= 0 && seat < 2) box->SetBootButton(seat, ToQ(caption), icon);
}

}  // namespace kestrova
