#pragma once
// The lobby link: the room windows of the lobby client, the chosen room and
// its chat input, and the posting options. Every window operation goes
// through ILobbyWindows, so the same code runs against the Win32 windows,
// against no windows at all (every other platform: lines stay on the
// clipboard) and against the scripted window trees of the tests.
#include <string>
#include <vector>

#include "model/tourney_state.h"

namespace kestrova {

inline constexpr const char* NewRoomClass = "ZoneLobbyClientWnd";
inline constexpr const char* OldRoomClass = "ZoneLobbyWindow";
// Tables of a room of each class.
inline constexpr int OldRoomTables = 51;
inline constexpr int NewRoomTables = 150;

struct TLobbyRoom {
    std::string Title;
    TWindowHandle Handle = 0;
};

// Every room open now: the newer rooms first, then the older ones, each in
// the system's order.
std::vector<TLobbyRoom> ListLobbyWindows(TTourneyState& s);
// The room's one-line chat input, or 0.
TWindowHandle FindChatInput(TTourneyState& s, TWindowHandle room);

// The room list as its submenu shows it: the rooms, then "&Disabled".
struct TLobbyMenu {
    std::vector<TLobbyRoom> Rooms;
    int Checked = -1;  // index into Rooms; -1 is "&Disabled"
};
// Lists the rooms again and checks the one titled LobbyName; when none is,
// the link is disabled.
TLobbyMenu RefreshLobbyMenu(TTourneyState& s);
// Makes the room the chosen one; while sign-up is open the room's table count
// applies and the tables are numbered again when it changes.
void SelectLobby(TTourneyState& s, const TLobbyRoom& room);
// "&Disabled": no room chosen.
void DisableLobby(TTourneyState& s);
// "&Disabled" is checked exactly while no room title is kept.
inline bool LobbyDisabled(const TTourneyState& s) { return s.LobbyName.empty(); }
// Finds the chosen room again by its title (every tick, and after a file is
// opened), so a room closed and reopened under the same title comes back.
void RefindLobby(TTourneyState& s);

// The lobby of a new tournament: an empty title ("Not used") disables the
// link, any other is kept and looked up among the rooms open now.
void ChooseLobbyByTitle(TTourneyState& s, const std::string& title);

// --- Posting options (menu check items, saved with the settings at once)
void SetAutoPostPreview(TTourneyState& s, bool on);
void SetAutoPostLoss(TTourneyState& s, bool on);
void SetPostAssignmentsManually(TTourneyState& s, bool on);
void SetShowLobbyListInMenuBar(TTourneyState& s, bool on);
// "Aut&o-post loser's message instantly" can be chosen only while a chat
// input is known and preview mode is off (the engine posts under the same rule).
bool AutoPostLossAvailable(const TTourneyState& s);

}  // namespace kestrova
