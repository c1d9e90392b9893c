#pragma once
// "Format Editor": one format's rules and messages. It works on a copy of
// the format's lines, into which every field writes its key at once; the
// caller takes Result() after OK.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/format_edit.h"
#include "formats/tourney_format.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kestrova {

// The dialogs the editor opens that belong to other parts of the program.
// A button whose dialog is not given stays disabled.
struct TFormatEditorServices {
    // "Match Time-limits...": the stored limits, when the format has them.
    std::function<std::optional<TRoundList>(QWidget*, const std::optional<TRoundList>&)>
        EditTimeLimits;
    // "Player seating...": the first table of each round.
    std::function<std::optional<TRoundList>(QWidget*, const TRoundList&)> EditStartTables;
    // "Player points...".
    std::function<std::optional<TPlayerPointsFields>(QWidget*, const TPlayerPointsFields&)>
        EditPlayerPoints;
    // "Other..." of the match points.
    std::function<std::optional<TCustomPoints>(QWidget*, const TCustomPoints&)> EditCustomPoints;
    // The character map, opened under the button; the chosen text.
    std::function<std::optional<QString>(QWidget* under)> PickSymbol;
};

// A format's name field: at most 63 characters and no "]", which would end
// the section header early.
void ConfigureFormatNameEdit(QLineEdit* edit);

class TFormatEditForm : public QDialog {
    Q_OBJECT
  public:
    // `names`: the names of the manager's entries, checked by OK.
    TFormatEditForm(TTourneyState& state, const TTourneyFormat& format,
                    std::vector<std::string> names, TFormatEditorServices services,
                    QWidget* parent = nullptr);

    // The name and lines as edited.
    TTourneyFormat Result() const;
    const TFormatLines& Lines() const { return lines_; }

    QLineEdit* NameEdit = nullptr;
    QComboBox* PointsCombo = nullptr;
    QLineEdit *StartEdit = nullptr, *RulesEdit = nullptr;
    QLineEdit *HostEdit = nullptr, *CoHostEdit = nullptr, *HostPlayerEdit = nullptr,
              *CoHostPlayerEdit = nullptr;
    QSpinBox* BootSpin = nullptr;
    QPushButton *TimeLimitsButton = nullptr, *PlayerPointsButton = nullptr,
                *SeatingButton = nullptr;
    QListWidget* MessageList = nullptr;
    QPlainTextEdit* MessageEdit = nullptr;
    QCheckBox* NoAutoPostBox = nullptr;
    QPushButton* DefaultMessageButton = nullptr;
    QToolButton* SymbolsButton = nullptr;
    QPlainTextEdit* SampleBox = nullptr;
    QPushButton *OkButton = nullptr, *CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QWidget* BuildRules();
    QWidget* BuildHosts();
    QWidget* BuildMessages();
    QLineEdit* KeyEdit(const char* key, int maxLength);
    void ShowMessage();
    void StoreShownMessage();
    void PointsChosen(int item);
    void SubDialog(QPushButton* button, const std::function<bool()>& run);
    void UpdateSample();
    void OkClicked();

    TTourneyState& state_;
    TFormatLines lines_;
    std::string openedWith_;
    std::vector<std::string> names_;
    TFormatEditorServices services_;
    int shownItem_ = MatchPointsOtherItem;
    bool filling_ = false;
};

}  // namespace kestrova
