#pragma once
// The character map: a borderless pop-up of the special characters of code
// page 1252 and the message tokens, opened by the "Enter special symbols"
// button of the macro editor and the format editor. Each choice is inserted
// at once at the caret of the field that opened it (replacing its selection,
// as one undoable edit); the map stays open for further choices.
#include <QFrame>
#include <QPointer>
#include <vector>

class QAbstractButton;
class QPushButton;

namespace kestrova {

class TCharMapPopup : public QFrame {
    Q_OBJECT
  public:
    // target: a QLineEdit, QPlainTextEdit or QTextEdit.
    explicit TCharMapPopup(QWidget* target, QWidget* parent = nullptr);
    // Shows the map under the right end of the button.
    void ShowUnder(QWidget* button);

    // The cp1252 codes of the character buttons, in their order.
    static const std::vector<unsigned char>& Codes();
    static const std::vector<const char*>& TokenCaptions();
    QAbstractButton* CharButton(int i) const { return chars_.at(static_cast<size_t>(i)); }
    QAbstractButton* TokenButton(int i) const { return tokens_.at(static_cast<size_t>(i)); }
    QPushButton* CloseButton() const { return close_; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void Insert(const QString& text);
    QPointer<QWidget> target_;
    std::vector<QAbstractButton*> chars_, tokens_;
    QPushButton* close_ = nullptr;
};

// Inserts at the caret of a line or text edit, replacing its selection, as
// one undoable edit.
void InsertAtCaret(QWidget* field, const QString& text);

}  // namespace kestrova
