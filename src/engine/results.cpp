#include "engine/results.h"

#include <cmath>

#include "common/text.h"
#include "engine/corrections.h"
#include "engine/next_assign.h"
#include "engine/results_common.h"
#include "engine/save_change.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "records/event_log.h"
#include "engine/signup.h"
#include "engine/tourney_file.h"

namespace kestrova {

namespace {
void SetFinalistLabels(TTourneyState& s) {
    const TTableRec& gf = s.Winners[s.GrandFinalRound].Tables[0];
    for (int seat = 0; seat < 2; ++seat)
        if (gf.Seat[seat]) s.EmailLabels[seat] = gf.Seat[seat]->Name + "'s Email:";
    s.View().EmailLabelsChanged();
}

// Closes sign-ups by itself once most first-round tables have a result.
void MaybeCloseSignups(TTourneyState& s) {
    if (s.SignupClosed) return;
    int decided = 0;
    for (int i = 0; i < MaxTablesPerRound; ++i)
        if (s.Winners[0].Tables[i].Result != 0) ++decided;
    int needed = (static_cast<int>(s.Players.size()) + 1) / 2 - 2;
    if (decided >= needed) CloseSignups(s);
}

bool GrantsRound2Bye(TTourneyState& s) {
    TByeCounts c;
    if (!Get2ndRoundByeStatus(s, c)) return false;
    if (c.ByesToGo >= c.TablesEmpty) return true;
    if (!s.RandomRound2Byes || c.PlayersInRound <= 0) return false;
    std::uniform_int_distribution<int> pick(0, c.PlayersInRound - 1);
    return pick(s.Random) < c.TotalSeats - c.PlayersInRound;
}

// Seats W alone at the free round-2 table nearest the end; the bye is won at once.
bool SeatRound2Bye(TTourneyState& s, TPlayer& w, bool silent) {
    TRoundRec& r1 = s.Winners[1];
    for (int t = std::min(r1.TableCount, MaxTablesPerRound) - 1; t >= 0; --t) {
        TTableRec& tab = r1.Tables[t];
        if (!tab.Empty() || IsTableNoInUse(s, TBracketKind::Winners, 1, tab.TableNo)) continue;
        TakeSeat(w, tab, 0, 1);
        tab.Result = 1;
        tab.EndTime = s.Now();
        WriteLog(s, Format("    -> Winner assigned to table %d (2nd round bye)", tab.TableNo));
        s.MsgParams.PlayerName = w.Name;
        s.MsgParams.RoundIndex = GetRoundIndex(s, 0, TBracketKind::Winners);
        if (!silent) Announce(s, TMessageKind::mkBye, true);
        return true;
    }
    return false;
}
}  // namespace

void AssignWinnersWin(TTourneyState& s, int round, int table, int seat, bool pressed, bool silent) {
    TWinContext c{TBracketKind::Winners, round, table, seat, pressed, silent};
    if (!LocateWin(s, c)) return;
    if (!s.Started) AllStart(s);
    if (!WinPreamble(s, c, "Winners")) return;
    TTableRec& T = *c.T;
    TPlayer& W = *c.W;
    int r = round;

    if (s.GrandFinalRound > 0 && r == s.GrandFinalRound) {
        WriteLog(s, "    -> GRAND FINAL win");
        if (T.Result != 0) CancelMatch(s, r, T);
        T.Result = seat + 1;
        T.EndTime = s.Now();
        s.View().ShowEmailPanel();
        s.View().RedrawRound(TBracketKind::Winners, r);
        SaveChange(s);
        if (s.Settings.ShowPointsAtEnd) s.View().ShowPointsWindow();
        return;
    }
    if (T.Result != 0) CancelMatch(s, r, T);  // a change of winner (refusal checked above)
    MaybeCloseSignups(s);
    if (s.Settings.ResetBootOnAssign) W.BootCount = 0;
    T.Result = seat + 1;
    T.EndTime = s.Now();

    if (s.AssignAllRound2Byes && s.ElimFormat == TElimFormat::Single && r == 0 && c.L &&
        GrantsRound2Bye(s)) {
        if (!SeatRound2Bye(s, W, silent)) {
            ReportSeatFailure(s, "winner", "winner's bracket");
            return;
        }
        r = 1;
    }

    const int next = r + 1;
    const bool manual = s.Settings.PostAssignmentsManually;
    const bool winnerStart[2] = {!manual, !manual};
    TSeatFound f = SeatMovingEntry(s, W, TBracketKind::Winners, next, true, "Winner", winnerStart);
    bool winnerNotice = false;
    if (f) {
        if (next == s.GrandFinalRound) SetFinalistLabels(s);
        winnerNotice = ByeTableNotice(s, f, "winner");
    } else {
        ReportSeatFailure(s, "winner", "winner's bracket");
    }
    if (next < MaxRounds && RoundComplete(s.Winners[next])) s.View().TabsChanged();
    if (c.Forced) UpdateFullTableCount(s);

    if (c.L) {
        TPlayer& L = *c.L;
        if (s.Settings.ResetBootOnAssign) L.BootCount = 0;
        bool loserNotice = false;
        if (s.ElimFormat != TElimFormat::Single) {
            const bool always[2] = {true, true};
            TSeatFound lf = SeatMovingEntry(s, L, TBracketKind::OneLoss, next, false, "Loser", always);
            if (lf) loserNotice = ByeTableNotice(s, lf, "loser");
            else ReportSeatFailure(s, "loser", "one-loss bracket");
            s.View().RedrawRound(TBracketKind::OneLoss, next);
        }
        s.View().RedrawRound(TBracketKind::Winners, r);
        SaveChange(s);
        if (silent) return;
        if (!manual && !winnerNotice && f) PostNextAssign(s, W);
        bool manualBlocks = manual && s.ElimFormat != TElimFormat::Single;
        if (LoserAutoPostAllowed(s) && !manualBlocks && !loserNotice) PostNextAssign(s, L);
        return;
    }
    s.MsgParams.PlayerName = W.Name;
    s.MsgParams.RoundIndex = GetRoundIndex(s, r, TBracketKind::Winners);
    if (!silent) {
        Announce(s, TMessageKind::mkBye, true);
        if (LobbyAttached(s) && f) PostNextAssign(s, W);
    }
    s.View().RedrawRound(TBracketKind::Winners, r);
    SaveChange(s);
}

void AssignWin(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
               bool pressed, bool silent) {
    switch (bracket) {
        case TBracketKind::Winners: return AssignWinnersWin(s, round, table, seat, pressed, silent);
        case TBracketKind::OneLoss: return AssignOneLossWin(s, round, table, seat, pressed, silent);
        case TBracketKind::TwoLoss: return AssignTwoLossWin(s, round, table, seat, pressed, silent);
    }
}

void WinButtonClicked(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                      bool pressed) {
    static const char* const kLines[] = {"Click: Winners Win check", "Click: OneLoss Win check",
                                         "Click: TwoLoss Win check"};
    WriteLog(s, kLines[static_cast<int>(bracket)]);
    AssignWin(s, bracket, round, table, seat, pressed, false);
}

}  // namespace kestrova
