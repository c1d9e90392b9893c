// The window's size and place: the least size that fits every label of the
// strips, the width of the arrangement, and the place kept in the settings.
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>

#include "ui/kestrova_form.h"

namespace kestrova {

void TKestrovaForm::FitMinimumToContents() {
    // A name of 15 characters shows whole in the add field.
    QLineEdit* add = addFind_->AddEdit();
    add->setMinimumWidth(add->fontMetrics().horizontalAdvance(QString(16, QChar('n'))) + 12);
    // The designed 290 by 300 is the least; the layouts ask for what the
    // system's fonts need on top of it.
    if (QLayout* l = layout()) l->activate();
    setMinimumSize(QSize(290, 300).expandedTo(minimumSizeHint()));
}

void TKestrovaForm::RestoreGeometry() {
    const TAppSettings& set = state_.Settings;
    QRect wanted(set.Left, set.Top, ArrangedWidth(), std::max(set.Height, minimumHeight()));
    QScreen* screen = nullptr;
    for (QScreen* sc : QGuiApplication::screens())
        if (sc->availableGeometry().intersected(wanted).width() >= 100 &&
            sc->availableGeometry().intersected(wanted).height() >= 50)
            screen = sc;
    if (!screen) {
        // A place on no screen (a monitor removed): the default size, centred.
        screen = QGuiApplication::primaryScreen();
        if (!screen) return resize(wanted.size());
        wanted.setSize(QSize(ArrangedWidth(), std::max(TAppSettings{}.Height, minimumHeight())));
        wanted.moveCenter(screen->availableGeometry().center());
    }
    // Never larger than the screen it is on.
    wanted.setSize(wanted.size().boundedTo(screen->availableGeometry().size()));
    resize(wanted.size());
    move(wanted.topLeft());
}

void TKestrovaForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (e->spontaneous()) return;
    // The round tabs and the focus are there from the first moment shown.
    TabsChanged();
    FocusAddOrFind();
}

}  // namespace kestrova
