// The lobby link through the real Win32 ports against the stand-in lobby
// client (tests/win32/zone_stand_in.cpp), a process of its own: rooms of
// both classes with decoy edits, what each chat input receives, the
// clipboard in both formats, windows that vanish, a clipboard another
// program holds open, long titles and the pause that handles messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/cp1252.h"
#include "common/wide_text.h"
#include "fakes/fake_ports.h"
#include "formats/post_to_lobby.h"
#include "lobby/lobby_link.h"
#include "lobby/win32_lobby.h"
#include "win32/stand_in.h"

namespace kestrova::testing {
namespace {

// Every byte from 0x80 to 0x9F, the five that cp1252 leaves unassigned included.
std::string HighBytes() {
    std::string s;
    for (int b = 0x80; b <= 0x9F; ++b)
        s += static_cast<char>(b);
    return s;
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
    ::SendMessageW(reinterpret_cast<HWND>(static_cast<uintptr_t>(edit)), WM_GETTEXT, 1024,
                   reinterpret_cast<LPARAM>(buf));
    return Cp1252OfWide(buf);
}

class LobbyWindowsTest : public ::testing::Test {
  protected:
    FakeWorld world;
    TTourneyState s;
    std::unique_ptr<ILobbyPort> lobby = MakeWin32LobbyPort();
    std::unique_ptr<ILobbyWindows> windows = MakeWin32LobbyWindows();
    LobbyWindowsTest() {
        world.Wire(s);
        s.LogToFile = false;
        s.Ports.Lobby = lobby.get();
        s.Ports.LobbyWindows = windows.get();
    }
    // The room of this title among those listed now.
    std::optional<TLobbyRoom> Room(const std::string& title) {
        for (const TLobbyRoom& r : ListLobbyWindows(s))
            if (r.Title == title) return r;
        return std::nullopt;
    }
    // Chooses the room by title; false when it is not listed.
    bool Choose(const std::string& title) {
        std::optional<TLobbyRoom> r = Room(title);
        if (r) SelectLobby(s, *r);
        return r.has_value();
    }
};

const std::string kHearts = "Hearts \x80 1";  // the euro sign in a title

TEST_F(LobbyWindowsTest, EachRoomKindTakesItsLinesInItsOneLineInput) {
    TStandIn lobbyClient({"rooms", "new:Spades 1", "old:" + kHearts, "bare:Bare room",
                          "twin:Twin room", "other:Spades 1"});
    ASSERT_TRUE(lobbyClient.Ready());

    // Newer rooms first, then older; another program's window is no room.
    std::vector<std::string> titles;
    for (const TLobbyRoom& r : ListLobbyWindows(s))
        titles.push_back(r.Title);
    ASSERT_EQ(titles.size(), 4u) << ::testing::PrintToString(titles);
    EXPECT_EQ(std::set<std::string>(titles.begin(), titles.begin() + 3),
              (std::set<std::string>{"Spades 1", "Bare room", "Twin room"}));
    EXPECT_EQ(titles[3], kHearts);

    struct TCase {
        std::string Room;
        TPostResult Result;
        int Tables;
    };
    const std::vector<TCase> cases = {
        {"Spades 1", TPostResult::Sent, NewRoomTables},
        {kHearts, TPostResult::Sent, OldRoomTables},
        {"Twin room", TPostResult::Sent, NewRoomTables},           // the first of two inputs
        {"Bare room", TPostResult::ClipboardOnly, NewRoomTables},  // no input: clipboard only
    };
    std::vector<TReceived> expected;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Room);
        ASSERT_TRUE(Choose(c.Room));
        EXPECT_EQ(s.RoomTableCount, c.Tables);
        const std::string line = "Table 3: " + c.Room + " " + HighBytes() + " \xE9t\xE9";
        EXPECT_EQ(PostToLobby(s, line, false), c.Result);
        // Both formats hold the line, the high bytes as the same characters.
        EXPECT_EQ(ClipboardBytes(CF_TEXT), line);
        EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), Utf16Bytes(line));
        const std::vector<UINT> formats = ClipboardFormats();
        ASSERT_GE(formats.size(), 2u);
        EXPECT_EQ(formats[0], static_cast<UINT>(CF_TEXT));  // ours, not made up from the other
        EXPECT_EQ(formats[1], static_cast<UINT>(CF_UNICODETEXT));
        if (c.Result == TPostResult::Sent) expected.push_back({c.Room, "input", line});
    }
    // Nothing reached a decoy, the history, the outside edit or a second input.
    EXPECT_EQ(lobbyClient.WaitForLines(expected.size()), expected);
}

TEST_F(LobbyWindowsTest, ALinePastedReplacesWhatTheHostTypedAndPreviewSendsNothing) {
    TStandIn lobbyClient({"rooms", "new:Spades 2"});
    ASSERT_TRUE(lobbyClient.Ready());
    ASSERT_TRUE(Choose("Spades 2"));
    const TWindowHandle input = s.FLobbyEditWnd;
    ASSERT_NE(input, 0u);
    ::SendMessageW(reinterpret_cast<HWND>(static_cast<uintptr_t>(input)), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"half typed"));
    s.Settings.AutoPostPreview = true;
    EXPECT_EQ(PostToLobby(s, "Preview \x93line\x94", false), TPostResult::Pasted);
    EXPECT_EQ(EditText(input), "Preview \x93line\x94");
    s.Settings.AutoPostPreview = false;
    EXPECT_EQ(PostToLobby(s, "Sent line", false), TPostResult::Sent);
    EXPECT_EQ(PostToLobby(s, "%!Marked, automatic", true), TPostResult::ClipboardOnly);
    EXPECT_EQ(PostToLobby(s, "%!Marked, asked for", false), TPostResult::Sent);
    EXPECT_EQ(lobbyClient.WaitForLines(2),
              (std::vector<TReceived>{{"Spades 2", "input", "Sent line"},
                                      {"Spades 2", "input", "Marked, asked for"}}));
    EXPECT_EQ(EditText(input), "");
}

