// The clipboard and the pause after each posted line, with the system's
// own calls: both text formats are set by us, so a program that reads
// CF_TEXT gets the program's cp1252 bytes as they are and one that reads
// CF_UNICODETEXT gets the same characters (0x80 is the euro sign in both).
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstring>

#include "common/cp1252.h"
#include "lobby/win32_lobby.h"

namespace kestrova {

namespace {

constexpr wchar_t OwnerClass[] = L"KestrovaClipboardOwner";

// A movable block holding `size` bytes from `data`, handed to the clipboard.
bool PutBlock(UINT format, const void* data, size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return false;
    void* p = ::GlobalLock(block);
    if (!p) {
        ::GlobalFree(block);
        return false;
    }
    std::memcpy(p, data, size);
    ::GlobalUnlock(block);
    // Once set, the block is the system's; only a refused one is ours to free.
    if (::SetClipboardData(format, block)) return true;
    ::GlobalFree(block);
    return false;
}

class TWin32LobbyPort : public ILobbyPort {
  public:
    ~TWin32LobbyPort() override {
        if (owner_) ::DestroyWindow(owner_);
    }

    bool SetClipboard(const std::string& text) override {
        if (!Owner() || !::OpenClipboard(owner_)) return false;
        const std::u16string wide = Cp1252ToUtf16(text);
        // The terminating zero of each format is part of its block.
        bool ok = ::EmptyClipboard() && PutBlock(CF_TEXT, text.c_str(), text.size() + 1) &&
                  PutBlock(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
        ::CloseClipboard();
        return ok;
    }

    void Wait(int milliseconds) override {
        const DWORD total = milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0;
        const DWORD start = ::GetTickCount();
        for (;;) {
            if (!Pump()) return;
            const DWORD spent = ::GetTickCount() - start;  // wraps correctly after 49 days
            if (spent >= total) return;
            ::MsgWaitForMultipleObjectsEx(0, nullptr, total - spent, QS_ALLINPUT,
                                          MWMO_INPUTAVAILABLE);
        }
    }

  private:
    // The clipboard's owner: a message-only window of this thread.
    HWND Owner() {
        if (owner_) return owner_;
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = OwnerClass;
        ::RegisterClassW(&wc);  // fails harmlessly when already registered
        owner_ = ::CreateWindowExW(0, OwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
        return owner_;
    }

    // Handles every message waiting for this thread; false when the program
    // is told to end (WM_QUIT goes back in the queue for its own loop).
    static bool Pump() {
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(m.wParam));
                return false;
            }
            ::TranslateMessage(&m);
            ::DispatchMessageW(&m);
        }
        return true;
    }

    HWND owner_ = nullptr;
};

}  // namespace

std::unique_ptr<ILobbyPort> MakeWin32LobbyPort() {
    return std::make_unique<TWin32LobbyPort>();
}

}  // namespace kestrova
