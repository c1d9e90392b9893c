// The lobby link against scripted window trees, beyond the scenes both
// platforms play (lobby_rooms_test.cpp): finding the chat input by its
// height and nesting, the menu, the table count, the posting options, and
// postings that outlive their room or meet another posting in a pause.
#include "lobby/lobby_link.h"

#include <gtest/gtest.h>

#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "formats/post_to_lobby.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

struct LobbyLinkTest : ::testing::Test {
    FakeWorld world;
    FakeWindowTree& w = world.Windows;
    TTourneyState s;
    LobbyLinkTest() {
        world.Wire(s);
        s.LogToFile = false;
    }
    std::string Chosen() const {
        return s.LobbyName + (s.FParentLobbyWnd ? " room" : "") + (s.FLobbyEditWnd ? " input" : "");
    }
};

TEST_F(LobbyLinkTest, NoWindowsAtAllListsNoRoomAndPostsToTheClipboard) {
    TTourneyState bare;  // no window port: the platform default
    bare.LogToFile = false;
    bare.Ports.Lobby = &world.Lobby;
    EXPECT_TRUE(ListLobbyWindows(bare).empty());
    EXPECT_EQ(RefreshLobbyMenu(bare).Checked, -1);
    bare.LobbyName = "Spades 3";
    RefindLobby(bare);
    EXPECT_EQ(bare.FLobbyEditWnd, 0u);
    EXPECT_EQ(PostToLobby(bare, "hello", false), TPostResult::ClipboardOnly);
    EXPECT_EQ(world.Lobby.Clipboard, Lines{"hello"});
}

TEST_F(LobbyLinkTest, RoomsAreListedNewerFirstAndTheChatInputIsFoundByItsNesting) {
    const TWindowHandle oldA = w.AddOldRoom("Old A");
    const TWindowHandle newA = w.AddNewRoom("New A");
    w.AddTop("Notepad", "Old A");  // another program's window of the same title
    w.AddOldRoom("Old B");
    w.AddNewRoom("New B");
    Lines titles;
    for (const TLobbyRoom& r : ListLobbyWindows(s))
        titles.push_back(r.Title);
    EXPECT_EQ(titles, (Lines{"New A", "New B", "Old A", "Old B"}));
    EXPECT_EQ(FindChatInput(s, newA), w.InputOf(newA));
    EXPECT_EQ(FindChatInput(s, oldA), w.InputOf(oldA));
    EXPECT_EQ(FindChatInput(s, 0), 0u);
    EXPECT_EQ(FindChatInput(s, 0xdead), 0u);  // a closed window

    // Heights at the bounds: 20 counts, 51 does not; enumeration order breaks ties.
    const TWindowHandle room = w.AddTop(NewRoomClass, "Bounds");
    const TWindowHandle frame = w.AddChild(room, "Frame");
    w.AddChild(frame, "richedit20w", 19);
    const TWindowHandle low = w.AddChild(frame, "RICHEDIT20W", 20);
    w.AddChild(frame, "RichEdit20W", 50);
    w.AddChild(frame, "RichEdit20W", 51);
    EXPECT_EQ(FindChatInput(s, room), low);
    w.Close(low);
    EXPECT_EQ(w.ClientHeight(FindChatInput(s, room)), 50);
    // Only the first child is searched in a newer room.
    const TWindowHandle second = w.AddTop(NewRoomClass, "Second child");
    w.AddChild(second, "Frame");
    w.AddChild(w.AddChild(second, "Frame"), "RichEdit20W", 24);
    EXPECT_EQ(FindChatInput(s, second), 0u);
    // An older room needs every step: without the ChatControl the decoy
    // beside the host is never taken; without AtlAxWin nothing; a
    // ChatControl without a candidate neither.
    const TWindowHandle broken = w.AddTop(OldRoomClass, "Broken");
    w.AddChild(broken, "RichEdit20W", 30);
    const TWindowHandle host = w.AddChild(w.AddChild(broken, "AtlAxWin"), "Host");
    w.AddChild(w.AddChild(host, "Static"), "NotAChat");
    const TWindowHandle bare = w.AddTop(OldRoomClass, "Bare");
    w.AddChild(w.AddChild(bare, "Frame"), "RichEdit20W", 30);
    const TWindowHandle empty = w.AddTop(OldRoomClass, "Empty chat");
    const TWindowHandle h2 = w.AddChild(w.AddChild(empty, "AtlAxWin"), "Host");
    w.AddChild(w.AddChild(w.AddChild(h2, "Static"), "ChatControl"), "RichEdit20W", 300);
    for (TWindowHandle r : {broken, bare, empty})
        EXPECT_EQ(FindChatInput(s, r), 0u);
}

