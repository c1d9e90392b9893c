// The Format menu's "E&dit..." (the format manager) and the "Hosts..."
// button (host details).
#include <QPushButton>

#include "engine/format_store.h"
#include "engine/match_points_form.h"
#include "engine/player_points_form.h"
#include "engine/tourney_file.h"
#include "formats/format_manager_form.h"
#include "formats/host_details_form.h"
#include "records/event_log.h"
#include "ui/kestrova_form.h"

namespace kestrova {

namespace {
// The points dialogs hold one "Exactly:" choice for the three placings.
TPlayerPointsValues ToDialog(const TPlayerPointsFields& f) {
    TPlayerPointsValues v;
    v.Win = f.WinPoints;
    v.Bye = f.ByePoints;
    v.Lose = f.LosePoints;
    v.First = f.Place[0];
    v.Second = f.Place[1];
    v.Third = f.Place[2];
    v.Exactly = f.PlaceExactly[0] || f.PlaceExactly[1] || f.PlaceExactly[2];
    v.Host = f.HostPoints;
    v.CoHost = f.CoHostPoints;
    v.UnscheduledHost = f.UnscheduleHostPoints;
    v.UnscheduledCoHost = f.UnscheduleCoHostPoints;
    v.WinOfWin = f.WinOfWinPoints;
    v.FixedWinOfWin = f.FixedWinOfWinPoints;
    v.FirstMatchWin = f.FirstMatchWinPoints;
    return v;
}

TPlayerPointsFields FromDialog(const TPlayerPointsValues& v) {
    TPlayerPointsFields f;
    f.WinPoints = v.Win;
    f.ByePoints = v.Bye;
    f.LosePoints = v.Lose;
    f.Place = {v.First, v.Second, v.Third};
    f.PlaceExactly = {v.Exactly, v.Exactly, v.Exactly};
    f.HostPoints = v.Host;
    f.CoHostPoints = v.CoHost;
    f.UnscheduleHostPoints = v.UnscheduledHost;
    f.UnscheduleCoHostPoints = v.UnscheduledCoHost;
    f.WinOfWinPoints = v.WinOfWin;
    f.FixedWinOfWinPoints = v.FixedWinOfWin;
    f.FirstMatchWinPoints = v.FirstMatchWin;
    return f;
}

std::optional<TPlayerPointsFields> EditPlayerPoints(QWidget* parent, const TPlayerPointsFields& f) {
    TPlayerPointsForm form(ToDialog(f), parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return FromDialog(form.Values());
}

// The match points dialog knows three kinds; a stored "R" opens as Single.
std::optional<TCustomPoints> EditCustomPoints(QWidget* parent, const TCustomPoints& p) {
    TMatchPointsArrangement a;
    a.Tiers = p.Tiers;
    a.SameForAll = p.SameForAll;
    a.Elim = p.Elim == TCustomElim::Double   ? TElimFormat::Double
             : p.Elim == TCustomElim::Triple ? TElimFormat::Triple
                                             : TElimFormat::Single;
    TMatchPointsForm form(a, false, parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    const TMatchPointsArrangement& out = form.Arrangement();
    TCustomPoints result;
    result.Tiers = out.Tiers;
    result.SameForAll = out.SameForAll;
    result.Elim = out.Elim == TElimFormat::Double   ? TCustomElim::Double
                  : out.Elim == TElimFormat::Triple ? TCustomElim::Triple
                                                    : TCustomElim::Single;
    return result;
}
}  // namespace

void TKestrovaForm::ConnectFormatDialogs() {
    FormatEditorServices.EditPlayerPoints = EditPlayerPoints;
    FormatEditorServices.EditCustomPoints = EditCustomPoints;
    menus_->EditFormats->setEnabled(true);
    connect(menus_->EditFormats, &QAction::triggered, this, [this] { EditFormatsCommand(); });
    connect(startStrip_->HostsButton(), &QPushButton::clicked, this, [this] {
        THostDetailsForm form(state_, this);
        if (form.exec() == QDialog::Accepted) Run([&] { SaveTourney(state_); });
    });
}

void TKestrovaForm::EditFormatsCommand() {
    WriteLog(state_, "Menu: Format/Edit...");
    TFormatManagerForm form(state_, FormatsFilePath(state_), CurrentFormatName(state_), this);
    form.EditorServices = FormatEditorServices;
    if (form.exec() != QDialog::Accepted) return;
    const std::string current = form.CurrentName();
    Run([&] { RebuildFormatMenu(state_, current); });
}

}  // namespace kestrova
