#pragma once
// "Tarvex Kestrova Format Merger": the formats of exported files, ticked for
// adding to the formats file, and the "Format Exists" question asked for a
// name the file already has.
#include <QDialog>
#include <string>
#include <vector>

#include "formats/format_merge.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kestrova {

class TFormatExistsForm : public QDialog {
    Q_OBJECT
  public:
    TFormatExistsForm(const std::string& name, const std::string& proposal,
                      QWidget* parent = nullptr);
    TMergeAnswer Answer() const { return answer_; }

    QLabel* Heading = nullptr;
    QLineEdit* NameEdit = nullptr;
    QPushButton *RenameButton = nullptr, *OverwriteButton = nullptr, *SkipButton = nullptr,
                *CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void Answered(TMergeChoice choice);
    TMergeAnswer answer_{TMergeChoice::Cancel, {}};
};

class TFormatMergeForm : public QDialog, private IMergeResolver {
    Q_OBJECT
  public:
    TFormatMergeForm(std::string formatsPath, const std::vector<std::string>& files,
                     QWidget* parent = nullptr);

    QTreeWidget* List = nullptr;
    QPushButton *AddButton = nullptr, *CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    TMergeAnswer AskExisting(const std::string& name, const std::string& proposal) override;
    void AddClicked();
    void CountTicks();

    std::string formatsPath_;
    std::vector<TImportedFormat> offered_;
    int ticked_ = 0;
};

}  // namespace kestrova
