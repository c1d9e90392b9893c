#pragma once
// "Point Allocations for Players", the dialog of "Player points...": win,
// bye and lose points per round, the placings, the host points and the
// bonuses of the multi-elimination brackets.
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

#include "engine/points.h"

namespace kestrova {

class TPlayerPointsForm : public QDialog {
    Q_OBJECT
  public:
    explicit TPlayerPointsForm(const TPlayerPointsValues& v, QWidget* parent = nullptr);
    // The values as the dialog holds them (spin fields read at the call).
    TPlayerPointsValues Values() const;

    QTableWidget* Grid() const { return grid_; }
    QCheckBox* SameBox() const { return same_; }
    QSpinBox* Spin(const char* name) const { return findChild<QSpinBox*>(name); }
    QRadioButton* ExactlyButton() const { return exactly_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QWidget* BuildStandard();
    QWidget* BuildHost();
    QWidget* BuildBonus();
    QSpinBox* AddSpin(QGridLayout* grid, int row, int col, const QString& caption,
                      const char* name, int max, int value);
    void FillGrid();

    TPlayerPointsValues v_;
    QTableWidget* grid_ = nullptr;
    QCheckBox* same_ = nullptr;
    QRadioButton* extra_ = nullptr;
    QRadioButton* exactly_ = nullptr;
};

// "Player points...": logs the command, runs the dialog, stores it on OK.
void RunPlayerPoints(TTourneyState& s, QWidget* parent);

}  // namespace kestrova
