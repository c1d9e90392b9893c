#pragma once
// Token expansion of message templates and posting a template line by line.
#include <string>
#include <string_view>
#include <vector>

#include "model/tourney_state.h"

namespace kestrova {

// Expands every token of the template with the parameters (the state gives
// the clock, the winners, the format name and the name capitalisation).
// Inserted texts are never expanded again; the template is scanned once.
std::string ExpandMessage(TTourneyState& s, std::string_view text, const TMsgParams& params);
// The name %r gives for a round index and table number.
std::string MessageRoundName(const TTourneyState& s, int roundIndex, int tableNo);
// The raw template cut at every "%c" (letter case ignored); empty pieces kept.
std::vector<std::string> SplitTemplateLines(std::string_view text);
// The places of a finished tournament (sign-up closed and the grand final
// decided), as %1, %2 and %3 name them; all empty before.
struct TFinalPlaces {
    std::string First, Second, Third;
};
TFinalPlaces FinalPlaces(const TTourneyState& s);
// Splits at "%c", expands each piece with s.MsgParams and posts it (PostToLobby).
void PostMessageKind(TTourneyState& s, const std::string& text, bool automatic);

// The announcer that posts the real templates of the current format.
class TTemplateAnnouncer : public IAnnouncer {
  public:
    void Post(TTourneyState& s, TMessageKind kind, bool automatic) override;
};

}  // namespace kestrova
