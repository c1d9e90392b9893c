#include "session/lifecycle.h"

#include <algorithm>
#include <filesystem>

#include "common/text.h"
#include "engine/next_assign.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "engine/format_store.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "records/player_lists.h"
#include "engine/tourney_file.h"

namespace kestrova {

namespace {
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

void PrepareStartUp(TTourneyState& s) {
    if (!s.Settings.FilesFolder.empty()) {
        std::error_code ec;  // a folder that cannot be made shows up when a file is written
        std::filesystem::create_directories(s.Settings.FilesFolder, ec);
    }
    LoadPlayerLists(s);
    RebuildFormatMenu(s, "Default");
}

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

void AnnounceWinners(TTourneyState& s) {
    WriteLog(s, "Click: Winners");
    Announce(s, TMessageKind::mkAnnounceWinners, false);
}

void PostWelcome(TTourneyState& s) {
    WriteLog(s, "Click: Welcome");
    Announce(s, TMessageKind::mkWelcome, false);
}

void PostFormat(TTourneyState& s) {
    WriteLog(s, "Click: Format");
    s.MsgParams.RoundIndex = 0;
    Announce(s, TMessageKind::mkFormat, false);
}

void ResetTourneyState(TTourneyState& s) {
    s.StartedAt = 0;
    s.ClosedAt = 0;
    s.DoublePlayerPoints = false;
    s.OnePerTable = true;
    s.SignupClosed = false;
    s.ActiveBoots.clear();
    ClearUndoAndRedo(s);  // snapshots refer to the players about to be freed
    ClearBrackets(s);
    s.Players.clear();
    ++s.NamesVersion;
    s.Started = false;
    s.VoidTables.clear();
    s.FindText.clear();
    s.FoundTableNo = 0;
    s.FoundStatus.clear();
    s.EmailFields = {};
    s.EmailLabels = {};
    s.SelectedTab = {};
    s.View().OnePerTableChanged(true);
    s.View().SignupStateChanged();
    s.View().FindTextChanged("");
}

void StartNewTourney(TTourneyState& s, const TNewTourneyOptions& o) {
    s.Settings.ShowPointsAtEnd = o.ShowPointsAtEnd;
    s.TourneyPath = o.Path + ".kvb";
    WriteLog(s, "\r\n**** New tourney: " + s.TourneyPath + "****\r\n");
    AddRecentTourney(s, s.TourneyPath);
    ResetTourneyState(s);
    s.LobbyName = o.Lobby;
    s.TeamMode = o.TeamMode;
    s.CapNames = o.CapNames;
    s.View().TeamCaptionsChanged();
    SelectFormatByName(s, o.FormatName);
    s.MsgParams.HostName = o.HostName;
    s.MsgParams.CoHostName = o.CoHostName;
    s.HostPlayerName = o.HostPlayerName;
    s.CoHostPlayerName = o.CoHostPlayerName;
    s.MsgParams.StartTime = o.StartTime;
    s.MsgParams.RulesTime = o.RulesTime;
    s.UnscheduledHost = o.UnscheduledHost;
    s.UnscheduledCoHost = o.UnscheduledCoHost;
    s.StartTable = o.StartTables;
    s.Settings.HostName = o.HostName;
    s.View().HostFieldsChanged();
    SetElimFormat(s, s.ElimFormat);
    UpdatePlayerState(s);
    SaveTourney(s);
}

std::string NewTourneyFileName(const std::string& formatName, const std::string& startText,
                               TDateTime today, const TLocaleInfo& locale) {
    std::string raw =
        formatName + FormatDateTime("' 'ddmmmyy' '", today, locale) + startText + " Tournament";
    std::string out;
    for (char c : raw)
        if (std::string_view("\"*./:<>?\\|").find(c) == std::string_view::npos) out += c;
    return out;
}

}  // namespace kestrova
