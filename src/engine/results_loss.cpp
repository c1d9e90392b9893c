// Results in the one-loss and two-loss brackets, and the crossings of the
// loss-bracket champions into the finals.
#include "common/text.h"
#include "engine/corrections.h"
#include "engine/next_assign.h"
#include "engine/results.h"
#include "engine/results_common.h"
#include "engine/save_change.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "records/event_log.h"
#include "engine/tourney_file.h"

namespace kestrova {

namespace {
// Steps 1 and 2 shared by both loss brackets: the result itself.
bool StoreLossResult(TTourneyState& s, TWinContext& c, const char* name) {
    if (!LocateWin(s, c)) return false;
    if (!WinPreamble(s, c, name)) return false;
    if (c.T->Result != 0) CancelMatch(s, c.Round, *c.T);  // refusal was checked first
    c.T->Result = c.Seat + 1;
    c.T->EndTime = s.Now();
    if (s.Settings.ResetBootOnAssign) c.W->BootCount = 0;
    return true;
}

int NextFreeStage(const TPlayer& p, int from) {
    for (int k = from; k < MaxStages - 1; ++k)
        if (!p.Tables[k]) return k;
    return MaxStages - 1;
}

// A champion from a lower bracket takes seat 1 of a final table. The seat can
// only be taken already when a forced bye reshaped the finals; the entry then
// stays where it is rather than push the other one out.
bool CrossIntoFinal(TTourneyState& s, TPlayer& w, TTableRec& final, int stage) {
    if (final.Seat[1] && final.Seat[1] != &w) {
        ReportSeatFailure(s, "winner", final.Round->Bracket == TBracketKind::Winners
                                           ? "winner's bracket"
                                           : "one-loss bracket");
        return false;
    }
    final.Seat[1] = &w;
    MarkTableUsed(final);
    final.StartTime = s.Now();
    w.Tables[stage] = &final;
    w.Seats[stage] = 1;
    return true;
}

void AnnounceBye(TTourneyState& s, TWinContext& c, bool seated) {
    s.MsgParams.PlayerName = c.W->Name;
    s.MsgParams.RoundIndex = GetRoundIndex(s, c.Round, c.Bracket);
    if (c.Silent) return;
    Announce(s, TMessageKind::mkBye, true);
    if (LobbyAttached(s) && seated) PostNextAssign(s, *c.W);
}

void GrandFinalCrossing(TTourneyState& s, TWinContext& c) {
    TTableRec& gf = s.Winners[s.GrandFinalRound].Tables[0];
    if (!CrossIntoFinal(s, *c.W, gf, NextFreeStage(*c.W, c.Round))) {
        SaveChange(s);
        return;
    }
    if (c.Forced) UpdateFullTableCount(s);
    WriteLog(s, "    -> Grand Final assignment (seat 1)");
    s.EmailLabels[1] = c.W->Name + "'s Email:";
    if (c.L) s.EmailLabels[2] = c.L->Name + "'s Email:";
    s.View().EmailLabelsChanged();
    if (!c.Silent) {
        if (!s.Settings.PostAssignmentsManually) PostNextAssign(s, *c.W);
        if (c.L && LoserAutoPostAllowed(s)) PostNextAssign(s, *c.L);
    }
    s.SelectedTab[0] = s.GrandFinalRound;
    s.View().SelectRound(TBracketKind::Winners, s.GrandFinalRound);
    s.View().RedrawAll();
    SaveChange(s);
}
}  // namespace

void AssignOneLossWin(TTourneyState& s, int round, int table, int seat, bool pressed, bool silent) {
    TWinContext c{TBracketKind::OneLoss, round, table, seat, pressed, silent};
    if (!StoreLossResult(s, c, "OneLoss")) return;
    const int r = round;
    const bool triple = s.ElimFormat == TElimFormat::Triple;
    if ((s.ElimFormat == TElimFormat::Double && r == s.OneLossFinalRound) ||
        (triple && r == s.OneLossLastRound)) {
        GrandFinalCrossing(s, c);
        return;
    }
    const bool manual = s.Settings.PostAssignmentsManually;
    const bool winnerStart[2] = {!manual, true};
    TSeatFound f = SeatMovingEntry(s, *c.W, TBracketKind::OneLoss, r + 1, false, "Winner", winnerStart);
    bool winnerNotice = false;
    if (f) winnerNotice = ByeTableNotice(s, f, "winner");
    else ReportSeatFailure(s, "winner", "one-loss bracket");
    // Recount once the winner sits at its next table, so the new bye table is counted right.
    if (c.Forced) UpdateFullTableCount(s);
    if (r + 1 < MaxRounds && RoundComplete(s.OneLoss[r + 1])) s.View().TabsChanged();

    if (!c.L) {
        AnnounceBye(s, c, static_cast<bool>(f));
        s.View().RedrawRound(TBracketKind::OneLoss, r);
        SaveChange(s);
        return;
    }
    TPlayer& L = *c.L;
    if (s.Settings.ResetBootOnAssign) L.BootCount = 0;
    bool loserNotice = false;
    if (triple) {
        const bool loserStart[2] = {!manual, true};
        TSeatFound lf = SeatMovingEntry(s, L, TBracketKind::TwoLoss, r + 1, false, "Loser", loserStart);
        if (lf) loserNotice = ByeTableNotice(s, lf, "loser");
        else ReportSeatFailure(s, "loser", "two-loss bracket");
        s.View().RedrawRound(TBracketKind::TwoLoss, r + 1);
    }
    s.View().RedrawRound(TBracketKind::OneLoss, r);
    SaveChange(s);
    if (silent) return;
    if (!manual && !winnerNotice && f) PostNextAssign(s, *c.W);
    if (LoserAutoPostAllowed(s) && !(manual && triple) && !loserNotice) PostNextAssign(s, L);
}

void AssignTwoLossWin(TTourneyState& s, int round, int table, int seat, bool pressed, bool silent) {
    TWinContext c{TBracketKind::TwoLoss, round, table, seat, pressed, silent};
    if (!StoreLossResult(s, c, "TwoLoss")) return;
    const int r = round;
    const bool manual = s.Settings.PostAssignmentsManually;
    if (r + 1 > s.TwoLossFinalRound) {
        TTableRec& last = s.OneLoss[s.OneLossLastRound].Tables[0];
        if (!CrossIntoFinal(s, *c.W, last, r + 1)) {
            SaveChange(s);
            return;
        }
        if (c.Forced) UpdateFullTableCount(s);
        if (!silent) {
            if (!manual) PostNextAssign(s, *c.W);
            if (c.L && LoserAutoPostAllowed(s)) PostNextAssign(s, *c.L);
        }
        s.View().RedrawAll();
        SaveChange(s);
        return;
    }
    const bool winnerStart[2] = {!manual, true};
    TSeatFound f = SeatMovingEntry(s, *c.W, TBracketKind::TwoLoss, r + 1, false, "Winner", winnerStart);
    bool winnerNotice = false;
    if (f) winnerNotice = ByeTableNotice(s, f, "winner");
    else ReportSeatFailure(s, "winner", "two-loss bracket");
    if (c.Forced) UpdateFullTableCount(s);
    if (r + 1 < MaxRounds && RoundComplete(s.TwoLoss[r + 1])) s.View().TabsChanged();
    if (c.L) {
        if (s.Settings.ResetBootOnAssign) c.L->BootCount = 0;
        if (!silent) {
            if (!manual && !winnerNotice && f) PostNextAssign(s, *c.W);
            if (LoserAutoPostAllowed(s)) PostNextAssign(s, *c.L);
        }
    } else {
        AnnounceBye(s, c, static_cast<bool>(f));
    }
    s.View().RedrawRound(TBracketKind::TwoLoss, r);
    SaveChange(s);
}

}  // namespace kestrova
