// The lobby client's windows as the Win32 window functions show them.
// Class names are ASCII and are read with the ANSI call; titles are read
// wide and kept as cp1252, which is what GetWindowTextA gives on a Western
// system and stays right on a system of another code page.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <exception>

#include "common/wide_text.h"
#include "lobby/win32_lobby.h"

namespace kestrova {

namespace {

constexpr int TitleChars = 256;
constexpr int ClassChars = 64;

HWND Hwnd(TWindowHandle w) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(w));
}
TWindowHandle Handle(HWND h) {
    return static_cast<TWindowHandle>(reinterpret_cast<uintptr_t>(h));
}

// What EnumChildWindows' callback needs. An exception must not cross the
// system's frames: it is kept and thrown again once the enumeration is over.
struct TVisit {
    const std::function<bool(TWindowHandle)>* Visit;
    std::exception_ptr Error;
};

BOOL CALLBACK VisitChild(HWND h, LPARAM data) {
    auto* v = reinterpret_cast<TVisit*>(data);
    try {
        return (*v->Visit)(Handle(h)) ? TRUE : FALSE;
    } catch (...) {
        v->Error = std::current_exception();
        return FALSE;
    }
}

class TWin32LobbyWindows : public ILobbyWindows {
  public:
    std::vector<TWindowHandle> TopLevelWindows(const std::string& className) override {
        std::vector<TWindowHandle> found;
        // Windows restacked while we walk the list may come round again:
        // each is taken once, and a walk that loops ends there.
        for (HWND h = nullptr;;) {
            h = ::FindWindowExA(nullptr, h, className.c_str(), nullptr);
            if (!h || std::find(found.begin(), found.end(), Handle(h)) != found.end()) break;
            found.push_back(Handle(h));
        }
        return found;
    }

    std::string WindowText(TWindowHandle w) override {
        if (w == 0) return {};
        wchar_t buf[TitleChars] = {};
        int n = ::GetWindowTextW(Hwnd(w), buf, TitleChars);
        return n > 0 ? Cp1252OfWide(std::wstring_view(buf, static_cast<size_t>(n))) : std::string();
    }

    std::string WindowClass(TWindowHandle w) override {
        if (w == 0) return {};
        char buf[ClassChars] = {};
        int n = ::GetClassNameA(Hwnd(w), buf, ClassChars);
        return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    }

    int ClientHeight(TWindowHandle w) override {
        RECT r{};
        if (w == 0 || !::GetClientRect(Hwnd(w), &r)) return 0;
        return r.bottom - r.top;
    }

    TWindowHandle FirstChild(TWindowHandle w) override {
        return w == 0 ? 0 : Handle(::GetWindow(Hwnd(w), GW_CHILD));
    }

    void EnumDescendants(TWindowHandle w,
                         const std::function<bool(TWindowHandle)>& visit) override {
        // No parent would list the top-level windows instead.
        if (w == 0 || !::IsWindow(Hwnd(w))) return;
        TVisit v{&visit, nullptr};
        ::EnumChildWindows(Hwnd(w), VisitChild, reinterpret_cast<LPARAM>(&v));
        if (v.Error) std::rethrow_exception(v.Error);
    }

    intptr_t SendToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam,
                          intptr_t lParam) override {
        if (w == 0) return 0;
        return ::SendMessageA(Hwnd(w), msg, wParam, lParam);
    }

    bool PostToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam, intptr_t lParam) override {
        return w != 0 && ::PostMessageA(Hwnd(w), msg, wParam, lParam);
    }
};

}  // namespace

std::unique_ptr<ILobbyWindows> MakeWin32LobbyWindows() {
    return std::make_unique<TWin32LobbyWindows>();
}

}  // namespace kestrova
