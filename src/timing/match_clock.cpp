#include "timing/match_clock.h"

#include <algorithm>
#include <cmath>

#include "common/datetime.h"
#include "engine/boots.h"

namespace kestrova {

namespace {
// About 31 years: beyond any match, well inside every integer used below.
constexpr double MaxSeconds = 1e9;

ITimingView& NoView() {
    static ITimingView none;
    return none;
}
}  // namespace

long long ElapsedSeconds(TDateTime now, TDateTime start) {
    const double seconds = (now - start) * SecondsPerDay;
    if (!(seconds > 0)) return 0;  // also NaN
    return std::llround(std::min(seconds, MaxSeconds));
}

int LimitMinutes(const TTourneyState& s, int roundIndex) {
    if (roundIndex < 0 || roundIndex >= RoundIndexCount) return 0;
    return std::clamp(s.MsgParams.TimeLimits[static_cast<size_t>(roundIndex)], 0, MaxTimeLimit);
}

int ClockLimitIndex(const TTourneyState& s, TBracketKind b, int tab) {
    int index = tab;
    switch (b) {
        case TBracketKind::Winners:
            if (tab == s.GrandFinalRound) index = 14;
            else if (tab == s.WinnersFinalRound) index = 13;
            break;
        case TBracketKind::OneLoss:
            index = tab + 1 == s.OneLossFinalRound ? 13 : tab + 1;
            break;
        case TBracketKind::TwoLoss:
            index = tab + 2;
            break;
    }
    return std::clamp(index, 0, RoundIndexCount - 1);
}

ITimingView& TMatchClock::View() {
    return view_ ? *view_ : NoView();
}

void TMatchClock::TimerTick(TTourneyState& s, bool hostBusy) {
    CheckBoots(s, hostBusy);
    View().StatusClocks();
    for (int b = 0; b < s.BracketCount(); ++b)
        ShowViewClocks(s, static_cast<TBracketKind>(b));
    CheckMatchTimes(s, hostBusy);
    View().LobbyLookup();
}

void TMatchClock::ShowViewClocks(TTourneyState& s, TBracketKind b) {
    const int bi = static_cast<int>(b);
    const int tab = s.SelectedTab[bi];
    const int r = tab + bi;
    if (tab < 0 || r >= MaxRounds) return;
    const int limit = LimitMinutes(s, ClockLimitIndex(s, b, tab));
    const bool remaining =
        b == TBracketKind::Winners && s.Settings.DisplayMatchTimeRemaining && limit > 0;
    const TDateTime now = s.Now();
    const TRoundRec& round = s.Bracket(b)[r];
    for (int k = 0; k < SeatSearchBound[bi]; ++k)
        ShowSlot(s, b, k, round.Tables[k], limit, remaining, now);
}

void TMatchClock::ShowSlot(TTourneyState& s, TBracketKind b, int slot, const TTableRec& t,
                           int limit, bool remaining, TDateTime now) {
    TSlotShown want;
    want.Valid = true;
    const bool winners = b == TBracketKind::Winners;
    long long e = 0;
    if (t.StartTime <= 0) {
        want.Minutes = -1;
        want.HintStart = 0;
    } else {
        want.HintStart = t.StartTime;
        if (t.EndTime > 0) {
            want.Minutes = ElapsedSeconds(t.EndTime, t.StartTime) / 60;
            want.Ink = winners ? TClockInk::Navy : TClockInk::Unchanged;
        } else {
            e = ElapsedSeconds(now, t.StartTime);
            const long long limitSeconds = limit * 60LL;
            if (remaining)
                want.Minutes = limitSeconds >= e ? (limitSeconds + 59 - e) / 60 : 0;
            else
                want.Minutes = e / 60;
            want.Ink = winners ? TClockInk::Maroon : TClockInk::Unchanged;
        }
    }
    want.Yellow = limit > 0 && limit * 60LL < e && e % 2 == 1;

    TSlotShown& had = shown_[static_cast<size_t>(b)][static_cast<size_t>(slot)];
    if (!had.Valid || had.Minutes != want.Minutes || had.Ink != want.Ink)
        View().SlotTimeChanged(b, slot, want.Minutes < 0 ? std::string() : FormatDuration(want.Minutes),
                               want.Ink);
    if (!had.Valid || had.HintStart != want.HintStart)
        View().SlotHintChanged(
            b, slot,
            want.HintStart > 0 ? FormatDateTime("\"Started at \"t", want.HintStart, s.Locale)
                               : std::string());
    if (!had.Valid || had.Yellow != want.Yellow) View().SlotBlinkChanged(b, slot, want.Yellow);
    had = want;
}

void TMatchClock::RefreshView(TTourneyState& s, TBracketKind b) {
    const int bi = static_cast<int>(b);
    if (bi < 0 || bi > 2) return;
    for (TSlotShown& slot : shown_[static_cast<size_t>(bi)])
        slot.Valid = false;
    if (!s.UsesBracket(b)) return;
    ShowViewClocks(s, b);
    ShowBootClocks(s);
}

}  // namespace kestrova
