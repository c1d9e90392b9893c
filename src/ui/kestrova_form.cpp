#include <algorithm>
#include "ui/kestrova_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "common/cp1252.h"
#include "common/datetime.h"
#include "engine/status.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "timing/world_clock.h"
#include "ui/lobby_commands.h"
#include "ui/timing_host.h"
#include "ui/rapid_assign_commands.h"

namespace kestrova {

namespace {
QString Q(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}
}  // namespace

TKestrovaForm::TKestrovaForm(TFormPorts ports, QWidget* parent)
    : QMainWindow(parent), ports_(std::move(ports)), metrics_(TBoxMetrics::ForScreen()) {
    state_.Ports.Dialogs = ports_.Dialogs.get();
    state_.Ports.Clock = ports_.Clock.get();
    state_.Ports.Lobby = ports_.Lobby.get();
    state_.Ports.LobbyWindows = ports_.LobbyWindows.get();
    state_.Ports.Settings = ports_.Settings.get();
    state_.Ports.Announcer = ports_.Announcer.get();
    state_.Ports.FileTypes = ports_.FileTypes.get();
    state_.Ports.TimeZones = ports_.TimeZones.get();
    state_.Ports.View = this;

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(Q(state_.Title));
    // The designed least size; FitMinimumToContents widens it for today's fonts.
    setMinimumSize(290, 300);

    menus_ = std::make_unique<TMainMenus>(this);
    BuildCentral();
    docks_ = std::make_unique<TStatusDocks>(this);
    BuildStatusBar();
    ConnectStrips();
    ConnectMenus();
    ConnectOptionMenus();
    ConnectWorldClock();
    ConnectFormatDialogs();
    ConnectLink();
    lobby_ = new TLobbyCommands(state_, *menus_, this, [this](const std::function<void()>& f) { Run(f); });
    ConnectRapidAssign(std::move(ports_.Friends));
    ApplyOptionsFromSettings();
    EnsurePanels();
    TabsChanged();
    FormatMenuChanged();
    FitMinimumToContents();
    RestoreGeometry();
    qApp->installEventFilter(this);

    ConnectTiming();
    TickClock();
}

TKestrovaForm::~TKestrovaForm() {
    rapid_.reset();
    qApp->removeEventFilter(this);
    timing_.reset();
    if (!closed_) {
        StoreGeometry();
        SaveSettings(state_);
    }
    // The widgets go before the state they show: an edit losing the focus
    // while being destroyed must not reach a state that is already gone.
    for (TBracketPanel* p : panels_)
        if (p) p->SetEditDone(nullptr, nullptr);
    delete takeCentralWidget();
    state_.Ports.View = nullptr;
}

void TKestrovaForm::BuildCentral() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    addFind_ = new TAddFindStrip(central);
    addFind_->SetSuggestionSource(&state_.RecentPlayers);
    result_ = new QLabel(central);
    result_->setObjectName("ResultLabel");
    result_->setVisible(false);
    brackets_ = new QSplitter(central);
    brackets_->setChildrenCollapsible(false);
    startStrip_ = new TStartTimeStrip(central);
    layout->addWidget(addFind_);
    layout->addWidget(result_);
    layout->addWidget(brackets_, 1);
    layout->addWidget(startStrip_);
    setCentralWidget(central);
}

