#include "engine/signup.h"

#include <algorithm>

#include "common/text.h"
#include "engine/next_assign.h"
#include "engine/save_change.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/table_numbers.h"
#include "engine/undo.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "records/player_lists.h"
#include "engine/tourney_file.h"

namespace kestrova {

namespace {

constexpr const char* FullMessage = "There is no more space in the bracket for more players.";
constexpr const char* BannedMessage =
    "That player is on the banned list, they will not be added to the tournament.";

// Sign-up seats only the first 64 tables of Winners round 0.
constexpr int SignupTables = SeatSearchBound[0];

struct TSeatChoice {
    int Table = -1;
    int Seat = -1;
    bool Found() const { return Table >= 0; }
};

bool Waiting(const TPlayer* p) {
    return p && (p->Player1.empty() || p->Player2.empty());
}
bool Complete(const TPlayer* p) {
    return p && !Waiting(p);
}

TTableRec& SignupTable(TTourneyState& s, int i) {
    return s.Winners[0].Tables[i];
}
bool Usable(TTourneyState& s, int i) {
    return !IsVoidTable(s, SignupTable(s, i).TableNo);
}

// The box clears itself once no table is left for one entry alone.
void ClearOnePerTable(TTourneyState& s) {
    s.OnePerTable = false;
    s.View().OnePerTableChanged(false);
}

TSeatChoice ChoosePlain(TTourneyState& s) {
    if (s.OnePerTable) {
        for (int i = 0; i < SignupTables; ++i)
            if (Usable(s, i) && SignupTable(s, i).Empty()) return {i, 0};
        ClearOnePerTable(s);
    }
    for (int i = 0; i < SignupTables; ++i) {
        if (!Usable(s, i)) continue;
        const TTableRec& t = SignupTable(s, i);
        if (!t.Seat[0]) return {i, 0};
        if (!t.Seat[1]) return {i, 1};
    }
    return {};
}

// A one-name entry may complete a team waiting for its partner.
TSeatChoice ChooseTeam(TTourneyState& s, bool bothPartners) {
    if (s.OnePerTable) {
        for (int i = 0; i < SignupTables; ++i) {
            if (!Usable(s, i)) continue;
            const TTableRec& t = SignupTable(s, i);
            if (t.Empty()) return {i, 0};
            if (bothPartners) continue;
            if (Waiting(t.Seat[0])) return {i, 0};
            if (Waiting(t.Seat[1])) return {i, 1};
        }
        ClearOnePerTable(s);
    }
    for (int i = 0; i < SignupTables; ++i) {
        if (!Usable(s, i)) continue;
        const TTableRec& t = SignupTable(s, i);
        if (!bothPartners && Waiting(t.Seat[0])) return {i, 0};
        if (!bothPartners && Waiting(t.Seat[1])) return {i, 1};
        if (!t.Seat[0]) return {i, 0};
        if (!t.Seat[1]) return {i, 1};
    }
    return {};
}

TSeatChoice ChooseSeat(TTourneyState& s, int tableIndex, int seat, bool bothPartners) {
    if (tableIndex >= 0 && tableIndex < SignupTables && Usable(s, tableIndex)) {
        const TTableRec& t = SignupTable(s, tableIndex);
        seat = seat == 1 ? 1 : 0;
        if (!s.TeamMode && !t.Full()) return {tableIndex, t.Seat[seat] ? 1 - seat : seat};
        if (s.TeamMode && !(Complete(t.Seat[0]) && Complete(t.Seat[1]))) {
            bool fits = !t.Seat[seat] || Waiting(t.Seat[seat]);
            return {tableIndex, fits ? seat : 1 - seat};
        }
    }
    return s.TeamMode ? ChooseTeam(s, bothPartners) : ChoosePlain(s);
}

bool IsDuplicate(const TTourneyState& s, const std::string& name, const std::string& partner) {
    for (const auto& p : s.Players) {
        if (!s.TeamMode) {
            if (SameText(name, p->Name)) return true;
            continue;
        }
        for (const std::string* n : {&name, &partner})
            if (!n->empty() && (SameText(*n, p->Player1) || SameText(*n, p->Player2))) return true;
    }
    return false;
}

// The find box shows the existing entry and the view goes to its table.
void ShowExisting(TTourneyState& s, const std::string& name) {
    s.View().FindTextChanged(name);
    FindPlayer(s, name);
    LocateTable(s);
}

void ClearFindBox(TTourneyState& s) {
    if (s.FindText.empty() && s.FoundTableNo == 0) return;
    s.View().FindTextChanged("");
    FindPlayer(s, "");
}

TPlayer* Seat(TTourneyState& s, TSeatChoice c, const std::string& name,
              const std::string& partner) {
    TTableRec& t = SignupTable(s, c.Table);
    TPlayer* p = t.Seat[c.Seat];
    if (s.TeamMode && Waiting(p)) {
        (p->Player1.empty() ? p->Player1 : p->Player2) = name;
        p->Name = p->Player1 + "/" + p->Player2;
        ++s.NamesVersion;
        return p;
    }
    s.Players.push_back(std::make_unique<TPlayer>());
    p = s.Players.back().get();
    if (s.TeamMode) {
        p->Player1 = name;
        p->Player2 = partner;
        p->Name = p->Player1 + "/" + p->Player2;
        ++s.NamesVersion;
    } else {
        p->Name = name;
        ++s.NamesVersion;
    }
    t.Seat[c.Seat] = p;
    MarkTableUsed(t);
    p->Tables[0] = &t;
    p->Seats[0] = c.Seat;
    return p;
}

}  // namespace

TPlayer* AddPlayer(TTourneyState& s, const std::string& text, int tableIndex, bool silent,
                   bool bothPartners, int seat) {
    std::string name = text, partner;
    if (s.TeamMode) {
        size_t slash = text.find('/');
        if (slash != std::string::npos) {
            partner = NormalizePlayerName(std::string_view(text).substr(slash + 1));
            name = text.substr(0, slash);
            if (!partner.empty()) bothPartners = true;
        }
    }
    if (name.size() > static_cast<size_t>(MaxSignupNameLength)) return nullptr;
    name = NormalizePlayerName(name);
    if (name.empty()) return nullptr;
    if (s.Players.size() >= static_cast<size_t>(MaxPlayers)) {
        s.Dialogs().MessageBox(TMessageBoxKind::Plain, FullMessage);
        return nullptr;
    }
    if (IsDuplicate(s, name, partner)) {
        ShowExisting(s, name);
        return nullptr;
    }
    ClearFindBox(s);
    if (IsBanned(s, name) || (!partner.empty() && IsBanned(s, partner))) {
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, BannedMessage);
        return nullptr;
    }
    TSeatChoice choice = ChooseSeat(s, tableIndex, seat, bothPartners);
    if (!choice.Found()) {
        // Only voided table numbers can use up round 0 before 128 entries.
        s.Dialogs().MessageBox(TMessageBoxKind::Plain, FullMessage);
        return nullptr;
    }
    ClearUndoAndRedo(s);
    TPlayer* p = Seat(s, choice, name, partner);
    TTableRec& t = SignupTable(s, choice.Table);
    WriteLog(s, Format("    -> Player \"%s\" added to table %d", p->Name.c_str(), t.TableNo));
    s.View().ScrollToTable(TBracketKind::Winners, 0, choice.Table);
    s.View().RedrawRound(TBracketKind::Winners, 0);
    if (s.Started && t.Full()) t.StartTime = s.Now();
    if (!silent) PostNextAssign(s, *p);
    s.View().AddBoxCleared();
    SaveChange(s);
    return p;
}

