#include "timing/time_limits_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "engine/boots.h"
#include "kit/dialog_util.h"
#include "model/tourney_state.h"
#include "timing/reminders.h"

namespace kestrova {

QString RoundFieldCaption(int roundIndex) {
    if (roundIndex == 13) return "Semis:";
    if (roundIndex == 14) return "Final:";
    return QString("Rnd %1:").arg(roundIndex + 1);
}

TTimeLimitsForm::TTimeLimitsForm(TTourneyState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setWindowTitle("Match Time Limits");
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Scheduled Time per Match (in minutes)", this);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < RoundIndexCount; ++i) {
        auto* field = new QSpinBox(group);
        field->setRange(0, MaxTimeLimit);
        field->setSingleStep(1);
        field->setValue(state.MsgParams.TimeLimits[static_cast<size_t>(i)]);
        // Three columns of five, read down.
        grid->addWidget(new QLabel(RoundFieldCaption(i), group), i % 5, (i / 5) * 2);
        grid->addWidget(field, i % 5, (i / 5) * 2 + 1);
        Fields[static_cast<size_t>(i)] = field;
    }
    layout->addWidget(group);
    auto* note = new QLabel("Entering zeros will ignore time-limits", this);
    note->setStyleSheet("color: red");
    layout->addWidget(note);
    AddOkCancelRow(this, layout, OkButton, CancelButton);
    connect(OkButton, &QPushButton::clicked, this, [this] {
        SetTimeLimits(state_, Limits());
        accept();
    });
}

TRoundList TTimeLimitsForm::Limits() const {
    TRoundList out{};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = Fields[i]->value();
    return out;
}

void TTimeLimitsForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
