#include "engine/next_assign.h"

#include <cmath>

#include "common/text.h"
#include "engine/save_change.h"
#include "engine/status.h"
#include "formats/messages.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "engine/tourney_file.h"

namespace kestrova {

void Announce(TTourneyState& s, TMessageKind kind, bool automatic) {
    if (s.Ports.Announcer) {
        s.Ports.Announcer->Post(s, kind, automatic);
        return;
    }
    TTemplateAnnouncer announcer;
    announcer.Post(s, kind, automatic);
}

bool LobbyAttached(TTourneyState& s) { return ChatInputKnown(s); }

namespace {
bool IsByeTable(const TTableRec& t) {
    const TRoundRec& r = *t.Round;
    return r.HasBye && TableIndexOf(t) == r.TableCount - 1;
}

// Third place: the semi-final loser (Single), the one-loss final loser
// (Double) or the loser at the one-loss last round (Triple).
bool FinishedThird(const TTourneyState& s, const TTableRec& t, int k) {
    TBracketKind b = BracketOf(t);
    switch (s.ElimFormat) {
        case TElimFormat::Single: return b == TBracketKind::Winners && k == s.WinnersFinalRound;
        case TElimFormat::Double: return b == TBracketKind::OneLoss && k == s.OneLossFinalRound;
        case TElimFormat::Triple: return b == TBracketKind::OneLoss && k == s.OneLossLastRound;
    }
    return false;
}

bool LostPrevious(const TPlayer& p, int k) {
    if (k <= 0 || !p.Tables[k - 1]) return false;
    const TTableRec& prev = *p.Tables[k - 1];
    return (prev.Result == 1 || prev.Result == 2) && prev.Result - 1 != p.Seats[k - 1];
}
}  // namespace

void PostNextAssign(TTourneyState& s, TPlayer& p, bool automatic) {
    int k = p.LastStage();
    if (k < 0) return;
    TTableRec& t = *p.Tables[k];
    int seat = p.Seats[k];
    TPlayer* opp = t.Seat[1 - seat];
    s.MsgParams.PlayerName = p.Name;
    s.MsgParams.TableNo = t.TableNo;
    s.MsgParams.OpponentName = opp ? opp->Name : std::string();
    s.MsgParams.RoundIndex = GetRoundIndex(s, k, BracketOf(t));

    if (p.BootStart != 0) {
        double left = s.BootTime * 60.0 - (s.Now() - p.BootStart) * SecondsPerDay;
        s.MsgParams.BootSecondsLeft = static_cast<int32_t>(std::lround(left));
        Announce(s, TMessageKind::mkBoot, automatic);
        return;
    }
    if (t.Result != 0) {
        Announce(s, TMessageKind::mkThankYou, automatic);
        if (FinishedThird(s, t, k)) Announce(s, TMessageKind::mkThirdPlace, automatic);
        return;
    }
    if (IsByeTable(t) &&
        !AskConfirm(s, confirm_bits::PostOnBye,
                    "The player is currently sitting at a bye.\r\nAre you sure you want to post "
                    "the player's table without declaring the bye first?"))
        return;

    const bool both = t.Full();
    TMessageKind kind;
    if (k == 0) {
        kind = TMessageKind::mkSignup;
        if (s.TeamMode && (p.Player1.empty() || p.Player2.empty())) {
            kind = TMessageKind::mkSignupNoPartner;
            s.MsgParams.PlayerName = p.Player1.empty() ? p.Player2 : p.Player1;
        }
    } else if (BracketOf(t) == TBracketKind::Winners && k == s.GrandFinalRound) {
        kind = both ? TMessageKind::mkNextAssignFinals2 : TMessageKind::mkNextAssignFinals1;
    } else if (LostPrevious(p, k)) {
        kind = both ? TMessageKind::mkNextAssignLoss2 : TMessageKind::mkNextAssignLoss1;
    } else {
        kind = both ? TMessageKind::mkNextAssign2 : TMessageKind::mkNextAssign1;
    }
    Announce(s, kind, automatic);
}

void CopyForPlayer(TTourneyState& s, TBracketKind bracket, int round, int table, int seat) {
    if (round < 0 || round >= MaxRounds || table < 0 || table >= MaxTablesPerRound) return;
    TTableRec& t = s.Bracket(bracket)[round].Tables[table];
    TPlayer* p = t.Seat[seat & 1];
    if (!p) return;
    WriteLog(s, "Click: Copy for player \"" + p->Name + "\"");
    if (t.Full() && t.StartTime == 0) t.StartTime = s.Now();
    SaveChange(s);
    PostNextAssign(s, *p, false);
}

}  // namespace kestrova
