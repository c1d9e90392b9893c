#pragma once
// The per-user settings that outlive a tournament (kept through ISettingsStore).
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// Bits of ConfirmNotifyFilter: a set bit skips a question (as if "Yes") or hides a notice.
namespace confirm_bits {
constexpr uint32_t BootTimedOutPost = 1u << 0;
constexpr uint32_t CloseSignups = 1u << 1;
constexpr uint32_t RemovePlayer = 1u << 2;
constexpr uint32_t BothQuit = 1u << 3;
constexpr uint32_t Disqualify = 1u << 4;
constexpr uint32_t ClearZoneFriends = 1u << 5;
constexpr uint32_t ForcedBye = 1u << 6;
constexpr uint32_t BootedWinner = 1u << 7;
constexpr uint32_t DisqualifiedWinner = 1u << 8;
constexpr uint32_t PostOnBye = 1u << 9;
constexpr uint32_t BanPlayer = 1u << 10;
constexpr uint32_t ByeTableNotice = 1u << 24;
constexpr uint32_t MovedNotice = 1u << 25;
constexpr uint32_t ZoneFriendsRenamedNotice = 1u << 26;
}  // namespace confirm_bits

struct TAppSettings {
    int Left = 401, Top = 121, Height = 524;
    int BracketArrangement = 0;  // 0 horizontal, 1 vertical
    std::string HostName;
    std::string MacroFileName;
    std::string FilesFolder;  // always ends in the path separator
    bool ShowPointsAtEnd = true;
    bool AlwaysOnTop = false;
    bool ShowStatusSummary = true;
    std::string DefaultStartTables = "50,90,1,80,110,130,140,80,98,30,60,90,120,148,150";
    bool RemindAt15 = false, RemindAt10 = false, RemindAt5 = false;
    bool ResetBootOnAssign = true;
    bool ShowMainMenuLobbies = false;
    bool AutoPostPreview = false;
    bool AutoPostLoss = false;
    bool HideCompletedMatches = false;
    std::string MiddleTimeZone, RightTimeZone;
    bool MiddleTime24Hour = false, RightTime24Hour = false;
    uint32_t ConfirmNotifyFilter = 0;
    bool DefaultClearZfList = false;
    // Where the lobby client keeps its nick folders, chosen by the host
    // ("Friends list folder..."); used where the platform has no registry.
    std::string FriendsFolder;
    int LastVersionInstalled = 0;
    bool PostAssignmentsManually = false;
    bool DisplayMatchTimeRemaining = false;
    std::vector<std::string> RecentTourneys;  // "RestoreMRU": F0..F4, newest first
    std::vector<std::string> RecentMacroFiles;  // "MacroMRU": F0..F4, newest first
};

}  // namespace kestrova
