// The lobby link against scripted window trees shaped like the lobby
// client's rooms: listing, choosing, finding the chat input, finding the
// room again every tick, the table count and the posting options.
#include "lobby/lobby_link.h"

#include <gtest/gtest.h>

#include "engine/signup.h"
#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "formats/post_to_lobby.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using Lines = std::vector<std::string>;

class LobbyLinkTest : public ::testing::Test {
  protected:
    FakeWorld world;
    testing::FakeWindowTree& w = world.Windows;
    TTourneyState s;
    LobbyLinkTest() {
        world.Wire(s);
        s.LogToFile = false;
    }
    std::vector<std::string> Titles() {
        std::vector<std::string> out;
        for (const TLobbyRoom& r : ListLobbyWindows(s))
            out.push_back(r.Title);
        return out;
    }
};

TEST_F(LobbyLinkTest, NoWindowsAtAllListsNoRoomAndPostsToTheClipboard) {
    TTourneyState bare;  // no window port: the platform default
    bare.LogToFile = false;
    bare.Ports.Lobby = &world.Lobby;
    EXPECT_TRUE(ListLobbyWindows(bare).empty());
    const TLobbyMenu menu = RefreshLobbyMenu(bare);
    EXPECT_TRUE(menu.Rooms.empty());
    EXPECT_EQ(menu.Checked, -1);
    bare.LobbyName = "Spades 3";
    RefindLobby(bare);
    EXPECT_EQ(bare.FLobbyEditWnd, 0u);
    EXPECT_EQ(PostToLobby(bare, "hello", false), TPostResult::ClipboardOnly);
    EXPECT_EQ(world.Lobby.Clipboard, Lines{"hello"});
}

TEST_F(LobbyLinkTest, NewerRoomsAreListedBeforeOlderOnes) {
    w.AddOldRoom("Old A");
    w.AddNewRoom("New A");
    w.AddTop("Notepad", "Old A");  // another program's window of the same title
    w.AddOldRoom("Old B");
    w.AddNewRoom("New B");
    EXPECT_EQ(Titles(), (Lines{"New A", "New B", "Old A", "Old B"}));
}

TEST_F(LobbyLinkTest, ChatInputIsChosenByClassAndHeightInBothRoomKinds) {
    const TWindowHandle fresh = w.AddNewRoom("New");
    const TWindowHandle old = w.AddOldRoom("Old");
    EXPECT_EQ(FindChatInput(s, fresh), w.InputOf(fresh));
    EXPECT_EQ(FindChatInput(s, old), w.InputOf(old));
    EXPECT_EQ(FindChatInput(s, 0), 0u);
    EXPECT_EQ(FindChatInput(s, 0xdead), 0u);  // a closed window

    // Heights at the bounds: 20 counts, 51 does not; enumeration order breaks ties.
    const TWindowHandle room = w.AddTop("ZoneLobbyClientWnd", "Bounds");
    const TWindowHandle frame = w.AddChild(room, "Frame");
    w.AddChild(frame, "richedit20w", 19);
    const TWindowHandle low = w.AddChild(frame, "RICHEDIT20W", 20);
    w.AddChild(frame, "RichEdit20W", 50);
    EXPECT_EQ(FindChatInput(s, room), low);
    w.Close(low);
    EXPECT_EQ(w.ClientHeight(FindChatInput(s, room)), 50);

    // Only the first child is searched in a newer room.
    const TWindowHandle second = w.AddTop("ZoneLobbyClientWnd", "Second child");
    w.AddChild(second, "Frame");
    w.AddChild(w.AddChild(second, "Frame"), "RichEdit20W", 24);
    EXPECT_EQ(FindChatInput(s, second), 0u);
}

