#include "engine/corrections.h"

#include <algorithm>

#include "common/text.h"
#include "engine/finals.h"
#include "engine/next_assign.h"
#include "engine/results.h"
#include "engine/save_change.h"
#include "engine/seat_search.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "engine/undo.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "engine/tourney_file.h"
#include "engine/boots.h"

namespace kestrova {

namespace {
// The table an entry moved on to from t (its next stage), if any.
TTableRec* NextTableOf(const TPlayer& p, const TTableRec& t) {
    int k = StageAt(p, t);
    return (k >= 0 && k + 1 < MaxStages) ? p.Tables[k + 1] : nullptr;
}
}  // namespace

namespace {
// The final round of the bracket where losers are out.
int LastBracketFinal(const TTourneyState& s) {
    switch (s.ElimFormat) {
        case TElimFormat::Single: return s.GrandFinalRound;
        case TElimFormat::Double: return s.OneLossFinalRound;
        default: return s.TwoLossFinalRound;
    }
}
}  // namespace

bool CanCancelMatch(const TTourneyState& s, const TTableRec& t) {
    for (TPlayer* e : t.Seat) {
        if (!e) continue;
        TTableRec* n = NextTableOf(*e, t);
        if (n && n->Result != 0) return false;
    }
    // A winner who left the tournament after this match took its place in the
    // next round along with them. Withdrawing the result gives that place to
    // the other entry, which is possible while the next round is still being
    // played (once all of it is decided there is no table left to take it,
    // nor when byes forced since fill every table the bracket has),
    // and only where a loser is out: a loser who drops to the bracket below
    // would bring the entry who left back into the tournament.
    // Only the grand final's winner goes nowhere next.
    const TPlayer* w = t.Winner();
    const bool grandFinal = s.GrandFinalRound >= 0 && s.GrandFinalRound < MaxRounds &&
                            &t == &s.Winners[s.GrandFinalRound].Tables[0];
    if (!w || grandFinal || NextTableOf(*w, t)) return true;
    // A bye has nobody to take the place: the entry who left would be back.
    if (!t.Full()) return false;
    if (static_cast<int>(BracketOf(t)) + 1 < s.BracketCount()) return false;
    const int r = RoundOf(t);
    if (r + 1 >= MaxRounds) return false;
    // Once the bracket's final is decided no round is left to take the place.
    const int last = LastBracketFinal(s);
    if (r < last && last < MaxRounds && s.Bracket(BracketOf(t))[last].Tables[0].Result != 0)
        return false;
    const TRoundRec& next = s.Bracket(BracketOf(t))[r + 1];
    return next.TableCount > 0 && !RoundComplete(next) && RoomForOneMore(next);
}

bool CancelMatch(TTourneyState& s, int round, TTableRec& t) {
    WriteLog(s, Format("    -> CancelMatch - Round = %d, Table = %d", round, t.TableNo));
    if (t.Result == 0 || !CanCancelMatch(s, t)) return false;
    const bool wasComplete = RoundComplete(*t.Round);
    for (TPlayer* e : t.Seat) {
        if (!e) continue;
        int k = StageAt(*e, t);
        TTableRec* n = NextTableOf(*e, t);
        if (!n) continue;
        CancelMatch(s, round + 1, *n);  // open: only logs
        n->StartTime = 0;
        int seat = SeatOf(*n, e);
        if (seat >= 0) n->Seat[seat] = nullptr;
        e->Tables[k + 1] = nullptr;
        e->Seats[k + 1] = 0;
    }
    t.Result = 0;
    t.EndTime = 0;
    UpdatePlayerState(s);
    if (wasComplete) s.View().TabsChanged();
    return true;
}

bool RelocatePlayer(TTourneyState& s, int round, int t0, TPlayer& p, TRoundRec& roundRec) {
    TTableRec* cur = (round >= 0 && round < MaxStages) ? p.Tables[round] : nullptr;
    WriteLog(s, Format("    -> Relocating player - Name = %s, Round = %d, Table = %d, Seat = %d",
                       p.Name.c_str(), round + 1, cur ? cur->TableNo : 0,
                       (round >= 0 && round < MaxStages) ? p.Seats[round] : 0));
    for (int t = std::min(t0, MaxTablesPerRound - 1); t >= 0; --t) {
        TTableRec& tab = roundRec.Tables[t];
        if (tab.Result != 0) continue;  // a decided table takes nobody new
        if (tab.Empty() && IsVoidTable(s, tab.TableNo)) continue;  // nor one out of use
        int seat = !tab.Seat[0] ? 0 : (!tab.Seat[1] ? 1 : -1);
        if (seat < 0) continue;
        TakeSeat(p, tab, seat, round);
        if (tab.Seat[1 - seat]) tab.StartTime = s.Now();
        WriteLog(s, Format("       -> Relocated to %d", tab.TableNo));
        ShowNotice(s, confirm_bits::MovedNotice,
                   Format("Player \"%s\" has been moved to table %d", p.Name.c_str(), tab.TableNo));
        return true;
    }
    WriteLog(s, "       -> No free seat, player stays where they are");
    s.Dialogs().MessageBox(TMessageBoxKind::Warning,
                           Format("Player \"%s\" could not be moved: no table below has a free "
                                  "seat. They stay at table %d.",
                                  p.Name.c_str(), cur ? cur->TableNo : 0));
    return false;
}

namespace {
// Returns whether the round's last spot is gone: its entry moved down or the
// spot was already empty. A last table that is already decided (its match or
// bye played) keeps its shape, and the entry left alone by the withdrawal is
// the one who goes on without an opponent.
bool RemoveASpot(TTourneyState& s, TBracketKind b, int r) {
    static const char* const kNames[] = {"RemoveAWinnersSpot", "RemoveAOneLossSpot",
                                         "RemoveATwoLossSpot"};
    WriteLog(s, Format("    -> %s(%d)", kNames[static_cast<int>(b)], r));
    if (r < 0 || r >= MaxRounds) return false;
    TRoundRec& round = s.Bracket(b)[r];
    const int count = std::min(round.TableCount, MaxTablesPerRound);
    if (count <= 0) return false;
    TTableRec& last = round.Tables[count - 1];
    if (last.Result != 0) return false;
    const int seat = round.HasBye ? 0 : 1;
    TPlayer* p = last.Seat[seat];
    if (!p) return true;
    int stage = StageAt(*p, last);
    if (stage < 0) return false;
    // Seat 1 of a final that a lower bracket's champion crosses into is that
    // champion's: they stay, and the seat left empty is the other finalist's.
    const TTableRec* came = stage > 0 ? p->Tables[stage - 1] : nullptr;
    if (seat == 1 && IsCrossingRound(s, last) && came && BracketOf(*came) != b) return true;
    // On success the entry sits elsewhere (maybe the other seat of this table).
    if (!RelocatePlayer(s, stage, round.HasBye ? count - 2 : count - 1, *p, round)) return false;
    last.Seat[seat] = nullptr;
    return true;
}
}  // namespace

void RemoveAWinnersSpot(TTourneyState& s, int r) { RemoveASpot(s, TBracketKind::Winners, r); }
void RemoveAOneLossSpot(TTourneyState& s, int r) { RemoveASpot(s, TBracketKind::OneLoss, r); }
void RemoveATwoLossSpot(TTourneyState& s, int r) { RemoveASpot(s, TBracketKind::TwoLoss, r); }

namespace {
TTableRec* TableAt(TTourneyState& s, const TSeatRef& at) {
    if (at.Round < 0 || at.Round >= MaxRounds || at.Table < 0 ||
        at.Table >= MaxTablesPerRound || at.Seat < 0 || at.Seat > 1)
        return nullptr;
    return &s.Bracket(at.Bracket)[at.Round].Tables[at.Table];
}

TPlayer* EntryAt(TTourneyState& s, const TSeatRef& at) {
    TTableRec* t = TableAt(s, at);
    return t ? t->Seat[at.Seat] : nullptr;
}

// Frees an entry that leaves during sign-up: no reference to it may survive.
void DestroyEntry(TTourneyState& s, TPlayer* p) {
    for (int k = 0; k < MaxStages; ++k) {
        if (!p->Tables[k]) continue;
        int seat = SeatOf(*p->Tables[k], p);
        if (seat >= 0) p->Tables[k]->Seat[seat] = nullptr;
    }
    ForgetBoot(s, p);
    if (s.Ports.RapidAssign) s.Ports.RapidAssign->RemoveName(p->Name);
    ClearUndoAndRedo(s);  // snapshots refer to entries by position
    auto it = std::find_if(s.Players.begin(), s.Players.end(),
                           [p](const auto& q) { return q.get() == p; });
    if (it != s.Players.end()) s.Players.erase(it);
}

void RemoveFromSignups(TTourneyState& s, TTableRec& t, TPlayer* p) {
    t.StartTime = 0;
    DestroyEntry(s, p);
    s.View().RedrawRound(TBracketKind::Winners, 0);
    UpdatePlayerState(s);
    SaveChange(s);
}
}  // namespace

TPlayerMenuState PlayerMenuEnabling(const TTourneyState& s, const TSeatRef& at, bool onWinButton,
                                    bool playerMacrosExist) {
    TPlayerMenuState m;
    TTableRec* t = TableAt(const_cast<TTourneyState&>(s), at);
    if (!t || !t->Seat[at.Seat]) return m;
    m.Remove = m.Reassign = m.Disqualify = m.Ban = true;
    m.BothQuit = t->Result == 0 && t->Seat[1 - at.Seat];
    m.RunMacro = playerMacrosExist;
    m.AssignSilently = onWinButton;
    return m;
}

void RemovePlayer(TTourneyState& s, const TSeatRef& at) {
    WriteLog(s, "Menu: Remove Player");
    TPlayer* p = EntryAt(s, at);
    if (!p) return;
    WriteLog(s, "    -> Player = " + p->Name);
    const int k = p->LastStage();
    if (k < 0 || p->Tables[k]->Result != 0) return;
    TTableRec& t = *p->Tables[k];
    WriteLog(s, Format("    -> Bracket = %d, Round = %d", static_cast<int>(at.Bracket), k));
    if (!AskConfirm(s, confirm_bits::RemovePlayer,
                    Format("Are you sure you want to remove \"%s\" from the tournament?",
                           p->Name.c_str())))
        return;
    if (p->BootStart > 0) EndBoot(s, *p);
    if (!s.SignupClosed && k == 0) {
        WriteLog(s, "    -> Removing player from sign-up round");
        RemoveFromSignups(s, t, p);
        return;
    }
    SaveUndo(s, s.UndoList, true);
    t.StartTime = 0;
    t.Seat[p->Seats[k] & 1] = nullptr;
    p->Tables[k] = nullptr;
    p->Seats[k] = 0;
    const bool shrank = RemoveASpot(s, BracketOf(t), RoundOf(t));
    if (k == 0 && shrank) {
        TRoundRec& r0 = s.Winners[0];
        if (r0.HasBye) {
            r0.HasBye = false;
            r0.TableCount = std::max(0, r0.TableCount - 1);
        } else {
            r0.HasBye = true;
        }
    }
    UpdateFullTableCount(s);
    UpdateBracketTabs(s);
    UpdatePlayerState(s);
    SaveChange(s);
}

void BothPlayersQuit(TTourneyState& s, const TSeatRef& at) {
    WriteLog(s, "Menu: Both players have quit");
    TTableRec* t = TableAt(s, at);
    if (!t || !t->Full() || t->Result != 0) return;
    WriteLog(s, "    -> player = " + t->Seat[at.Seat]->Name);
    if (!AskConfirm(s, confirm_bits::BothQuit,
                    Format("Are you sure that \"%s\" and \"%s\" have quit the tournament?",
                           t->Seat[0]->Name.c_str(), t->Seat[1]->Name.c_str())))
        return;
    for (TPlayer* p : t->Seat)
        if (p->BootStart > 0) EndBoot(s, *p);
    const int r = RoundOf(*t);
    const TBracketKind b = BracketOf(*t);
    if (!s.SignupClosed && b == TBracketKind::Winners && r == 0) {
        TPlayer* a = t->Seat[0];
        TPlayer* c = t->Seat[1];
        t->StartTime = 0;
        DestroyEntry(s, a);
        RemoveFromSignups(s, *t, c);
        return;
    }
    SaveUndo(s, s.UndoList, true);
    t->Result = 4;
    t->EndTime = s.Now();
    switch (b) {
        case TBracketKind::Winners:
            RemoveAWinnersSpot(s, r + 1);
            RemoveAOneLossSpot(s, r + 1);
            break;
        case TBracketKind::OneLoss:
            RemoveAOneLossSpot(s, r + 1);
            RemoveATwoLossSpot(s, r + 1);
            break;
        case TBracketKind::TwoLoss:
            RemoveATwoLossSpot(s, r + 1);
            break;
    }
    UpdateFullTableCount(s);
    UpdatePlayerState(s);
    SaveChange(s);
}

void DisqualifyPlayer(TTourneyState& s, const TSeatRef& at) {
    WriteLog(s, "Menu: Disqualify Player");
    TPlayer* p = EntryAt(s, at);
    if (!p) return;
    if (!AskConfirm(s, confirm_bits::Disqualify,
                    Format("Are you sure you want to disqualify \"%s\"?", p->Name.c_str())))
        return;
    WriteLog(s, "    -> Player = " + p->Name);
    p->Disqualified = true;
    UpdatePlayerState(s);
    s.View().RedrawAll();
    SaveChange(s);
}

void AssignWinSilently(TTourneyState& s, const TSeatRef& at) {
    WriteLog(s, "Menu: Assign win silently");
    AssignWin(s, at.Bracket, at.Round, at.Table, at.Seat, true, true);
}

bool IsVoidChecked(const TTourneyState& s, int tableNo) { return IsVoidTable(s, tableNo); }

void ToggleVoidTable(TTourneyState& s, int tableNo) {
    auto it = std::find(s.VoidTables.begin(), s.VoidTables.end(), tableNo);
    if (it != s.VoidTables.end()) s.VoidTables.erase(it);
    else s.VoidTables.push_back(tableNo);
    // Where the entries still on their way will sit depends on the numbers
    // in use, and the file keeps them.
    UpdateFullTableCount(s);
    SaveChange(s);
}

void EditTableNumber(TTourneyState& s, TBracketKind bracket, int round, int table,
                     const std::string& text) {
    if (round < 0 || round >= MaxRounds || table < 0 || table >= MaxTablesPerRound) return;
    int n = 0;
    bool digits = !text.empty() && text.size() <= 9 &&
                  std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || !TryStrToInt(text, n) || n < 1 || n > s.RoomTableCount) return;
    TTableRec& t = s.Bracket(bracket)[round].Tables[table];
    if (t.TableNo == n) return;
    t.TableNo = n;
    ++s.TableNoVersion;
    s.View().RedrawRound(bracket, round);
    SaveChange(s);
}

}  // namespace kestrova
