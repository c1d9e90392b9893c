#include "timing/boot_time_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "engine/boots.h"
#include "kit/dialog_util.h"
#include "model/tourney_state.h"
#include "timing/boot_timer.h"
#include "timing/reminders.h"

namespace kestrova {

TBootTimeForm::TBootTimeForm(TTourneyState& state, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Boot Time");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Enter time for boots:", this));
    Minutes = new QSpinBox(this);
    Minutes->setRange(MinBootTime, MaxBootTime);
    Minutes->setSingleStep(1);
    Minutes->setValue(state.BootTime);
    row->addWidget(Minutes);
    row->addWidget(new QLabel("minutes", this));
    layout->addLayout(row);
    AddOkCancelRow(this, layout, OkButton, CancelButton);
    connect(OkButton, &QPushButton::clicked, this, [this, &state] {
        SetBootTime(state, Minutes->value());
        accept();
    });
}

void TBootTimeForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

TMatchRemindersForm::TMatchRemindersForm(TTourneyState& state, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Configure Match Reminders");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel("Select when you would like a reminder when a match has less than:", this));
    At15 = new QCheckBox("15 minutes to go", this);
    At10 = new QCheckBox("10 minutes to go", this);
    At5 = new QCheckBox("5 minutes to go", this);
    At15->setChecked(state.Settings.RemindAt15);
    At10->setChecked(state.Settings.RemindAt10);
    At5->setChecked(state.Settings.RemindAt5);
    for (QCheckBox* box : {At15, At10, At5})
        layout->addWidget(box);
    AddOkCancelRow(this, layout, OkButton, CancelButton);
    connect(OkButton, &QPushButton::clicked, this, [this, &state] {
        SetReminders(state, At15->isChecked(), At10->isChecked(), At5->isChecked());
        accept();
    });
}

void TMatchRemindersForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
