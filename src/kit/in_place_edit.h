#pragma once
// The edit that opens over a name box or a table-number label. It remembers
// the seat it was opened for, so a commit after a tab change still reaches
// the right table.
#include <QLineEdit>
#include <functional>

#include "model/tourney_state.h"

namespace kestrova {

class TInPlaceEdit : public QLineEdit {
    Q_OBJECT
  public:
    enum class TEnd { Enter, FocusOut, Escape };
    using TDone = std::function<void(const TSeatRef& at, const QString& text, TEnd how)>;

    explicit TInPlaceEdit(QWidget* parent);
    // Opens over `over` (a child of the same parent) with its text.
    void Open(QWidget* over, const QString& text, const TSeatRef& at, bool digitsOnly, TDone done);
    // Commits as if Enter were pressed (used before a tab change); no-op when closed.
    void CommitIfOpen();
    bool IsOpen() const { return open_; }
    const TSeatRef& At() const { return at_; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    void Finish(TEnd how);

    bool open_ = false;
    TSeatRef at_;
    TDone done_;
};

}  // namespace kestrova
