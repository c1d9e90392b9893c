#pragma once
// "Match Time Limits": the scheduled minutes of each round index, and the
// round captions that this dialog and the start-table dialog share.
#include <QDialog>
#include <QString>
#include <array>

#include "common/types.h"

class QPushButton;
class QSpinBox;

namespace kestrova {

class TTourneyState;

// "Rnd 1:" ... "Rnd 13:", "Semis:", "Final:".
QString RoundFieldCaption(int roundIndex);

class TTimeLimitsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TTimeLimitsForm(TTourneyState& state, QWidget* parent = nullptr);
    TRoundList Limits() const;

    std::array<QSpinBox*, RoundIndexCount> Fields{};
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    TTourneyState& state_;
};

}  // namespace kestrova
