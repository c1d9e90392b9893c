#pragma once
// The player-list dialog: edits a copy of the banned list or the recent-player
// history; the caller takes the copy on OK.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "records/player_lists.h"

class QListWidget;
class QPushButton;

namespace kestrova {

class TTourneyState;

enum class TPlayerListKind { Banned, Recent };

class TPlayerListForm : public QDialog {
    Q_OBJECT
  public:
    // The input box: caption, prompt and starting text; nothing on Cancel.
    using TAskName = std::function<std::optional<std::string>(
        QWidget* parent, const std::string& caption, const std::string& prompt,
        const std::string& initial)>;

    TPlayerListForm(TPlayerListKind kind, TNameList names, QWidget* parent = nullptr);
    const TNameList& Names() const { return names_; }
    // Replaces the platform input box (tests answer it).
    void SetAskName(TAskName ask) { ask_ = std::move(ask); }

  private:
    void AddClick();
    void EditClick();
    void DeleteClick();
    void Refill(int select);
    int Selected() const;
    std::optional<std::string> AskName(const std::string& initial);

    TNameList names_;
    TAskName ask_;
    QListWidget* list_ = nullptr;
};

using PlayerListDialog = TPlayerListForm;

// The menu commands: open the dialog on a copy; on OK the list is replaced
// and the settings (with both list files) are saved. True on OK.
bool EditBannedPlayers(TTourneyState& s, QWidget* parent, TPlayerListForm::TAskName ask = {});
bool EditRecentPlayers(TTourneyState& s, QWidget* parent, TPlayerListForm::TAskName ask = {});

}  // namespace kestrova
