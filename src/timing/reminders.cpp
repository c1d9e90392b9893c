#include "timing/reminders.h"

#include <algorithm>
#include <cmath>

#include "common/datetime.h"
#include "common/text.h"
#include "engine/boots.h"
#include "engine/status.h"
#include "engine/tourney_file.h"
#include "formats/messages.h"
#include "records/confirm.h"
#include "timing/boot_timer.h"

namespace kestrova {

namespace {

bool Running(const TTableRec& t) { return t.StartTime > 0 && t.EndTime == 0; }

// The parameters of a reminder or of the copy command: the tournament's
// own parameters are left alone.
TMsgParams WarningParams(const TTourneyState& s, const TTableRec& t, int roundIndex,
                         int minutesLeft) {
    TMsgParams m;
    m.PlayerName = t.Seat[0] ? t.Seat[0]->Name : std::string();
    m.OpponentName = t.Seat[1] ? t.Seat[1]->Name : std::string();
    m.RoundIndex = roundIndex;
    m.TableNo = t.TableNo;
    m.MinutesLeft = minutesLeft;
    m.TimeLimits = s.MsgParams.TimeLimits;
    return m;
}

const std::string& WarningTemplate(const TTourneyState& s) {
    return s.Messages[static_cast<size_t>(TMessageKind::mkTimeWarning)];
}

// Clears a flag when the scope ends, also through an exception.
struct TFlagScope {
    bool& Flag;
    explicit TFlagScope(bool& f) : Flag(f) { Flag = true; }
    ~TFlagScope() { Flag = false; }
};

}  // namespace

std::string ReminderText(int tableNo, const std::string& roundLabel, int minutes) {
    return Format("Table %d in round %s has %d minutes left. You may Ctrl+V into the table.",
                  tableNo, roundLabel.c_str(), minutes);
}

void TMatchClock::CheckMatchTimes(TTourneyState& s, bool hostBusy) {
    if (scanActive_) return;
    TFlagScope active(scanActive_);
    const TAppSettings& set = s.Settings;
    const bool remind = !hostBusy && (set.RemindAt15 || set.RemindAt10 || set.RemindAt5);
    const TDateTime now = s.Now();
    overdue_.clear();
    const int lastRound = std::min(s.GrandFinalRound, MaxRounds - 1);
    for (int b = 0; b < s.BracketCount(); ++b) {
        const auto kind = static_cast<TBracketKind>(b);
        for (int r = 0; r <= lastRound; ++r) {
            const int limit = LimitMinutes(s, GetRoundIndex(s, r, kind));
            if (limit == 0) continue;
            TRoundRec& round = s.Bracket(kind)[r];
            const int count = std::clamp(round.TableCount, 0, MaxTablesPerRound);
            for (int k = 0; k < count; ++k) {
                TTableRec& t = round.Tables[k];
                if (!Running(t)) continue;
                const long long e = ElapsedSeconds(now, t.StartTime);
                const long long left = limit * 60LL - e;
                if (left < 0)
                    overdue_.push_back({t.TableNo, RoundLabel(s, r, kind),
                                        static_cast<int32_t>(e / 60), static_cast<int32_t>(-left)});
                if (remind && 240 < left && left <= 900) GiveReminders(s, t, kind, r, left);
            }
        }
    }
    if (overdue_.empty() && shownOverdue_.empty()) return;
    std::stable_sort(overdue_.begin(), overdue_.end(),
                     [](const TOverdueTable& a, const TOverdueTable& b) {
                         return a.OverdueSeconds > b.OverdueSeconds;
                     });
    const bool same = std::equal(
        overdue_.begin(), overdue_.end(), shownOverdue_.begin(), shownOverdue_.end(),
        [](const TOverdueTable& a, const TOverdueTable& b) {
            return a.TableNo == b.TableNo && a.RoundLabel == b.RoundLabel &&
                   a.ElapsedMinutes == b.ElapsedMinutes;
        });
    shownOverdue_.swap(overdue_);
    if (!same) View().OverdueRowsChanged(shownOverdue_);
}

void TMatchClock::GiveReminders(TTourneyState& s, TTableRec& t, TBracketKind b, int r,
                                long long left) {
    const int index = GetRoundIndex(s, r, b);
    const TMsgParams params = WarningParams(s, t, index, static_cast<int>(left / 60));
    struct TWindow {
        bool On;
        bool& Given;
        long long Low, High;
        int Minutes;
    };
    const TAppSettings& set = s.Settings;
    TWindow windows[] = {{set.RemindAt15, t.Reminded15, 840, 900, 15},
                         {set.RemindAt10, t.Reminded10, 540, 600, 10},
                         {set.RemindAt5, t.Reminded5, 240, 300, 5}};
    for (TWindow& w : windows) {
        if (!w.On || w.Given || left <= w.Low || left > w.High) continue;
        w.Given = true;
        s.Lobby().SetClipboard(ExpandMessage(s, WarningTemplate(s), params));
        s.Dialogs().MessageBox(TMessageBoxKind::Information,
                               ReminderText(t.TableNo, RoundLabel(s, r, b), w.Minutes));
    }
}

TTableMenuState TableMenuEnabling(TTourneyState& s, const TSeatRef& at) {
    TTableMenuState m;
    const TTableRec* t = TimedTableAt(s, at);
    if (!t || !Running(*t)) return m;
    m.ResetTimer = true;
    m.CopyTime = LimitMinutes(s, GetRoundIndex(s, at.Round, at.Bracket)) > 0;
    return m;
}

void CopyTimeRemaining(TTourneyState& s, const TSeatRef& at) {
    const TTableRec* t = TimedTableAt(s, at);
    if (!t || !Running(*t)) return;
    const int index = GetRoundIndex(s, at.Round, at.Bracket);
    const int limit = LimitMinutes(s, index);
    if (limit == 0) return;
    const double minutes = ElapsedSeconds(s.Now(), t->StartTime) / 60.0;
    const int left = static_cast<int>(std::trunc(limit - minutes));
    s.Lobby().SetClipboard(ExpandMessage(s, WarningTemplate(s), WarningParams(s, *t, index, left)));
}

void ResetTimer(TTourneyState& s, TMatchClock& clock, const TSeatRef& at) {
    TTableRec* t = TimedTableAt(s, at);
    if (!t || !Running(*t)) return;
    t->StartTime = s.Now();
    clock.TimerTick(s);
}

void SetTimeLimits(TTourneyState& s, const TRoundList& limits) {
    s.MsgParams.TimeLimits = limits;
    ClampTimingValues(s);
    SaveTourney(s);
}

void SetReminders(TTourneyState& s, bool at15, bool at10, bool at5) {
    s.Settings.RemindAt15 = at15;
    s.Settings.RemindAt10 = at10;
    s.Settings.RemindAt5 = at5;
    SaveSettings(s);
}

void SetDisplayTimeRemaining(TTourneyState& s, TMatchClock& clock, bool on) {
    s.Settings.DisplayMatchTimeRemaining = on;
    SaveSettings(s);
    clock.ShowViewClocks(s, TBracketKind::Winners);
}

void SetResetBootOnAssign(TTourneyState& s, bool on) {
    s.Settings.ResetBootOnAssign = on;
    SaveSettings(s);
}

}  // namespace kestrova
