#pragma once
// A scripted tree of lobby-client windows: rooms of both classes shaped like
// real ones (a tall chat history, the one-line input, decoys of the same
// class, the ActiveX nesting of older rooms). Edit windows take pastes from
// the clipboard the tree is given and "send" their text on Enter, so a test
// reads what reached each room, in order.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/ports.h"

namespace kestrova::testing {

class FakeWindowTree : public ILobbyWindows {
public:
    struct Node {
        std::string Class, Title;
        int Height = 0;
        TWindowHandle Parent = 0;
        std::vector<TWindowHandle> Children;
        std::string Text;               // what an edit window holds
        std::vector<std::string> Sent;  // lines sent from it with Enter
    };
    struct Message {
        TWindowHandle Window;
        uint32_t Msg;
        uintptr_t WParam;
        intptr_t LParam;
        bool Posted;  // PostMessage rather than SendMessage
    };

    // Where pastes come from (the fake clipboard's latest text).
    std::function<std::string()> Clipboard;
    // Called after each message is handled (a room may close mid-posting).
    std::function<void(const Message&)> OnMessage;
    std::vector<Message> Messages;   // every message to a live window
    std::vector<std::string> Lines;  // every line sent, across rooms

    TWindowHandle AddTop(const std::string& cls, const std::string& title);
    TWindowHandle AddChild(TWindowHandle parent, const std::string& cls, int height = 0);
    // A newer room: first child holding a toolbar edit, the history and the input.
    TWindowHandle AddNewRoom(const std::string& title);
    // An older room: decoy edit, AtlAxWin -> host -> [panel, holder -> ChatControl -> input].
    TWindowHandle AddOldRoom(const std::string& title);
    // The input a room was built with (AddNewRoom / AddOldRoom).
    TWindowHandle InputOf(TWindowHandle room) const { return inputs_.at(room); }
    void Close(TWindowHandle w);  // the window and every descendant
    bool Alive(TWindowHandle w) const { return nodes_.count(w) != 0; }
    Node& At(TWindowHandle w) { return nodes_.at(w); }

    std::vector<TWindowHandle> TopLevelWindows(const std::string& className) override;
    std::string WindowText(TWindowHandle w) override;
    std::string WindowClass(TWindowHandle w) override;
    int ClientHeight(TWindowHandle w) override;
    TWindowHandle FirstChild(TWindowHandle w) override;
    void EnumDescendants(TWindowHandle w, const std::function<bool(TWindowHandle)>& visit) override;
    intptr_t SendToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
    bool PostToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam, intptr_t lParam) override;

private:
    bool Handle(const Message& m);
    bool Enum(TWindowHandle w, const std::function<bool(TWindowHandle)>& visit);
    std::map<TWindowHandle, Node> nodes_;
    std::vector<TWindowHandle> tops_;
    std::map<TWindowHandle, TWindowHandle> inputs_;
    TWindowHandle next_ = 0x1000;
    bool selectedAll_ = false;
};

}  // namespace kestrova::testing
