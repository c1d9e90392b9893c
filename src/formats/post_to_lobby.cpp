#include "formats/post_to_lobby.h"

#include "common/text.h"
#include "model/tourney_state.h"
#include "records/event_log.h"

namespace kestrova {

TPostResult PostToLobby(TTourneyState& s, const std::string& text, bool automatic) {
    WriteLog(s, "    -> Posting \"" + text + "\"");
    // "%!" alone is an ordinary two-character line, not a marked empty one.
    const bool marked = text.size() >= 3 && StartsWith(text, NoAutoPostMark);
    const std::string line = marked ? text.substr(2) : text;
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

}  // namespace kestrova
