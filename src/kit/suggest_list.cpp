#include "kit/suggest_list.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "common/cp1252.h"
#include "common/text.h"

namespace kestrova {

std::vector<std::string> SuggestionsFor(const std::vector<std::string>& names,
                                        const std::string& prefix) {
    std::vector<std::string> out;
    if (prefix.empty()) return out;
    for (const auto& n : names)
        if (StartsWithText(n, prefix)) out.push_back(n);
    return out;
}

TSuggestList::TSuggestList(QWidget* field)
    : QWidget(field, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      field_(field) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    list_ = new QListWidget(this);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setMouseTracking(true);
    QFont f("Verdana");
    f.setPointSize(8);
    list_->setFont(f);
    layout->addWidget(list_);
    connect(list_, &QListWidget::itemEntered, this,
            [this](QListWidgetItem* item) { list_->setCurrentItem(item); });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const QString name = item->text().left(MaxPickLength);
        hide();
        emit picked(name);
    });
    qApp->installEventFilter(this);
}

TSuggestList::~TSuggestList() {
    qApp->removeEventFilter(this);
}

int TSuggestList::Fill(const std::vector<std::string>& names, const std::string& prefix) {
    const auto matches = SuggestionsFor(names, prefix);
    list_->clear();
    for (const auto& n : matches)
        list_->addItem(QString::fromStdString(Cp1252ToUtf8(n)));
    if (matches.empty()) hide();
    return static_cast<int>(matches.size());
}

void TSuggestList::ShowUnderField() {
    if (list_->count() == 0) return;
    const int rowH = std::max(1, list_->sizeHintForRow(0));
    const int rows = std::min(list_->count(), MaxRows);
    const int frame = 2 * list_->frameWidth();
    resize(field_->width() + list_->verticalScrollBar()->sizeHint().width(), rowH * rows + frame);
    move(field_->mapToGlobal(QPoint(0, field_->height())));
    show();
    raise();
}

QString TSuggestList::Move(int key) {
    const int n = list_->count();
    if (n == 0) return {};
    const int page = std::min(n, MaxRows);
    int row = list_->currentRow();
    switch (key) {
        case Qt::Key_Down:
            row = row < 0 ? 0 : std::min(row + 1, n - 1);
            break;
        case Qt::Key_Up:
            row = row <= 0 ? -1 : row - 1;
            break;
        case Qt::Key_PageDown:
            row = std::min(std::max(row, 0) + page, n - 1);
            break;
        case Qt::Key_PageUp:
            row = std::max(row - page, 0);
            break;
        default:
            break;
    }
    if (row < 0) {
        list_->setCurrentRow(-1);
        list_->clearSelection();
    } else {
        list_->setCurrentRow(row);
    }
    return SelectedText();
}

QString TSuggestList::SelectedText() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? item->text().left(MaxPickLength) : QString();
}

bool TSuggestList::eventFilter(QObject* watched, QEvent* e) {
    // Any press outside the list, anywhere in the application, closes it.
    if (isVisible() && (e->type() == QEvent::MouseButtonPress ||
                        e->type() == QEvent::NonClientAreaMouseButtonPress)) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || (w != this && !isAncestorOf(w))) hide();
    }
    return false;
}

}  // namespace kestrova
