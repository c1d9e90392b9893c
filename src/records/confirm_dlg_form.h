#pragma once
// "Confirmation": the yes/no question every part of the program asks through
// IDialogs::ConfirmDlg, with its "Don't ask me again" box.
#include <QDialog>
#include <QStyle>
#include <string>

#include "common/ports.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QBoxLayout;

namespace kestrova {

class TConfirmDlgForm : public QDialog {
    Q_OBJECT
  public:
    explicit TConfirmDlgForm(const QString& text, QWidget* parent = nullptr);

    QLabel* MessageLabel = nullptr;
    QCheckBox* DontAskBox = nullptr;
    QPushButton* YesButton = nullptr;
    QPushButton* NoButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;
};

// Shows the question modally; Esc or closing the window answers No.
TConfirmAnswer RunConfirmDlg(const std::string& text, QWidget* parent);

// The icon-and-message row shared by the question and the notice forms: the
// system's icon, the message centred and word-wrapped in the message-box font.
QBoxLayout* NewMessageRow(QDialog* owner, QStyle::StandardPixmap icon, const QString& text,
                          QLabel** messageLabel);

}  // namespace kestrova
