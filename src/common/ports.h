#pragma once
// The ports through which the core reaches the outside world. The application
// implements them with Qt; tests implement them with scripted fakes
// (tests/fakes). Every method has a harmless default so that a port may be
// left unset: the core then runs headless, answering every question "Yes".
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/types.h"

namespace kestrova {

enum class TBracketKind : int32_t { Winners = 0, OneLoss = 1, TwoLoss = 2 };

// The answer of a yes/no question with a "Don't ask me again" box.
struct TConfirmAnswer {
    bool Yes = true;
    bool DontAskAgain = false;
};

enum class TMessageBoxKind { Plain, Information, Warning, Error };

// The host's dialogs.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    // "Confirmation": the message, "&Yes" / "&No" and "Don't ask me again".
    virtual TConfirmAnswer ConfirmDlg(const std::string& text) { (void)text; return {}; }
    // "Information": the message, "OK" and "Don't tell me again"; returns the box.
    virtual bool NotifyDlg(const std::string& text) { (void)text; return false; }
    // A message box with an OK button.
    virtual void MessageBox(TMessageBoxKind kind, const std::string& text) { (void)kind; (void)text; }
    // A plain Yes/No question without a box.
    virtual bool YesNo(const std::string& text) { (void)text; return true; }
    // An input box; nothing on Cancel.
    virtual std::optional<std::string> InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) {
        (void)caption; (void)prompt; (void)initial;
        return std::nullopt;
    }
    // A folder chooser; nothing on Cancel.
    virtual std::optional<std::string> ChooseFolder(const std::string& text,
                                                    const std::string& start) {
        (void)text; (void)start;
        return std::nullopt;
    }
};

// The clock. Local time and UTC as TDateTime.
class IClock {
public:
    virtual ~IClock() = default;
    virtual TDateTime Now() = 0;
    virtual TDateTime UtcNow() { return Now(); }
};

// What the window must show again. The state holds the data; the view reads it.
class IView {
public:
    virtual ~IView() = default;
    virtual void RedrawRound(TBracketKind bracket, int round) { (void)bracket; (void)round; }
    virtual void RedrawAll() {}
    virtual void TabsChanged() {}  // UpdateBracketTabs rebuilt the captions
    virtual void SelectRound(TBracketKind bracket, int round) { (void)bracket; (void)round; }
    virtual void ScrollToTable(TBracketKind bracket, int round, int tableIndex) {
        (void)bracket; (void)round; (void)tableIndex;
    }
    virtual void CountLabelChanged(const std::string& text) { (void)text; }
    virtual void UndoRedoChanged(bool undoEnabled, bool redoEnabled) { (void)undoEnabled; (void)redoEnabled; }
    virtual void SignupStateChanged() {}      // add field enabled or find strip shown
    virtual void FindStatusChanged(const std::string& text) { (void)text; }
    virtual void FindTextChanged(const std::string& text) { (void)text; }  // put into the find box
    virtual void AddBoxCleared() {}
    virtual void OnePerTableChanged(bool checked) { (void)checked; }
    virtual void TeamCaptionsChanged() {}
    virtual void EmailLabelsChanged() {}
    virtual void ShowEmailPanel() {}
    virtual void ShowPointsWindow() {}
    virtual void TitleChanged(const std::string& title) { (void)title; }
    virtual void FormatMenuChanged() {}
    virtual void PlayerPointsChanged() {}
    virtual void HostFieldsChanged() {}  // start/rules/host texts changed
    // A short note for the status bar (what a posting put on the clipboard).
    virtual void StatusMessage(const std::string& text) { (void)text; }
    // A seat's boot button: the count at rest, "m:ss" with no icon while timed.
    virtual void BootButtonChanged(TBracketKind bracket, int tableIndex, int seat,
                                   const std::string& caption, bool icon) {
        (void)bracket; (void)tableIndex; (void)seat; (void)caption; (void)icon;
    }
};

// Clipboard and the wait that keeps the window responsive. Lines are cp1252.
class ILobbyPort {
public:
    virtual ~ILobbyPort() = default;
    // Puts text on the clipboard as plain and Unicode text; false when busy.
    virtual bool SetClipboard(const std::string& text) { (void)text; return true; }
    // Waits the given milliseconds while the event loop keeps running, so
    // ticks, menus and further postings are served meanwhile.
    virtual void Wait(int milliseconds) { (void)milliseconds; }
};

// A named value of the settings store: missing, a 32-bit integer or a
// string (cp1252). The registry keeps these two types apart, and so does
// every store of ours.
struct TStoredValue {
    enum class TType : uint8_t { Missing, Integer, String };
    TType Type = TType::Missing;
    int32_t Int = 0;
    std::string Text;

    static TStoredValue Integer(int32_t v) { return {TType::Integer, v, {}}; }
    static TStoredValue String(std::string v) { return {TType::String, 0, std::move(v)}; }
    bool Exists() const { return Type != TType::Missing; }
    bool IsInteger() const { return Type == TType::Integer; }
    bool IsString() const { return Type == TType::String; }
};

