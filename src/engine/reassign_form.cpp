#include "engine/reassign_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "kit/dialog_util.h"

namespace kestrova {

namespace {
QLabel* NewTextLabel(const std::string& text, QWidget* owner) {
    auto* label = new QLabel(ToQ(text), owner);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}
}  // namespace

TReassignForm::TReassignForm(TTourneyState& state, TReassignInfo info, QWidget* parent)
    : QDialog(parent), state_(state), info_(std::move(info)) {
    setWindowTitle("Reassign Player to Different Table");
    auto* layout = new QVBoxLayout(this);
    CurrentLabel = NewTextLabel(info_.CurrentText, this);
    OpponentLabel = NewTextLabel(info_.OpponentText, this);
    layout->addWidget(CurrentLabel);
    layout->addWidget(OpponentLabel);

    AssignWinChoice = new QRadioButton(
        "Assign the win to the player and place them at a specified table for the next round,  OR",
        this);
    MoveChoice = new QRadioButton(
        "Move the player from where they are now to a different table in the same round?", this);
    AssignWinChoice->setEnabled(info_.AssignWinEnabled);
    MoveChoice->setEnabled(info_.MoveEnabled);
    (info_.MoveSelected ? MoveChoice : AssignWinChoice)->setChecked(true);
    layout->addWidget(AssignWinChoice);
    layout->addWidget(MoveChoice);

    auto* group = new QGroupBox("Which table do you want to place the player at?", this);
    auto* row = new QHBoxLayout(group);
    TableList = new QComboBox(group);
    // The legend's line break is CR LF in the program's texts; a label wants LF.
    LegendLabel = new QLabel(QString(ReassignLegend).remove('\r'), group);
    row->addWidget(new QLabel("Table:", group));
    row->addWidget(TableList);
    row->addWidget(LegendLabel, 1);
    layout->addWidget(group);

    AddOkCancelRow(this, layout, OkButton, CancelButton);

    connect(AssignWinChoice, &QRadioButton::toggled, this, &TReassignForm::FillTableList);
    connect(OkButton, &QPushButton::clicked, this, &TReassignForm::OkClicked);
    FillTableList();
}

void TReassignForm::FillTableList() {
    const auto& entries = AssignWinChoice->isChecked() ? info_.NextRound : info_.ThisRound;
    TableList->clear();
    for (const auto& e : entries)
        TableList->addItem(ToQ(e));
    TableList->setCurrentIndex(entries.empty() ? -1 : 0);
}

void TReassignForm::OkClicked() {
    // Close first: the carried-out move redraws the window and may post or
    // ask, which must not happen under this dialog.
    accept();
    CarryOutReassign(state_, info_, AssignWinChoice->isChecked(), FromQ(TableList->currentText()));
}

void TReassignForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

void RunReassign(TTourneyState& state, const TSeatRef& at, QWidget* parent) {
    TReassignInfo info = BuildReassign(state, at);
    if (!info.Player) return;
    TReassignForm form(state, std::move(info), parent);
    form.exec();
}

}  // namespace kestrova
