#pragma once
// The one-second clock: match times on the three bracket views, the blink of
// overdue tables, the "Overdue Tables" list, the 15/10/5-minute reminders and
// the boot clocks. One object lives beside the window's timer; the tick runs
// the steps in order and tells its view only what changed.
#include <array>
#include <cstdint>
#include <vector>

#include "model/tourney_state.h"
#include "timing/timing_view.h"

namespace kestrova {

// Whole seconds from start to now, rounded; a start in the future (the clock
// was set back, or the file came from another machine) counts as just
// begun, and absurd distances are capped, so no caller sees a negative or
// overflowing duration.
long long ElapsedSeconds(TDateTime now, TDateTime start);
// The limit in minutes of a round index, within the dialog's range.
int LimitMinutes(const TTourneyState& s, int roundIndex);
// The limit index of the table clocks of tab `tab` of a bracket's view
// (which differs from GetRoundIndex at the finals).
int ClockLimitIndex(const TTourneyState& s, TBracketKind b, int tab);

class TMatchClock {
  public:
    void SetView(ITimingView* view) { view_ = view; }

    // One tick. hostBusy: a command or a modal dialog is under way; the
    // clocks keep moving, but nothing that asks the host or posts (a
    // time-out, a reminder) begins until it is over.
    void TimerTick(TTourneyState& s, bool hostBusy = false);
    // The boot check: boot clocks, at most one time-out, "Active Boots".
    void CheckBoots(TTourneyState& s, bool hostBusy = false);
    // The reminder and overdue scan.
    void CheckMatchTimes(TTourneyState& s, bool hostBusy = false);
    // The time texts, hints and blinks of one view's shown round.
    void ShowViewClocks(TTourneyState& s, TBracketKind b);
    // The view was redrawn: its time labels and boot captions are shown again.
    void RefreshView(TTourneyState& s, TBracketKind b);

    bool ReminderScanActive() const { return scanActive_; }
    bool TimeOutOpen() const { return timeOutOpen_; }
    const std::vector<TOverdueTable>& Overdue() const { return shownOverdue_; }

  private:
    // What a slot shows, to tell the view only of changes.
    struct TSlotShown {
        bool Valid = false;
        long long Minutes = -2;  // -1 empty
        TClockInk Ink = TClockInk::Unchanged;
        TDateTime HintStart = -1;
        bool Yellow = false;
    };
    void ShowSlot(TTourneyState& s, TBracketKind b, int slot, const TTableRec& t, int limit,
                  bool remaining, TDateTime now);
    void ShowBootClocks(TTourneyState& s);
    void TimeOut(TTourneyState& s, TPlayer& p);
    void GiveReminders(TTourneyState& s, TTableRec& t, TBracketKind b, int r, long long left);
    ITimingView& View();

    ITimingView* view_ = nullptr;
    std::array<std::array<TSlotShown, MaxTablesPerRound>, 3> shown_{};
    std::vector<TOverdueTable> overdue_, shownOverdue_;
    std::vector<TBootRow> bootRows_;
    bool bootRowsShown_ = false;
    bool scanActive_ = false;  // the reminder box is modal, and ticks go on behind it
    bool timeOutOpen_ = false;  // the same for the time-out question
};

}  // namespace kestrova
