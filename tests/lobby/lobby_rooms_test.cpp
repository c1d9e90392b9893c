// tests/data/lobby/lobby_rooms.txt played on the scripted window tree: the
// stand-in client's scenes built of the tree's rooms (lobby_rooms_script.h);
// then tests/data/lobby/lobby_link.txt, which needs the tree itself: windows
// built one by one, the menu, the table count, the options, postings that
// meet another in a pause or outlive their room, and a whole tournament's
// announcements arriving in the room.
#include <gtest/gtest.h>

#include <map>

#include "engine/format_store.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "formats/messages.h"
#include "lobby/lobby_rooms_script.h"
#include "session/lifecycle.h"

namespace kestrova::testing {
namespace {

class FakeRoomsScript : public TLobbyRoomsScript {
  public:
    FakeRoomsScript() {
        w.OnMessage = [this](const FakeWindowTree::Message& m) {
            const char* names[] = {"select", "paste", "down", "char", "up", "other"};
            const uint32_t msgs[] = {lobby_msg::SetSel, lobby_msg::Paste, lobby_msg::KeyDown,
                                     lobby_msg::Char, lobby_msg::KeyUp};
            messages.push_back(names[std::find(msgs, msgs + 5, m.Msg) - msgs]);
            if (m.Msg == lobby_msg::Paste && pasteCloses) w.Close(s.FParentLobbyWnd);
            if (m.Msg != lobby_msg::Char || m.WParam != lobby_msg::Return || !w.Alive(m.Window))
                return;
            const std::string& text = w.At(m.Window).Sent.back();
            if (!text.empty()) received.push_back(Label(m.Window) + ": " + text);
        };
    }

  protected:
    void Scene(const std::vector<std::string>& rooms) override {
        ClientEnds();
        for (const std::string& room : rooms) {
            const std::string kind = room.substr(0, room.find(':'));
            const std::string title = room.substr(room.find(':') + 1);
            if (kind == "new") tops.push_back(w.AddNewRoom(title));
            if (kind == "old") tops.push_back(w.AddOldRoom(title));
            if (kind == "other") tops.push_back(w.AddTop("StandInOther", title));
            if (kind == "bare" || kind == "twin") {
                tops.push_back(w.AddTop(NewRoomClass, title));
                const TWindowHandle frame = w.AddChild(tops.back(), "Frame");
                w.AddChild(frame, "RichEdit20W", 16);
                w.AddChild(frame, "RichEdit20W", 300);
                if (kind == "twin") inputs[w.AddChild(frame, "RichEdit20W", 24)] = title;
                if (kind == "twin")
                    inputs[w.AddChild(frame, "RichEdit20W", 30)] = title + " second";
            }
            if (kind == "new" || kind == "old") inputs[w.InputOf(tops.back())] = title;
            named[title] = tops.back();
        }
    }
    void ClientEnds() override {
        for (TWindowHandle top : tops)
            w.Close(top);
        tops.clear();
    }
    void CloseRoom(TWindowHandle room) override { w.Close(room); }
    void Type(TWindowHandle input, const std::string& text) override { w.At(input).Text = text; }
    std::string InputText(TWindowHandle input) override { return w.At(input).Text; }
    std::vector<std::string> Received(size_t) override { return received; }
    std::string Clipboard() override { return world.Lobby.Latest(); }
    void HoldClipboard(bool held) override { world.Lobby.ClipboardBusy = held; }
    bool OwnStep(const std::string& key, const std::string& v) override {
        if (!actions.count(key) && !checks.count(key)) return false;
        RunStep(actions, checks, key, v);
        return true;
    }

  private:
    // The room's title for its chat input, "TITLE decoy" for any other edit.
    std::string Label(TWindowHandle edit) {
        if (auto input = inputs.find(edit); input != inputs.end()) return input->second;
        TWindowHandle top = edit;
        while (w.At(top).Parent)
            top = w.At(top).Parent;
        return w.At(top).Title + " decoy";
    }

    // "none" for no window, else a window built by name or a room by its title.
    TWindowHandle Named(const std::string& name) { return name == "none" ? 0 : named.at(name); }
    // A room's chat input by the room's title, another window by its name.
    std::string Shown(TWindowHandle h) {
        if (auto input = inputs.find(h); input != inputs.end()) return input->second;
        for (const auto& [name, window] : named)
            if (window == h) return name;
        return h ? "unnamed" : "none";
    }
    // "PARENT > CLASS [HEIGHT] [as NAME]".
    void Child(const std::string& v) {
        const auto [parent, rest] = std::pair(Split(v, " > ").at(0), Split(v, " > ").at(1));
        const std::vector<std::string> window = Split(Split(rest, " as ").at(0), " ");
        const TWindowHandle h =
            w.AddChild(Named(parent), window[0], window.size() > 1 ? std::stoi(window[1]) : 0);
        if (rest.find(" as ") != std::string::npos) named[Split(rest, " as ").at(1)] = h;
    }
    void Top(const std::string& v) {  // "new TITLE" or "old TITLE"
        const std::string title = v.substr(4);
        tops.push_back(w.AddTop(v.starts_with("new") ? NewRoomClass : OldRoomClass, title));
        named[title] = tops.back();
    }
    void DuringTheFirstPause(const std::vector<std::string>& lines) {
        world.Lobby.DuringWait = [this, lines, first = true](int) mutable {
            RefindLobby(s);
            if (std::exchange(first, false))
                for (const std::string& line : lines)
                    PostToLobby(s, line, false);
        };
    }
    std::string TableNumbers() {  // the second rounds' first tables, bracket by bracket
        std::vector<std::string> out;
        for (int b = 0; b < s.BracketCount(); ++b)
            out.push_back(
                std::to_string(s.Bracket(static_cast<TBracketKind>(b))[1].Tables[0].TableNo));
        return Joined(out);
    }
    std::string Options() const {
        const TAppSettings& o = s.Settings;
        return std::string{o.AutoPostPreview ? 'P' : '-', o.AutoPostLoss ? 'L' : '-',
                           o.PostAssignmentsManually ? 'M' : '-',
                           o.ShowMainMenuLobbies ? 'B' : '-'} +
               ", saved " + std::to_string(world.Settings.Saves);
    }
    void PlayToTheEnd() {  // the first decidable table each time; seat 0 wins
        AllStart(s);
        CloseSignups(s);
        for (int guard = 0; !GrandFinalDecided(s) && guard < 100; ++guard) {
            const auto tables = PlayableTables(s, false);
            ASSERT_FALSE(tables.empty());
            AssignWin(s, tables[0].Bracket, tables[0].Round, tables[0].Table, 0, true, false);
        }
    }
    // Every line reached the chosen room through the clipboard, with a tick
    // in each pause, and no other edit received any.
    std::string Transcript(const std::string& name) {
        const std::vector<std::string>& sent = w.At(s.FLobbyEditWnd).Sent;
        EXPECT_EQ(sent, world.Lobby.Clipboard);
        EXPECT_EQ(w.Lines, sent);
        EXPECT_EQ(ticks, static_cast<int>(sent.size()));
        ExpectGolden(name, JoinLines(sent, "\n"));
        return name;
    }

