#pragma once
// "Macro Manager": the macros of one file in order, with the buttons that add,
// edit, delete, copy, move and sort them; OK writes the file, Cancel
// discards every change.
#include <QDialog>
#include <string>

#include "common/ports.h"
#include "lobby/macro_manager.h"

class QListWidget;
class QPushButton;

namespace kestrova {

class TMacroManagerForm : public QDialog {
    Q_OBJECT
  public:
    TMacroManagerForm(const std::string& fileName, const std::string& hostName, IDialogs& dialogs,
                      QWidget* parent = nullptr);
    const TMacroManager& Manager() const { return manager_; }

    QListWidget* List = nullptr;
    QPushButton *AddButton, *EditButton, *DeleteButton, *CopyButton, *UpButton, *DownButton,
        *SortButton;

    void accept() override;

  private:
    void AddClick();
    void EditClick();
    void DeleteClick();
    void CopyClick();
    void MoveClick(int delta);
    void SortClick();
    void Dropped();
    void Refill(int select);
    int Selected() const;

    std::string fileName_, hostName_;
    IDialogs& dialogs_;
    TMacroManager manager_;
};

// "&Edit...": the manager on the file in use; true after OK.
bool EditMacros(const std::string& fileName, const std::string& hostName, IDialogs& dialogs,
                QWidget* parent);

}  // namespace kestrova
