#include "formats/messages.h"

namespace kestrova {

// Minimal version: the formats layer fills this in.
std::string ExpandMessage(TTourneyState&, std::string_view text, const TMsgParams&) {
    return std::string(text);
}

void PostMessageKind(TTourneyState& s, const std::string& text, bool) {
    s.Lobby().SetClipboard(text);
}

void TTemplateAnnouncer::Post(TTourneyState& s, TMessageKind kind, bool automatic) {
    PostMessageKind(s, s.Messages[static_cast<int>(kind)], automatic);
}

}  // namespace kestrova
