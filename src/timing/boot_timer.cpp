#include "timing/boot_timer.h"

#include <algorithm>
#include <cstdint>

#include "common/datetime.h"
#include "common/text.h"
#include "engine/boots.h"
#include "engine/next_assign.h"
#include "engine/status.h"
#include "engine/tourney_file.h"
#include "records/confirm.h"
#include "records/event_log.h"

namespace kestrova {

namespace {

TPlayer* PlayerAt(TTourneyState& s, const TSeatRef& at) {
    TTableRec* t = TimedTableAt(s, at);
    return t ? t->Seat[static_cast<size_t>(at.Seat)] : nullptr;
}

std::string NameAt(const TTableRec& t, int seat) {
    const TPlayer* p = t.Seat[static_cast<size_t>(seat)];
    return p ? p->Name : std::string();
}

// The names, round index and table of p's current table, for "Boot" and
// "Boot returned".
void FillBootParams(TTourneyState& s, const TPlayer& p) {
    const int k = p.LastStage();
    s.MsgParams.PlayerName = p.Name;
    s.MsgParams.OpponentName.clear();
    if (k < 0) return;
    const TTableRec& t = *p.Tables[static_cast<size_t>(k)];
    s.MsgParams.OpponentName = NameAt(t, 1 - SeatOf(t, &p));
    s.MsgParams.RoundIndex = GetRoundIndex(s, k, BracketOf(t));
    s.MsgParams.TableNo = t.TableNo;
}

// Clears a flag when the scope ends, also through an exception.
struct TFlagScope {
    bool& Flag;
    explicit TFlagScope(bool& f) : Flag(f) { Flag = true; }
    ~TFlagScope() { Flag = false; }
};

void LogPlayer(TTourneyState& s, const char* menu, const TPlayer& p) {
    WriteLog(s, menu);
    WriteLog(s, "    -> Player = " + p.Name);
}

void ShowCountWhenAtRest(TTourneyState& s, const TPlayer& p) {
    if (p.BootStart == 0) ShowBootButtons(s, p, BootCountCaption(p), true);
}

}  // namespace

TTableRec* TimedTableAt(TTourneyState& s, const TSeatRef& at) {
    const int b = static_cast<int>(at.Bracket);
    if (b < 0 || b > 2 || at.Round < 0 || at.Round >= MaxRounds || at.Table < 0 ||
        at.Table >= MaxTablesPerRound || at.Seat < 0 || at.Seat > 1)
        return nullptr;
    return &s.Bracket(at.Bracket)[at.Round].Tables[at.Table];
}

void ToggleBoot(TTourneyState& s, TMatchClock& clock, const TSeatRef& at) {
    WriteLog(s, "Click: Boot button");
    TPlayer* p = PlayerAt(s, at);
    if (!p) return;
    if (p->BootStart == 0) {
        WriteLog(s, "    -> \"" + p->Name + "\" has booted");
        s.ActiveBoots.push_back(p);
        p->BootStart = s.Now();
        clock.CheckBoots(s);
        // Filled after the check: a time-out it handles fills the same
        // parameters for its own message.
        FillBootParams(s, *p);
        s.MsgParams.BootSecondsLeft = s.BootTime * 60;
        Announce(s, TMessageKind::mkBoot, true);
    } else {
        FillBootParams(s, *p);
        EndBoot(s, *p);
        Announce(s, TMessageKind::mkBootReturned, true);
    }
}

void TMatchClock::ShowBootClocks(TTourneyState& s) {
    const TDateTime now = s.Now();
    for (const TPlayer* p : s.ActiveBoots)
        ShowBootButtons(s, *p, FormatDuration(ElapsedSeconds(now, p->BootStart)), false);
}

void TMatchClock::CheckBoots(TTourneyState& s, bool hostBusy) {
    const TDateTime now = s.Now();
    const long long allowed = std::clamp(s.BootTime, MinBootTime, MaxBootTime) * 60LL;
    for (TPlayer* p : s.ActiveBoots) {
        const long long e = ElapsedSeconds(now, p->BootStart);
        if (allowed < e && !hostBusy && !timeOutOpen_) {
            TimeOut(s, *p);  // one per tick; the list changed, so stop here
            return;
        }
        ShowBootButtons(s, *p, FormatDuration(e), false);
    }
    if (!bootRowsShown_ && s.ActiveBoots.empty()) return;
    bootRows_.resize(s.ActiveBoots.size());
    for (size_t i = 0; i < s.ActiveBoots.size(); ++i) {
        const TPlayer& p = *s.ActiveBoots[i];
        const TTableRec* t = p.CurrentTable();
        bootRows_[i].Name = p.Name;
        bootRows_[i].Time = FormatDuration(ElapsedSeconds(now, p.BootStart));
        bootRows_[i].TableNo = t ? t->TableNo : 0;
    }
    View().BootRowsChanged(bootRows_);
    bootRowsShown_ = !bootRows_.empty();
}

void TMatchClock::TimeOut(TTourneyState& s, TPlayer& p) {
    WriteLog(s, "Event: Player \"" + p.Name + "\" boot has timed out");
    p.BootStart = 0;
    p.BootedOut = true;
    p.BootCount += 1;
    ForgetBoot(s, &p);
    ShowBootButtons(s, p, BootCountCaption(p), true);
    TTableRec* t = p.CurrentTable();
    const std::string opponent = t ? NameAt(*t, 1 - SeatOf(*t, &p)) : std::string();
    const int tableNo = t ? t->TableNo : 0;
    if (t) s.View().RedrawRound(BracketOf(*t), RoundOf(*t));  // the name shows booted
    s.MsgParams.PlayerName = opponent;
    s.MsgParams.OpponentName = p.Name;
    s.MsgParams.TableNo = tableNo;
    // Ticks keep coming while the question is open; they must not ask again.
    TFlagScope open(timeOutOpen_);
    if (ChatInputKnown(s)) {
        if (AskConfirm(s, confirm_bits::BootTimedOutPost,
                       Format("%s (playing %s) has timed out at table %d. Post message in lobby?",
                              p.Name.c_str(), opponent.c_str(), tableNo)))
            Announce(s, TMessageKind::mkBootTimedOut, true);
        return;
    }
    Announce(s, TMessageKind::mkBootTimedOut, true);
    s.Dialogs().MessageBox(TMessageBoxKind::Information,
                           Format("%s has timed out at table %d, you may inform the opp %s",
                                  p.Name.c_str(), tableNo, opponent.c_str()));
}

TBootMenuState BootMenuEnabling(TTourneyState& s, const TSeatRef& at) {
    TBootMenuState m;
    const TPlayer* p = PlayerAt(s, at);
    if (!p) return m;
    m.ClearCount = m.DecrementCount = p->BootCount >= 1;
    m.CancelTiming = p->BootStart > 0;
    m.CancelBooted = p->BootedOut;
    m.IncrementCount = true;
    return m;
}

void ClearBootCount(TTourneyState& s, const TSeatRef& at) {
    TPlayer* p = PlayerAt(s, at);
    if (!p) return;
    LogPlayer(s, "Menu: Clear boot count", *p);
    p->BootCount = 0;
    ShowCountWhenAtRest(s, *p);
}

void DecrementBootCount(TTourneyState& s, const TSeatRef& at) {
    TPlayer* p = PlayerAt(s, at);
    if (!p || p->BootCount < 1) return;  // the menu item is disabled then
    LogPlayer(s, "Menu: Decrement boot count", *p);
    p->BootCount -= 1;
    ShowCountWhenAtRest(s, *p);
}

void IncrementBootCount(TTourneyState& s, const TSeatRef& at) {
    TPlayer* p = PlayerAt(s, at);
    if (!p || p->BootCount == INT32_MAX) return;
    p->BootCount += 1;
    ShowCountWhenAtRest(s, *p);
}

void CancelBootSilently(TTourneyState& s, const TSeatRef& at) {
    TPlayer* p = PlayerAt(s, at);
    if (!p || p->BootStart == 0) return;  // the menu item is disabled then
    WriteLog(s, "Menu: Cancel boot silently");
    EndBoot(s, *p);
}

void CancelBootedState(TTourneyState& s, const TSeatRef& at) {
    TPlayer* p = PlayerAt(s, at);
    if (!p) return;
    LogPlayer(s, "Menu: Cancel booted state", *p);
    p->BootedOut = false;
    s.View().RedrawRound(at.Bracket, at.Round);
}

void SetBootTime(TTourneyState& s, int minutes) {
    s.BootTime = std::clamp(minutes, MinBootTime, MaxBootTime);
    SaveTourney(s);
}

}  // namespace kestrova
