// A stand-in for the lobby client in the Win32 tests: real windows of the
// client's classes, shaped like its rooms, in a process of its own.
//
//   zone_stand_in <objects> <record file> <scene> <scene arguments...>
//
// <objects> prefixes the names of the kernel objects the test made: the
// events "-ready" (set once the scene stands), "-quit", "-release" and
// "-released", and the semaphore "-line" (released for each recorded line).
// Scenes:
//   rooms <kind>:<title>...  rooms of the kinds below; each chat input
//                            records "<title>|<label>|<text>" (UTF-8) on Enter
//       new      ZoneLobbyClientWnd: Frame [tool 16, history 300, input 24],
//                then a decoy RichEdit20W of 24 outside the first child
//       old      ZoneLobbyWindow: decoy 24, AtlAxWin -> host -> [panel ->
//                Static + edit 24, holder -> ChatControl -> [history, input]]
//       bare     a newer room whose frame has no input (tool and history only)
//       twin     a newer room with two inputs of the right height (24, 30)
//       other    a window of another program's class with that title
//   client <title>           a "ZoneClient" window with that title
//   hold <file> <none|all> <text>  the file opened with that sharing until
//                            "-release", then <text> appended and the file closed
//   clipboard                the clipboard held open until "-release"
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct TEdit {
    std::wstring Room, Label;
    WNDPROC Base = nullptr;
};

std::map<HWND, TEdit> gEdits;
std::wstring gRecordFile;
HANDLE gLine = nullptr;
HINSTANCE gInstance = nullptr;

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                  nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                          nullptr);
    return s;
}

void Record(const TEdit& edit, const std::wstring& text) {
    const std::string line = Utf8(edit.Room + L"|" + edit.Label + L"|" + text) + "\n";
    HANDLE f = ::CreateFileW(gRecordFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(f);
    ::ReleaseSemaphore(gLine, 1, nullptr);
}

// The chat input: Enter sends what it holds and empties it, as a chat does;
// an empty input sends nothing (the key-down's translation is a second
// Enter, as in any program whose loop translates keys).
LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TEdit& edit = gEdits[h];
    if (msg == WM_CHAR && wp == VK_RETURN) {
        wchar_t buf[4096] = {};
        if (::GetWindowTextW(h, buf, 4096) > 0) Record(edit, buf);
        ::SetWindowTextW(h, L"");
        return 0;
    }
    return ::CallWindowProcW(edit.Base, h, msg, wp, lp);
}

LRESULT CALLBACK PlainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        ::DestroyWindow(h);
        return 0;
    }
    return ::DefWindowProcW(h, msg, wp, lp);
}

void RegisterClasses() {
    for (const wchar_t* name : {L"ZoneLobbyClientWnd", L"ZoneLobbyWindow", L"ZoneClient", L"Frame",
                                L"AtlAxWin", L"ZoneHost", L"Panel", L"Holder", L"ChatControl",
                                L"StandInOther"}) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = gInstance;
        wc.lpszClassName = name;
        ::RegisterClassW(&wc);
    }
}

// Top-level windows stay hidden: the link never looks at visibility, and a
// shown window is restacked later as the display's events come in, which
// would make the order of the test's listing depend on when it runs.
HWND Top(const wchar_t* cls, const std::wstring& title) {
    return ::CreateWindowExW(0, cls, title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 640, 520,
                             nullptr, nullptr, gInstance, nullptr);
}

HWND Child(HWND parent, const wchar_t* cls, int y = 0, int height = 400) {
    return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, 0, y, 600, height, parent,
                             nullptr, gInstance, nullptr);
}

// A RichEdit20W of the given height without a border, so its client area
// is that high; only the labelled ones record what they are sent.
HWND Edit(HWND parent, const std::wstring& room, const std::wstring& label, int y, int height) {
    DWORD style = WS_CHILD | WS_VISIBLE | (height > 50 ? ES_MULTILINE : ES_AUTOHSCROLL);
    HWND h = ::CreateWindowExW(0, L"RichEdit20W", L"", style, 0, y, 600, height, parent, nullptr,
                               gInstance, nullptr);
    TEdit e{room, label, nullptr};
    e.Base = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC));
    gEdits[h] = e;
    ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc));
    return h;
}

