#pragma once
// The lobby link played from tests/data/lobby/lobby_rooms.txt against a
// lobby client: the scripted window tree (lobby_rooms_test.cpp) and, on
// Windows, the stand-in client's real windows (lobby_windows_win32_test.cpp).
// The steps that act through the link are here; each platform's runner
// builds the client's scenes and reads what its rooms received.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "formats/post_to_lobby.h"
#include "lobby/lobby_link.h"
#include "lobby/script_steps.h"

namespace kestrova::testing {

class TLobbyRoomsScript {
  public:
    TLobbyRoomsScript() {
        world.Wire(s);
        s.LogToFile = false;
    }
    virtual ~TLobbyRoomsScript() = default;
    void SetUp() {}
    void TearDown() {}
    void Step(const std::string& key, const std::string& v) {
        if (key == "rooms") {
            Scene(Split(v));
        } else if (key == "client ends") {
            ClientEnds();
        } else if (key == "choose") {
            listing = ListLobbyWindows(s);
            const auto room = std::find_if(listing.begin(), listing.end(),
                                           [&](const TLobbyRoom& r) { return r.Title == v; });
            ASSERT_NE(room, listing.end()) << "not listed";
            SelectLobby(s, *room);
        } else if (key == "choose by title") {
            ChooseLobbyByTitle(s, v);
        } else if (key == "close the room") {
            CloseRoom(s.FParentLobbyWnd);
        } else if (key == "refind") {
            RefindLobby(s);
        } else if (key == "preview") {
            s.Settings.AutoPostPreview = v == "on";
        } else if (key == "type") {
            Type(s.FLobbyEditWnd, v);
        } else if (key == "post" || key == "auto post") {
            const auto [line, want] = Arrow(v);
            EXPECT_EQ(Shown(PostToLobby(s, line, key == "auto post")), want);
        } else if (key == "hold the clipboard") {
            HoldClipboard(v != "off");
        } else if (key == "listed") {
            std::vector<std::string> titles;
            for (const TLobbyRoom& r : ListLobbyWindows(s))
                titles.push_back(r.Title);
            EXPECT_EQ(Joined(titles), v);
        } else if (key == "tables") {
            EXPECT_EQ(std::to_string(s.RoomTableCount), v);
        } else if (key == "chosen") {
            EXPECT_EQ(Chosen(), v);
        } else if (key == "input holds") {
            EXPECT_EQ(InputText(s.FLobbyEditWnd), v);
        } else if (key == "received") {
            const size_t count = seen + (v == "(none)" ? 0 : Split(v).size());
            EXPECT_EQ(Joined(Received(count), std::exchange(seen, count)), v);
        } else if (key == "clipboard") {
            EXPECT_EQ(Clipboard(), v);
        } else if (key == "messages") {
            EXPECT_EQ(since(key, world.Dialogs.Messages), v);
        } else if (key == "the listed windows answer nothing") {
            ListedWindowsAnswerNothing();
        } else if (!OwnStep(key, v)) {
            ADD_FAILURE() << "unknown step " << key;
        }
    }

  protected:
    // The client's windows, each "KIND:TITLE", in place of any before.
    virtual void Scene(const std::vector<std::string>& rooms) = 0;
    virtual void ClientEnds() = 0;  // every window vanishes at once
    virtual void CloseRoom(TWindowHandle room) = 0;
    virtual void Type(TWindowHandle input, const std::string& text) = 0;
    virtual std::string InputText(TWindowHandle input) = 0;
    // Every line the client's edits sent, once `count` have: "ROOM: TEXT"
    // from a room's chat input, "ROOM LABEL: TEXT" from another edit.
    virtual std::vector<std::string> Received(size_t count) = 0;
    virtual std::string Clipboard() = 0;
    virtual void HoldClipboard(bool held) = 0;  // by another program
    // A step of this runner alone; false when it knows none of that name.
    virtual bool OwnStep(const std::string&, const std::string&) { return false; }

    FakeWorld world;
    TTourneyState s;

  private:
    static std::string Shown(TPostResult r) {
        const char* names[] = {"clipboard failed", "clipboard only", "pasted", "sent"};
        return names[static_cast<int>(r)];
    }
    std::string Chosen() const {
        return s.LobbyName + (s.FParentLobbyWnd ? " room" : "") + (s.FLobbyEditWnd ? " input" : "");
    }
    // Every call on the handles of the last listing, and on the chat input.
    void ListedWindowsAnswerNothing() {
        ILobbyWindows& w = *s.Ports.LobbyWindows;
        for (const TLobbyRoom& r : listing) {
            EXPECT_EQ(w.WindowText(r.Handle), "");
            EXPECT_EQ(w.WindowClass(r.Handle), "");
            EXPECT_EQ(w.ClientHeight(r.Handle), 0);
            EXPECT_EQ(w.FirstChild(r.Handle), 0u);
            EXPECT_EQ(FindChatInput(s, r.Handle), 0u);
            w.EnumDescendants(r.Handle, [](TWindowHandle) { return ADD_FAILURE(), false; });
        }
        EXPECT_FALSE(w.PostToWindow(s.FLobbyEditWnd, lobby_msg::Char, lobby_msg::Return, 0));
        EXPECT_EQ(w.SendToWindow(s.FLobbyEditWnd, lobby_msg::Paste, 0, 0), 0);
    }

    std::vector<TLobbyRoom> listing;
    size_t seen = 0;
    TSinceLast since;
};

}  // namespace kestrova::testing
