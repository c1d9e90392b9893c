#pragma once
// The ports through which the core reaches the outside world. The application
// implements them with Qt; tests implement them with scripted fakes
// (tests/fakes). Every method has a harmless default so that a port may be
// left unset: the core then runs headless, answering every question "Yes".
#include <cstdint>
#include <optional>
#include <string>
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
};

// Clipboard and lobby chat. Lines are cp1252.
class ILobbyPort {
public:
    virtual ~ILobbyPort() = default;
    // Puts text on the clipboard as plain and Unicode text; false when busy.
    virtual bool SetClipboard(const std::string& text) { (void)text; return true; }
    // A lobby chat input is chosen (FLobbyEditWnd non-zero).
    virtual bool HasChatWindow() { return false; }
    // Selects everything in the chat input and pastes the clipboard.
    virtual void PasteIntoChat() {}
    // Presses Enter in the chat input.
    virtual void SendEnter() {}
    // Waits the given milliseconds while the event loop keeps running.
    virtual void Wait(int milliseconds) { (void)milliseconds; }
};

}  // namespace kestrova
