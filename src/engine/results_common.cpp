#include "engine/results_common.h"

#include <algorithm>

#include "common/text.h"
#include "engine/corrections.h"
#include "engine/next_assign.h"
#include "engine/save_change.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "engine/tourney_file.h"
#include "engine/boots.h"

namespace kestrova {

bool LocateWin(TTourneyState& s, TWinContext& c) {
    if (c.Round < 0 || c.Round >= MaxRounds || c.Table < 0 ||
        c.Table >= SeatSearchBound[static_cast<int>(c.Bracket)] || c.Seat < 0 || c.Seat > 1)
        return false;
    c.T = &s.Bracket(c.Bracket)[c.Round].Tables[c.Table];
    c.W = c.T->Seat[c.Seat];
    c.L = c.T->Seat[1 - c.Seat];
    return true;
}

namespace {
bool ConfirmWinFor(TTourneyState& s, TPlayer& w) {
    if (w.BootedOut) {
        if (AskConfirm(s, confirm_bits::BootedWinner,
                       "The player you just assigned a win to had booted too long.\r\nAre you "
                       "sure you want to give them the win?"))
            w.BootedOut = false;
    }
    if (w.Disqualified && !w.BootedOut) {
        if (AskConfirm(s, confirm_bits::DisqualifiedWinner,
                       "The player you just assigned a win to was disqualified\r\nAre you sure "
                       "you want to give them the win?"))
            w.Disqualified = false;
    }
    return !w.BootedOut && !w.Disqualified;
}

// The rounds whose winner goes to a final table: a bye forced there while the
// opponent is still on the way would send two entries to the one seat.
bool InFinalRounds(const TTourneyState& s, TBracketKind b, int r) {
    switch (b) {
        case TBracketKind::Winners:
            return r >= (s.ElimFormat == TElimFormat::Single ? s.GrandFinalRound : s.WinnersFinalRound);
        case TBracketKind::OneLoss: return r >= s.OneLossFinalRound;
        case TBracketKind::TwoLoss: return r >= s.TwoLossFinalRound;
    }
    return false;
}

// A bye the round did not schedule: asks, and in single elimination with all
// round-2 byes given refuses.
bool ForcedByeAllowed(TTourneyState& s, TWinContext& c) {
    if (c.L || IsByeTable(*c.T)) return true;
    if (c.Bracket == TBracketKind::Winners && s.AssignAllRound2Byes &&
        s.ElimFormat == TElimFormat::Single && c.Round == 1) {
        TByeCounts counts;
        if (!Get2ndRoundByeStatus(s, counts)) {
            WriteLog(s, "    -> Can't force bye");
            s.Dialogs().MessageBox(TMessageBoxKind::Information,
                                   "This round has all byes allocated. Cannot force another bye "
                                   "in this round.");
            return false;
        }
    }
    // A forced bye on an entry whose opponent is still on the way gives the
    // round one more table and the next round one more entry; a round at the
    // bracket's capacity has no room for either.
    if (InFinalRounds(s, c.Bracket, c.Round) && OpponentOnTheWay(*c.T)) {
        WriteLog(s, "    -> Can't force bye");
        s.Dialogs().MessageBox(TMessageBoxKind::Information,
                               "The opponent for this table is still on the way to it. Cannot "
                               "force a bye in a final round.");
        return false;
    }
    if (!ForcedByeFits(s, *c.T)) {
        WriteLog(s, "    -> Can't force bye");
        s.Dialogs().MessageBox(TMessageBoxKind::Information,
                               "This round has no room for another table. Cannot force a bye in "
                               "this round.");
        return false;
    }
    if (!AskConfirm(s, confirm_bits::ForcedBye,
                    "A bye is not scheduled for this table, are you sure you want to assign a "
                    "bye to " +
                        c.W->Name + "?"))
        return false;
    WriteLog(s, "    -> Forced bye");
    c.Forced = true;
    return true;
}
}  // namespace

bool WinPreamble(TTourneyState& s, TWinContext& c, const char* bracketName) {
    if (!c.W) return false;
    if (LogEnabled(s))
        WriteLog(s, Format("    -> Assigning %s Win - Winner = %s, Loser = %s, Round = %d, Table = %d",
                       bracketName, c.W->Name.c_str(), c.L ? c.L->Name.c_str() : "", c.Round + 1,
                       c.T->TableNo));
    const int mine = c.Seat + 1;
    if (!c.Pressed) {
        if (c.T->Result != mine) return false;
        if (!CanCancelMatch(s, *c.T)) {
            CancelMatch(s, c.Round, *c.T);  // logs the refusal
            return false;
        }
        SaveUndo(s, s.UndoList, true);
        if (c.W->BootStart > 0) EndBoot(s, *c.W);
        if (c.L && c.L->BootStart > 0) EndBoot(s, *c.L);
        CancelMatch(s, c.Round, *c.T);
        UpdateFullTableCount(s);
        SaveChange(s);
        return false;
    }
    if (c.T->Result == mine) return false;
    bool checkBye = c.Bracket == TBracketKind::Winners ? c.T->Result == 0 : true;
    if (checkBye && !ForcedByeAllowed(s, c)) return false;
    if (!ConfirmWinFor(s, *c.W)) return false;
    if (c.T->Result != 0 && !CanCancelMatch(s, *c.T)) {
        CancelMatch(s, c.Round, *c.T);  // logs the refusal
        return false;
    }
    SaveUndo(s, s.UndoList, true);
    if (c.W->BootStart > 0) EndBoot(s, *c.W);
    if (c.L && c.L->BootStart > 0) EndBoot(s, *c.L);
    return true;
}

TSeatFound SeatMovingEntry(TTourneyState& s, TPlayer& p, TBracketKind bracket, int round,
                           bool winnersWinner, const char* who, const bool startAt[2]) {
    TSeatFound f = FindSeat(s, bracket, round, winnersWinner);
    if (!f) return f;
    // Normally the stage is the round; a champion who crossed into a final
    // table sits there at a later stage, so it must not be overwritten.
    TakeSeat(p, *f.Table, f.Seat, std::max(round, p.LastStage() + 1));
    if (LogEnabled(s))
        WriteLog(s, Format("    -> %s assigned to table %d, seat %d", who, f.Table->TableNo, f.Seat));
    if (f.Table->Full() && startAt[f.Seat]) f.Table->StartTime = s.Now();
    return f;
}

bool ByeTableNotice(TTourneyState& s, const TSeatFound& f, const char* who) {
    if (!f || f.Seat != 0 || !IsByeTable(*f.Table)) return false;
    ShowNotice(s, confirm_bits::ByeTableNotice,
               Format("The %s has just been assigned the bye for the next round.\r\n\r\nTheir "
                      "posting has NOT been made in the lobby for this round,\r\nyou can declare "
                      "their bye by assigning them the win in the next round.",
                      who));
    return true;
}

void ReportSeatFailure(TTourneyState& s, const char* who, const char* bracketText) {
    WriteLog(s, Format("CRITICAL PROBLEM: Could not find a table for %s for next round", who));
    s.Dialogs().MessageBox(
        TMessageBoxKind::Error,
        Format("CRITICAL PROBLEM: Could not find a table for the next assign in %s", bracketText));
}

bool LoserAutoPostAllowed(TTourneyState& s) {
    return s.Settings.AutoPostLoss && LobbyAttached(s) && !s.Settings.AutoPostPreview;
}

}  // namespace kestrova
