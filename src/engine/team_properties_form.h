#pragma once
// "Team Properties": the borderless panel that team mode opens over a name
// box, with the team name and both partners' names.
#include <QDialog>
#include <string>

#include "model/tourney_state.h"

class QLineEdit;

namespace kestrova {

class TTeamPropertiesForm : public QDialog {
    Q_OBJECT
  public:
    explicit TTeamPropertiesForm(QWidget* parent = nullptr);
    void Load(const std::string& teamName, const std::string& first, const std::string& second);
    std::string TeamName() const;
    std::string First() const;
    std::string Second() const;
    // Puts the panel's top-left corner at the clicked box, kept inside the
    // screen's work area.
    void PlaceAt(const QPoint& globalTopLeft);

  private:
    QLineEdit* teamName_ = nullptr;
    QLineEdit* first_ = nullptr;
    QLineEdit* second_ = nullptr;
};

// A click on a name box in team mode: shows the form for the seat's entry (or
// empty for an empty spot) and applies it on OK. Returns the seat's entry
// afterwards, or nullptr (Cancel, or nothing added).
TPlayer* RunTeamProperties(TTourneyState& s, TTeamPropertiesForm& form, TBracketKind bracket,
                           int round, int table, int seat, const QPoint& at);

}  // namespace kestrova
