#include "formats/host_details_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/dialog_util.h"
#include "model/tourney_state.h"

namespace kestrova {

namespace {
constexpr int HostFieldLength = 16;
}

THostDetailsForm::THostDetailsForm(TTourneyState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setWindowTitle("Host Details");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto edit = [&](int row, const char* caption, const std::string& value) {
        auto* e = new QLineEdit(ToQ(value), this);
        e->setMaxLength(HostFieldLength);
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(e, row, 1);
        return e;
    };
    HostEdit = edit(0, "Host name:", state.MsgParams.HostName);
    CoHostEdit = edit(1, "Co-host name:", state.MsgParams.CoHostName);
    HostPlayerEdit = edit(2, "Host's player name:", state.HostPlayerName);
    CoHostPlayerEdit = edit(3, "Co-host's player name:", state.CoHostPlayerName);
    UnscheduledHostBox = new QCheckBox("Unscheduled?", this);
    UnscheduledHostBox->setChecked(state.UnscheduledHost);
    UnscheduledCoHostBox = new QCheckBox("Unscheduled?", this);
    UnscheduledCoHostBox->setChecked(state.UnscheduledCoHost);
    grid->addWidget(UnscheduledHostBox, 2, 2);
    grid->addWidget(UnscheduledCoHostBox, 3, 2);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    CancelButton = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Store();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void THostDetailsForm::Store() {
    state_.MsgParams.HostName = FromQ(HostEdit->text());
    state_.MsgParams.CoHostName = FromQ(CoHostEdit->text());
    state_.HostPlayerName = FromQ(HostPlayerEdit->text());
    state_.CoHostPlayerName = FromQ(CoHostPlayerEdit->text());
    state_.UnscheduledHost = UnscheduledHostBox->isChecked();
    state_.UnscheduledCoHost = UnscheduledCoHostBox->isChecked();
}

void THostDetailsForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
