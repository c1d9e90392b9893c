#pragma once
// The banned-player list and the recent-player history: sorted name lists
// without case-insensitive duplicates, kept in FilesFolder as
// "BannedPlayers.txt" and "RecentPlayers.txt" (one name per CR LF line).
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class TTourneyState;
using TNameList = std::vector<std::string>;

inline constexpr const char* BannedPlayersFileName = "BannedPlayers.txt";
inline constexpr const char* RecentPlayersFileName = "RecentPlayers.txt";

// Keeps "0"-"9", "A"-"Z", "a"-"z" and "_", then the first 15 characters.
std::string NormalizePlayerName(std::string_view text);

// --- Sorted, case-insensitive name lists
// Index of the entry equal to `name` without regard to case, or -1.
int FindName(const TNameList& list, std::string_view name);
// Inserts in sorted place unless an equal entry exists; returns the index of
// the new or the existing entry.
int AddName(TNameList& list, const std::string& name);
// Replaces entry `index` by `name` (re-sorted) unless another entry equals
// it; returns the entry's new index, or -1 when nothing changed.
int ReplaceName(TNameList& list, int index, const std::string& name);
// Lines ended by CR, LF or CR LF, taken as they stand, sorted and de-duplicated.
TNameList ParseNameList(std::string_view bytes);
// Every name followed by CR LF.
std::string FormatNameList(const TNameList& list);

// --- The two lists of the state
// Empties both lists and loads each file that exists in FilesFolder.
void LoadPlayerLists(TTourneyState& s);
// Rewrites both files. Throws std::runtime_error when a file cannot be written.
// Does nothing while FilesFolder is unknown (empty).
void SavePlayerLists(const TTourneyState& s);
// Adds the entries' names (partners' names in team mode) to the history in
// sign-up order and rewrites "RecentPlayers.txt" at once.
void AddRecentPlayers(TTourneyState& s);
bool IsBanned(const TTourneyState& s, std::string_view name);
// The player menu's "Ban player from future tourneys". False when the host
// said No.
bool BanPlayer(TTourneyState& s, const std::string& name);
// The player-list dialog's OK: the list becomes `names` and the settings
// (with both files) are saved.
void ReplacePlayerList(TTourneyState& s, TNameList& list, TNameList names);

}  // namespace kestrova
