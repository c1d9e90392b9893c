#include "fakes/fake_lobby_windows.h"

#include <algorithm>

#include "common/text.h"

namespace kestrova::testing {

TWindowHandle FakeWindowTree::AddTop(const std::string& cls, const std::string& title) {
    const TWindowHandle h = next_;
    next_ += 4;
    nodes_[h] = Node{cls, title, 600, 0, {}, {}, {}};
    tops_.push_back(h);
    return h;
}

TWindowHandle FakeWindowTree::AddChild(TWindowHandle parent, const std::string& cls, int height) {
    const TWindowHandle h = next_;
    next_ += 4;
    nodes_[h] = Node{cls, "", height, parent, {}, {}, {}};
    nodes_.at(parent).Children.push_back(h);
    return h;
}

TWindowHandle FakeWindowTree::AddNewRoom(const std::string& title) {
    const TWindowHandle room = AddTop("ZoneLobbyClientWnd", title);
    const TWindowHandle frame = AddChild(room, "ATL:Frame");
    AddChild(frame, "RichEdit20W", 14);   // a search strip, too low
    AddChild(frame, "RichEdit20W", 380);  // the chat history, too tall
    AddChild(frame, "RichEdit20W", 51);   // just too tall
    const TWindowHandle panel = AddChild(frame, "Static", 40);
    inputs_[room] = AddChild(panel, "RichEdit20W", 24);
    AddChild(frame, "RichEdit20W", 30);  // a later candidate never wins
    return room;
}

TWindowHandle FakeWindowTree::AddOldRoom(const std::string& title) {
    const TWindowHandle room = AddTop("ZoneLobbyWindow", title);
    AddChild(room, "RichEdit20W", 30);  // outside the chat control: not the input
    const TWindowHandle ax = AddChild(room, "AtlAxWin", 500);
    const TWindowHandle host = AddChild(ax, "ATL:Host", 500);
    const TWindowHandle side = AddChild(host, "Static", 100);  // its first child is no ChatControl
    AddChild(side, "Button", 20);
    const TWindowHandle holder = AddChild(host, "Static", 400);
    const TWindowHandle chat = AddChild(holder, "ChatControl", 400);
    AddChild(chat, "RichEdit20W", 350);  // history
    inputs_[room] = AddChild(chat, "RichEdit20W", 20);
    AddChild(room, "AtlAxWin", 100);  // a second host is never searched
    return room;
}

void FakeWindowTree::Close(TWindowHandle w) {
    if (!Alive(w)) return;
    for (TWindowHandle c : std::vector<TWindowHandle>(nodes_.at(w).Children))
        Close(c);
    const TWindowHandle parent = nodes_.at(w).Parent;
    if (parent && Alive(parent)) std::erase(nodes_.at(parent).Children, w);
    std::erase(tops_, w);
    nodes_.erase(w);
}

std::vector<TWindowHandle> FakeWindowTree::TopLevelWindows(const std::string& className) {
    std::vector<TWindowHandle> out;
    for (TWindowHandle h : tops_)
        if (SameText(nodes_.at(h).Class, className)) out.push_back(h);
    return out;
}

std::string FakeWindowTree::WindowText(TWindowHandle w) {
    return Alive(w) ? nodes_.at(w).Title.substr(0, 255) : std::string();
}

std::string FakeWindowTree::WindowClass(TWindowHandle w) {
    return Alive(w) ? nodes_.at(w).Class.substr(0, 63) : std::string();
}

int FakeWindowTree::ClientHeight(TWindowHandle w) { return Alive(w) ? nodes_.at(w).Height : 0; }

TWindowHandle FakeWindowTree::FirstChild(TWindowHandle w) {
    if (!Alive(w) || nodes_.at(w).Children.empty()) return 0;
    return nodes_.at(w).Children.front();
}

bool FakeWindowTree::Enum(TWindowHandle w, const std::function<bool(TWindowHandle)>& visit) {
    for (TWindowHandle c : std::vector<TWindowHandle>(nodes_.at(w).Children)) {
        if (!Alive(c)) continue;
        if (!visit(c)) return false;
        if (Alive(c) && !Enum(c, visit)) return false;
    }
    return true;
}

void FakeWindowTree::EnumDescendants(TWindowHandle w,
                                     const std::function<bool(TWindowHandle)>& visit) {
    if (Alive(w)) Enum(w, visit);
}

bool FakeWindowTree::Handle(const Message& m) {
    if (!Alive(m.Window)) return false;
    Messages.push_back(m);
    Node& n = nodes_.at(m.Window);
    if (m.Msg == lobby_msg::SetSel) selectedAll_ = m.WParam == 0 && m.LParam == -1;
    if (m.Msg == lobby_msg::Paste) {
        const std::string text = Clipboard ? Clipboard() : std::string();
        n.Text = selectedAll_ ? text : n.Text + text;
        selectedAll_ = false;
    }
    if (m.Msg == lobby_msg::Char && m.WParam == lobby_msg::Return) {
        n.Sent.push_back(n.Text);
        Lines.push_back(n.Text);
        n.Text.clear();
    }
    if (OnMessage) OnMessage(m);
    return true;
}

intptr_t FakeWindowTree::SendToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam,
                                      intptr_t lParam) {
    Handle({w, msg, wParam, lParam, false});
    return 0;
}

bool FakeWindowTree::PostToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam,
                                  intptr_t lParam) {
    return Handle({w, msg, wParam, lParam, true});
}

}  // namespace kestrova::testing
