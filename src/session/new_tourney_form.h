#pragma once
// "New Tournament": the format, hosts, times, friends-list assistant, lobby
// and file name of the next tournament. It only collects; the caller runs
// StartNewTourney, the open command or OpenTourney by the result.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/lifecycle.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace kestrova {

// The values a format offers the dialog (empty texts leave a field alone).
struct TFormatHostFields {
    std::string HostName, CoHostName, HostPlayerName, CoHostPlayerName, StartTime, RulesTime;
    std::optional<TRoundList> StartTables;  // none: the default start tables
};

class TNewTourneyForm : public QDialog {
    Q_OBJECT
  public:
    enum class TResult { Cancel, Start, Restore, OpenRecent };

    explicit TNewTourneyForm(TTourneyState& state, QWidget* parent = nullptr);

    TResult Result() const { return result_; }
    // Valid after Start.
    const TNewTourneyOptions& Options() const { return options_; }
    // The recent tournament picked from the Restore list.
    const std::string& RecentPath() const { return recentPath_; }

    // Outside services, replaceable by tests and by the window.
    // The save dialog: title, start path, filter; empty on Cancel.
    std::function<QString(const QString&, const QString&, const QString&)> AskSaveFileName;
    // The host fields of a named format (from the formats file); none when
    // the format offers nothing.
    std::function<std::optional<TFormatHostFields>(const std::string&)> FormatFields;
    // Titles of the lobby windows open now (none outside Windows).
    std::function<std::vector<std::string>()> LobbyTitles;

    // Runs the file-name rule on the chosen format and the Start text.
    void RecomputeFileName();
    const TRoundList& StartTables() const { return startTables_; }

    QComboBox* FormatCombo = nullptr;
    QPushButton* EditButton = nullptr;
    QCheckBox *TeamBox = nullptr, *PointsBox = nullptr, *CapBox = nullptr,
              *SpareOptionBox = nullptr;
    QLineEdit *HostEdit = nullptr, *CoHostEdit = nullptr, *HostPlayerEdit = nullptr,
              *CoHostPlayerEdit = nullptr;
    QCheckBox *UnscheduledHostBox = nullptr, *UnscheduledCoHostBox = nullptr;
    QLineEdit *RulesEdit = nullptr, *StartEdit = nullptr;
    QRadioButton *RapidNotUsed = nullptr, *RapidAdded = nullptr, *RapidRemoved = nullptr;
    QComboBox* LobbyCombo = nullptr;
    QLineEdit* FileEdit = nullptr;
    QToolButton* BrowseButton = nullptr;
    QToolButton* RestoreButton = nullptr;
    QMenu* RecentMenu = nullptr;
    QPushButton *SeatingButton = nullptr, *StartButton = nullptr, *CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QWidget* BuildFormatGroup();
    QWidget* BuildHostsGroup();
    QWidget* BuildTimesGroup();
    QWidget* BuildRapidAssignGroup();
    QWidget* BuildLobbyGroup();
    QWidget* BuildFileGroup();
    QLayout* BuildButtons();
    void FillRecentMenu();
    void FormatChosen();
    void BrowseClicked();
    void StartClicked();
    void RefillLobbies();

    TTourneyState& state_;
    TRoundList startTables_;
    TResult result_ = TResult::Cancel;
    TNewTourneyOptions options_;
    std::string recentPath_;
};

}  // namespace kestrova
