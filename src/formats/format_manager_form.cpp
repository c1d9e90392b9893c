#include "formats/format_manager_form.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "formats/format_merge.h"
#include "formats/format_merge_form.h"
#include "kit/dialog_util.h"

namespace kestrova {

namespace {
const char* const kFilter = "Tarvex Kestrova Format (*.kvbf)";

QString ExportFileDialog(QWidget* parent, const QString& folder) {
    QFileDialog d(parent, "Export Selected Formats", folder, kFilter);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setDefaultSuffix("kvbf");
    // The add-or-overwrite question is asked by the manager itself.
    d.setOption(QFileDialog::DontConfirmOverwrite);
    return d.exec() == QDialog::Accepted ? d.selectedFiles().value(0) : QString();
}

QStringList ImportFilesDialog(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileNames(parent, "Import Formats", folder, kFilter);
}

void ShowError(QWidget* parent, const char* what) {
    QMessageBox box(QMessageBox::Critical, "Error", ToQ(what), QMessageBox::Ok, parent);
    box.exec();
}
}  // namespace

TFormatManagerForm::TFormatManagerForm(TTourneyState& state, std::string formatsPath,
                                       std::string currentName, QWidget* parent)
    : QDialog(parent),
      AskExportFile(ExportFileDialog),
      AskImportFiles(ImportFilesDialog),
      state_(state),
      formatsPath_(std::move(formatsPath)) {
    setWindowTitle("Format Manager");
    setMinimumSize(250, 250);
    list_.Load(formatsPath_);
    list_.CurrentName = std::move(currentName);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Formats:", this));
    List = new QListWidget(this);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    left->addWidget(List, 1);
    layout->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    auto button = [&](const char* caption) {
        auto* b = new QPushButton(caption, this);
        buttons->addWidget(b);
        return b;
    };
    AddButton = button("Add...");
    EditButton = button("Edit...");
    DeleteButton = button("Delete");
    CopyButton = button("Copy");
    ImportButton = button("Import...");
    ExportButton = button("Export...");
    buttons->addStretch();
    OkButton = button("OK");
    CancelButton = button("Cancel");
    OkButton->setDefault(true);
    layout->addLayout(buttons);

    connect(List, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(List, &QListWidget::itemDoubleClicked, this, [this] {
        if (EditButton->isEnabled()) EditClicked();
    });
    connect(AddButton, &QPushButton::clicked, this, [this] { AddClicked(); });
    connect(EditButton, &QPushButton::clicked, this, [this] { EditClicked(); });
    connect(CopyButton, &QPushButton::clicked, this,
            [this] { Refill(list_.Copy(SelectedRows().front())); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] {
        list_.Delete(SelectedRows());
        Refill(-1);
    });
    connect(ExportButton, &QPushButton::clicked, this, [this] { ExportClicked(); });
    connect(ImportButton, &QPushButton::clicked, this, [this] { ImportClicked(); });
    connect(OkButton, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Refill(-1);
}

std::vector<int> TFormatManagerForm::SelectedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < List->count(); ++i)
        if (List->item(i)->isSelected()) rows.push_back(i);
    return rows;
}

void TFormatManagerForm::Refill(int select) {
    List->clear();
    for (const auto& f : list_.Entries())
        List->addItem(ToQ(f.Name));
    if (select >= 0) List->setCurrentRow(select);
    UpdateButtons();
}

void TFormatManagerForm::UpdateButtons() {
    const TFormatButtons b = list_.ButtonsFor(SelectedRows());
    EditButton->setEnabled(b.Edit);
    DeleteButton->setEnabled(b.Delete);
    CopyButton->setEnabled(b.Copy);
    ExportButton->setEnabled(b.Export);
}

void TFormatManagerForm::AddClicked() {
    TFormatEditForm editor(state_, {}, list_.Names(), EditorServices, this);
    if (editor.exec() == QDialog::Accepted) Refill(list_.Add(editor.Result()));
}

void TFormatManagerForm::EditClicked() {
    const int row = SelectedRows().front();
    TFormatEditForm editor(state_, list_.At(row), list_.Names(), EditorServices, this);
    if (editor.exec() == QDialog::Accepted) Refill(list_.Replace(row, editor.Result()));
}

QString TFormatManagerForm::Folder() const {
    return QFileInfo(ToQ(formatsPath_)).absolutePath();
}

void TFormatManagerForm::ExportClicked() {
    const std::vector<TTourneyFormat> chosen = list_.Selected(SelectedRows());
    for (;;) {
        const QString path = AskExportFile(this, Folder());
        if (path.isEmpty()) return;
        bool append = false;
        if (QFileInfo::exists(path)) {
            QMessageBox ask(QMessageBox::Question, "Confirm",
                            "The file already exists, do you want to add to it or overwrite it?",
                            QMessageBox::NoButton, this);
            QPushButton* add = ask.addButton("Add", QMessageBox::AcceptRole);
            QPushButton* overwrite = ask.addButton("Overwrite", QMessageBox::DestructiveRole);
            ask.addButton("Cancel", QMessageBox::RejectRole);
            ask.setDefaultButton(add);
            ask.exec();
            if (ask.clickedButton() != add && ask.clickedButton() != overwrite) continue;
            append = ask.clickedButton() == add;
        }
        try {
            ExportFormats(FromQ(path), chosen, append);
        } catch (const std::runtime_error& e) {
            ShowError(this, e.what());
        }
        return;
    }
}

void TFormatManagerForm::ImportClicked() {
    const QStringList files = AskImportFiles(this, Folder());
    if (files.isEmpty()) return;
    std::vector<std::string> paths;
    for (const QString& f : files)
        paths.push_back(FromQ(f));
    TFormatMergeForm merge(formatsPath_, paths, this);
    if (merge.exec() != QDialog::Accepted) return;
    // The file was rewritten with the merged formats; what the list held
    // unsaved is given up for it.
    std::string current = list_.CurrentName;
    list_.Load(formatsPath_);
    list_.CurrentName = current;
    Refill(-1);
}

void TFormatManagerForm::OkClicked() {
    try {
        list_.Save(formatsPath_);
    } catch (const std::runtime_error& e) {
        // Nothing on disk changed; the list stays as the host left it.
        ShowError(this, e.what());
        return;
    }
    accept();
}

void TFormatManagerForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
