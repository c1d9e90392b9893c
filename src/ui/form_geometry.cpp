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

void TKestrovaForm::FitToArea(QSize area) {
    // The window's frame is not known before it is first shown: allow for a
    // title bar.
    const QSize frame = frameGeometry().size() - geometry().size();
    area -= isVisible() ? frame : QSize(8, 32);
    auto fits = [&] {
        if (QLayout* l = layout()) l->activate();
        const QSize least = minimumSizeHint();
        return least.width() <= area.width() && least.height() <= area.height();
    };
    if (fits()) return;
    // First the status panels become tabs in their column, then, when that
    // column leaves the brackets too little room, tabs below them.
    docks_->Compact(this, false);
    if (!fits()) docks_->Compact(this, true);
    fits();
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
    const bool placed = screen != nullptr;
    // A place on no screen (a monitor removed): the default size, centred.
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return resize(wanted.size());
    const QRect area = screen->availableGeometry();
    FitToArea(area.size());
    const int height = placed ? set.Height : TAppSettings{}.Height;
    wanted.setSize(QSize(ArrangedWidth(), std::max(height, minimumHeight())));
    // Never larger than the screen it is on, and on it.
    wanted.setSize(wanted.size().boundedTo(area.size()));
    if (!placed) wanted.moveCenter(area.center());
    wanted.moveRight(std::min(wanted.right(), area.right()));
    wanted.moveBottom(std::min(wanted.bottom(), area.bottom()));
    wanted.moveLeft(std::max(wanted.left(), area.left()));
    wanted.moveTop(std::max(wanted.top(), area.top()));
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
