// The window's side of the settings: placing the window where the host left
// it (or on a screen that exists), and the options the settings switch on.
#include <QGuiApplication>
#include <QScreen>

#include "kit/dialog_util.h"
#include "ui/kestrova_form.h"

namespace kestrova {

namespace {
// True when a good part of the window's title bar lies on some screen.
bool OnSomeScreen(const QRect& frame) {
    const QRect grip(frame.left(), frame.top(), std::max(1, frame.width()), 24);
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(grip);
        if (common.width() >= std::min(grip.width(), 100) && common.height() > 0) return true;
    }
    return false;
}
}  // namespace

void TKestrovaForm::ApplySettings() {
    const TAppSettings& set = state_.Settings;
    const TAppSettings designed;
    resize(width(), set.Height);
    move(set.Left, set.Top);
    if (!OnSomeScreen(frameGeometry())) {
        // A monitor that was removed: the primary screen, at the designed size.
        resize(width(), designed.Height);
        CenterOnScreen(this);
    }
    KeepInsideWorkArea(this);
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
