#include "kit/dialog_util.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "common/cp1252.h"

namespace kestrova {

namespace {
QRect WorkAreaOf(const QWidget* w) {
    QScreen* screen = w->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
}  // namespace

QHBoxLayout* AddOkCancelRow(QDialog* d, QBoxLayout* layout, QPushButton*& ok, QPushButton*& cancel) {
    auto* row = new QHBoxLayout;
    ok = new QPushButton("OK", d);
    cancel = new QPushButton("Cancel", d);
    ok->setDefault(true);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, d, &QDialog::reject);
    return row;
}

void KeepInsideWorkArea(QWidget* w) {
    QRect area = WorkAreaOf(w);
    if (area.isEmpty()) return;
    QRect frame = w->frameGeometry();
    // The frame may add to the client size; move the frame, not the client.
    int left = frame.left(), top = frame.top();
    if (frame.right() > area.right()) left = area.right() - frame.width() + 1;
    if (frame.bottom() > area.bottom()) top = area.bottom() - frame.height() + 1;
    // A window larger than the work area keeps its top-left corner visible.
    left = std::max(left, area.left());
    top = std::max(top, area.top());
    if (left != frame.left() || top != frame.top()) w->move(left, top);
}

void CenterOnScreen(QWidget* w) {
    QRect area = WorkAreaOf(w);
    if (area.isEmpty()) return;
    QRect frame = w->frameGeometry();
    frame.moveCenter(area.center());
    w->move(frame.topLeft());
}

void CenterOnWidget(QWidget* w, const QWidget* over) {
    if (!over || !over->isVisible()) return CenterOnScreen(w);
    QRect frame = w->frameGeometry();
    frame.moveCenter(over->frameGeometry().center());
    w->move(frame.topLeft());
}

QString ToQ(std::string_view cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string FromQ(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

}  // namespace kestrova
