// tests/data/lobby/lobby_rooms.txt played through the real Win32 ports
// against the stand-in lobby client (tests/win32/zone_stand_in.cpp), a
// process of its own: its rooms' chat inputs record what they receive, and
// the clipboard is read back in both its formats. Then the pause after a
// line, which handles the thread's messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/cp1252.h"
#include "common/wide_text.h"
#include "lobby/lobby_rooms_script.h"
#include "lobby/win32_lobby.h"
#include "win32/stand_in.h"

namespace kestrova::testing {
namespace {

HWND Hwnd(TWindowHandle h) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(h));
}

// What the clipboard holds in one format, as bytes up to the terminating zero.
std::string ClipboardBytes(UINT format) {
    std::string out;
    if (!::OpenClipboard(nullptr)) return "(busy)";
    if (HANDLE h = ::GetClipboardData(format)) {
        const size_t unit = format == CF_UNICODETEXT ? 2 : 1;
        const char* p = static_cast<const char*>(::GlobalLock(h));
        const size_t size = ::GlobalSize(h);
        for (size_t i = 0; p && i + unit <= size; i += unit) {
            if (std::all_of(p + i, p + i + unit, [](char c) { return c == 0; })) break;
            out.append(p + i, unit);
        }
        if (p) ::GlobalUnlock(h);
    }
    ::CloseClipboard();
    return out;
}

// The formats on the clipboard in the order they were set; those the
// system makes up from them come after.
std::vector<UINT> ClipboardFormats() {
    std::vector<UINT> formats;
    if (!::OpenClipboard(nullptr)) return formats;
    for (UINT f = ::EnumClipboardFormats(0); f != 0; f = ::EnumClipboardFormats(f))
        formats.push_back(f);
    ::CloseClipboard();
    return formats;
}

std::string Utf16Bytes(const std::string& cp1252) {
    const std::u16string u = Cp1252ToUtf16(cp1252);
    return std::string(reinterpret_cast<const char*>(u.data()), u.size() * 2);
}

// The text an edit window of another process holds.
std::string EditText(TWindowHandle edit) {
    wchar_t buf[1024] = {};
    ::SendMessageW(Hwnd(edit), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
    return Cp1252OfWide(buf);
}

class StandInRoomsScript : public TLobbyRoomsScript {
  public:
    StandInRoomsScript() {
        s.Ports.Lobby = lobby.get();
        s.Ports.LobbyWindows = windows.get();
    }

  protected:
    void Scene(const std::vector<std::string>& rooms) override {
        if (client) earlier = Received(earlier.size());
        client.reset();
        std::vector<std::string> scene{"rooms"};
        scene.insert(scene.end(), rooms.begin(), rooms.end());
        client = std::make_unique<TStandIn>(scene);
        ASSERT_TRUE(client->Ready());
    }
    void ClientEnds() override { client->Kill(); }
    void CloseRoom(TWindowHandle room) override { ::SendMessageW(Hwnd(room), WM_CLOSE, 0, 0); }
    void Type(TWindowHandle input, const std::string& text) override {
        ::SendMessageW(Hwnd(input), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideOf(text).c_str()));
    }
    std::string InputText(TWindowHandle input) override { return EditText(input); }
    std::vector<std::string> Received(size_t count) override {
        std::vector<std::string> lines = earlier;
        const size_t wanted = count > earlier.size() ? count - earlier.size() : 0;
        for (const TReceived& r : client ? client->WaitForLines(wanted) : std::vector<TReceived>{})
            lines.push_back(r.Room + (r.Input == "input" ? "" : " " + r.Input) + ": " + r.Text);
        return lines;
    }
    // Both formats hold the text, the high bytes as the same characters; ours
    // come first, before those the system makes up from them.
    std::string Clipboard() override {
        const std::string text = ClipboardBytes(CF_TEXT);
        EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), Utf16Bytes(text));
        const std::vector<UINT> formats = ClipboardFormats();
        EXPECT_GE(formats.size(), 2u);
        EXPECT_EQ(formats.at(0), static_cast<UINT>(CF_TEXT));
        EXPECT_EQ(formats.at(1), static_cast<UINT>(CF_UNICODETEXT));
        return text;
    }
    void HoldClipboard(bool held) override {
        if (!held) {
            ASSERT_TRUE(holder->Release());
            return holder.reset();
        }
        holder = std::make_unique<TStandIn>(std::vector<std::string>{"clipboard"});
        ASSERT_TRUE(holder->Ready());
    }

  private:
    std::unique_ptr<ILobbyPort> lobby = MakeWin32LobbyPort();
    std::unique_ptr<ILobbyWindows> windows = MakeWin32LobbyWindows();
    std::unique_ptr<TStandIn> client, holder;
    std::vector<std::string> earlier;  // what the clients before this one received
};

TEST(LobbyWindows, EachScriptPlaysOnTheStandInClient) {
    PlayScripts<StandInRoomsScript>("lobby/lobby_rooms.txt");
}

// The pause after a line: the thread's messages are handled meanwhile, and
// a WM_QUIT ends it early and stays for the program's own loop.
LRESULT CALLBACK CountingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP || msg == WM_TIMER) {
        auto* counts = reinterpret_cast<int*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
        ++counts[msg == WM_APP ? 0 : 1];
        return 0;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

TEST(LobbyWindows, ThePauseHandlesMessagesAndLeavesAQuitForTheProgram) {
    std::unique_ptr<ILobbyPort> lobby = MakeWin32LobbyPort();
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestrovaPauseTest";
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    int counts[2] = {0, 0};  // WM_APP, WM_TIMER
    ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(counts));
    ::PostMessageW(w, WM_APP, 0, 0);
    ::SetTimer(w, 1, 10, nullptr);
    const DWORD start = ::GetTickCount();
    lobby->Wait(100);
    const DWORD spent = ::GetTickCount() - start;
    ::KillTimer(w, 1);
    EXPECT_EQ(counts[0], 1);
    EXPECT_GE(counts[1], 1);
    EXPECT_GE(spent, 100u);
    EXPECT_LT(spent, 5000u);

    ::PostQuitMessage(7);
    lobby->Wait(100);
    MSG m{};
    ASSERT_TRUE(::PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 7u);
    ::DestroyWindow(w);
}

}  // namespace
}  // namespace kestrova::testing
