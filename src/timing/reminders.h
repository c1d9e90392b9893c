#pragma once
// The table pop-up's timing commands and the settings of the time limits and
// reminders. The scan itself is TMatchClock::CheckMatchTimes.
#include <string>

#include "model/tourney_state.h"
#include "timing/match_clock.h"

namespace kestrova {

// "Table %d in round %s has %d minutes left. You may Ctrl+V into the table."
std::string ReminderText(int tableNo, const std::string& roundLabel, int minutes);

struct TTableMenuState {
    bool CopyTime = false, ResetTimer = false;
};
// "&Reset timer" for a running table; the copy command also needs a limit.
TTableMenuState TableMenuEnabling(TTourneyState& s, const TSeatRef& at);
// "&Copy time remaining to Ctrl+V into table": the "Time warning" message
// with the minutes left (negative once overdue) goes to the clipboard.
void CopyTimeRemaining(TTourneyState& s, const TSeatRef& at);
// "&Reset timer": the match starts again now; the clock is shown at once.
void ResetTimer(TTourneyState& s, TMatchClock& clock, const TSeatRef& at);

// "Match Time Limits" OK: the 15 limits (each 0 to 300) are stored and saved.
void SetTimeLimits(TTourneyState& s, const TRoundList& limits);
// "Configure Match Reminders" OK: the three flags, saved with the settings.
void SetReminders(TTourneyState& s, bool at15, bool at10, bool at5);
// The two check items of "&Hosting options"; each saves the settings.
void SetDisplayTimeRemaining(TTourneyState& s, TMatchClock& clock, bool on);
void SetResetBootOnAssign(TTourneyState& s, bool on);

}  // namespace kestrova
