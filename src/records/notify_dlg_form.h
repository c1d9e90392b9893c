#pragma once
// "Information": the notice shown through IDialogs::NotifyDlg, with its
// "Don't tell me again" box.
#include <QDialog>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kestrova {

class TNotifyDlgForm : public QDialog {
    Q_OBJECT
  public:
    explicit TNotifyDlgForm(const QString& text, QWidget* parent = nullptr);

    QLabel* MessageLabel = nullptr;
    QCheckBox* DontTellBox = nullptr;
    QPushButton* OkButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;
};

// Shows the notice modally; returns the state of "Don't tell me again".
bool RunNotifyDlg(const std::string& text, QWidget* parent);

}  // namespace kestrova
