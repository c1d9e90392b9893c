#include "session/token_upgrade.h"

#include "formats/format_merge.h"
#include "model/tourney_state.h"
#include "records/settings.h"

namespace kestrova {

void AskTokenUpgrade(TTourneyState& s, int build) {
    if (s.Settings.LastVersionInstalled < OpponentTokenBuild &&
        s.Dialogs().YesNo(
            "This new version has a new token that alter some format macros: %o for "
            "opponents.\r\nWould you like to upgrade your format macros to change all second %p "
            "tokens to %o tokens?\r\n\r\nClick on No if you have already performed this step on "
            "your macros."))
        UpgradeOpponentTokens(s);
    SaveLastVersionInstalled(s, build);
}

void AskTokenUpgrade(TTourneyState& s) {
    AskTokenUpgrade(s, RunningBuildNumber());
}

}  // namespace kestrova
