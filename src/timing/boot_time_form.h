#pragma once
// "Boot Time" and "Configure Match Reminders": two small dialogs of one
// field or three boxes each.
#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace kestrova {

class TTourneyState;

class TBootTimeForm : public QDialog {
    Q_OBJECT
  public:
    explicit TBootTimeForm(TTourneyState& state, QWidget* parent = nullptr);
    QSpinBox* Minutes = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;
};

class TMatchRemindersForm : public QDialog {
    Q_OBJECT
  public:
    explicit TMatchRemindersForm(TTourneyState& state, QWidget* parent = nullptr);
    QCheckBox *At15 = nullptr, *At10 = nullptr, *At5 = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;
};

}  // namespace kestrova
