#pragma once
// "Unrestored ZoneFriends Lists": the nicks whose friends list was never put
// back, each with a tick; "Restore" hands the ticked ones back.
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <optional>
#include <vector>

#include "lobby/rapid_assign_control.h"

namespace kestrova {

class TFriendsRestoreForm : public QDialog {
    Q_OBJECT
  public:
    TFriendsRestoreForm(const std::vector<TUnrestoredList>& lists, QWidget* parent = nullptr);
    // The lines with their ticks as the host left them.
    std::vector<TUnrestoredList> Lists() const;
    QListWidget* List() const { return list_; }
    QPushButton* RestoreButton() const { return restore_; }
    QPushButton* CloseButton() const { return close_; }

    // Shows the dialog; the lists on "Restore", nothing on "Close".
    static std::optional<std::vector<TUnrestoredList>> Ask(
        const std::vector<TUnrestoredList>& lists, QWidget* parent);

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QListWidget* list_;
    QPushButton* restore_;
    QPushButton* close_;
};

}  // namespace kestrova
