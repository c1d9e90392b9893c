#include "lobby/friends_restore_form.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "kit/dialog_util.h"

namespace kestrova {

TFriendsRestoreForm::TFriendsRestoreForm(const std::vector<TUnrestoredList>& lists, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Unrestored ZoneFriends Lists");
    list_ = new QListWidget(this);
    for (const auto& l : lists) {
        auto* item = new QListWidgetItem(ToQ(l.Nick), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(l.Ticked ? Qt::Checked : Qt::Unchecked);
    }
    restore_ = new QPushButton("Restore", this);
    close_ = new QPushButton("Close", this);
    restore_->setDefault(true);
    connect(restore_, &QPushButton::clicked, this, &QDialog::accept);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(restore_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(260, 240);
}

std::vector<TUnrestoredList> TFriendsRestoreForm::Lists() const {
    std::vector<TUnrestoredList> lists;
    for (int i = 0; i < list_->count(); ++i) {
        const QListWidgetItem* item = list_->item(i);
        lists.push_back({FromQ(item->text()), item->checkState() == Qt::Checked});
    }
    return lists;
}

std::optional<std::vector<TUnrestoredList>> TFriendsRestoreForm::Ask(
    const std::vector<TUnrestoredList>& lists, QWidget* parent) {
    TFriendsRestoreForm form(lists, parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.Lists();
}

void TFriendsRestoreForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    CenterOnWidget(this, parentWidget());
    KeepInsideWorkArea(this);
}

}  // namespace kestrova