TPlayer* AddPlayerFromBox(TTourneyState& s, const std::string& text) {
    WriteLog(s, "Key: Enter on Add Player");
    TPlayer* p = AddPlayer(s, text);
    s.View().AddBoxCleared();
    return p;
}

TPlayer* AddPlayerFromButton(TTourneyState& s, const std::string& text) {
    WriteLog(s, "Click: AddPlayer(" + text + ")");
    TPlayer* p = AddPlayer(s, text);
    s.View().AddBoxCleared();
    return p;
}

TPlayer* AddPlayerFromSuggestion(TTourneyState& s, const std::string& name) {
    WriteLog(s, "Click: Add Player from drop-down list");
    TPlayer* p = AddPlayer(s, name);
    s.View().AddBoxCleared();
    return p;
}

void SetOnePerTable(TTourneyState& s, bool on) {
    WriteLog(s, std::string("Click: One player/table = ") + OnOff(on));
    s.OnePerTable = on;
}

void SetTeamMode(TTourneyState& s, bool on) {
    s.TeamMode = on;
    s.View().TeamCaptionsChanged();
    SaveSettings(s);
    SaveChange(s);
}

namespace {
// The first round's clocks start now (All Start, or Close before it).
void StartFirstRoundClocks(TTourneyState& s) {
    const TDateTime now = s.Now();
    s.StartedAt = now;
    s.Started = true;
    for (int i = 0; i < std::min(s.Winners[0].TableCount, MaxTablesPerRound); ++i) {
        TTableRec& t = s.Winners[0].Tables[i];
        if (t.Full()) t.StartTime = now;
    }
}

// The first round ends at the last table holding a player.
void FixFirstRound(TTourneyState& s) {
    TRoundRec& r0 = s.Winners[0];
    int last = -1;
    for (int i = 0; i < MaxTablesPerRound; ++i)
        if (!r0.Tables[i].Empty()) last = i;
    int p = last < 0 ? 0 : 2 * last + (r0.Tables[last].Seat[1] ? 2 : 1);
    r0.TableCount = (p + 1) / 2;
    r0.HasBye = p % 2 != 0;
    s.OneLoss[0].TableCount = 0;
    s.OneLoss[0].HasBye = false;
}
}  // namespace