TEST_F(LobbyLinkTest, OlderRoomNeedsEveryStepOfItsNesting) {
    // Without the ChatControl, the decoy input beside the host is never taken.
    const TWindowHandle room = w.AddTop("ZoneLobbyWindow", "Broken");
    w.AddChild(room, "RichEdit20W", 30);
    const TWindowHandle host = w.AddChild(w.AddChild(room, "AtlAxWin"), "Host");
    w.AddChild(w.AddChild(host, "Static"), "NotAChat");
    EXPECT_EQ(FindChatInput(s, room), 0u);
    // No AtlAxWin at all.
    const TWindowHandle bare = w.AddTop("ZoneLobbyWindow", "Bare");
    w.AddChild(w.AddChild(bare, "Frame"), "RichEdit20W", 30);
    EXPECT_EQ(FindChatInput(s, bare), 0u);
    // The ChatControl holds no candidate.
    const TWindowHandle empty = w.AddTop("ZoneLobbyWindow", "Empty chat");
    const TWindowHandle h2 = w.AddChild(w.AddChild(empty, "AtlAxWin"), "Host");
    w.AddChild(w.AddChild(w.AddChild(h2, "Static"), "ChatControl"), "RichEdit20W", 300);
    EXPECT_EQ(FindChatInput(s, empty), 0u);
}

TEST_F(LobbyLinkTest, MenuChecksTheRoomOfTheKeptTitle) {
    w.AddNewRoom("Hearts");
    const TWindowHandle first = w.AddNewRoom("Spades");
    const TWindowHandle other = w.AddNewRoom("spades");  // same title, other case: listed after
    TLobbyMenu menu = RefreshLobbyMenu(s);
    EXPECT_EQ(menu.Rooms.size(), 3u);
    EXPECT_EQ(menu.Checked, -1);  // nothing kept: "&Disabled"

    SelectLobby(s, menu.Rooms[2]);
    EXPECT_EQ(s.LobbyName, "spades");
    // Two rooms of one title: the first one listed is chosen after a refresh.
    menu = RefreshLobbyMenu(s);
    EXPECT_EQ(menu.Checked, 1);
    EXPECT_EQ(s.FParentLobbyWnd, first);
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(first));
    EXPECT_FALSE(LobbyDisabled(s));

    // The kept room is gone when the menu opens: disabled.
    w.Close(first);
    w.Close(other);
    menu = RefreshLobbyMenu(s);
    EXPECT_EQ(menu.Checked, -1);
    EXPECT_TRUE(LobbyDisabled(s));
    EXPECT_EQ(s.FParentLobbyWnd, 0u);
    EXPECT_EQ(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(s.RoomTableCount, 150);
}

TEST_F(LobbyLinkTest, RoomClosedAndReopenedIsFoundAgainOnTheNextTick) {
    const TWindowHandle room = w.AddOldRoom("Euchre Lounge");
    SelectLobby(s, {"Euchre Lounge", room});
    ASSERT_EQ(s.FLobbyEditWnd, w.InputOf(room));
    w.Close(room);
    RefindLobby(s);
    EXPECT_EQ(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(s.FParentLobbyWnd, room);  // kept until a room of the title is seen
    EXPECT_EQ(PostToLobby(s, "while away", false), TPostResult::ClipboardOnly);

    const TWindowHandle again = w.AddNewRoom("EUCHRE LOUNGE");
    RefindLobby(s);
    EXPECT_EQ(s.FParentLobbyWnd, again);
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(again));
    EXPECT_EQ(PostToLobby(s, "back", false), TPostResult::Sent);
    EXPECT_EQ(w.At(w.InputOf(again)).Sent, Lines{"back"});
    EXPECT_EQ(s.RoomTableCount, 51);  // refinding never changes the count
}

TEST_F(LobbyLinkTest, DisabledRefindsNothingAndForgetsStaleHandles) {
    const TWindowHandle room = w.AddNewRoom("Room");
    s.FParentLobbyWnd = room;
    s.FLobbyEditWnd = w.InputOf(room);
    RefindLobby(s);  // LobbyName empty: "&Disabled"
    EXPECT_EQ(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(s.FParentLobbyWnd, 0u);
    // A file or a new tournament that names the room: found on the next tick.
    s.LobbyName = "room";
    RefindLobby(s);
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(room));
    ChooseLobbyByTitle(s, "");
    EXPECT_TRUE(LobbyDisabled(s));
    EXPECT_EQ(s.FLobbyEditWnd, 0u);
    ChooseLobbyByTitle(s, "ROOM");
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(room));
    EXPECT_EQ(s.LobbyName, "ROOM");
}

