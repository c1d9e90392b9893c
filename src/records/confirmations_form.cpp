#include "records/confirmations_form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/tourney_state.h"
#include "records/confirm.h"
#include "kit/dialog_util.h"

namespace kestrova {

namespace {
struct TBoxCaption {
    uint32_t Bit;
    const char* Caption;
};
const TBoxCaption kQuestions[] = {
    {confirm_bits::BootTimedOutPost, "Booted player has timed, post in lobby?"},
    {confirm_bits::CloseSignups, "Close signups confirmation"},
    {confirm_bits::RemovePlayer, "Remove player confirmation"},
    {confirm_bits::BothQuit, "Both players have quit confirmation"},
    {confirm_bits::Disqualify, "Disqualification confirmation"},
    {confirm_bits::ClearZoneFriends, "Clear ZoneFriends list:"},
    {confirm_bits::ForcedBye, "Forced bye confirmation"},
    {confirm_bits::BootedWinner, "Assign win to booted player confirmation"},
    {confirm_bits::DisqualifiedWinner, "Assign win to DQed player confirmation"},
    {confirm_bits::PostOnBye, "Post assign for player on a bye confirmation"},
};
const TBoxCaption kNotices[] = {
    {confirm_bits::ByeTableNotice, "Player has a bye in the next round"},
    {confirm_bits::MovedNotice, "Player has been automatically moved"},
    {confirm_bits::ZoneFriendsRenamedNotice, "ZF name has changed, Rapid-Assign disabled"},
};
}  // namespace

TConfirmationsForm::TConfirmationsForm(TTourneyState& state, QWidget* parent)
    : QDialog(parent), state_(state), filter_(state.Settings.ConfirmNotifyFilter) {
    setWindowTitle("Confirmations and Notifications");
    auto* layout = new QVBoxLayout(this);
    auto addBox = [&](const TBoxCaption& c, QBoxLayout* into) {
        auto* box = new QCheckBox(c.Caption, this);
        box->setChecked((filter_ & c.Bit) == 0);
        connect(box, &QCheckBox::clicked, this, &TConfirmationsForm::BoxClicked);
        boxes_.emplace_back(c.Bit, box);
        into->addWidget(box);
        return box;
    };

    layout->addWidget(new QLabel("Tick which questions are to be asked:", this));
    for (const auto& c : kQuestions) {
        if (c.Bit != confirm_bits::ClearZoneFriends) {
            addBox(c, layout);
            continue;
        }
        // The answer given while the question is switched off.
        auto* row = new QHBoxLayout;
        addBox(c, row);
        auto* answer = new QWidget(this);  // own parent keeps the pair exclusive
        auto* answerRow = new QHBoxLayout(answer);
        answerRow->setContentsMargins(0, 0, 0, 0);
        ClearZfYes = new QRadioButton("Yes", answer);
        ClearZfNo = new QRadioButton("No", answer);
        (state.Settings.DefaultClearZfList ? ClearZfYes : ClearZfNo)->setChecked(true);
        answerRow->addWidget(ClearZfYes);
        answerRow->addWidget(ClearZfNo);
        row->addWidget(answer);
        row->addStretch(1);
        layout->addLayout(row);
    }
    layout->addSpacing(8);
    layout->addWidget(new QLabel("Tick which comments are to be shown:", this));
    for (const auto& c : kNotices)
        addBox(c, layout);

    AddOkCancelRow(this, layout, OkButton, CancelButton);
    connect(OkButton, &QPushButton::clicked, this, &TConfirmationsForm::OkClicked);
}

QCheckBox* TConfirmationsForm::BoxOf(uint32_t bit) const {
    for (const auto& [b, box] : boxes_)
        if (b == bit) return box;
    return nullptr;
}

void TConfirmationsForm::BoxClicked() {
    // Rebuilt from the boxes alone: bits without a box (the ban question,
    // unused bits) are cleared, so everything switched off here is asked again.
    uint32_t filter = 0;
    for (const auto& [bit, box] : boxes_)
        if (!box->isChecked()) filter |= bit;
    filter_ = filter;
}

void TConfirmationsForm::OkClicked() {
    state_.Settings.ConfirmNotifyFilter = filter_;
    state_.Settings.DefaultClearZfList = ClearZfYes->isChecked();
    SaveSettings(state_);
    accept();
}

void TConfirmationsForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