TEST_F(LobbyWindowsTest, WindowsThatVanishAfterListingTakeNothingAndAreFoundAgain) {
    auto lobbyClient = std::make_unique<TStandIn>(
        std::vector<std::string>{"rooms", "new:Spades 3", "old:Hearts 3"});
    ASSERT_TRUE(lobbyClient->Ready());
    const std::vector<TLobbyRoom> listed = ListLobbyWindows(s);
    ASSERT_EQ(listed.size(), 2u);
    ASSERT_TRUE(Choose("Spades 3"));
    const TWindowHandle input = s.FLobbyEditWnd;
    ASSERT_NE(input, 0u);

    // One room closes between the listing and the posting.
    ::SendMessageW(reinterpret_cast<HWND>(static_cast<uintptr_t>(s.FParentLobbyWnd)), WM_CLOSE, 0,
                   0);
    EXPECT_EQ(PostToLobby(s, "into a closed room", false), TPostResult::Sent);
    EXPECT_EQ(ClipboardBytes(CF_TEXT), "into a closed room");
    RefindLobby(s);
    EXPECT_EQ(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(PostToLobby(s, "room gone", false), TPostResult::ClipboardOnly);

    // The whole client ends: every call on its old handles is harmless.
    lobbyClient->Kill();
    for (const TLobbyRoom& r : listed) {
        EXPECT_EQ(windows->WindowText(r.Handle), "");
        EXPECT_EQ(windows->WindowClass(r.Handle), "");
        EXPECT_EQ(windows->ClientHeight(r.Handle), 0);
        EXPECT_EQ(windows->FirstChild(r.Handle), 0u);
        EXPECT_EQ(FindChatInput(s, r.Handle), 0u);
        int visited = 0;
        windows->EnumDescendants(r.Handle, [&](TWindowHandle) { return ++visited, true; });
        EXPECT_EQ(visited, 0);
        EXPECT_FALSE(windows->PostToWindow(input, lobby_msg::Char, lobby_msg::Return, 0));
        EXPECT_EQ(windows->SendToWindow(input, lobby_msg::Paste, 0, 0), 0);
    }
    EXPECT_TRUE(lobbyClient->Received().empty());

    // The room opens again under its title: the next tick finds it.
    lobbyClient = std::make_unique<TStandIn>(std::vector<std::string>{"rooms", "new:SPADES 3"});
    ASSERT_TRUE(lobbyClient->Ready());
    RefindLobby(s);
    ASSERT_NE(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(PostToLobby(s, "back again", false), TPostResult::Sent);
    EXPECT_EQ(lobbyClient->WaitForLines(1),
              (std::vector<TReceived>{{"SPADES 3", "input", "back again"}}));
}

TEST_F(LobbyWindowsTest, AClipboardHeldOpenByAnotherProgramStopsTheLine) {
    TStandIn lobbyClient({"rooms", "new:Spades 4"});
    ASSERT_TRUE(lobbyClient.Ready());
    ASSERT_TRUE(Choose("Spades 4"));
    {
        TStandIn holder({"clipboard"});
        ASSERT_TRUE(holder.Ready());
        EXPECT_EQ(PostToLobby(s, "not sent", false), TPostResult::ClipboardFailed);
        EXPECT_EQ(world.Dialogs.Messages,
                  std::vector<std::string>{"Can't copy message into clipboard"});
        ASSERT_TRUE(holder.Release());
    }
    EXPECT_EQ(PostToLobby(s, "sent", false), TPostResult::Sent);
    EXPECT_EQ(lobbyClient.WaitForLines(1), (std::vector<TReceived>{{"Spades 4", "input", "sent"}}));
}

TEST_F(LobbyWindowsTest, ATitleOfMoreThan256CharactersIsKnownByItsFirst255) {
    std::string title = "Long \x96 ";
    while (title.size() < 300)
        title += "room ";
    TStandIn lobbyClient({"rooms", "new:" + title});
    ASSERT_TRUE(lobbyClient.Ready());
    const std::vector<TLobbyRoom> rooms = ListLobbyWindows(s);
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(rooms[0].Title, title.substr(0, 255));
    SelectLobby(s, rooms[0]);
    RefindLobby(s);
    ASSERT_NE(s.FLobbyEditWnd, 0u);
    EXPECT_EQ(PostToLobby(s, "long room", false), TPostResult::Sent);
    EXPECT_EQ(lobbyClient.WaitForLines(1), (std::vector<TReceived>{{title, "input", "long room"}}));
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

TEST_F(LobbyWindowsTest, ThePauseHandlesMessagesAndLeavesAQuitForTheProgram) {
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
