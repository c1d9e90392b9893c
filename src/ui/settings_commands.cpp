// The window's side of the settings: placing the window where the host left
// it (or on a screen that exists), and the options the settings switch on.
#include "kit/dialog_util.h"
#include "ui/kestrova_form.h"

namespace kestrova {


void TKestrovaForm::ApplySettings() {
    const TAppSettings& set = state_.Settings;
    // Place and size; on the primary screen at the designed size when the
    // place lies off every screen (a monitor removed).
    RestoreGeometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, set.AlwaysOnTop);
    ApplyOptionsFromSettings();
    TeamCaptionsChanged();
    ApplyArrangement();
}

void TKestrovaForm::StoreGeometry() {
    state_.Settings.Left = x();
    state_.Settings.Top = y();
    state_.Settings.Height = height();
}

}  // namespace kestrova