void TKestrovaForm::BuildStatusBar() {
    for (int i = 0; i < 3; ++i) {
        clockPanels_[i] = new QLabel(this);
        // 90 pixels as designed, wider when the system's font and time
        // format need it (" Local: 11:05 PM" must not be cut).
        clockPanels_[i]->setMinimumWidth(std::max(
            90, clockPanels_[i]->fontMetrics().horizontalAdvance(" Local: 00:00:00 PM ") + 8));
        clockPanels_[i]->setToolTip(
            "International Time Clock - right-mouse click to choose time-zones to display");
        clockPanels_[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(clockPanels_[i], &QWidget::customContextMenuRequested, this,
                [this, i](const QPoint& p) {
                    menus_->StatusBarMenu->popup(clockPanels_[i]->mapToGlobal(p));
                });
        statusBar()->addWidget(clockPanels_[i]);
    }
    posted_ = new QLabel(this);
    posted_->setObjectName("PostedLabel");
    statusBar()->addWidget(posted_, 1);
    postedTimer_.setSingleShot(true);
    connect(&postedTimer_, &QTimer::timeout, posted_, &QLabel::clear);
}

void TKestrovaForm::TickClock() {
    const std::array<std::string, 3> texts = ClockPanelTexts(state_);
    for (int i = 0; i < 3; ++i)
        clockPanels_[i]->setText(Q(texts[i]));
    if (lobby_) lobby_->Tick();
}

void TKestrovaForm::ApplyOptionsFromSettings() {
    const TAppSettings& set = state_.Settings;
    menus_->ViewStatus->setChecked(set.ShowStatusSummary);
    menus_->HideCompleted->setChecked(set.HideCompletedMatches);
    menus_->AlwaysOnTop->setChecked(set.AlwaysOnTop);
    (set.BracketArrangement == 1 ? menus_->Vertical : menus_->Horizontal)->setChecked(true);
    docks_->SetVisible(set.ShowStatusSummary);
}

// ---- Commands and redraws

void TKestrovaForm::Run(const std::function<void()>& command) {
    if (batching_) return command();
    batching_ = true;
    try {
        command();
    } catch (...) {
        batching_ = false;
        FlushRedraws();
        throw;
    }
    batching_ = false;
    FlushRedraws();
}

void TKestrovaForm::FlushRedraws() {
    ShowResult();
    if (tabsDirty_) {
        tabsDirty_ = false;
        TabsChanged();
    }
    for (int b = 0; b < 3; ++b)
        for (int r = 0; r < MaxRounds; ++r)
            if (dirty_[b][r]) {
                dirty_[b][r] = false;
                if (panels_[b]) panels_[b]->RoundChanged(r);
            }
}

void TKestrovaForm::EnsurePanels() {
    bool changed = false;
    for (int b = 0; b < 3; ++b) {
        const auto kind = static_cast<TBracketKind>(b);
        if (state_.UsesBracket(kind) && !panels_[b]) {
            panels_[b] = new TBracketPanel(state_, kind, metrics_, this, brackets_);
            panels_[b]->SetEditDone([this](const TSeatRef& at, const QString& t,
                                           TInPlaceEdit::TEnd how) { NameEditDone(at, t, how); },
                                    [this](const TSeatRef& at, const QString& t,
                                           TInPlaceEdit::TEnd how) { TableEditDone(at, t, how); });
            int index = 0;
            for (int k = 0; k < b; ++k)
                index += panels_[k] ? 1 : 0;
            brackets_->insertWidget(index, panels_[b]);
            changed = true;
        } else if (!state_.UsesBracket(kind) && panels_[b]) {
            // A view the format no longer uses is torn down with its boxes.
            delete panels_[b];
            panels_[b] = nullptr;
            changed = true;
        }
    }
    menus_->Arrangement->setEnabled(state_.ElimFormat != TElimFormat::Single);
    if (changed) ApplyArrangement();
}

void TKestrovaForm::ApplyArrangement() {
    const bool vertical =
        state_.Settings.BracketArrangement == 1 && state_.ElimFormat != TElimFormat::Single;
    const int column = metrics_.ColumnWidth();
    if (!vertical)
        for (TBracketPanel* p : panels_)
            if (p) p->SetMinimised(false);
    brackets_->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    for (int i = 1; i < brackets_->count(); ++i)
        brackets_->handle(i)->setVisible(vertical);
    for (int b = 0; b < 3; ++b) {
        if (!panels_[b]) continue;
        const bool fills = b == 1 || state_.ElimFormat == TElimFormat::Single;
        panels_[b]->setMinimumWidth(!vertical && !fills ? column : metrics_.S(120));
        panels_[b]->setMaximumWidth(!vertical && !fills ? column : QWIDGETSIZE_MAX);
        brackets_->setStretchFactor(brackets_->indexOf(panels_[b]), fills ? 1 : 0);
    }
    if (!vertical) resize(ArrangedWidth(), height());
}

int TKestrovaForm::ArrangedWidth() {
    const int frame = (frameGeometry().width() - geometry().width()) / 2;
    int width = metrics_.ColumnWidth() * state_.BracketCount() + 2 * frame + 2;
    if (state_.Settings.ShowStatusSummary && !docks_->Below())
        width += docks_->Dock(TStatusDocks::Overdue)->width();
    return std::max(width, minimumWidth());
}

// ---- IView

void TKestrovaForm::RedrawRound(TBracketKind bracket, int round) {
    const int b = static_cast<int>(bracket);
    if (round < 0 || round >= MaxRounds || b < 0 || b > 2) return;
    if (batching_) {
        dirty_[b][round] = true;
    } else if (panels_[b]) {
        panels_[b]->RoundChanged(round);
    }
}

void TKestrovaForm::RedrawAll() {
    for (int b = 0; b < 3; ++b)
        RedrawRound(static_cast<TBracketKind>(b), state_.SelectedTab[b] + b);
}

void TKestrovaForm::TabsChanged() {
    if (batching_) {
        tabsDirty_ = true;
        return;
    }
    EnsurePanels();
    for (TBracketPanel* p : panels_)
        if (p) {
            p->UpdateTabs();
            p->ShowRound();
        }
}

void TKestrovaForm::SelectRound(TBracketKind bracket, int round) {
    FlushRedraws();
    if (TBracketPanel* p = Panel(bracket)) p->SelectRound(round);
}

void TKestrovaForm::ScrollToTable(TBracketKind bracket, int round, int tableIndex) {
    TBracketPanel* p = Panel(bracket);
    if (p && p->SelectedRound() == round) p->ScrollToTable(tableIndex);
}

void TKestrovaForm::CountLabelChanged(const std::string& text) {
    addFind_->SetCount(Q(text));
}

void TKestrovaForm::UndoRedoChanged(bool undoEnabled, bool redoEnabled) {
    addFind_->SetUndoRedo(undoEnabled, redoEnabled);
    menus_->Undo->setEnabled(undoEnabled);
    menus_->Redo->setEnabled(redoEnabled);
}

void TKestrovaForm::SignupStateChanged() {
    addFind_->ShowFindRow(state_.SignupClosed);
    for (QAction* a : {menus_->Single, menus_->Double, menus_->Triple})
        a->setEnabled(!state_.SignupClosed);
}

void TKestrovaForm::FindStatusChanged(const std::string& text) {
    addFind_->SetFoundStatus(Q(text));
}
void TKestrovaForm::FindTextChanged(const std::string& text) {
    addFind_->SetFindText(Q(text));
}
void TKestrovaForm::AddBoxCleared() {
    addFind_->AddEdit()->clear();
}
void TKestrovaForm::OnePerTableChanged(bool checked) {
    addFind_->SetOnePerTable(checked);
}

void TKestrovaForm::TeamCaptionsChanged() {
    addFind_->SetTeamCaptions(state_.TeamMode);
    menus_->FourPerTable->setChecked(state_.TeamMode);
}

void TKestrovaForm::TitleChanged(const std::string& title) {
    setWindowTitle(Q(title));
}

void TKestrovaForm::HostFieldsChanged() {
    startStrip_->SetTexts(Q(state_.MsgParams.StartTime), Q(state_.MsgParams.RulesTime));
}

void TKestrovaForm::FocusAddOrFind() {
    addFind_->FocusAddBox();
}

// ---- Window events

bool TKestrovaForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::Wheel) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    // One table box per notch, in the bracket view under the pointer.
    for (QWidget* p = w; p; p = p->parentWidget())
        for (TBracketPanel* panel : panels_)
            if (panel && p == panel->Scroll()) {
                const int delta = static_cast<QWheelEvent*>(e)->angleDelta().y();
                QScrollBar* bar = panel->Scroll()->verticalScrollBar();
                bar->setValue(bar->value() - metrics_.Pitch() * delta / 120);
                e->accept();
                return true;
            }
    return false;
}

void TKestrovaForm::closeEvent(QCloseEvent* e) {
    if (!ConfirmDiscard()) return e->ignore();
    StoreGeometry();
    SaveSettings(state_);
    closed_ = true;
    e->accept();
}

}  // namespace kestrova
