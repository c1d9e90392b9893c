#pragma once
// The question and notice convention shared by every caller: a set bit of
// ConfirmNotifyFilter skips the question as if "Yes" were answered, or hides
// the notice; a ticked "Don't ask/tell me again" box sets the bit and saves
// the settings.
#include <cstdint>
#include <string>

#include "records/settings.h"  // SaveSettings, which a ticked box runs

namespace kestrova {

class TTourneyState;

// True for "Yes" (or a suppressed question), false for "No".
bool AskConfirm(TTourneyState& state, uint32_t bit, const std::string& text);
// Shows the notice unless its bit is set.
void ShowNotice(TTourneyState& state, uint32_t bit, const std::string& text);

}  // namespace kestrova
