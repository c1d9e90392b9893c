#include "timing/time_zone_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include "common/datetime.h"
#include "kit/dialog_util.h"
#include "model/tourney_state.h"
#include "records/settings.h"

namespace kestrova {

namespace {
constexpr const char* LocalNote = "Left time is always local";
}

TSelectTimeZoneForm::TSelectTimeZoneForm(TTourneyState& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setWindowTitle("Select Time Zones to Display");
    auto* grid = new QGridLayout(this);
    BuildSide(Middle, "Middle time-zone (%e token):", grid, 0);
    BuildSide(Right, "Right time-zone (%w token):", grid, 1);
    note_ = new QLabel(LocalNote, this);
    note_->setWordWrap(true);
    grid->addWidget(note_, 3, 0, 1, 2);
    grid->addWidget(new QLabel("Time:", this), 4, 0, 1, 2);
    for (int side = 0; side < 2; ++side) {
        previews_[side] = new QLabel(this);
        grid->addWidget(previews_[side], 5, side);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    CancelButton = buttons->button(QDialogButtonBox::Cancel);
    grid->addWidget(buttons, 6, 0, 1, 2);
    connect(OkButton, &QPushButton::clicked, this, &TSelectTimeZoneForm::OkClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // A store that cannot be read leaves both lists empty.
    if (ITimeZoneStore* store = state_.Ports.TimeZones) {
        try {
            zones_ = ReadZoneList(*store);
        } catch (const std::exception&) {
            zones_.clear();
        }
    }
    for (QListWidget* list : lists_)
        for (const TTimeZoneInfo& z : zones_)
            list->addItem(ToQ(z.Display));
    const auto defaults = state_.Ports.TimeZones ? state_.Ports.TimeZones->DefaultKeyNames()
                                                 : ITimeZoneStore().DefaultKeyNames();
    SelectKey(Middle, defaults.first);
    SelectKey(Right, defaults.second);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &TSelectTimeZoneForm::ShowPreview);
}

void TSelectTimeZoneForm::BuildSide(TSide side, const char* caption, QGridLayout* grid,
                                    int column) {
    auto* label = new QLabel(caption, this);
    lists_[side] = new QListWidget(this);
    lists_[side]->setMinimumWidth(260);
    label->setBuddy(lists_[side]);
    hours24_[side] = new QCheckBox("24 hour?", this);
    grid->addWidget(label, 0, column);
    grid->addWidget(lists_[side], 1, column);
    grid->addWidget(hours24_[side], 2, column);
    connect(lists_[side], &QListWidget::currentRowChanged, this, [this, side] { SideChanged(side); });
    connect(hours24_[side], &QCheckBox::toggled, this, [this, side] { SideChanged(side); });
}

void TSelectTimeZoneForm::SelectKey(TSide side, const std::string& key) {
    for (size_t i = 0; i < zones_.size(); ++i)
        if (zones_[i].KeyName == key) {
            lists_[side]->setCurrentRow(static_cast<int>(i));
            return;
        }
}

void TSelectTimeZoneForm::SelectFromSettings() {
    const TAppSettings& a = state_.Settings;
    SelectKey(Middle, a.MiddleTimeZone);
    SelectKey(Right, a.RightTimeZone);
    hours24_[Middle]->setChecked(a.MiddleTime24Hour);
    hours24_[Right]->setChecked(a.RightTime24Hour);
    SideChanged(Middle);
    SideChanged(Right);
}

void TSelectTimeZoneForm::SideChanged(TSide side) {
    const int row = lists_[side]->currentRow();
    clocks_[side] = {};
    if (row >= 0 && row < static_cast<int>(zones_.size()) && state_.Ports.TimeZones) {
        const TDateTime utc = state_.Ports.Clock ? state_.Ports.Clock->UtcNow() : state_.Now();
        clocks_[side] = ZoneClock(zones_[row], hours24_[side]->isChecked(),
                                  state_.Ports.TimeZones->LocalZone(), utc);
    }
    // Say so when a chosen zone's daylight saving cannot be followed.
    QString note = LocalNote;
    for (QListWidget* list : lists_) {
        const int r = list->currentRow();
        if (r >= 0 && r < static_cast<int>(zones_.size()) && zones_[r].FixedOffset)
            note += "\n" + ToQ(zones_[r].KeyName) +
                    ": its daylight-saving rule has no fixed yearly form; the clock keeps the "
                    "zone's offset of today.";
    }
    note_->setText(note);
    ShowPreview();
}

void TSelectTimeZoneForm::ShowPreview() {
    for (int side = 0; side < 2; ++side) {
        const TDateTime t = state_.Now() - clocks_[side].BiasMinutes / 1440.0;
        previews_[side]->setText(ToQ(FormatDateTime(clocks_[side].Pattern, t, state_.Locale)));
    }
}

void TSelectTimeZoneForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
    ShowPreview();
    timer_.start();
}

void TSelectTimeZoneForm::hideEvent(QHideEvent* e) {
    timer_.stop();
    QDialog::hideEvent(e);
}

void TSelectTimeZoneForm::OkClicked() {
    TAppSettings& a = state_.Settings;
    auto key = [this](TSide side) {
        const int row = lists_[side]->currentRow();
        return row >= 0 && row < static_cast<int>(zones_.size()) ? zones_[row].KeyName
                                                                  : std::string();
    };
    a.MiddleTimeZone = key(Middle);
    a.RightTimeZone = key(Right);
    a.MiddleTime24Hour = hours24_[Middle]->isChecked();
    a.RightTime24Hour = hours24_[Right]->isChecked();
    SaveSettings(state_);
    LoadZoneClocks(state_);
    accept();
}

}  // namespace kestrova