TEST_F(LobbyLinkTest, TheMenuChecksTheKeptTitleAndTheRoomIsFoundAgainEveryTick) {
    w.AddNewRoom("Hearts");
    const TWindowHandle first = w.AddNewRoom("Spades");
    const TWindowHandle other = w.AddNewRoom("spades");  // same title, other case: listed after
    TLobbyMenu menu = RefreshLobbyMenu(s);
    EXPECT_EQ(menu.Rooms.size(), 3u);
    EXPECT_EQ(menu.Checked, -1);  // nothing kept: "&Disabled"
    SelectLobby(s, menu.Rooms[2]);
    EXPECT_EQ(s.LobbyName, "spades");
    EXPECT_EQ(RefreshLobbyMenu(s).Checked, 1);  // two rooms of one title: the first listed
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(first));
    EXPECT_FALSE(LobbyDisabled(s));

    // Closed: the tick finds the next room of the title (tests/data/lobby/lobby_rooms.txt
    // has a room that comes back).
    w.Close(first);
    RefindLobby(s);
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(other));

    // The kept room is gone when the menu opens: disabled.
    w.Close(other);
    EXPECT_EQ(RefreshLobbyMenu(s).Checked, -1);
    EXPECT_TRUE(LobbyDisabled(s));
    EXPECT_EQ(Chosen(), "");
    // Disabled refinds nothing and forgets stale handles; a title given finds it.
    const TWindowHandle room = w.AddNewRoom("Room");
    s.FParentLobbyWnd = room;
    s.FLobbyEditWnd = w.InputOf(room);
    RefindLobby(s);
    EXPECT_EQ(Chosen(), "");
    s.LobbyName = "room";
    RefindLobby(s);
    EXPECT_EQ(Chosen(), "room room input");
    ChooseLobbyByTitle(s, "");
    EXPECT_EQ(Chosen(), "");
    ChooseLobbyByTitle(s, "ROOM");
    EXPECT_EQ(Chosen(), "ROOM room input");
}

// Table numbers of the second rounds, bracket by bracket.
std::vector<int> Numbers(const TTourneyState& s) {
    std::vector<int> out;
    for (int b = 0; b < s.BracketCount(); ++b)
        out.push_back(s.Bracket(static_cast<TBracketKind>(b))[1].Tables[0].TableNo);
    return out;
}

TEST_F(LobbyLinkTest, TheRoomTableCountFollowsTheRoomClassUntilSignupCloses) {
    SetElimFormat(s, TElimFormat::Double);
    const std::vector<int> at150 = Numbers(s);
    const TWindowHandle old = w.AddOldRoom("Old");
    const TWindowHandle fresh = w.AddNewRoom("New");
    SelectLobby(s, {"Old", old});
    EXPECT_EQ(s.RoomTableCount, 51);
    const std::vector<int> at51 = Numbers(s);
    EXPECT_NE(at51, at150);  // numbered again for 51 tables
    for (int n : at51)
        EXPECT_LE(n, 51);
    SelectLobby(s, {"New", fresh});
    EXPECT_EQ(s.RoomTableCount, 150);
    EXPECT_EQ(Numbers(s), at150);
    SelectLobby(s, {"Old", old});
    s.SignupClosed = true;
    SelectLobby(s, {"New", fresh});
    EXPECT_EQ(s.RoomTableCount, 51);  // closed: the count stays
    EXPECT_EQ(Numbers(s), at51);
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(fresh));
    DisableLobby(s);
    EXPECT_EQ(s.RoomTableCount, 150);
}

TEST_F(LobbyLinkTest, OptionsAreSavedAtOnceAndGateTheLoserPost) {
    const std::pair<void (*)(TTourneyState&, bool), bool TAppSettings::*> options[] = {
        {SetAutoPostPreview, &TAppSettings::AutoPostPreview},
        {SetAutoPostLoss, &TAppSettings::AutoPostLoss},
        {SetPostAssignmentsManually, &TAppSettings::PostAssignmentsManually},
        {SetShowLobbyListInMenuBar, &TAppSettings::ShowMainMenuLobbies}};
    int saves = 0;
    for (const auto& [set, field] : options)
        for (bool on : {true, false}) {
            set(s, on);
            EXPECT_EQ(s.Settings.*field, on);
            EXPECT_EQ(world.Settings.Saves, ++saves);
        }
    EXPECT_FALSE(AutoPostLossAvailable(s));  // no chat input
    world.AttachRoom(s);
    EXPECT_TRUE(AutoPostLossAvailable(s));
    SetAutoPostPreview(s, true);
    EXPECT_FALSE(AutoPostLossAvailable(s));
}

TEST_F(LobbyLinkTest, ARoomClosingMidPostingAndPostingsInAPause) {
    const TWindowHandle input = world.AttachRoom(s, "Room");
    const TWindowHandle room = s.FParentLobbyWnd;
    // During each pause the event loop runs a tick and, once, another posting
    // of two lines (a menu command, or a second macro): they never interleave.
    int nested = 0;
    world.Lobby.DuringWait = [&](int) {
        RefindLobby(s);
        if (nested++ == 0) {
            PostToLobby(s, "inner 1", false);
            PostToLobby(s, "inner 2", false);
        }
    };
    PostToLobby(s, "outer 1", false);
    PostToLobby(s, "outer 2", false);
    EXPECT_EQ(w.At(input).Sent, (Lines{"outer 1", "inner 1", "inner 2", "outer 2"}));
    ASSERT_EQ(w.Messages.size(), 20u);
    for (size_t i = 0; i < w.Messages.size(); i += 5)
        EXPECT_EQ(w.Messages[i].Msg, lobby_msg::SetSel);
    // The room closes as soon as the paste arrives: Enter reaches nobody, the
    // line stays on the clipboard, and the next tick finds no input.
    world.Lobby.DuringWait = nullptr;
    w.OnMessage = [&](const FakeWindowTree::Message& m) {
        if (m.Msg == lobby_msg::Paste) w.Close(room);
    };
    EXPECT_EQ(PostToLobby(s, "lost?", false), TPostResult::Sent);
    EXPECT_EQ(world.Lobby.Clipboard.back(), "lost?");
    EXPECT_EQ(w.Lines.size(), 4u);
    EXPECT_FALSE(w.Alive(input));
    RefindLobby(s);
    EXPECT_EQ(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(PostToLobby(s, "next", true), TPostResult::ClipboardOnly);
}

}  // namespace
}  // namespace kestrova::testing