void AllStart(TTourneyState& s) {
    WriteLog(s, "Click: All Start");
    s.MsgParams.RoundIndex = 0;
    Announce(s, TMessageKind::mkAllStart, false);
    if (s.Started) return;
    StartFirstRoundClocks(s);
    s.View().RedrawRound(TBracketKind::Winners, 0);
    SaveTourney(s);
}

void CloseSignups(TTourneyState& s) {
    if (s.Players.size() < 8) {
        s.Dialogs().MessageBox(TMessageBoxKind::Information,
                               "You need at least 8 players/teams in your tourney before you can "
                               "close it");
        return;
    }
    WriteLog(s, "Click: Close");
    if (s.SignupClosed) {
        Announce(s, TMessageKind::mkClosed, false);
        return;
    }
    if (!AskConfirm(s, confirm_bits::CloseSignups,
                    "Are you sure that you want to close signups?\r\n\r\nThis action cannot be "
                    "reversed."))
        return;
    if (!s.FindText.empty() || s.FoundTableNo != 0) {
        s.FindText.clear();
        s.FoundTableNo = 0;
        s.FoundStatus.clear();
        s.View().FindTextChanged("");
    }
    if (!s.Started) StartFirstRoundClocks(s);
    s.ClosedAt = s.Now();
    ClearUndoAndRedo(s);
    s.SignupClosed = true;
    s.View().SignupStateChanged();
    if (s.Ports.RapidAssign) s.Ports.RapidAssign->SignupsClosed();
    FixFirstRound(s);
    UpdateFullTableCount(s);
    Announce(s, TMessageKind::mkClosed, false);
    UpdatePlayerState(s);
    SaveTourney(s);
    AddRecentPlayers(s);
}

}  // namespace kestrova
