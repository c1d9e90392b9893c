#pragma once
// The one-second timer of the main window and the view of the match clock:
// a QTimer that starts when the window is first shown and drives the core's
// TimerTick, and the widget updates the tick asks for (time labels, hints,
// blinking boxes, "Overdue Tables" and "Active Boots").
#include <QObject>
#include <QTimer>
#include <functional>

#include "timing/match_clock.h"

class QTreeWidget;

namespace kestrova {

class TKestrovaForm;

class TTimingHost : public QObject, public ITimingView {
    Q_OBJECT
  public:
    explicit TTimingHost(TKestrovaForm* form);

    TMatchClock& Clock() { return clock_; }
    QTimer& Timer() { return timer_; }
    // One tick now (the timer's handler; tests call it with a fixed clock).
    void Tick();

    // ITimingView
    void SlotTimeChanged(TBracketKind b, int slot, const std::string& text, TClockInk ink) override;
    void SlotHintChanged(TBracketKind b, int slot, const std::string& hint) override;
    void SlotBlinkChanged(TBracketKind b, int slot, bool yellow) override;
    void StatusClocks() override;
    void OverdueRowsChanged(const std::vector<TOverdueTable>& rows) override;
    void BootRowsChanged(const std::vector<TBootRow>& rows) override;
    void LobbyLookup() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    TKestrovaForm* form_;
    TMatchClock clock_;
    QTimer timer_;
};

// Rewrites a list's rows in place: items are reused, only changed texts set.
void SetListRows(QTreeWidget* list, int rows, int columns,
                 const std::function<QString(int row, int column)>& text);

}  // namespace kestrova
