#include "session/new_tourney_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/text.h"
#include "engine/format_store.h"
#include "kit/dialog_util.h"

namespace kestrova {

namespace {

constexpr int HostFieldLength = 16;
constexpr int TimeFieldLength = 15;
const char* const kNotUsed = "Not used";

// A drop-down list that asks for fresh entries each time it is opened.
class TRefillCombo : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> BeforePopup;
    void showPopup() override {
        if (BeforePopup) BeforePopup();
        QComboBox::showPopup();
    }
};

// "50,90,1,..." as 15 numbers; anything malformed gives the built-in tables.
TRoundList ParseStartTables(const std::string& text) {
    TRoundList out = TNewTourneyOptions{}.StartTables;
    TRoundList parsed{};
    size_t pos = 0;
    for (int i = 0; i < RoundIndexCount; ++i) {
        size_t comma = text.find(',', pos);
        std::string item = text.substr(pos, comma == std::string::npos ? comma : comma - pos);
        if (!TryStrToInt(item, parsed[i])) return out;
        if (comma == std::string::npos) return i == RoundIndexCount - 1 ? parsed : out;
        pos = comma + 1;
    }
    return out;
}

// The folder part of a path, separator included.
std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

QLineEdit* NewEdit(QWidget* owner, int maxLength, const std::string& text) {
    auto* e = new QLineEdit(ToQ(text), owner);
    e->setMaxLength(maxLength);
    return e;
}

void SetIfGiven(QLineEdit* edit, const std::string& value) {
    if (!value.empty()) edit->setText(ToQ(value));
}

}  // namespace

TNewTourneyForm::TNewTourneyForm(TTourneyState& state, QWidget* parent)
    : QDialog(parent),
      state_(state),
      startTables_(ParseStartTables(state.Settings.DefaultStartTables)) {
    setWindowTitle("New Tournament");
    AskSaveFileName = [this](const QString& title, const QString& start, const QString& filter) {
        return QFileDialog::getSaveFileName(this, title, start, filter);
    };
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildFormatGroup());
    auto* middle = new QGridLayout;
    middle->addWidget(BuildHostsGroup(), 0, 0, 1, 2);
    middle->addWidget(BuildTimesGroup(), 1, 0);
    middle->addWidget(BuildRapidAssignGroup(), 1, 1);
    layout->addLayout(middle);
    layout->addWidget(BuildLobbyGroup());
    layout->addWidget(BuildFileGroup());
    layout->addLayout(BuildButtons());
    resize(385, 433);
    RecomputeFileName();
}

QWidget* TNewTourneyForm::BuildFormatGroup() {
    auto* group = new QGroupBox("Tournament Format", this);
    auto* grid = new QGridLayout(group);
    FormatCombo = new QComboBox(group);
    FormatCombo->addItem("Default");
    for (const auto& name : state_.FormatNames)
        FormatCombo->addItem(ToQ(name));
    FormatCombo->setCurrentIndex(0);
    // The format manager arrives with the format dialogs.
    EditButton = new QPushButton("Edit...", group);
    EditButton->setEnabled(false);
    TeamBox = new QCheckBox("4 players/table (2 teams of 2)", group);
    TeamBox->setChecked(state_.TeamMode);
    PointsBox = new QCheckBox("Show players' points at the end", group);
    PointsBox->setChecked(state_.Settings.ShowPointsAtEnd);
    CapBox = new QCheckBox("Capitalise names", group);
    CapBox->setChecked(state_.CapNames);
    // Kept for the layout of the format options; nothing reads it.
    SpareOptionBox = new QCheckBox("Reserved option", group);
    SpareOptionBox->setEnabled(false);
    grid->addWidget(FormatCombo, 0, 0);
    grid->addWidget(EditButton, 0, 1);
    grid->addWidget(TeamBox, 1, 0);
    grid->addWidget(PointsBox, 1, 1);
    grid->addWidget(CapBox, 2, 0);
    grid->addWidget(SpareOptionBox, 2, 1);
    connect(FormatCombo, &QComboBox::activated, this, &TNewTourneyForm::FormatChosen);
    return group;
}

