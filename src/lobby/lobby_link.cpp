#include "lobby/lobby_link.h"

#include "common/text.h"
#include "engine/table_count.h"
#include "records/confirm.h"

namespace kestrova {

namespace {
// The one-line input, not the taller history nor a toolbar strip.
constexpr int InputMinHeight = 20;
constexpr int InputMaxHeight = 50;

bool IsClass(ILobbyWindows& w, TWindowHandle h, const char* cls) {
    return h != 0 && SameText(w.WindowClass(h), cls);
}

// The first descendant of `root` the test accepts, or 0.
template <class Test>
TWindowHandle FirstDescendant(ILobbyWindows& w, TWindowHandle root, Test test) {
    TWindowHandle found = 0;
    if (root == 0) return 0;
    w.EnumDescendants(root, [&](TWindowHandle h) {
        if (!test(h)) return true;
        found = h;
        return false;
    });
    return found;
}

TWindowHandle FirstInput(ILobbyWindows& w, TWindowHandle root) {
    return FirstDescendant(w, root, [&](TWindowHandle h) {
        if (!IsClass(w, h, "RichEdit20W")) return false;
        const int height = w.ClientHeight(h);
        return height >= InputMinHeight && height <= InputMaxHeight;
    });
}

// Older rooms nest their chat in an ActiveX host: AtlAxWin, then a window
// whose own first child is the ChatControl that holds the input.
TWindowHandle FindOldRoomInput(ILobbyWindows& w, TWindowHandle room) {
    const TWindowHandle host =
        FirstDescendant(w, room, [&](TWindowHandle h) { return IsClass(w, h, "AtlAxWin"); });
    if (host == 0) return 0;
    const TWindowHandle holder = FirstDescendant(w, w.FirstChild(host), [&](TWindowHandle h) {
        return IsClass(w, w.FirstChild(h), "ChatControl");
    });
    if (holder == 0) return 0;
    return FirstInput(w, w.FirstChild(holder));
}

// The room of this title among those open now, or none.
const TLobbyRoom* FindByTitle(const std::vector<TLobbyRoom>& rooms, const std::string& title) {
    if (title.empty()) return nullptr;
    for (const TLobbyRoom& r : rooms)
        if (SameText(r.Title, title)) return &r;
    return nullptr;
}

void Choose(TTourneyState& s, TWindowHandle room) {
    s.FParentLobbyWnd = room;
    s.FLobbyEditWnd = FindChatInput(s, room);
}

void SetOption(TTourneyState& s, bool& option, bool on) {
    option = on;
    SaveSettings(s);
}
}  // namespace

std::vector<TLobbyRoom> ListLobbyWindows(TTourneyState& s) {
    ILobbyWindows& w = s.LobbyWindows();
    std::vector<TLobbyRoom> rooms;
    for (const char* cls : {NewRoomClass, OldRoomClass})
        for (TWindowHandle h : w.TopLevelWindows(cls))
            if (h != 0) rooms.push_back({w.WindowText(h), h});
    return rooms;
}

TWindowHandle FindChatInput(TTourneyState& s, TWindowHandle room) {
    ILobbyWindows& w = s.LobbyWindows();
    if (room == 0) return 0;
    if (IsClass(w, room, OldRoomClass)) return FindOldRoomInput(w, room);
    return FirstInput(w, w.FirstChild(room));
}

TLobbyMenu RefreshLobbyMenu(TTourneyState& s) {
    TLobbyMenu menu;
    menu.Rooms = ListLobbyWindows(s);
    const TLobbyRoom* match = FindByTitle(menu.Rooms, s.LobbyName);
    if (!match) {
        DisableLobby(s);
        return menu;
    }
    menu.Checked = static_cast<int>(match - menu.Rooms.data());
    Choose(s, match->Handle);
    return menu;
}

void SelectLobby(TTourneyState& s, const TLobbyRoom& room) {
    // The class is read before anything changes: a room closed since the
    // menu was built reads as a newer room, which is the safe count.
    const bool old = IsClass(s.LobbyWindows(), room.Handle, OldRoomClass);
    Choose(s, room.Handle);
    s.LobbyName = room.Title;
    if (s.SignupClosed) return;
    const int tables = old ? OldRoomTables : NewRoomTables;
    if (tables == s.RoomTableCount) return;
    s.RoomTableCount = tables;
    SetElimFormat(s, s.ElimFormat);
}

void DisableLobby(TTourneyState& s) {
    s.FParentLobbyWnd = 0;
    s.FLobbyEditWnd = 0;
    s.LobbyName.clear();
    s.RoomTableCount = NewRoomTables;
}

void RefindLobby(TTourneyState& s) {
    if (LobbyDisabled(s)) {
        // Nothing is looked up; handles left from a room given up elsewhere
        // (a new tournament without a lobby) must not keep receiving lines.
        s.FParentLobbyWnd = s.FLobbyEditWnd = 0;
        return;
    }
    const std::vector<TLobbyRoom> rooms = ListLobbyWindows(s);
    if (const TLobbyRoom* match = FindByTitle(rooms, s.LobbyName)) {
        Choose(s, match->Handle);
    } else {
        s.FLobbyEditWnd = 0;  // the room keeps its old handle until it is seen again
    }
}

void ChooseLobbyByTitle(TTourneyState& s, const std::string& title) {
    if (title.empty()) return DisableLobby(s);
    s.LobbyName = title;
    RefreshLobbyMenu(s);
}

void SetAutoPostPreview(TTourneyState& s, bool on) { SetOption(s, s.Settings.AutoPostPreview, on); }
void SetAutoPostLoss(TTourneyState& s, bool on) { SetOption(s, s.Settings.AutoPostLoss, on); }
void SetPostAssignmentsManually(TTourneyState& s, bool on) {
    SetOption(s, s.Settings.PostAssignmentsManually, on);
}
void SetShowLobbyListInMenuBar(TTourneyState& s, bool on) {
    SetOption(s, s.Settings.ShowMainMenuLobbies, on);
}

bool AutoPostLossAvailable(const TTourneyState& s) {
    return ChatInputKnown(s) && !s.Settings.AutoPostPreview;
}

}  // namespace kestrova
