#pragma once
// "Match Points Arrangement", the dialog of "Match points" / "Other...":
// the fifteen round fields of one tier row, the elimination and whether the
// points depend on the number of players.
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <array>

#include "engine/points.h"

namespace kestrova {

class TMatchPointsForm : public QDialog {
    Q_OBJECT
  public:
    TMatchPointsForm(const TMatchPointsArrangement& a, bool signupClosed, QWidget* parent = nullptr);
    const TMatchPointsArrangement& Arrangement() const { return a_; }

    QSpinBox* Field(int roundIndex) const { return fields_[roundIndex]; }
    QCheckBox* SameBox() const { return same_; }
    QListWidget* TierList() const { return tiers_; }
    QRadioButton* ElimButton(TElimFormat e) const { return elim_[static_cast<int>(e)]; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QWidget* BuildFields();
    QWidget* BuildElimination(bool signupClosed);
    QWidget* BuildDependencies();
    void Refresh();

    TMatchPointsArrangement a_;
    std::array<QSpinBox*, RoundIndexCount> fields_{};
    std::array<QRadioButton*, 3> elim_{};
    QCheckBox* same_ = nullptr;
    QListWidget* tiers_ = nullptr;
    QWidget* tierLabel_ = nullptr;
};

// "Other...": logs the command, runs the dialog and applies it on OK.
void RunMatchPointsOther(TTourneyState& s, QWidget* parent);

}  // namespace kestrova
