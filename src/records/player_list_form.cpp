#include "records/player_list_form.h"

#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/cp1252.h"
#include "kit/dialog_util.h"
#include "model/tourney_state.h"

namespace kestrova {

namespace {

std::optional<std::string> PlatformInputBox(QWidget* parent, const std::string& caption,
                                            const std::string& prompt, const std::string& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parent, ToQ(caption), ToQ(prompt), QLineEdit::Normal,
                                         ToQ(initial), &ok);
    if (!ok) return std::nullopt;
    return FromQ(text);
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
}  // namespace

TPlayerListForm::TPlayerListForm(TPlayerListKind kind, TNameList names, QWidget* parent)
    : QDialog(parent), names_(std::move(names)), ask_(PlatformInputBox) {
    setWindowTitle(kind == TPlayerListKind::Banned ? "Banned Players" : "Recent Player History");
    setFixedSize(264, 225);
    list_ = new QListWidget(this);
    list_->setObjectName("NameList");
    auto* add = Button("Add...", "AddButton", this);
    auto* edit = Button("Edit...", "EditButton", this);
    auto* del = Button("Delete", "DeleteButton", this);
    auto* ok = Button("OK", "OkButton", this);
    auto* cancel = Button("Cancel", "CancelButton", this);
    ok->setDefault(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, edit, del})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &TPlayerListForm::AddClick);
    connect(edit, &QPushButton::clicked, this, &TPlayerListForm::EditClick);
    connect(del, &QPushButton::clicked, this, &TPlayerListForm::DeleteClick);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &TPlayerListForm::EditClick);
    Refill(-1);
}

std::optional<std::string> TPlayerListForm::AskName(const std::string& initial) {
    return ask_(this, FromQ(windowTitle()), "Enter name of player:", initial);
}

int TPlayerListForm::Selected() const {
    return list_->selectedItems().isEmpty() ? -1 : list_->currentRow();
}

void TPlayerListForm::Refill(int select) {
    list_->clear();
    for (const auto& name : names_)
        list_->addItem(ToQ(name));
    if (select >= 0) list_->setCurrentRow(select);
}

void TPlayerListForm::AddClick() {
    std::optional<std::string> text = AskName("");
    if (!text) return;
    // An existing entry (in any letter case) is selected instead of added twice.
    Refill(AddName(names_, NormalizePlayerName(*text)));
}

void TPlayerListForm::EditClick() {
    int row = Selected();
    if (row < 0 || row >= static_cast<int>(names_.size())) return;
    std::optional<std::string> text = AskName(names_[row]);
    if (!text) return;
    int moved = ReplaceName(names_, row, NormalizePlayerName(*text));
    if (moved >= 0) Refill(moved);
}

void TPlayerListForm::DeleteClick() {
    int row = Selected();
    if (row < 0 || row >= static_cast<int>(names_.size())) return;
    names_.erase(names_.begin() + row);
    Refill(-1);
}

namespace {
bool EditList(TTourneyState& s, TNameList& list, TPlayerListKind kind, QWidget* parent,
              TPlayerListForm::TAskName ask) {
    TPlayerListForm form(kind, list, parent);
    if (ask) form.SetAskName(std::move(ask));
    if (form.exec() != QDialog::Accepted) return false;
    ReplacePlayerList(s, list, form.Names());
    return true;
}
}  // namespace

bool EditBannedPlayers(TTourneyState& s, QWidget* parent, TPlayerListForm::TAskName ask) {
    return EditList(s, s.BannedPlayers, TPlayerListKind::Banned, parent, std::move(ask));
}

bool EditRecentPlayers(TTourneyState& s, QWidget* parent, TPlayerListForm::TAskName ask) {
    return EditList(s, s.RecentPlayers, TPlayerListKind::Recent, parent, std::move(ask));
}

}  // namespace kestrova