QWidget* TNewTourneyForm::BuildHostsGroup() {
    auto* group = new QGroupBox("Hosts", this);
    auto* grid = new QGridLayout(group);
    HostEdit = NewEdit(group, HostFieldLength, state_.Settings.HostName);
    CoHostEdit = NewEdit(group, HostFieldLength, "");
    HostPlayerEdit = NewEdit(group, HostFieldLength, "");
    CoHostPlayerEdit = NewEdit(group, HostFieldLength, "");
    UnscheduledHostBox = new QCheckBox("Unscheduled?", group);
    UnscheduledCoHostBox = new QCheckBox("Unscheduled?", group);
    grid->addWidget(new QLabel("Host name:", group), 0, 0);
    grid->addWidget(HostEdit, 0, 1);
    grid->addWidget(new QLabel("Co-host name:", group), 1, 0);
    grid->addWidget(CoHostEdit, 1, 1);
    grid->addWidget(new QLabel("Host's player name:", group), 2, 0);
    grid->addWidget(HostPlayerEdit, 2, 1);
    grid->addWidget(UnscheduledHostBox, 2, 2);
    grid->addWidget(new QLabel("Co-host's player name:", group), 3, 0);
    grid->addWidget(CoHostPlayerEdit, 3, 1);
    grid->addWidget(UnscheduledCoHostBox, 3, 2);
    return group;
}

QWidget* TNewTourneyForm::BuildTimesGroup() {
    auto* group = new QGroupBox("Times", this);
    auto* form = new QFormLayout(group);
    RulesEdit = NewEdit(group, TimeFieldLength, state_.MsgParams.RulesTime);
    RulesEdit->setToolTip("Scheduled start time of tournament");
    StartEdit = NewEdit(group, TimeFieldLength, state_.MsgParams.StartTime);
    StartEdit->setToolTip("Starting time");
    form->addRow("Rules:", RulesEdit);
    form->addRow("Start:", StartEdit);
    connect(StartEdit, &QLineEdit::editingFinished, this, &TNewTourneyForm::RecomputeFileName);
    return group;
}

QWidget* TNewTourneyForm::BuildRapidAssignGroup() {
    auto* group = new QGroupBox("Rapid-Assign", this);
    auto* box = new QVBoxLayout(group);
    box->addWidget(new QLabel("Assign players when...", group));
    RapidNotUsed = new QRadioButton(kNotUsed, group);
    RapidAdded = new QRadioButton("added to ZF", group);
    RapidRemoved = new QRadioButton("removed from ZF", group);
    RapidNotUsed->setChecked(true);
    box->addWidget(RapidNotUsed);
    box->addWidget(RapidAdded);
    box->addWidget(RapidRemoved);
    return group;
}

QWidget* TNewTourneyForm::BuildLobbyGroup() {
    auto* group = new QGroupBox("Auto-post Lobby", this);
    auto* box = new QHBoxLayout(group);
    auto* combo = new TRefillCombo(group);
    combo->BeforePopup = [this] { RefillLobbies(); };
    combo->addItem(kNotUsed);
    LobbyCombo = combo;
    box->addWidget(LobbyCombo);
    return group;
}

QWidget* TNewTourneyForm::BuildFileGroup() {
    auto* group = new QGroupBox("File Name for the Tournament", this);
    auto* box = new QHBoxLayout(group);
    FileEdit = new QLineEdit(group);
    BrowseButton = new QToolButton(group);
    BrowseButton->setText("...");
    BrowseButton->setToolTip("Browse");
    box->addWidget(FileEdit, 1);
    box->addWidget(BrowseButton);
    connect(BrowseButton, &QToolButton::clicked, this, &TNewTourneyForm::BrowseClicked);
    return group;
}

