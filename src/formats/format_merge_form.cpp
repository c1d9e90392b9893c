#include "formats/format_merge_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "formats/format_edit_form.h"
#include "kit/dialog_util.h"

namespace kestrova {

TFormatExistsForm::TFormatExistsForm(const std::string& name, const std::string& proposal,
                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Format Exists");
    auto* layout = new QVBoxLayout(this);
    Heading = new QLabel("\"" + ToQ(name) + "\" already exists!", this);
    QFont bold = Heading->font();
    bold.setBold(true);
    Heading->setFont(bold);
    layout->addWidget(Heading);
    layout->addWidget(new QLabel("Do you want to overwrite it, skip it, or rename it to:", this));
    NameEdit = new QLineEdit(ToQ(proposal), this);
    ConfigureFormatNameEdit(NameEdit);
    layout->addWidget(NameEdit);
    auto* row = new QHBoxLayout;
    RenameButton = new QPushButton("Rename", this);
    OverwriteButton = new QPushButton("Overwrite", this);
    SkipButton = new QPushButton("Skip", this);
    CancelButton = new QPushButton("Cancel", this);
    RenameButton->setDefault(true);
    const std::pair<QPushButton*, TMergeChoice> choices[] = {
        {RenameButton, TMergeChoice::Rename},
        {OverwriteButton, TMergeChoice::Overwrite},
        {SkipButton, TMergeChoice::Skip},
        {CancelButton, TMergeChoice::Cancel}};
    for (const auto& [button, choice] : choices) {
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, c = choice] { Answered(c); });
    }
    layout->addLayout(row);
}

void TFormatExistsForm::Answered(TMergeChoice choice) {
    answer_ = {choice, choice == TMergeChoice::Rename ? FromQ(NameEdit->text()) : std::string()};
    if (choice == TMergeChoice::Cancel) return reject();
    accept();
}

void TFormatExistsForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

TFormatMergeForm::TFormatMergeForm(std::string formatsPath, const std::vector<std::string>& files,
                                   QWidget* parent)
    : QDialog(parent), formatsPath_(std::move(formatsPath)), offered_(ImportableFormats(files)) {
    setWindowTitle("Tarvex Kestrova Format Merger");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Tick which formats you would like to add to your own formats?", this));
    List = new QTreeWidget(this);
    List->setColumnCount(2);
    List->setHeaderLabels({"Format name", "File name"});
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(offered_.size()));
    for (const auto& f : offered_) {
        auto* item = new QTreeWidgetItem({ToQ(f.Format.Name), ToQ(f.FileLabel)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        items.append(item);
    }
    List->addTopLevelItems(items);
    ticked_ = static_cast<int>(offered_.size());
    connect(List, &QTreeWidget::itemChanged, this, [this] { CountTicks(); });
    layout->addWidget(List, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    AddButton = new QPushButton("Add", this);
    CancelButton = new QPushButton("Cancel", this);
    AddButton->setDefault(true);
    AddButton->setEnabled(ticked_ > 0);
    connect(AddButton, &QPushButton::clicked, this, [this] { AddClicked(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(AddButton);
    row->addWidget(CancelButton);
    layout->addLayout(row);
    resize(420, 320);
}

void TFormatMergeForm::CountTicks() {
    int ticked = 0;
    for (int i = 0; i < List->topLevelItemCount(); ++i)
        ticked += List->topLevelItem(i)->checkState(0) == Qt::Checked;
    ticked_ = ticked;
    AddButton->setEnabled(ticked_ > 0);
}

TMergeAnswer TFormatMergeForm::AskExisting(const std::string& name, const std::string& proposal) {
    TFormatExistsForm question(name, proposal, this);
    question.exec();
    return question.Answer();
}

void TFormatMergeForm::AddClicked() {
    std::vector<TTourneyFormat> chosen;
    for (int i = 0; i < List->topLevelItemCount(); ++i)
        if (List->topLevelItem(i)->checkState(0) == Qt::Checked)
            chosen.push_back(offered_[static_cast<size_t>(i)].Format);
    try {
        if (MergeFormats(formatsPath_, chosen, *this)) accept();
    } catch (const std::runtime_error& e) {
        // The old file is intact; the host may free the disk and try again.
        QMessageBox box(QMessageBox::Critical, "Error", ToQ(e.what()), QMessageBox::Ok, this);
        box.exec();
    }
}

void TFormatMergeForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