// The per-user settings key ("\Software\Morlun Software\Kestrova\") and its
// subkeys ("RestoreMRU", "MacroMRU"). An empty subkey names the key itself.
// Names are compared without regard to letter case, as the registry does.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // Whether the key exists at all (not at the first start).
    virtual bool Exists() { return false; }
    // The value, or Missing. Throws std::runtime_error when the store cannot be read.
    virtual TStoredValue Read(const std::string& subkey, const std::string& name) {
        (void)subkey; (void)name;
        return {};
    }
    virtual void Write(const std::string& subkey, const std::string& name, const TStoredValue& v) {
        (void)subkey; (void)name; (void)v;
    }
    // Removes every value of a subkey.
    virtual void ClearSubkey(const std::string& subkey) { (void)subkey; }
    // Makes the writes since the last commit last (creating the key when
    // needed). Throws std::runtime_error naming what could not be written.
    virtual void Commit() {}
};

// The platform's registration of the tournament file type (".kvb").
class IFileTypes {
public:
    virtual ~IFileTypes() = default;
    // True when the program's file class is registered already.
    virtual bool Registered() { return true; }
    // Registers the type; false on failure. Never changes an existing registration.
    virtual bool Register() { return true; }
};

// The local zone as the platform reports it (minutes; UTC = local + bias).
struct TLocalZoneInfo {
    enum class TState { Unknown, Standard, Daylight };
    int32_t Bias = 0, StandardBias = 0, DaylightBias = 0;
    TState State = TState::Unknown;
};

// One zone of the platform's time-zone store, as stored there: the names and
// the 44-byte "TZI" rule. FixedOffset marks a zone whose daylight-saving rule
// the TZI form cannot hold: its rule is its current offset alone.
struct TTimeZoneRecord {
    std::string KeyName, Display, Dlt, Std;
    std::string Tzi;
    bool FixedOffset = false;
};

// The platform's time-zone store: the registry's on Windows, the system's tz
// database elsewhere. Key names are the store's own identifiers.
class ITimeZoneStore {
public:
    virtual ~ITimeZoneStore() = default;
    // Every key name. Throws std::runtime_error when the store cannot be read.
    virtual std::vector<std::string> KeyNames() { return {}; }
    // One zone; nothing when there is no such key. Throws as KeyNames.
    virtual std::optional<TTimeZoneRecord> Find(const std::string& keyName) {
        (void)keyName;
        return std::nullopt;
    }
    virtual TLocalZoneInfo LocalZone() { return {}; }
    // The middle and right zones before the settings are read.
    virtual std::pair<std::string, std::string> DefaultKeyNames() {
        return {"America/New_York", "America/Los_Angeles"};
    }
};

// A window of the lobby client (a Win32 HWND); 0 is no window.
using TWindowHandle = uint64_t;

// The window messages the lobby link sends to a room's chat input (named
// apart from windows.h, whose macros have the Win32 names).
namespace lobby_msg {
constexpr uint32_t SetSel = 0x00B1;   // EM_SETSEL
constexpr uint32_t Paste = 0x0302;    // WM_PASTE
constexpr uint32_t KeyDown = 0x0100;  // WM_KEYDOWN
constexpr uint32_t Char = 0x0102;     // WM_CHAR
constexpr uint32_t KeyUp = 0x0101;    // WM_KEYUP
constexpr uint32_t Return = 13;       // VK_RETURN
}  // namespace lobby_msg

// The lobby client's windows, as the platform's window functions see them.
// The default lists no windows at all, which is what every platform without
// Win32 windows gets: no room is ever found and lines go to the clipboard.
// Every call must be safe on a handle whose window has since closed.
class ILobbyWindows {
public:
    virtual ~ILobbyWindows() = default;
    // Every top-level window of the class, in the system's order
    // (FindWindowExA with no parent, iterated from the previous result).
    virtual std::vector<TWindowHandle> TopLevelWindows(const std::string& className) {
        (void)className;
        return {};
    }
    // GetWindowText, up to 256 characters, as cp1252; empty for a closed window.
    virtual std::string WindowText(TWindowHandle w) { (void)w; return {}; }
    // GetClassNameA, up to 64 characters; empty for a closed window.
    virtual std::string WindowClass(TWindowHandle w) { (void)w; return {}; }
    // Height of GetClientRect; 0 for a closed window.
    virtual int ClientHeight(TWindowHandle w) { (void)w; return 0; }
    // GetWindow(GW_CHILD); 0 when none.
    virtual TWindowHandle FirstChild(TWindowHandle w) { (void)w; return 0; }
    // EnumChildWindows: every descendant, depth first, until visit returns false.
    virtual void EnumDescendants(TWindowHandle w, const std::function<bool(TWindowHandle)>& visit) {
        (void)w; (void)visit;
    }
    // SendMessageA (waits for the target window to handle it).
    virtual intptr_t SendToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
        (void)w; (void)msg; (void)wParam; (void)lParam;
        return 0;
    }
    // PostMessageA (queues and returns); false when the window is gone.
    virtual bool PostToWindow(TWindowHandle w, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
        (void)w; (void)msg; (void)wParam; (void)lParam;
        return false;
    }
};

}  // namespace kestrova
