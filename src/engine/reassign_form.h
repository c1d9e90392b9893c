#pragma once
// "Reassign Player to Different Table": shows what BuildReassign worked out
// and hands the host's choice to CarryOutReassign.
#include <QDialog>

#include "engine/corrections.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kestrova {

// The legend under the table list, exactly as the host sees it.
inline constexpr const char* ReassignLegend =
    "*  denotes bye table\r\n** denotes current assignment ";

class TReassignForm : public QDialog {
    Q_OBJECT
  public:
    TReassignForm(TTourneyState& state, TReassignInfo info, QWidget* parent = nullptr);

    const TReassignInfo& Info() const { return info_; }

    QLabel* CurrentLabel = nullptr;
    QLabel* OpponentLabel = nullptr;
    QRadioButton* AssignWinChoice = nullptr;
    QRadioButton* MoveChoice = nullptr;
    QComboBox* TableList = nullptr;
    QLabel* LegendLabel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void FillTableList();
    void OkClicked();

    TTourneyState& state_;
    TReassignInfo info_;
};

// The player-menu command: builds the dialog's content for the clicked seat,
// shows it, and carries out the choice on OK. Does nothing on an empty seat.
void RunReassign(TTourneyState& state, const TSeatRef& at, QWidget* parent);

}  // namespace kestrova
