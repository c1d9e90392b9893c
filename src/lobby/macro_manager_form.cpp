#include "lobby/macro_manager_form.h"

#include <QAbstractItemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/dialog_util.h"
#include "lobby/macro_edit_form.h"

namespace kestrova {

TMacroManagerForm::TMacroManagerForm(const std::string& fileName, const std::string& hostName,
                                     IDialogs& dialogs, QWidget* parent)
    : QDialog(parent), fileName_(fileName), hostName_(hostName), dialogs_(dialogs) {
    setWindowTitle("Macro Manager");
    manager_.Open(fileName);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Macros:", this));
    List = new QListWidget(this);
    List->setDragDropMode(QAbstractItemView::InternalMove);
    left->addWidget(List);
    layout->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    auto button = [&](const char* caption) {
        auto* b = new QPushButton(caption, this);
        right->addWidget(b);
        return b;
    };
    AddButton = button("Add...");
    EditButton = button("Edit...");
    DeleteButton = button("Delete");
    CopyButton = button("Copy");
    UpButton = button("Up");
    DownButton = button("Down");
    SortButton = button("Sort");
    right->addStretch();
    QPushButton* ok = button("OK");
    QPushButton* cancel = button("Cancel");
    ok->setDefault(true);
    layout->addLayout(right);

    connect(AddButton, &QPushButton::clicked, this, &TMacroManagerForm::AddClick);
    connect(EditButton, &QPushButton::clicked, this, &TMacroManagerForm::EditClick);
    connect(List, &QListWidget::itemDoubleClicked, this, &TMacroManagerForm::EditClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TMacroManagerForm::DeleteClick);
    connect(CopyButton, &QPushButton::clicked, this, &TMacroManagerForm::CopyClick);
    connect(UpButton, &QPushButton::clicked, this, [this] { MoveClick(-1); });
    connect(DownButton, &QPushButton::clicked, this, [this] { MoveClick(1); });
    connect(SortButton, &QPushButton::clicked, this, &TMacroManagerForm::SortClick);
    connect(ok, &QPushButton::clicked, this, &TMacroManagerForm::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(List->model(), &QAbstractItemModel::rowsMoved, this, &TMacroManagerForm::Dropped,
            Qt::QueuedConnection);
    Refill(0);
}

int TMacroManagerForm::Selected() const { return List->currentRow(); }

void TMacroManagerForm::Refill(int select) {
    List->clear();
    for (int i = 0; i < manager_.Count(); ++i)
        List->addItem(ToQ(manager_.Name(i)));
    if (manager_.Count() > 0) List->setCurrentRow(std::clamp(select, 0, manager_.Count() - 1));
}

void TMacroManagerForm::AddClick() {
    TMacroEditForm editor(manager_, -1, {}, hostName_, dialogs_, this);
    if (editor.exec() != QDialog::Accepted) return;
    Refill(manager_.Add(editor.Result()));
}

void TMacroManagerForm::EditClick() {
    const int i = Selected();
    if (i < 0) return;
    TMacroEditForm editor(manager_, i, manager_.EditOf(i), hostName_, dialogs_, this);
    if (editor.exec() != QDialog::Accepted) return;
    manager_.Replace(i, editor.Result());
    Refill(i);
}

void TMacroManagerForm::DeleteClick() {
    const int i = Selected();
    if (i < 0) return;
    manager_.Delete(i);
    Refill(i);
}

void TMacroManagerForm::CopyClick() {
    const int i = Selected();
    if (i >= 0) Refill(manager_.Copy(i));
}

void TMacroManagerForm::MoveClick(int delta) {
    const int i = Selected();
    if (manager_.Move(i, i + delta)) Refill(i + delta);
}

void TMacroManagerForm::SortClick() {
    manager_.Sort();
    Refill(0);
}

// A drag moved a row of the list: the macros follow the list's new order.
void TMacroManagerForm::Dropped() {
    for (int to = 0; to < List->count(); ++to) {
        const std::string name = FromQ(List->item(to)->text());
        for (int from = to; from < manager_.Count(); ++from)
            if (manager_.Name(from) == name) {
                manager_.Move(from, to);
                break;
            }
    }
    Refill(Selected());
}

void TMacroManagerForm::accept() {
    manager_.Save(fileName_);
    QDialog::accept();
}

bool EditMacros(const std::string& fileName, const std::string& hostName, IDialogs& dialogs,
                QWidget* parent) {
    TMacroManagerForm form(fileName, hostName, dialogs, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace kestrova