    FakeWindowTree& w = world.Windows;
    std::vector<TWindowHandle> tops;
    std::map<TWindowHandle, std::string> inputs;
    std::map<std::string, TWindowHandle> named;
    std::vector<std::string> received, messages;
    bool pasteCloses = false;
    int ticks = 0;
    TSinceLast since;

    const std::map<std::string, TAction> actions = {
        {"top", [this](const std::string& v) { Top(v); }},
        {"child", [this](const std::string& v) { Child(v); }},
        {"close", [this](const std::string& v) { w.Close(Named(v)); }},
        {"stale handles",
         [this](const std::string& v) {
             s.FParentLobbyWnd = Named(v);
             s.FLobbyEditWnd = w.InputOf(Named(v));
         }},
        {"lobby name", [this](const std::string& v) { s.LobbyName = v; }},
        {"disable", [this](const std::string&) { DisableLobby(s); }},
        {"no window port", [this](const std::string&) { s.Ports.LobbyWindows = nullptr; }},
        {"double elimination",
         [this](const std::string&) { SetElimFormat(s, TElimFormat::Double); }},
        {"close signups", [this](const std::string&) { s.SignupClosed = true; }},
        {"auto post preview", [this](const std::string& v) { SetAutoPostPreview(s, v == "on"); }},
        {"auto post loss", [this](const std::string& v) { SetAutoPostLoss(s, v == "on"); }},
        {"post assignments manually",
         [this](const std::string& v) { SetPostAssignmentsManually(s, v == "on"); }},
        {"lobbies in the menu bar",
         [this](const std::string& v) { SetShowLobbyListInMenuBar(s, v == "on"); }},
        {"during the first pause", [this](const std::string& v) { DuringTheFirstPause(Split(v)); }},
        {"a tick in every pause",
         [this](const std::string&) {
             world.Lobby.DuringWait = [this](int) {
                 ++ticks;
                 RefindLobby(s);
             };
         }},
        {"format", [this](const std::string& v) { SelectFormat(s, v); }},
        {"rules time", [this](const std::string& v) { s.MsgParams.RulesTime = v; }},
        {"several per table", [this](const std::string&) { s.OnePerTable = false; }},
        {"sign up",
         [this](const std::string& v) {
             for (const std::string& name : Split(v))
                 ASSERT_NE(AddPlayer(s, name), nullptr);
         }},
        {"play to the end", [this](const std::string&) { PlayToTheEnd(); }},
        {"announce the winners", [this](const std::string&) { AnnounceWinners(s); }},
        {"a paste closes the room",
         [this](const std::string&) {
             world.Lobby.DuringWait = nullptr;
             pasteCloses = true;
         }},
    };
    const std::map<std::string, TCheck> checks = {
        {"input of",
         [this](const std::string& v) {
             const std::string room = Arrow(v).first;
             return room + " -> " + Shown(FindChatInput(s, Named(room)));
         }},
        {"input", [this](const std::string&) { return Shown(s.FLobbyEditWnd); }},
        {"menu",
         [this](const std::string&) {
             const int checked = RefreshLobbyMenu(s).Checked;
             return checked < 0 ? std::string("disabled") : std::to_string(checked);
         }},
        {"disabled", [this](const std::string&) { return YesNo(LobbyDisabled(s)); }},
        {"table numbers", [this](const std::string&) { return TableNumbers(); }},
        {"options", [this](const std::string&) { return Options(); }},
        {"loss available", [this](const std::string&) { return YesNo(AutoPostLossAvailable(s)); }},
        {"window messages", [this](const std::string&) { return since("window", messages); }},
        {"places",
         [this](const std::string&) {
             const TFinalPlaces places = FinalPlaces(s);
             return places.First + "|" + places.Second + "|" + places.Third;
         }},
        {"transcript", [this](const std::string& v) { return Transcript(v); }},
    };
};

TEST(LobbyRooms, EachScriptPlaysOnTheWindowTree) {
    PlayScripts<FakeRoomsScript>("lobby/lobby_rooms.txt");
    PlayScripts<FakeRoomsScript>("lobby/lobby_link.txt");
}

}  // namespace
}  // namespace kestrova::testing