QLayout* TNewTourneyForm::BuildButtons() {
    auto* row = new QHBoxLayout;
    RestoreButton = new QToolButton(this);
    RestoreButton->setText("Restore");
    RestoreButton->setPopupMode(QToolButton::MenuButtonPopup);
    RecentMenu = new QMenu("Recent Tourneys", RestoreButton);
    RestoreButton->setMenu(RecentMenu);
    FillRecentMenu();
    // The start-tables dialog belongs to the match clock and comes with it.
    SeatingButton = new QPushButton("Seating...", this);
    SeatingButton->setEnabled(false);
    StartButton = new QPushButton("Start", this);
    StartButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    row->addWidget(RestoreButton);
    row->addWidget(SeatingButton);
    row->addStretch(1);
    row->addWidget(StartButton);
    row->addWidget(CancelButton);
    connect(RestoreButton, &QToolButton::clicked, this, [this] {
        result_ = TResult::Restore;
        accept();
    });
    connect(StartButton, &QPushButton::clicked, this, &TNewTourneyForm::StartClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    return row;
}

void TNewTourneyForm::FillRecentMenu() {
    if (state_.Settings.RecentTourneys.empty()) {
        RecentMenu->addAction("This will show the most recent tourneys!")->setEnabled(false);
        return;
    }
    for (const auto& path : state_.Settings.RecentTourneys) {
        QAction* a = RecentMenu->addAction(QFileInfo(ToQ(path)).fileName());
        connect(a, &QAction::triggered, this, [this, path] {
            recentPath_ = path;
            result_ = TResult::OpenRecent;
            reject();
        });
    }
}

void TNewTourneyForm::RecomputeFileName() {
    std::string name = NewTourneyFileName(FromQ(FormatCombo->currentText()),
                                          FromQ(StartEdit->text()), state_.Now(), state_.Locale);
    FileEdit->setText(ToQ(FolderOf(FormatsFilePath(state_)) + name));
}

void TNewTourneyForm::FormatChosen() {
    std::optional<TFormatHostFields> f;
    if (FormatFields) f = FormatFields(FromQ(FormatCombo->currentText()));
    if (f) {
        SetIfGiven(HostEdit, f->HostName);
        SetIfGiven(CoHostEdit, f->CoHostName);
        SetIfGiven(HostPlayerEdit, f->HostPlayerName);
        SetIfGiven(CoHostPlayerEdit, f->CoHostPlayerName);
        SetIfGiven(StartEdit, f->StartTime);
        SetIfGiven(RulesEdit, f->RulesTime);
    }
    startTables_ = f && f->StartTables ? *f->StartTables
                                       : ParseStartTables(state_.Settings.DefaultStartTables);
    RecomputeFileName();
}

void TNewTourneyForm::BrowseClicked() {
    QString chosen = AskSaveFileName("Enter Tourney File Name", FileEdit->text() + ".kvb",
                                     "Kestrova File (*.kvb)");
    if (chosen.isEmpty()) return;
    QFileInfo info(chosen);
    FileEdit->setText(info.suffix().isEmpty() ? chosen
                                              : info.path() + "/" + info.completeBaseName());
}

void TNewTourneyForm::RefillLobbies() {
    QString selected = LobbyCombo->currentText();
    LobbyCombo->clear();
    LobbyCombo->addItem(kNotUsed);
    if (LobbyTitles)
        for (const auto& title : LobbyTitles())
            LobbyCombo->addItem(ToQ(title));
    int keep = LobbyCombo->findText(selected);
    LobbyCombo->setCurrentIndex(keep < 0 ? 0 : keep);
}

void TNewTourneyForm::StartClicked() {
    if (QFileInfo::exists(FileEdit->text() + ".kvb") &&
        !state_.Dialogs().YesNo(
            "A tourney file of that name already exists, do you want to overwrite it?"))
        return;
    TNewTourneyOptions& o = options_;
    o.FormatName = FromQ(FormatCombo->currentText());
    o.Path = FromQ(FileEdit->text());
    o.TeamMode = TeamBox->isChecked();
    o.ShowPointsAtEnd = PointsBox->isChecked();
    o.CapNames = CapBox->isChecked();
    o.HostName = FromQ(HostEdit->text());
    o.CoHostName = FromQ(CoHostEdit->text());
    o.HostPlayerName = FromQ(HostPlayerEdit->text());
    o.CoHostPlayerName = FromQ(CoHostPlayerEdit->text());
    o.UnscheduledHost = UnscheduledHostBox->isChecked();
    o.UnscheduledCoHost = UnscheduledCoHostBox->isChecked();
    o.RulesTime = FromQ(RulesEdit->text());
    o.StartTime = FromQ(StartEdit->text());
    o.StartTables = startTables_;
    o.RapidAssignChoice = RapidAdded->isChecked() ? 1 : RapidRemoved->isChecked() ? 2 : 0;
    o.Lobby = LobbyCombo->currentIndex() > 0 ? FromQ(LobbyCombo->currentText()) : std::string();
    result_ = TResult::Start;
    accept();
}

void TNewTourneyForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    CenterOnWidget(this, parentWidget());
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
