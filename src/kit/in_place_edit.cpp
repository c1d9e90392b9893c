#include "kit/in_place_edit.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace kestrova {

TInPlaceEdit::TInPlaceEdit(QWidget* parent) : QLineEdit(parent) {
    hide();
    setFrame(true);
}

void TInPlaceEdit::Open(QWidget* over, const QString& text, const TSeatRef& at, bool digitsOnly,
                        TDone done) {
    CommitIfOpen();
    at_ = at;
    done_ = std::move(done);
    if (digitsOnly) {
        setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), this));
    } else {
        setValidator(nullptr);
    }
    setMaxLength(digitsOnly ? 4 : 32);
    setText(text);
    QRect r = over->geometry();
    if (over->parentWidget() != parentWidget())
        r.moveTopLeft(over->parentWidget()->mapTo(parentWidget(), r.topLeft()));
    setGeometry(r.adjusted(0, 0, digitsOnly ? 8 : 0, 0));
    open_ = true;
    show();
    raise();
    setFocus(Qt::MouseFocusReason);
    selectAll();
}

void TInPlaceEdit::CommitIfOpen() {
    if (open_) Finish(TEnd::Enter);
}

void TInPlaceEdit::keyPressEvent(QKeyEvent* e) {
    if (open_ && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        Finish(TEnd::Enter);
        return;
    }
    if (open_ && e->key() == Qt::Key_Escape) {
        Finish(TEnd::Escape);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TInPlaceEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (open_) Finish(TEnd::FocusOut);
}

void TInPlaceEdit::Finish(TEnd how) {
    // Closed before the callback runs: the callback may redraw, move focus or
    // even open the edit again, and a focus-out must not commit twice.
    open_ = false;
    hide();
    TDone done = std::move(done_);
    done_ = nullptr;
    if (done) done(at_, text(), how);
}

}  // namespace kestrova
