#include "engine/match_points_form.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "kit/dialog_util.h"
#include "records/event_log.h"

namespace kestrova {

namespace {
QString RoundCaption(int i) {
    if (i == 13) return "Semis:";
    if (i == 14) return "Final:";
    return QString("Rnd %1:").arg(i + 1);
}
}  // namespace

TMatchPointsForm::TMatchPointsForm(const TMatchPointsArrangement& a, bool signupClosed,
                                   QWidget* parent)
    : QDialog(parent), a_(a) {
    setWindowTitle("Match Points Arrangement");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(BuildFields());
    auto* right = new QVBoxLayout;
    right->addWidget(BuildElimination(signupClosed));
    right->addWidget(BuildDependencies());
    right->addStretch();
    top->addLayout(right);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Refresh();
}

QWidget* TMatchPointsForm::BuildFields() {
    auto* box = new QGroupBox("Points per Match", this);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < RoundIndexCount; ++i) {
        auto* spin = new QSpinBox(box);
        spin->setObjectName(QString("Round%1").arg(i));
        spin->setRange(0, MatchPointsFieldMax);
        auto* label = new QLabel(RoundCaption(i), box);
        label->setBuddy(spin);
        grid->addWidget(label, i % 8, (i / 8) * 2);
        grid->addWidget(spin, i % 8, (i / 8) * 2 + 1);
        connect(spin, &QSpinBox::valueChanged, this, [this, i](int v) {
            EditArrangementField(a_, i, v);
        });
        fields_[i] = spin;
    }
    return box;
}

QWidget* TMatchPointsForm::BuildElimination(bool signupClosed) {
    auto* box = new QGroupBox("Elimination", this);
    auto* row = new QHBoxLayout(box);
    const char* captions[3] = {"Single", "Double", "Triple"};
    for (int e = 0; e < 3; ++e) {
        elim_[e] = new QRadioButton(captions[e], box);
        elim_[e]->setChecked(static_cast<int>(a_.Elim) == e);
        row->addWidget(elim_[e]);
        connect(elim_[e], &QRadioButton::toggled, this, [this, e](bool on) {
            if (!on) return;
            a_.Elim = static_cast<TElimFormat>(e);
            Refresh();
        });
    }
    box->setEnabled(!signupClosed);
    return box;
}

QWidget* TMatchPointsForm::BuildDependencies() {
    auto* box = new QGroupBox("Player Count Dependencies", this);
    auto* col = new QVBoxLayout(box);
    same_ = new QCheckBox("Points are always the same regardless of number of players", box);
    same_->setChecked(a_.SameForAll);
    auto* label = new QLabel("Enter points below for this number of players:", box);
    tierLabel_ = label;
    tiers_ = new QListWidget(box);
    tiers_->addItems({"    8 to 16", "  17 to 32", "  33 to 64", "  65 to 128", "129 to 256"});
    tiers_->setCurrentRow(a_.Tier);
    label->setBuddy(tiers_);
    col->addWidget(same_);
    col->addWidget(label);
    col->addWidget(tiers_);
    connect(same_, &QCheckBox::toggled, this, [this](bool on) {
        SetSameForAll(a_, on);
        Refresh();
    });
    connect(tiers_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        a_.Tier = row;
        Refresh();
    });
    return box;
}

void TMatchPointsForm::Refresh() {
    const TRoundList& row = a_.Tiers[a_.Tier];
    for (int i = 0; i < RoundIndexCount; ++i) {
        QSignalBlocker block(fields_[i]);
        fields_[i]->setValue(row[i]);
        fields_[i]->setEnabled(ArrangementFieldUsable(a_, i));
    }
    tiers_->setEnabled(!a_.SameForAll);
    tierLabel_->setEnabled(!a_.SameForAll);
}

void TMatchPointsForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

void RunMatchPointsOther(TTourneyState& s, QWidget* parent) {
    WriteLog(s, "Menu: Format/Match Points/Other...");
    TMatchPointsForm form(ReadArrangement(s), s.SignupClosed, parent);
    if (form.exec() == QDialog::Accepted) ApplyArrangement(s, form.Arrangement());
}

}  // namespace kestrova
