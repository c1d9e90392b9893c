// Renaming and erasing names in the bracket's name boxes, the team dialog's
// OK, and the sign-up panel's team mode switch live beside AddPlayer.
#include <algorithm>

#include "common/text.h"
#include "engine/next_assign.h"
#include "engine/save_change.h"
#include "engine/signup.h"
#include "engine/status.h"
#include "engine/undo.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "records/player_lists.h"
#include "engine/tourney_file.h"

namespace kestrova {

namespace {

constexpr const char* EraseClosedMessage =
    "A player's name cannot be erased after closing.\r\n\r\nTo remove the player, right-mouse "
    "click on the player and select \"Remove Player\".";

TTableRec* TableAt(TTourneyState& s, TBracketKind bracket, int round, int table, int seat) {
    if (round < 0 || round >= MaxRounds || table < 0 || table >= MaxTablesPerRound) return nullptr;
    if (seat != 0 && seat != 1) return nullptr;
    return &s.Bracket(bracket)[round].Tables[table];
}

bool InSignupRound(TBracketKind bracket, int round) {
    return bracket == TBracketKind::Winners && round == 0;
}

// An entry can leave the sign-ups only while they are open and it has not
// been moved on to a second stage.
bool Erasable(const TTourneyState& s, TBracketKind bracket, int round, const TPlayer& p) {
    return InSignupRound(bracket, round) && !s.SignupClosed && !p.Tables[1];
}

// Removes the entry from its seat and from everything that points at it, then
// destroys it.
void EraseEntry(TTourneyState& s, TTableRec& t, int seat) {
    TPlayer* p = t.Seat[seat];
    WriteLog(s, Format("    -> erasing \"%s\" from sign-ups", p->Name.c_str()));
    ClearUndoAndRedo(s);
    if (s.Ports.RapidAssign) s.Ports.RapidAssign->RemoveName(p->Name);
    t.Seat[seat] = nullptr;
    t.StartTime = 0;
    std::erase(s.ActiveBoots, p);
    std::erase_if(s.Players, [p](const std::unique_ptr<TPlayer>& q) { return q.get() == p; });
    s.View().RedrawAll();
    SaveChange(s);
}

std::string Rename(TTourneyState& s, TBracketKind bracket, int round, TPlayer& p,
                   const std::string& name) {
    WriteLog(s, "    -> Edit name = " + name);
    WriteLog(s, "    -> Existing player = " + p.Name);
    for (const auto& other : s.Players) {
        if (other.get() != &p && SameText(other->Name, name)) {
            WriteLog(s, "    -> Duplicate exists");
            return p.Name;
        }
    }
    if (name == p.Name) return p.Name;
    p.Name = name;
    ++s.NamesVersion;
    s.View().RedrawAll();
    if (Erasable(s, bracket, round, p)) PostNextAssign(s, p);
    SaveChange(s);
    return p.Name;
}

std::string FillEmptySpot(TTourneyState& s, TBracketKind bracket, int round, TTableRec& t, int seat,
                          const std::string& name) {
    WriteLog(s, "    -> Edit name = " + name);
    WriteLog(s, "    -> No player at spot");
    if (!InSignupRound(bracket, round)) return "";
    WriteLog(s, "    -> signing up new player to bracket");
    AddPlayer(s, name, TableIndexOf(t), false, false, seat);
    // The entry may have been seated elsewhere (this table full or voided).
    return t.Seat[seat] ? t.Seat[seat]->Name : "";
}

}  // namespace

void BeginPlayerNameEdit(TTourneyState& s, TBracketKind bracket) {
    WriteLog(s, Format("Click: %s player name edit", BracketName(bracket)));
}

std::string CancelPlayerNameEdit(TTourneyState& s, TBracketKind bracket, int round, int table,
                                 int seat) {
    WriteLog(s, "Key: Escape in player edit");
    TTableRec* t = TableAt(s, bracket, round, table, seat);
    return t && t->Seat[seat] ? t->Seat[seat]->Name : "";
}

std::string EditPlayerName(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                           const std::string& text) {
    WriteLog(s, "Key: Enter on player's name");
    TTableRec* t = TableAt(s, bracket, round, table, seat);
    if (!t) return "";
    const std::string name = NormalizePlayerName(text);
    TPlayer* p = t->Seat[seat];
    if (!name.empty()) {
        return p ? Rename(s, bracket, round, *p, name)
                 : FillEmptySpot(s, bracket, round, *t, seat, name);
    }
    if (!p) {
        WriteLog(s, "    -> New name is blank...");
        WriteLog(s, "    -> no player in spot");
        return "";
    }
    if (Erasable(s, bracket, round, *p)) {
        EraseEntry(s, *t, seat);
        return "";
    }
    WriteLog(s, "    -> cannot delete as not in sign-ups");
    s.Dialogs().MessageBox(TMessageBoxKind::Plain, EraseClosedMessage);
    return p->Name;
}

std::string ExitPlayerNameEdit(TTourneyState& s, TBracketKind bracket, int round, int table,
                               int seat, const std::string& text) {
    WriteLog(s, "Exit: Player name edit");
    return EditPlayerName(s, bracket, round, table, seat, text);
}

TPlayer* ApplyTeamProperties(TTourneyState& s, TBracketKind bracket, int round, int table, int seat,
                             const std::string& teamName, const std::string& first,
                             const std::string& second) {
    TTableRec* t = TableAt(s, bracket, round, table, seat);
    if (!t) return nullptr;
    if (TPlayer* p = t->Seat[seat]) {
        // Typed text is kept as it stands; only the boxes' lengths bound it.
        ++s.NamesVersion;
        p->Name = teamName.substr(0, TeamNameLength);
        p->Player1 = first.substr(0, PlayerNameLength);
        p->Player2 = second.substr(0, PlayerNameLength);
        s.View().RedrawAll();
        SaveChange(s);
        return p;
    }
    if (!InSignupRound(bracket, round)) return nullptr;
    TPlayer* p = AddPlayer(s, first + "/" + second, table, true, true, seat);
    if (!p) return nullptr;
    if (!teamName.empty()) {
        ++s.NamesVersion;
        p->Name = teamName.substr(0, TeamNameLength);
        s.View().RedrawRound(TBracketKind::Winners, 0);
        SaveChange(s);
    }
    PostNextAssign(s, *p);
    return p;
}

}  // namespace kestrova
