#include "kit/char_map_popup.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

#include "kit/dialog_util.h"

namespace kestrova {

namespace {
constexpr int CharColumns = 14;

std::vector<unsigned char> MakeCodes() {
    std::vector<unsigned char> codes{0x80};
    auto range = [&](int from, int to) {
        for (int c = from; c <= to; ++c)
            codes.push_back(static_cast<unsigned char>(c));
    };
    range(0x82, 0x8C);
    range(0x91, 0x9C);
    range(0xA1, 0xBF);
    codes.push_back(0xD7);
    return codes;
}
}  // namespace

const std::vector<unsigned char>& TCharMapPopup::Codes() {
    static const std::vector<unsigned char> codes = MakeCodes();
    return codes;
}

const std::vector<const char*>& TCharMapPopup::TokenCaptions() {
    static const std::vector<const char*> captions = {
        "%p - Player name",      "%r - Round number",         "%t - Table number",
        "%n - Minutes past the hour", "%m - Number of match points", "%b - Boot time remaining",
        "%u - Rules time",       "%s - Start time",           "%h - Host name",
        "%l - Local time",       "%e - US eastern time",      "%w - US pacific time"};
    return captions;
}

TCharMapPopup::TCharMapPopup(QWidget* target, QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint), target_(target) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setObjectName("CharMap");
    auto* grid = new QGridLayout(this);
    grid->setSpacing(1);
    const auto& codes = Codes();
    for (size_t i = 0; i < codes.size(); ++i) {
        auto* b = new QToolButton(this);
        const QString ch = ToQ(std::string(1, static_cast<char>(codes[i])));
        b->setText(ch);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, ch] { Insert(ch); });
        grid->addWidget(b, static_cast<int>(i) / CharColumns, static_cast<int>(i) % CharColumns);
        chars_.push_back(b);
    }
    const int row = static_cast<int>(codes.size() + CharColumns - 1) / CharColumns;
    const auto& captions = TokenCaptions();
    for (size_t i = 0; i < captions.size(); ++i) {
        auto* b = new QPushButton(captions[i], this);
        b->setFocusPolicy(Qt::NoFocus);
        const QString token = QString(captions[i]).left(2);
        connect(b, &QPushButton::clicked, this, [this, token] { Insert(token); });
        grid->addWidget(b, row + static_cast<int>(i) / 3, static_cast<int>(i % 3) * 5, 1, 5);
        tokens_.push_back(b);
    }
    close_ = new QPushButton("Close", this);
    close_->setFocusPolicy(Qt::NoFocus);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    grid->addWidget(close_, row + 4, CharColumns - 4, 1, 4);
    setAttribute(Qt::WA_DeleteOnClose);
}

void TCharMapPopup::ShowUnder(QWidget* button) {
    adjustSize();
    const QPoint corner = button->mapToGlobal(QPoint(button->width(), button->height()));
    move(corner.x() - width(), corner.y());
    show();
    KeepInsideWorkArea(this);
    activateWindow();
    setFocus();
}

void TCharMapPopup::Insert(const QString& text) {
    if (target_) InsertAtCaret(target_, text);
}

void TCharMapPopup::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    const QString t = e->text();
    if (t.size() == 1 && t[0].unicode() >= 32 && t[0].unicode() <= 127) {
        Insert(t);
        return;
    }
    QFrame::keyPressEvent(e);
}

void InsertAtCaret(QWidget* field, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->insert(text);  // replaces the selection; one undo step
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
        QTextCursor c = plain->textCursor();
        c.insertText(text);
        plain->setTextCursor(c);
    } else if (auto* rich = qobject_cast<QTextEdit*>(field)) {
        QTextCursor c = rich->textCursor();
        c.insertText(text);
        rich->setTextCursor(c);
    }
}

}  // namespace kestrova
