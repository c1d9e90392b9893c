#include "session/lifecycle.h"

#include <algorithm>

#include "common/file_util.h"
#include "common/text.h"
#include "engine/next_assign.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "engine/format_store.h"
#include "lobby/lobby_link.h"
#include "records/confirm.h"
#include "records/event_log.h"
#include "records/player_lists.h"
#include "engine/tourney_file.h"

namespace kestrova {

void PrepareStartUp(TTourneyState& s) {
    if (!s.Settings.FilesFolder.empty()) {
        // A folder that cannot be made shows up when a file is written.
        MakeFolders(s.Settings.FilesFolder);
    }
    LoadPlayerLists(s);
    RebuildFormatMenu(s, "Default");
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
    if (s.Ports.RapidAssign) s.Ports.RapidAssign->NewTourney(o.RapidAssignChoice);
    ChooseLobbyByTitle(s, o.Lobby);
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
