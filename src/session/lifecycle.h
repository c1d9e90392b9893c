#pragma once
// The tournament's lifecycle: start-up, new tournament, welcome, format and
// Announce Winners. All Start and Close are engine operations (results run
// them too); engine/signup.h declares them and comes in with this header.
#include <array>
#include <string>

#include "engine/signup.h"
#include "model/tourney_state.h"

namespace kestrova {

// What the "New Tournament" dialog hands over on "Start".
struct TNewTourneyOptions {
    std::string FormatName = "Default";
    std::string Path;  // without extension
    bool TeamMode = false;
    bool ShowPointsAtEnd = true;
    bool CapNames = false;
    std::string HostName, CoHostName, HostPlayerName, CoHostPlayerName;
    bool UnscheduledHost = false, UnscheduledCoHost = false;
    std::string RulesTime, StartTime;
    TRoundList StartTables{50, 90, 1, 80, 110, 130, 140, 80, 98, 30, 60, 90, 120, 148, 150};
    int RapidAssignChoice = 0;  // 0 not used, 1 added to ZF, 2 removed from ZF
    std::string Lobby;          // empty: not used
};

// Start-up of the core: the files folder exists, the player lists are
// loaded, and the Format menu lists the stored formats with "Default" applied.
void PrepareStartUp(TTourneyState& s);
// Steps 4 to 11 of a new tournament (after the dialog's "Start").
void StartNewTourney(TTourneyState& s, const TNewTourneyOptions& options);
// The state reset shared by a new tournament: players freed, flags cleared.
void ResetTourneyState(TTourneyState& s);
void AnnounceWinners(TTourneyState& s);
void PostWelcome(TTourneyState& s);
void PostFormat(TTourneyState& s);
// The proposed file name of a new tournament (without folder and extension).
std::string NewTourneyFileName(const std::string& formatName, const std::string& startText,
                               TDateTime today, const TLocaleInfo& locale);

}  // namespace kestrova