// Table numbers of the first rounds, bracket by bracket.
std::vector<int> FirstNumbers(const TTourneyState& s) {
    std::vector<int> out;
    for (int b = 0; b < s.BracketCount(); ++b)
        out.push_back(s.Bracket(static_cast<TBracketKind>(b))[1].Tables[0].TableNo);
    return out;
}

TEST_F(LobbyLinkTest, RoomTableCountFollowsTheRoomClassUntilSignupCloses) {
    SetElimFormat(s, TElimFormat::Double);
    const std::vector<int> at150 = FirstNumbers(s);
    const TWindowHandle old = w.AddOldRoom("Old");
    const TWindowHandle fresh = w.AddNewRoom("New");

    SelectLobby(s, {"Old", old});
    EXPECT_EQ(s.RoomTableCount, 51);
    const std::vector<int> at51 = FirstNumbers(s);
    EXPECT_NE(at51, at150);  // numbered again for 51 tables
    for (int n : at51)
        EXPECT_LE(n, 51);
    SelectLobby(s, {"New", fresh});
    EXPECT_EQ(s.RoomTableCount, 150);
    EXPECT_EQ(FirstNumbers(s), at150);

    SelectLobby(s, {"Old", old});
    s.SignupClosed = true;
    SelectLobby(s, {"New", fresh});
    EXPECT_EQ(s.RoomTableCount, 51);  // closed: the count stays
    EXPECT_EQ(FirstNumbers(s), at51);
    EXPECT_EQ(s.FLobbyEditWnd, w.InputOf(fresh));
    DisableLobby(s);
    EXPECT_EQ(s.RoomTableCount, 150);
}

TEST_F(LobbyLinkTest, OptionsAreSavedAtOnceAndGateTheLoserPost) {
    struct Step {
        void (*Set)(TTourneyState&, bool);
        bool TAppSettings::*Field;
    };
    const Step steps[] = {{SetAutoPostPreview, &TAppSettings::AutoPostPreview},
                          {SetAutoPostLoss, &TAppSettings::AutoPostLoss},
                          {SetPostAssignmentsManually, &TAppSettings::PostAssignmentsManually},
                          {SetShowLobbyListInMenuBar, &TAppSettings::ShowMainMenuLobbies}};
    int saves = 0;
    for (const Step& st : steps)
        for (bool on : {true, false}) {
            st.Set(s, on);
            EXPECT_EQ(s.Settings.*st.Field, on);
            EXPECT_EQ(world.Settings.Saves, ++saves);
        }
    EXPECT_FALSE(AutoPostLossAvailable(s));  // no chat input
    world.AttachRoom(s);
    EXPECT_TRUE(AutoPostLossAvailable(s));
    SetAutoPostPreview(s, true);
    EXPECT_FALSE(AutoPostLossAvailable(s));
}

TEST_F(LobbyLinkTest, RoomClosingInTheMiddleOfAPostingLeavesTheLineOnTheClipboard) {
    const TWindowHandle input = world.AttachRoom(s, "Room");
    const TWindowHandle room = s.FParentLobbyWnd;
    // The room closes as soon as the paste arrives: Enter reaches nobody.
    w.OnMessage = [&](const testing::FakeWindowTree::Message& m) {
        if (m.Msg == lobby_msg::Paste) w.Close(room);
    };
    EXPECT_EQ(PostToLobby(s, "lost?", false), TPostResult::Sent);
    EXPECT_EQ(world.Lobby.Clipboard, Lines{"lost?"});
    EXPECT_TRUE(w.Lines.empty());
    EXPECT_FALSE(w.Alive(input));
    RefindLobby(s);  // the next tick
    EXPECT_EQ(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(PostToLobby(s, "next", true), TPostResult::ClipboardOnly);
}

TEST_F(LobbyLinkTest, PostingsDuringThePauseNeverInterleave) {
    const TWindowHandle input = world.AttachRoom(s, "Room");
    // During each pause the event loop runs a tick and, once, another
    // posting of two lines (a menu command, or a second macro).
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
    // Every line's five messages stay together.
    const auto& m = w.Messages;
    ASSERT_EQ(m.size(), 20u);
    for (size_t i = 0; i < m.size(); i += 5)
        EXPECT_EQ(m[i].Msg, lobby_msg::SetSel);
}

}  // namespace
}  // namespace kestrova
