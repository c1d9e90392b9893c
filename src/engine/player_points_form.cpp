#include "engine/player_points_form.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "common/text.h"
#include "kit/dialog_util.h"
#include "records/event_log.h"

namespace kestrova {

namespace {

// Cells take the digits 0-9 only (backspace, tab and Enter work as ever).
class TDigitsDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* edit = new QLineEdit(parent);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        return edit;
    }
};

QString RoundCaption(int i) {
    if (i == 13) return "Semis:";
    if (i == 14) return "Final:";
    return QString("Rnd %1:").arg(i + 1);
}

}  // namespace

TPlayerPointsForm::TPlayerPointsForm(const TPlayerPointsValues& v, QWidget* parent)
    : QDialog(parent), v_(v) {
    setWindowTitle("Point Allocations for Players");
    auto* layout = new QHBoxLayout;
    layout->addWidget(BuildStandard());
    auto* right = new QVBoxLayout;
    right->addWidget(BuildHost());
    right->addWidget(BuildBonus());
    right->addStretch();
    layout->addLayout(right);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(layout);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
}

QWidget* TPlayerPointsForm::BuildStandard() {
    auto* box = new QGroupBox("Standard Points", this);
    auto* col = new QVBoxLayout(box);
    grid_ = new QTableWidget(RoundIndexCount, 3, box);
    grid_->setObjectName("PointsGrid");
    grid_->setHorizontalHeaderLabels({"Win", "Bye", "Lose"});
    QStringList rows;
    for (int i = 0; i < RoundIndexCount; ++i) rows << RoundCaption(i);
    grid_->setVerticalHeaderLabels(rows);
    grid_->setItemDelegate(new TDigitsDelegate(grid_));
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    FillGrid();
    connect(grid_, &QTableWidget::cellChanged, this, [this](int row, int column) {
        const int value = StrToIntDef(FromQ(grid_->item(row, column)->text()), 0);
        EditPointsCell(v_, row, column, value);
        FillGrid();
    });
    same_ = new QCheckBox("All rounds have the same points", box);
    same_->setChecked(v_.SameRounds);
    connect(same_, &QCheckBox::toggled, this, [this](bool on) {
        SetSameRounds(v_, on);
        FillGrid();
    });
    col->addWidget(grid_);
    col->addWidget(same_);

    auto* places = new QGridLayout;
    places->addWidget(new QLabel("Points for placings:", box), 0, 0, 1, 2);
    AddSpin(places, 1, 0, "1st:", "FirstSpin", FirstPlaceMax, v_.First);
    AddSpin(places, 2, 0, "2nd:", "SecondSpin", PlacePointsMax, v_.Second);
    AddSpin(places, 3, 0, "3rd:", "ThirdSpin", PlacePointsMax, v_.Third);
    extra_ = new QRadioButton("Extra:", box);
    exactly_ = new QRadioButton("Exactly:", box);
    (v_.Exactly ? exactly_ : extra_)->setChecked(true);
    places->addWidget(extra_, 1, 2);
    places->addWidget(exactly_, 2, 2);
    col->addLayout(places);
    return box;
}

QSpinBox* TPlayerPointsForm::AddSpin(QGridLayout* grid, int row, int col, const QString& caption,
                                     const char* name, int max, int value) {
    auto* spin = new QSpinBox(this);
    spin->setObjectName(name);
    spin->setRange(0, max);
    spin->setValue(value);
    auto* label = new QLabel(caption, this);
    label->setBuddy(spin);
    grid->addWidget(label, row, col);
    grid->addWidget(spin, row, col + 1);
    return spin;
}

QWidget* TPlayerPointsForm::BuildHost() {
    auto* box = new QGroupBox("Host Points", this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel("Scheduled:", box), 0, 0, 1, 2);
    AddSpin(grid, 1, 0, "Main host:", "HostSpin", PlacePointsMax, v_.Host);
    AddSpin(grid, 2, 0, "Co-host:", "CoHostSpin", PlacePointsMax, v_.CoHost);
    grid->addWidget(new QLabel("Unscheduled:", box), 0, 2, 1, 2);
    AddSpin(grid, 1, 2, "Main host:", "UnscheduledHostSpin", PlacePointsMax, v_.UnscheduledHost);
    AddSpin(grid, 2, 2, "Co-host:", "UnscheduledCoHostSpin", PlacePointsMax, v_.UnscheduledCoHost);
    return box;
}

QWidget* TPlayerPointsForm::BuildBonus() {
    auto* box = new QGroupBox("Multi-Elim Bonus Points", this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel("Points for winner of a bracket waiting to play in finals...", box),
                    0, 0, 1, 2);
    AddSpin(grid, 1, 0, "- Points per round:", "WinOfWinSpin", PlacePointsMax, v_.WinOfWin);
    AddSpin(grid, 2, 0, "- Fixed # of points:", "FixedWinOfWinSpin", PlacePointsMax,
            v_.FixedWinOfWin);
    AddSpin(grid, 3, 0,
            "Extra points for the winner of \nthe loser's bracket winning \nthe first match \nin "
            "the final:",
            "FirstMatchWinSpin", PlacePointsMax, v_.FirstMatchWin);
    return box;
}

void TPlayerPointsForm::FillGrid() {
    QSignalBlocker block(grid_);
    const TRoundList* columns[3] = {&v_.Win, &v_.Bye, &v_.Lose};
    for (int r = 0; r < RoundIndexCount; ++r)
        for (int c = 0; c < 3; ++c) {
            const QString text = QString::number((*columns[c])[r]);
            if (QTableWidgetItem* item = grid_->item(r, c))
                item->setText(text);
            else
                grid_->setItem(r, c, new QTableWidgetItem(text));
        }
}

TPlayerPointsValues TPlayerPointsForm::Values() const {
    TPlayerPointsValues v = v_;
    auto spin = [this](const char* name) { return Spin(name)->value(); };
    v.SameRounds = same_->isChecked();
    v.First = spin("FirstSpin");
    v.Second = spin("SecondSpin");
    v.Third = spin("ThirdSpin");
    v.Exactly = exactly_->isChecked();
    v.Host = spin("HostSpin");
    v.CoHost = spin("CoHostSpin");
    v.UnscheduledHost = spin("UnscheduledHostSpin");
    v.UnscheduledCoHost = spin("UnscheduledCoHostSpin");
    v.WinOfWin = spin("WinOfWinSpin");
    v.FixedWinOfWin = spin("FixedWinOfWinSpin");
    v.FirstMatchWin = spin("FirstMatchWinSpin");
    return v;
}

void TPlayerPointsForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

void RunPlayerPoints(TTourneyState& s, QWidget* parent) {
    WriteLog(s, "Menu: Format/Options/Player points");
    TPlayerPointsForm form(ReadPlayerPointsValues(s), parent);
    if (form.exec() == QDialog::Accepted) ApplyPlayerPointsValues(s, form.Values());
}

}  // namespace kestrova
