#pragma once
// "Format Manager": the list of formats with add, edit, copy, delete,
// import and export. Changes stay in memory until OK rewrites the file.
#include <QDialog>
#include <functional>
#include <string>

#include "formats/format_edit_form.h"
#include "formats/format_list.h"

class QListWidget;
class QPushButton;

namespace kestrova {

class TFormatManagerForm : public QDialog {
    Q_OBJECT
  public:
    TFormatManagerForm(TTourneyState& state, std::string formatsPath, std::string currentName,
                       QWidget* parent = nullptr);

    // The current format's name after OK: renamed with it, or empty when deleted.
    const std::string& CurrentName() const { return list_.CurrentName; }
    const TFormatList& Formats() const { return list_; }

    // The editor's sub-dialogs, handed to every editor the manager opens.
    TFormatEditorServices EditorServices;
    // The file dialogs; empty on Cancel. Replaceable by tests.
    std::function<QString(QWidget*, const QString& folder)> AskExportFile;
    std::function<QStringList(QWidget*, const QString& folder)> AskImportFiles;

    QListWidget* List = nullptr;
    QPushButton *AddButton = nullptr, *EditButton = nullptr, *DeleteButton = nullptr,
                *CopyButton = nullptr, *ImportButton = nullptr, *ExportButton = nullptr,
                *OkButton = nullptr, *CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    std::vector<int> SelectedRows() const;
    void Refill(int select);
    void UpdateButtons();
    void AddClicked();
    void EditClicked();
    void ExportClicked();
    void ImportClicked();
    void OkClicked();
    QString Folder() const;

    TTourneyState& state_;
    std::string formatsPath_;
    TFormatList list_;
};

}  // namespace kestrova
