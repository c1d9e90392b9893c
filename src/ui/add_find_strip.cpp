#include "ui/add_find_strip.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/cp1252.h"

namespace kestrova {

namespace {
std::string Cp(const QString& s) {
    return Utf8ToCp1252(s.toStdString());
}
}  // namespace

TAddFindStrip::TAddFindStrip(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    addRow_ = BuildAddRow();
    findRow_ = BuildFindRow();
    layout->addWidget(addRow_);
    layout->addWidget(findRow_);
    findRow_->hide();
    suggest_ = new TSuggestList(addEdit_);
    connect(suggest_, &TSuggestList::picked, this, [this](const QString& name) {
        emit suggestionPicked(name);
        addEdit_->clear();
        typed_.clear();
    });
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QToolButton* TAddFindStrip::MakeMinMax(QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setArrowType(Qt::UpArrow);
    connect(b, &QToolButton::toggled, this, [this](bool on) { SetMinimised(on); });
    return b;
}

QWidget* TAddFindStrip::BuildAddRow() {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    addLabel_ = new QLabel("Add player:", row);
    addEdit_ = new QLineEdit(row);
    addEdit_->setMaxLength(40);
    addEdit_->installEventFilter(this);
    addButton_ = new QPushButton("Add", row);
    addCount_ = new QLabel("Players: 0/0", row);
    onePerTable_ = new QCheckBox("One player/table", row);
    onePerTable_->setChecked(true);
    addMinMax_ = MakeMinMax(row);
    for (QWidget* w : {static_cast<QWidget*>(addLabel_), static_cast<QWidget*>(addEdit_),
                       static_cast<QWidget*>(addButton_), static_cast<QWidget*>(addCount_),
                       static_cast<QWidget*>(onePerTable_)})
        h->addWidget(w);
    h->addStretch();
    h->addWidget(addMinMax_);
    connect(addEdit_, &QLineEdit::returnPressed, this, [this] {
        const QString text = addEdit_->text();
        suggest_->hide();
        addEdit_->clear();
        typed_.clear();
        emit addEntered(text);
    });
    connect(addButton_, &QPushButton::clicked, this, [this] {
        const QString text = addEdit_->text();
        suggest_->hide();
        addEdit_->clear();
        typed_.clear();
        emit addClicked(text);
        addEdit_->setFocus();
    });
    connect(addEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        typed_ = text;
        if (suggest_->isVisible()) RefillSuggestions();
    });
    connect(onePerTable_, &QCheckBox::clicked, this, [this](bool on) {
        emit onePerTableClicked(on);
        addEdit_->setFocus();
    });
    return row;
}

QWidget* TAddFindStrip::BuildFindRow() {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    findEdit_ = new QLineEdit(row);
    findEdit_->setToolTip(
        "Enter a player name or table number to find and \r\npress Enter to locate the table in "
        "the bracket.");
    statusEdit_ = new QLineEdit(row);
    statusEdit_->setReadOnly(true);
    statusEdit_->setMaximumWidth(90);
    findCount_ = new QLabel("Players: 0/0", row);
    undo_ = new QPushButton("Undo", row);
    redo_ = new QPushButton("Redo", row);
    undo_->setEnabled(false);
    redo_->setEnabled(false);
    findMinMax_ = MakeMinMax(row);
    h->addWidget(new QLabel("Find player/table:", row));
    h->addWidget(findEdit_);
    h->addWidget(new QLabel("Round/Table:", row));
    h->addWidget(statusEdit_);
    h->addWidget(findCount_);
    h->addWidget(undo_);
    h->addWidget(redo_);
    h->addStretch();
    h->addWidget(findMinMax_);
    connect(findEdit_, &QLineEdit::textChanged, this, &TAddFindStrip::findChanged);
    connect(findEdit_, &QLineEdit::returnPressed, this, &TAddFindStrip::findEntered);
    connect(undo_, &QPushButton::clicked, this, &TAddFindStrip::undoClicked);
    connect(redo_, &QPushButton::clicked, this, &TAddFindStrip::redoClicked);
    return row;
}

void TAddFindStrip::ShowFindRow(bool find) {
    suggest_->hide();
    addRow_->setVisible(!find);
    findRow_->setVisible(find);
}

void TAddFindStrip::SetTeamCaptions(bool team) {
    addLabel_->setText(team ? "Add player/team:" : "Add player:");
    onePerTable_->setText(team ? "One team/table" : "One player/table");
}

void TAddFindStrip::SetCount(const QString& text) {
    addCount_->setText(text);
    findCount_->setText(text);
}

void TAddFindStrip::SetUndoRedo(bool undo, bool redo) {
    undo_->setEnabled(undo);
    redo_->setEnabled(redo);
}

void TAddFindStrip::SetFoundStatus(const QString& text) {
    statusEdit_->setText(text);
}

void TAddFindStrip::SetFindText(const QString& text) {
    if (findEdit_->text() != text) findEdit_->setText(text);
}

void TAddFindStrip::SetOnePerTable(bool on) {
    QSignalBlocker block(onePerTable_);
    onePerTable_->setChecked(on);
}

void TAddFindStrip::SetMinimised(bool on) {
    for (QToolButton* b : {addMinMax_, findMinMax_}) {
        QSignalBlocker block(b);
        b->setChecked(on);
        b->setArrowType(on ? Qt::DownArrow : Qt::UpArrow);
    }
    // Everything but the min/max buttons hides; the strip keeps one button row.
    for (QWidget* row : {addRow_, findRow_})
        for (QObject* o : row->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && w != addMinMax_ && w != findMinMax_)
                w->setVisible(!on);
    if (on) suggest_->hide();
}

void TAddFindStrip::FocusAddBox() {
    if (addRow_->isVisible() && addEdit_->isEnabled())
        addEdit_->setFocus();
    else if (findRow_->isVisible())
        findEdit_->setFocus();
}

void TAddFindStrip::RefillSuggestions() {
    if (!names_ || suggest_->Fill(*names_, Cp(typed_)) == 0) return;
    suggest_->ShowUnderField();
}

bool TAddFindStrip::eventFilter(QObject* watched, QEvent* e) {
    if (watched == addEdit_ && e->type() == QEvent::FocusOut) suggest_->hide();
    if (watched != addEdit_ || e->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Escape && suggest_->isVisible()) {
        addEdit_->setText(typed_);
        suggest_->hide();
        return true;
    }
    if (key != Qt::Key_Down && key != Qt::Key_Up && key != Qt::Key_PageDown &&
        key != Qt::Key_PageUp)
        return false;
    if (!suggest_->isVisible()) {
        typed_ = addEdit_->text();
        RefillSuggestions();
        return true;
    }
    const QString pick = suggest_->Move(key);
    addEdit_->setText(pick.isEmpty() ? typed_ : pick);
    return true;
}

}  // namespace kestrova
