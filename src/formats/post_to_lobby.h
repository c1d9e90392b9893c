#pragma once
// One chat line into the chosen lobby room: through the clipboard, pasted
// into the room's chat input and sent with Enter.
#include <string>
#include <vector>

namespace kestrova {

class TTourneyState;

// Marks a template that is never posted by the program on its own.
inline constexpr const char* NoAutoPostMark = "%!";

// How far a line went.
enum class TPostResult {
    ClipboardFailed,  // the clipboard was busy; nothing else happened
    ClipboardOnly,    // no chat window, or a marked line posted automatically
    Pasted,           // in the chat input, waiting for the host (preview mode)
    Sent,             // pasted and sent with Enter
};

// Posts one line. `automatic` is true for postings the program makes by itself.
TPostResult PostToLobby(TTourneyState& s, const std::string& text, bool automatic);

// Without a chat window: every line of a posting goes onto the clipboard at
// once, one line each (CR LF between them), so nothing of it is lost. Each
// line is logged as posted.
TPostResult PostLinesToClipboard(TTourneyState& s, const std::vector<std::string>& lines);

// What the status bar says of a posting: where it went, how many lines it
// holds and its first line.
std::string PostingStatus(TPostResult result, const std::vector<std::string>& lines);

}  // namespace kestrova
