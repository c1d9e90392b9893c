// tests/data/lobby/lobby_rooms.txt played on the scripted window tree: the
// stand-in client's scenes built of the tree's rooms (lobby_rooms_script.h).
#include <gtest/gtest.h>

#include <map>

#include "lobby/lobby_rooms_script.h"

namespace kestrova::testing {
namespace {

class FakeRoomsScript : public TLobbyRoomsScript {
  public:
    FakeRoomsScript() {
        w.OnMessage = [this](const FakeWindowTree::Message& m) {
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

  private:
    // The room's title for its chat input, "TITLE decoy" for any other edit.
    std::string Label(TWindowHandle edit) {
        if (auto input = inputs.find(edit); input != inputs.end()) return input->second;
        TWindowHandle top = edit;
        while (w.At(top).Parent)
            top = w.At(top).Parent;
        return w.At(top).Title + " decoy";
    }

    FakeWindowTree& w = world.Windows;
    std::vector<TWindowHandle> tops;
    std::map<TWindowHandle, std::string> inputs;
    std::vector<std::string> received;
};

TEST(LobbyRooms, EachScriptPlaysOnTheWindowTree) {
    PlayScripts<FakeRoomsScript>("lobby/lobby_rooms.txt");
}

}  // namespace
}  // namespace kestrova::testing
