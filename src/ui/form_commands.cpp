// The main window's gestures: each calls one core operation inside Run(), so
// the view is redrawn once, from the state, when the operation is done.
#include <QFileDialog>
#include <QMenu>

#include "common/cp1252.h"
#include "common/text.h"
#include "engine/corrections.h"
#include "engine/next_assign.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/team_properties_form.h"
#include "engine/undo.h"
#include "engine/format_store.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "session/lifecycle.h"
#include "session/token_upgrade.h"
#include "engine/tourney_file.h"
#include "ui/kestrova_form.h"
#include "ui/lobby_commands.h"

namespace kestrova {

namespace {
std::string Cp(const QString& s) {
    return Utf8ToCp1252(s.toStdString());
}
QString Q(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

}  // namespace

void TKestrovaForm::ConnectStrips() {
    connect(addFind_, &TAddFindStrip::addEntered, this,
            [this](const QString& t) { Run([&] { AddPlayerFromBox(state_, Cp(t)); }); });
    connect(addFind_, &TAddFindStrip::addClicked, this,
            [this](const QString& t) { Run([&] { AddPlayerFromButton(state_, Cp(t)); }); });
    connect(addFind_, &TAddFindStrip::suggestionPicked, this,
            [this](const QString& t) { Run([&] { AddPlayerFromSuggestion(state_, Cp(t)); }); });
    connect(addFind_, &TAddFindStrip::onePerTableClicked, this,
            [this](bool on) { Run([&] { SetOnePerTable(state_, on); }); });
    connect(addFind_, &TAddFindStrip::findChanged, this,
            [this](const QString& t) { Run([&] { FindPlayer(state_, Cp(t)); }); });
    connect(addFind_, &TAddFindStrip::findEntered, this,
            [this] { Run([&] { LocateTable(state_); }); });
    connect(addFind_, &TAddFindStrip::undoClicked, this, [this] { Run([&] { Undo(state_); }); });
    connect(addFind_, &TAddFindStrip::redoClicked, this, [this] { Run([&] { Redo(state_); }); });
    connect(
        startStrip_, &TStartTimeStrip::textsEdited, this,
        [this](const QString& start, const QString& rules) {
            if (state_.MsgParams.StartTime == Cp(start) && state_.MsgParams.RulesTime == Cp(rules))
                return;
            state_.MsgParams.StartTime = Cp(start);
            state_.MsgParams.RulesTime = Cp(rules);
            Run([&] { SaveTourney(state_); });
        });
}

void TKestrovaForm::ConnectMenus() {
    TMainMenus& m = *menus_;
    connect(m.New, &QAction::triggered, this, [this] { NewTourney(); });
    connect(m.Open, &QAction::triggered, this, [this] { OpenFileCommand(); });
    connect(m.SaveAs, &QAction::triggered, this, [this] { SaveAsCommand(); });
    connect(m.Recent, &QMenu::aboutToShow, this, [this] { RebuildRecentMenu(); });
    connect(m.Exit, &QAction::triggered, this, [this] {
        WriteLog(state_, "Menu: File/Exit");
        close();
    });
    connect(m.Single, &QAction::triggered, this, [this] { ElimCommand(TElimFormat::Single); });
    connect(m.Double, &QAction::triggered, this, [this] { ElimCommand(TElimFormat::Double); });
    connect(m.Triple, &QAction::triggered, this, [this] { ElimCommand(TElimFormat::Triple); });
    connect(m.Format, &QMenu::aboutToShow, this, [this] {
        QAction* checked[] = {menus_->Single, menus_->Double, menus_->Triple};
        checked[static_cast<int>(state_.ElimFormat)]->setChecked(true);
    });
    connect(m.FourPerTable, &QAction::triggered, this,
            [this](bool on) { Run([&] { SetTeamMode(state_, on); }); });

    auto lifecycle = [this](QAction* menu, QAction* tool, void (*op)(TTourneyState&)) {
        for (QAction* a : {menu, tool})
            connect(a, &QAction::triggered, this, [this, op] { Run([&] { op(state_); }); });
    };
    lifecycle(m.Welcome, m.TbWelcome, &PostWelcome);
    lifecycle(m.PostFormat, m.TbFormat, &kestrova::PostFormat);
    lifecycle(m.AllStart, m.TbAllStart, &kestrova::AllStart);
    lifecycle(m.Close, m.TbClose, &CloseSignups);
    lifecycle(m.Winners, m.TbWinners, &AnnounceWinners);
    connect(m.Undo, &QAction::triggered, this, [this] { Run([&] { Undo(state_); }); });
    connect(m.Redo, &QAction::triggered, this, [this] { Run([&] { Redo(state_); }); });

    connect(m.ViewStatus, &QAction::triggered, this, [this](bool on) {
        state_.Settings.ShowStatusSummary = on;
        docks_->SetVisible(on);
        ApplyArrangement();
        SaveSettings(state_);
    });
    connect(m.HideCompleted, &QAction::triggered, this, [this](bool on) {
        state_.Settings.HideCompletedMatches = on;
        for (TBracketPanel* p : panels_)
            if (p) p->ShowRound();
        SaveSettings(state_);
    });
    connect(m.AlwaysOnTop, &QAction::triggered, this, [this](bool on) {
        state_.Settings.AlwaysOnTop = on;
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        show();
        SaveSettings(state_);
    });
    connect(m.Horizontal, &QAction::triggered, this, [this] {
        state_.Settings.BracketArrangement = 0;
        ApplyArrangement();
        SaveSettings(state_);
    });
    connect(m.Vertical, &QAction::triggered, this, [this] {
        state_.Settings.BracketArrangement = 1;
        ApplyArrangement();
        SaveSettings(state_);
    });

    connect(m.PmRemove, &QAction::triggered, this, [this] { PlayerMenuCommand(&RemovePlayer); });
    connect(m.PmBothQuit, &QAction::triggered, this,
            [this] { PlayerMenuCommand(&BothPlayersQuit); });
    connect(m.PmDisqualify, &QAction::triggered, this,
            [this] { PlayerMenuCommand(&DisqualifyPlayer); });
    connect(m.PmAssignSilently, &QAction::triggered, this,
            [this] { PlayerMenuCommand(&AssignWinSilently); });
    connect(m.TmVoid, &QAction::triggered, this,
            [this] { Run([&] { ToggleVoidTable(state_, menuTableNo_); }); });
    ConnectPointsMenus();
}

void TKestrovaForm::FormatMenuChanged() {
    TMainMenus& m = *menus_;
    for (QAction* a : m.FormatGroup->actions()) {
        m.FormatGroup->removeAction(a);
        delete a;
    }
    std::vector<std::string> names{"Default"};
    names.insert(names.end(), state_.FormatNames.begin(), state_.FormatNames.end());
    for (const auto& name : names) {
        QAction* a = m.Format->addAction(Q(name));
        a->setCheckable(true);
        a->setChecked(SameText(name, state_.CurrentFormat));
        m.FormatGroup->addAction(a);
        connect(a, &QAction::triggered, this,
                [this, name] { Run([&] { SelectFormat(state_, name); }); });
    }
}

// ---- File commands

void TKestrovaForm::StartUp(const QString& path) {
    AskTokenUpgrade(state_);
    lobby_->ApplySettings();  // the settings have been read by now
    if (!path.isEmpty()) {
        Run([&] { OpenTourney(state_, Cp(path)); });
    } else {
        NewTourney();
    }
    // Built from the state whatever the dialog did, so the tab row is there.
    TabsChanged();
    FocusAddOrFind();
}

void TKestrovaForm::NewTourney() {
    WriteLog(state_, "Click: New tournament");
    if (!newDialog_ || !ConfirmDiscard()) return;
    // Asked once: the dialog's Restore opens a file without asking again.
    discardAgreed_ = true;
    std::optional<TNewTourneyOptions> options = newDialog_(this);
    discardAgreed_ = false;
    if (options) Run([&] { StartNewTourney(state_, *options); });
    FocusAddOrFind();
}

void TKestrovaForm::OpenFileCommand() {
    WriteLog(state_, "Menu: File/Open");
    if (!ConfirmDiscard()) return;
    const QString path =
        QFileDialog::getOpenFileName(this, "Open Tournament", Q(state_.Settings.FilesFolder),
                                     "Kestrova File (*.kvb);;Backup File (*.~kvb)");
    if (!path.isEmpty()) Run([&] { OpenTourney(state_, Cp(path)); });
    FocusAddOrFind();
}

void TKestrovaForm::RebuildRecentMenu() {
    menus_->Recent->clear();
    for (const auto& path : state_.Settings.RecentTourneys) {
        QAction* a = menus_->Recent->addAction(Q(path));
        connect(a, &QAction::triggered, this, [this, path] {
            WriteLog(state_, "Menu: File/Recent file = " + path);
            if (ConfirmDiscard()) Run([&] { OpenTourney(state_, path); });
        });
    }
    menus_->Recent->setEnabled(!state_.Settings.RecentTourneys.empty());
}

void TKestrovaForm::ElimCommand(TElimFormat format) {
    static const char* const lines[] = {"Menu: ElimFormat = Single", "Menu: ElimFormat = Double",
                                        "Menu: Format/Elim/Triple"};
    if (state_.SignupClosed) return;
    WriteLog(state_, lines[static_cast<int>(format)]);
    Run([&] {
        SetElimFormat(state_, format);
        SaveTourney(state_);
    });
}

// ---- Bracket view gestures

void TKestrovaForm::TabClicked(TBracketKind bracket, int tab) {
    const auto& captions = state_.TabCaptions[static_cast<int>(bracket)];
    const std::string label = tab < static_cast<int>(captions.size()) ? captions[tab] : "";
    WriteLog(state_, std::string("Click: ") + BracketName(bracket) + " tab for round " + label);
}

void TKestrovaForm::MinMaxToggled(TBracketKind, bool) {}

void TKestrovaForm::WinClicked(const TSeatRef& at, bool pressed) {
    Run([&] {
        // Drawn from the result afterwards, so a refused click springs back.
        dirty_[static_cast<int>(at.Bracket)][at.Round] = true;
        WinButtonClicked(state_, at.Bracket, at.Round, at.Table, at.Seat, pressed);
    });
}

void TKestrovaForm::NameClicked(const TSeatRef& at) {
    TBracketPanel* panel = Panel(at.Bracket);
    if (!panel) return;
    if (state_.TeamMode) {
        QWidget* box = panel->Box(at.Table)->Seat(at.Seat).Name;
        if (!teamForm_) teamForm_ = new TTeamPropertiesForm(this);
        Run([&] {
            RunTeamProperties(state_, *teamForm_, at.Bracket, at.Round, at.Table, at.Seat,
                              box->mapToGlobal(QPoint(0, 0)));
            RedrawAll();
        });
        return;
    }
    BeginPlayerNameEdit(state_, at.Bracket);
    panel->OpenNameEdit(at.Table, at.Seat);
}

void TKestrovaForm::NameEditDone(const TSeatRef& at, const QString& text, TInPlaceEdit::TEnd how) {
    Run([&] {
        dirty_[static_cast<int>(at.Bracket)][at.Round] = true;
        const std::string typed = Cp(text);
        if (how == TInPlaceEdit::TEnd::Escape)
            CancelPlayerNameEdit(state_, at.Bracket, at.Round, at.Table, at.Seat);
        else if (how == TInPlaceEdit::TEnd::FocusOut)
            ExitPlayerNameEdit(state_, at.Bracket, at.Round, at.Table, at.Seat, typed);
        else
            EditPlayerName(state_, at.Bracket, at.Round, at.Table, at.Seat, typed);
    });
    if (how != TInPlaceEdit::TEnd::FocusOut) FocusAddOrFind();
}

void TKestrovaForm::TableNoClicked(const TSeatRef& at) {
    TBracketPanel* panel = Panel(at.Bracket);
    if (!panel) return;
    WriteLog(state_, std::string("Click: ") + BracketName(at.Bracket) + " table number edit");
    panel->OpenTableNoEdit(at.Table);
}

void TKestrovaForm::TableEditDone(const TSeatRef& at, const QString& text, TInPlaceEdit::TEnd how) {
    if (how == TInPlaceEdit::TEnd::FocusOut) WriteLog(state_, "Exit: Table number edit");
    Run([&] {
        dirty_[static_cast<int>(at.Bracket)][at.Round] = true;
        if (how != TInPlaceEdit::TEnd::Escape)
            EditTableNumber(state_, at.Bracket, at.Round, at.Table, Cp(text));
    });
    if (how != TInPlaceEdit::TEnd::FocusOut) FocusAddOrFind();
}

void TKestrovaForm::NameMenu(const TSeatRef& at, const QPoint& global) {
    PlayerMenu(at, global, false);
}

void TKestrovaForm::WinMenu(const TSeatRef& at, const QPoint& global) {
    PlayerMenu(at, global, true);
}

void TKestrovaForm::PlayerMenu(const TSeatRef& at, const QPoint& global, bool onWinButton) {
    const TPlayerMenuState on = PlayerMenuEnabling(state_, at, onWinButton, lobby_->HasPlayerMacros());
    menuSeat_ = at;
    TMainMenus& m = *menus_;
    m.PmRemove->setEnabled(on.Remove);
    m.PmBothQuit->setEnabled(on.BothQuit);
    m.PmDisqualify->setEnabled(on.Disqualify);
    m.PmAssignSilently->setEnabled(on.AssignSilently);
    m.PmReassign->setEnabled(on.Reassign);
    m.PmBan->setEnabled(on.Ban);
    lobby_->SetMenuSeat(at);
    m.RunMacroMenu->setEnabled(on.RunMacro);
    if (!global.isNull()) m.PlayerMenu->popup(global);
}

void TKestrovaForm::PlayerMenuCommand(void (*op)(TTourneyState&, const TSeatRef&)) {
    Run([&] {
        dirty_[static_cast<int>(menuSeat_.Bracket)][menuSeat_.Round] = true;
        op(state_, menuSeat_);
    });
}

void TKestrovaForm::TableMenu(const TSeatRef& at, const QPoint& global) {
    const TRoundRec& round = state_.Bracket(at.Bracket)[at.Round];
    menuTableNo_ = round.Tables[at.Table].TableNo;
    menus_->TmVoid->setChecked(IsVoidChecked(state_, menuTableNo_));
    TimingTableMenu(at);
    if (!global.isNull()) menus_->TableMenu->popup(global);
}

void TKestrovaForm::CopyClicked(const TSeatRef& at) {
    Run([&] { CopyForPlayer(state_, at.Bracket, at.Round, at.Table, at.Seat); });
}


}  // namespace kestrova
