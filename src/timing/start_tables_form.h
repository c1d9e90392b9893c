#pragma once
// "Starting Tables For Each Round": the first table of each round index,
// with the example calculator that shows where each round would end.
#include <QDialog>
#include <array>

#include "common/types.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kestrova {

class TTourneyState;

class TStartTablesForm : public QDialog {
    Q_OBJECT
  public:
    // Opens with `tables`; the caller applies Tables() after OK.
    TStartTablesForm(TTourneyState& state, const TRoundList& tables, QWidget* parent = nullptr);
    TRoundList Tables() const;

    std::array<QSpinBox*, RoundIndexCount> Fields{};
    std::array<QLabel*, RoundIndexCount> LastLabels{};
    QSpinBox* Players = nullptr;
    QComboBox* ElimType = nullptr;
    QPushButton *RestoreButton = nullptr, *SetDefaultButton = nullptr;
    QPushButton *OkButton = nullptr, *CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void UpdateExample();
    void SetTables(const TRoundList& tables);
    void SetAsDefault();

    TTourneyState& state_;
};

// "&Default start tables...": nothing once sign-ups are closed; OK renumbers
// and saves. True when the tables were applied.
bool RunDefaultStartTables(TTourneyState& state, QWidget* parent);

}  // namespace kestrova
