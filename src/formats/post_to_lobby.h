#pragma once
// One chat line into the chosen lobby room: through the clipboard, pasted
// into the room's chat input and sent with Enter.
#include <string>

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

}  // namespace kestrova
