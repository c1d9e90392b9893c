#pragma once
// Placement helpers shared by every dialog, and the cp1252 <-> QString
// conversions used where core text meets a widget.
#include <QString>
#include <string>
#include <string_view>

class QBoxLayout;
class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace kestrova {

// Moves the window so that it lies wholly inside the work area of its screen
// (a dialog opened near an edge, or on a screen that was since removed, must
// never hang off the desktop).
void KeepInsideWorkArea(QWidget* w);
// Centres the window on the work area of its screen.
void CenterOnScreen(QWidget* w);
// Centres the window over another widget (falls back to the screen).
void CenterOnWidget(QWidget* w, const QWidget* over);

// OK (the default button) and Cancel (which rejects) at the bottom right of
// the dialog's layout; returns their row, for buttons to their left.
QHBoxLayout* AddOkCancelRow(QDialog* d, QBoxLayout* layout, QPushButton*& ok, QPushButton*& cancel);

QString ToQ(std::string_view cp1252);
std::string FromQ(const QString& text);

}  // namespace kestrova
