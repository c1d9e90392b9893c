// The status bar's world clock: its pop-up menu opens "Select Time Zones to
// Display", created once and reused.
#include "records/event_log.h"
#include "timing/time_zone_form.h"
#include "timing/world_clock.h"
#include "ui/kestrova_form.h"

namespace kestrova {

void TKestrovaForm::ConnectWorldClock() {
    connect(menus_->SelectTimeZones, &QAction::triggered, this, [this] {
        WriteLog(state_, "Menu: Select time zones");
        if (!zoneForm_) zoneForm_ = new TSelectTimeZoneForm(state_, this);
        zoneForm_->SelectFromSettings();
        if (zoneForm_->exec() == QDialog::Accepted) TickClock();
    });
}

}  // namespace kestrova
