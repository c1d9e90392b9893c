// Reassigning an entry to another table of the same round or of the next.
#include <algorithm>

#include "common/text.h"
#include "engine/corrections.h"
#include "engine/next_assign.h"
#include "engine/results.h"
#include "engine/save_change.h"
#include "engine/seat_search.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "engine/tourney_file.h"

namespace kestrova {

namespace {
int FinalMarker(const TTourneyState& s, TBracketKind b) {
    switch (b) {
        case TBracketKind::OneLoss: return s.OneLossFinalRound;
        case TBracketKind::TwoLoss: return s.TwoLossFinalRound;
        default: return s.GrandFinalRound;
    }
}

// Tables of a round with a free seat ("12"), the entry's own ("14 **") and
// the bye table while its seat is free ("17 *"). Decided tables take nobody.
// A final's second seat belongs to the champion coming up from the lower
// bracket: nobody is moved or assigned onto a final table.
bool IsFinalTable(const TTourneyState& s, const TTableRec& t) {
    if (s.GrandFinalRound >= 0 && s.GrandFinalRound < MaxRounds &&
        &t == &s.Winners[s.GrandFinalRound].Tables[0] && s.ElimFormat != TElimFormat::Single)
        return true;
    return s.ElimFormat == TElimFormat::Triple && s.OneLossLastRound < MaxRounds &&
           &t == &s.OneLoss[s.OneLossLastRound].Tables[0];
}

std::vector<std::string> TableChoices(const TTourneyState& s, const TRoundRec& round,
                                      const TTableRec* own) {
    std::vector<std::string> list;
    const int count = std::min(round.TableCount, MaxTablesPerRound);
    const bool roomForOneMore = RoomForOneMore(round);
    for (int i = 0; i < count; ++i) {
        const TTableRec& t = round.Tables[i];
        const bool last = i == count - 1;
        if (&t == own) {
            if (!(last && round.HasBye)) list.push_back(IntToStr(t.TableNo) + " **");
            continue;
        }
        if (t.Result != 0 || IsFinalTable(s, t)) continue;
        if (last && round.HasBye) {
            if (!t.Seat[0]) list.push_back(IntToStr(t.TableNo) + " *");
        } else if (!t.Full() && (!t.Empty() || roomForOneMore)) {
            // An empty table is one more table in use: offered while the
            // round has room for it within the bracket's bound.
            list.push_back(IntToStr(t.TableNo));
        }
    }
    return list;
}

int LeadingNumber(const std::string& entry) {
    int n = 0, digits = 0;
    for (char c : entry) {
        if (c < '0' || c > '9' || digits == 9) break;
        n = n * 10 + (c - '0');
        ++digits;
    }
    return n;
}
}  // namespace

TReassignInfo BuildReassign(TTourneyState& s, const TSeatRef& at) {
    TReassignInfo info;
    info.At = at;
    if (at.Round < 0 || at.Round >= MaxRounds || at.Table < 0 || at.Table >= MaxTablesPerRound)
        return info;
    TPlayer* p = s.Bracket(at.Bracket)[at.Round].Tables[at.Table].Seat[at.Seat & 1];
    if (!p) return info;
    info.Player = p;
    info.Stage = p->LastStage();
    WriteLog(s, "Menu: Reassign player");
    TTableRec& t = *p->Tables[info.Stage];
    const TBracketKind b = BracketOf(t);
    TPlayer* opp = t.Seat[1 - (p->Seats[info.Stage] & 1)];
    info.CurrentText = Format("Player \"%s\" is currently at table %d for %s.", p->Name.c_str(),
                              t.TableNo, RoundName(s, RoundOf(t), b).c_str());
    info.OpponentText = opp ? Format("The other player at the table is \"%s\".", opp->Name.c_str())
                            : std::string("They are sitting alone.");
    WriteLog(s, Format("    -> Player = %s, Bracket = %d, Round = %d", p->Name.c_str(),
                       static_cast<int>(b), RoundOf(t)));
    info.ThisRound = TableChoices(s, *t.Round, &t);
    const int r = RoundOf(t);
    if (r < FinalMarker(s, b) && info.Stage == at.Round && r + 1 < MaxRounds)
        info.NextRound = TableChoices(s, s.Bracket(b)[r + 1], nullptr);
    if (!opp) {
        if (!info.ThisRound.empty()) {
            info.MoveSelected = true;
            info.AssignWinEnabled = false;
        } else {
            info.MoveEnabled = false;
        }
    } else if (info.NextRound.empty()) {
        info.MoveSelected = true;
        info.AssignWinEnabled = false;
    }
    return info;
}

void CarryOutReassign(TTourneyState& s, const TReassignInfo& info, bool assignWin,
                      const std::string& entry) {
    TPlayer* p = info.Player;
    if (!p || info.Stage < 0) return;
    TTableRec* from = p->Tables[info.Stage];
    if (!from) return;
    const TBracketKind b = BracketOf(*from);
    const int tableNo = LeadingNumber(entry);
    SaveUndo(s, s.UndoList, true);
    int stage = info.Stage;
    int round = RoundOf(*from);
    if (assignWin) {
        WriteLog(s, "    -> Assigning win");
        AssignWin(s, b, round, TableIndexOf(*from), p->Seats[stage] & 1, true, true);
        if (from->Result != (p->Seats[stage] & 1) + 1) return;  // refused
        ++stage;
        ++round;
    }
    WriteLog(s, Format("    -> Moving to table %d", tableNo));
    bool ontoBye = false;
    TTableRec* old = stage < MaxStages ? p->Tables[stage] : nullptr;
    if (round < MaxRounds && old) {
        TRoundRec& target = s.Bracket(b)[round];
        // Only the tables the dialog listed: those in use in the round.
        const int count = std::min(target.TableCount, SeatSearchBound[static_cast<int>(b)]);
        for (int i = 0; i < count; ++i) {
            TTableRec& t = target.Tables[i];
            if (t.TableNo != tableNo || &t == old || t.Result != 0 || IsFinalTable(s, t)) continue;
            int seat = !t.Seat[0] ? 0 : (!t.Seat[1] ? 1 : -1);
            if (seat < 0) break;
            old->StartTime = 0;
            old->Seat[p->Seats[stage] & 1] = nullptr;
            TakeSeat(*p, t, seat, stage);
            if (s.Started && t.Seat[1 - seat]) t.StartTime = s.Now();
            ontoBye = seat == 0 && IsByeTable(t);
            break;
        }
    }
    s.View().RedrawAll();
    SaveChange(s);
    if (!assignWin) return;
    if (ontoBye)
        ShowNotice(s, confirm_bits::ByeTableNotice,
                   "The player has just been assigned the bye for the next round.\r\n\r\nTheir "
                   "posting has NOT been made in the lobby for this round,\r\nyou can declare "
                   "their bye by assigning them the win in the next round.");
    else
        PostNextAssign(s, *p);
}

}  // namespace kestrova
