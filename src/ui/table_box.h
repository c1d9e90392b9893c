#pragma once
// One table box of a bracket view: the box panel, the table-number and time
// labels, and per seat a name box, win, boot and copy buttons and the
// next-table label. Boxes are created once per view and only updated.
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <array>

#include "model/tourney_state.h"

namespace kestrova {

// Design metrics in pixels at 96 dpi, scaled once by the screen's dpi.
struct TBoxMetrics {
    int Dpi = 96;
    int S(int v) const { return v * Dpi / 96; }
    int FirstTop() const { return S(16); }
    int Pitch() const { return S(43); }
    int SeatTop(int seat) const { return S(2) + S(19) * seat; }
    int RowHeight() const { return S(19); }
    int ColumnWidth() const { return S(292); }
    // The column less a vertical scroll bar less 18.
    int BoxWidth(int scrollBarWidth) const { return ColumnWidth() - scrollBarWidth - S(18); }
    static TBoxMetrics ForScreen();
};

// How a box is separated from the next one.
enum class TSeparator { Grey, RedBlock, YellowBlock };

// The colours of a box, from the state (kept here so tests can check them).
QColor NameBoxColor(const TTourneyState& s, const TTableRec& table, int seat, bool enabled);

// Receives the gestures of a box; the bracket panel adds bracket and round.
class ITableBoxHost {
  public:
    virtual ~ITableBoxHost() = default;
    virtual void BoxWinClicked(int table, int seat, bool pressed) = 0;
    virtual void BoxNameClicked(int table, int seat) = 0;
    virtual void BoxNameMenu(int table, int seat, const QPoint& global) = 0;
    // The player pop-up opened on a win button.
    virtual void BoxWinMenu(int table, int seat, const QPoint& global) {
        (void)table, (void)seat, (void)global;
    }
    virtual void BoxTableNoClicked(int table) = 0;
    virtual void BoxTableMenu(int table, const QPoint& global) = 0;
    virtual void BoxCopyClicked(int table, int seat) = 0;
    virtual void BoxBootClicked(int table, int seat) = 0;
    virtual void BoxBootMenu(int table, int seat, const QPoint& global) {
        (void)table; (void)seat; (void)global;
    }
};

// A label that reports clicks and context-menu requests.
class TClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();
    void menuRequested(const QPoint& global);

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
};

// A win button: reached with Tab, pressed with Space, and marked while it
// has the focus (a small tool button's style may draw no mark of its own).
class TWinButton : public QToolButton {
    Q_OBJECT
  public:
    using QToolButton::QToolButton;

  protected:
    void paintEvent(QPaintEvent* e) override;
};

class TTableBox : public QFrame {
    Q_OBJECT
  public:
    struct TSeatControls {
        TClickLabel* Name = nullptr;
        QToolButton* Win = nullptr;
        QToolButton* Boot = nullptr;
        QToolButton* Copy = nullptr;
        QLabel* Next = nullptr;
    };

    TTableBox(const TBoxMetrics& m, int index, int height, TSeparator sep, int width,
              ITableBoxHost* host, QWidget* parent);

    // Shows one table of a round (the slot is visible and in use).
    void ShowTable(const TTourneyState& s, const TTableRec& t, bool byeSeatDisabled);

    int Index() const { return index_; }
    TClickLabel* TableNo() const { return tableNo_; }
    QLabel* TimeLabel() const { return time_; }
    const TSeatControls& Seat(int seat) const { return seats_[seat]; }
    // The boot button as the boot clock shows it: a caption, with or without the icon.
    void SetBootButton(int seat, const QString& caption, bool icon);
    // The yellow of an overdue running table (painted, so a blink costs no relayout).
    void SetBlink(bool yellow);
    bool Blinking() const { return blink_; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    void BuildSeat(const TBoxMetrics& m, int seat);
    void ShowSeat(const TTourneyState& s, const TTableRec& t, int seat, bool enabled);

    int index_;
    TSeparator sep_;
    ITableBoxHost* host_;
    TClickLabel* tableNo_;
    QLabel* time_;
    std::array<TSeatControls, 2> seats_;
    bool blink_ = false;
};

}  // namespace kestrova
