#include "formats/post_to_lobby.h"

#include "common/text.h"
#include "model/tourney_state.h"
#include "records/event_log.h"

namespace kestrova {

namespace {
// "%!" alone is an ordinary two-character line, not a marked empty one.
bool Marked(const std::string& text) {
    return text.size() >= 3 && StartsWith(text, NoAutoPostMark);
}
std::string Unmarked(const std::string& text) {
    return Marked(text) ? text.substr(2) : text;
}

// Select everything and paste: the line replaces what the host had typed.
void PasteInto(ILobbyWindows& w, TWindowHandle edit) {
    w.SendToWindow(edit, lobby_msg::SetSel, 0, -1);
    w.SendToWindow(edit, lobby_msg::Paste, 0, 0);
}

// Enter as the keyboard would give it: key down, the character, key up.
void PressEnter(ILobbyWindows& w, TWindowHandle edit) {
    for (uint32_t msg : {lobby_msg::KeyDown, lobby_msg::Char, lobby_msg::KeyUp})
        w.PostToWindow(edit, msg, lobby_msg::Return, 0);
}
}  // namespace

TPostResult PostToLobby(TTourneyState& s, const std::string& text, bool automatic) {
    WriteLog(s, "    -> Posting \"" + text + "\"");
    const bool marked = Marked(text);
    const std::string line = Unmarked(text);
    if (!s.Lobby().SetClipboard(line)) {
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, "Can't copy message into clipboard");
        return TPostResult::ClipboardFailed;
    }
    // Taken now: a tick during an earlier line's pause may have lost the room.
    const TWindowHandle edit = s.FLobbyEditWnd;
    if (edit == 0 || (marked && automatic)) return TPostResult::ClipboardOnly;
    ILobbyWindows& windows = s.LobbyWindows();
    PasteInto(windows, edit);
    if (s.Settings.AutoPostPreview) return TPostResult::Pasted;
    PressEnter(windows, edit);
    // Lets the lobby take the line before the next one replaces the clipboard.
    // Window messages are handled meanwhile; a posting that starts now begins
    // after this line's Enter, so lines never interleave.
    s.Lobby().Wait(100);
    return TPostResult::Sent;
}

TPostResult PostLinesToClipboard(TTourneyState& s, const std::vector<std::string>& lines) {
    std::string all;
    for (size_t i = 0; i < lines.size(); ++i) {
        WriteLog(s, "    -> Posting \"" + lines[i] + "\"");
        // The mark stands at the template's start, so only the first line has it.
        all += (i == 0 ? Unmarked(lines[i]) : lines[i]) + (i + 1 < lines.size() ? "\r\n" : "");
    }
    if (!s.Lobby().SetClipboard(all)) {
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, "Can't copy message into clipboard");
        return TPostResult::ClipboardFailed;
    }
    return TPostResult::ClipboardOnly;
}

std::string PostingStatus(TPostResult result, const std::vector<std::string>& lines) {
    if (result == TPostResult::ClipboardFailed || lines.empty()) return {};
    const char* where = result == TPostResult::ClipboardOnly ? "On the clipboard"
                        : result == TPostResult::Pasted      ? "In the lobby's chat box"
                                                             : "Posted in the lobby";
    const std::string count =
        lines.size() > 1 ? Format(" (%d lines)", static_cast<int>(lines.size())) : "";
    return where + count + ": " + Unmarked(lines.front());
}

}  // namespace kestrova
