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
}  // namespace

TPostResult PostToLobby(TTourneyState& s, const std::string& text, bool automatic) {
    WriteLog(s, "    -> Posting \"" + text + "\"");
    const bool marked = Marked(text);
    const std::string line = Unmarked(text);
    ILobbyPort& lobby = s.Lobby();
    if (!lobby.SetClipboard(line)) {
        s.Dialogs().MessageBox(TMessageBoxKind::Warning, "Can't copy message into clipboard");
        return TPostResult::ClipboardFailed;
    }
    if (!lobby.HasChatWindow() || (marked && automatic)) return TPostResult::ClipboardOnly;
    lobby.PasteIntoChat();
    if (s.Settings.AutoPostPreview) return TPostResult::Pasted;
    lobby.SendEnter();
    // Lets the lobby take the line before the next one replaces the clipboard.
    lobby.Wait(100);
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
