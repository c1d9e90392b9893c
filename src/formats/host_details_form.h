#pragma once
// "Host Details": the host's and co-host's names and whether they were
// unscheduled, for the running tournament.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kestrova {

class TTourneyState;

class THostDetailsForm : public QDialog {
    Q_OBJECT
  public:
    explicit THostDetailsForm(TTourneyState& state, QWidget* parent = nullptr);

    QLineEdit *HostEdit = nullptr, *CoHostEdit = nullptr, *HostPlayerEdit = nullptr,
              *CoHostPlayerEdit = nullptr;
    QCheckBox *UnscheduledHostBox = nullptr, *UnscheduledCoHostBox = nullptr;
    QPushButton *OkButton = nullptr, *CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void Store();
    TTourneyState& state_;
};

}  // namespace kestrova
