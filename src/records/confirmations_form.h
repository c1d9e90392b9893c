#pragma once
// "Confirmations and Notifications": switches the optional questions and
// notices on and off again (the ConfirmNotifyFilter bits).
#include <QDialog>
#include <cstdint>
#include <vector>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace kestrova {

class TTourneyState;

class TConfirmationsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TConfirmationsForm(TTourneyState& state, QWidget* parent = nullptr);

    // The filter as the boxes now say (the initial filter until a box is clicked).
    uint32_t Filter() const { return filter_; }
    QCheckBox* BoxOf(uint32_t bit) const;

    QRadioButton* ClearZfYes = nullptr;
    QRadioButton* ClearZfNo = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void BoxClicked();
    void OkClicked();

    TTourneyState& state_;
    uint32_t filter_;
    std::vector<std::pair<uint32_t, QCheckBox*>> boxes_;
};

}  // namespace kestrova
