// The main window's points commands: the "Match points" items, the two
// points dialogs, "Double player points", "Edit and send points...", the
// "Save as" file types and the two points panels.
#include <QFileDialog>
#include <QFileInfo>

#include "common/cp1252.h"
#include "engine/format_store.h"
#include "engine/match_points_form.h"
#include "engine/player_points_form.h"
#include "engine/points.h"
#include "engine/points_summary_form.h"
#include "engine/reports.h"
#include "engine/tourney_file.h"
#include "ui/kestrova_form.h"

namespace kestrova {

namespace {

QString Q(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }
std::string Cp(const QString& s) { return Utf8ToCp1252(s.toStdString()); }

const QStringList& SaveAsFilters() {
    static const QStringList filters = {
        "Dunmore's Points File (*.txt)", "Kestrova File (*.kvb)",
        "Text File (space separated) (*.txt)", "CSV File (comma separated text) (*.csv)"};
    return filters;
}

std::optional<std::pair<QString, int>> DefaultSaveAsDialog(QWidget* parent, const QString& start) {
    static const char* const suffixes[] = {"txt", "kvb", "txt", "csv"};
    QFileDialog dialog(parent, "Save Tournament");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(SaveAsFilters());
    dialog.selectNameFilter(SaveAsFilters()[1]);
    dialog.setDefaultSuffix("kvb");
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& f) {
        dialog.setDefaultSuffix(suffixes[std::max<qsizetype>(0, SaveAsFilters().indexOf(f))]);
    });
    const QFileInfo info(start);
    if (!start.isEmpty()) dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.completeBaseName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const int type = static_cast<int>(SaveAsFilters().indexOf(dialog.selectedNameFilter())) + 1;
    return std::make_pair(dialog.selectedFiles().first(), type < 1 ? 2 : type);
}

}  // namespace

void TKestrovaForm::ConnectPointsMenus() {
    TMainMenus& m = *menus_;
    for (int i = 0; i < m.MatchPointsItems.size(); ++i) {
        connect(m.MatchPointsItems[i], &QAction::triggered, this, [this, i] {
            if (i == MatchPointsOther)
                Run([&] { RunMatchPointsOther(state_, this); });
            else
                Run([&] {
                    ChooseMatchPointsPreset(state_, i);
                    SaveTourney(state_);
                });
            CheckPointsMenus();
        });
    }
    connect(m.MatchPoints, &QMenu::aboutToShow, this, [this] { CheckPointsMenus(); });
    connect(m.Options, &QMenu::aboutToShow, this, [this] { CheckPointsMenus(); });
    connect(m.PlayerPoints, &QAction::triggered, this,
            [this] { Run([&] { RunPlayerPoints(state_, this); }); });
    connect(m.DoublePoints, &QAction::triggered, this, [this] {
        Run([&] { ToggleDoublePlayerPoints(state_); });
        CheckPointsMenus();
    });
    connect(m.EditPoints, &QAction::triggered, this,
            [this] { Run([&] { RunEditAndSendPoints(state_, this); }); });
    if (!saveAsDialog_) saveAsDialog_ = &DefaultSaveAsDialog;
}

void TKestrovaForm::CheckPointsMenus() {
    TMainMenus& m = *menus_;
    const int item = std::clamp(state_.MatchPointsItem, 0, MatchPointsOther);
    m.MatchPointsItems[item]->setChecked(true);
    m.DoublePoints->setChecked(state_.DoublePlayerPoints);
}

void TKestrovaForm::SaveAsCommand() {
    auto chosen = saveAsDialog_(this, Q(state_.TourneyPath));
    if (!chosen) return;
    const int type = std::clamp(chosen->second, 1, 4);
    Run([&] { SaveAsType(state_, Cp(chosen->first), static_cast<TSaveAsType>(type)); });
}

void TKestrovaForm::PlayerPointsChanged() {
    QTreeWidget* points = docks_->List(TStatusDocks::PlayerPoints);
    points->clear();
    for (const TPointsRow& row : PlayerPointsRows(state_))
        points->addTopLevelItem(new QTreeWidgetItem({Q(row.Name), QString::number(row.Points)}));
    QTreeWidget* byes = docks_->List(TStatusDocks::HadBye);
    byes->clear();
    for (const TByeRow& row : ByeRows(state_))
        byes->addTopLevelItem(new QTreeWidgetItem({Q(row.Name), Q(row.Rounds)}));
}

}  // namespace kestrova