void NewRoom(const std::wstring& title, bool input, bool twin) {
    HWND room = Top(L"ZoneLobbyClientWnd", title);
    HWND frame = Child(room, L"Frame", 0, 440);
    Edit(frame, title, L"tool", 0, 16);
    Edit(frame, title, L"history", 20, 300);
    if (input) Edit(frame, title, L"input", 330, 24);
    if (twin) Edit(frame, title, L"second", 360, 30);
    Edit(room, title, L"outside", 450, 24);
}

void OldRoom(const std::wstring& title) {
    HWND room = Top(L"ZoneLobbyWindow", title);
    Edit(room, title, L"decoy", 0, 24);
    HWND ax = Child(room, L"AtlAxWin", 30, 440);
    HWND host = Child(ax, L"ZoneHost", 0, 440);
    HWND panel = Child(host, L"Panel", 0, 60);
    Child(panel, L"Static", 0, 20);
    Edit(panel, title, L"panel", 25, 24);
    HWND holder = Child(host, L"Holder", 70, 360);
    HWND chat = Child(holder, L"ChatControl", 0, 360);
    Edit(chat, title, L"history", 0, 300);
    Edit(chat, title, L"input", 310, 24);
}

bool Scene(const std::vector<std::wstring>& a, HANDLE& held, bool& clipboard) {
    const std::wstring& scene = a[3];
    if (scene == L"rooms") {
        for (size_t i = 4; i < a.size(); ++i) {
            const size_t colon = a[i].find(L':');
            const std::wstring kind = a[i].substr(0, colon), title = a[i].substr(colon + 1);
            if (kind == L"new" || kind == L"bare" || kind == L"twin")
                NewRoom(title, kind != L"bare", kind == L"twin");
            else if (kind == L"old")
                OldRoom(title);
            else
                Top(L"StandInOther", title);
        }
        return true;
    }
    if (scene == L"client" && a.size() > 4) return Top(L"ZoneClient", a[4]) != nullptr;
    if (scene == L"hold" && a.size() > 6) {
        DWORD share = a[5] == L"all" ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
        held = ::CreateFileW(a[4].c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return held != INVALID_HANDLE_VALUE;
    }
    if (scene == L"clipboard") {
        clipboard = ::OpenClipboard(Top(L"StandInOther", L"Clipboard holder")) != 0;
        return clipboard;
    }
    return false;
}

HANDLE Named(const std::wstring& prefix, const wchar_t* suffix, bool semaphore = false) {
    const std::wstring name = prefix + suffix;
    return semaphore ? ::OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, name.c_str())
                     : ::OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name.c_str());
}

// The held file gets the text appended, as the client writes its list, and
// is closed.
void Release(HANDLE& held, bool& clipboard, const std::wstring& text) {
    if (held != INVALID_HANDLE_VALUE) {
        const std::string bytes = Utf8(text);
        ::SetFilePointer(held, 0, nullptr, FILE_END);
        DWORD written = 0;
        ::WriteFile(held, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
    if (clipboard) ::CloseClipboard();
    clipboard = false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    gInstance = instance;
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 4) return 2;
    const std::vector<std::wstring> a(argv, argv + argc);
    ::LocalFree(argv);
    gRecordFile = a[2];
    HANDLE ready = Named(a[1], L"-ready"), quit = Named(a[1], L"-quit");
    HANDLE release = Named(a[1], L"-release"), released = Named(a[1], L"-released");
    gLine = Named(a[1], L"-line", true);
    if (!ready || !quit || !release || !released || !gLine) return 3;
    // RichEdit pastes through the OLE clipboard, as in the client.
    ::OleInitialize(nullptr);
    ::LoadLibraryW(L"riched20.dll");
    RegisterClasses();
    HANDLE held = INVALID_HANDLE_VALUE;
    bool clipboard = false;
    if (!Scene(a, held, clipboard)) return 4;
    ::SetEvent(ready);
    const std::wstring appended = a[3] == L"hold" ? a[6] : L"";
    for (;;) {
        HANDLE waits[2] = {quit, release};
        DWORD r = ::MsgWaitForMultipleObjects(2, waits, FALSE, INFINITE, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) break;
        if (r == WAIT_OBJECT_0 + 1) {
            Release(held, clipboard, appended);
            ::ResetEvent(release);
            ::SetEvent(released);
        }
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&m);
            ::DispatchMessageW(&m);
        }
    }
    Release(held, clipboard, L"");
    ::OleUninitialize();
    return 0;
}
