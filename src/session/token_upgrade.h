#pragma once
// The one-time question of a new version, asked when the main window is
// first shown: templates written before the opponent token "%o" existed may
// be rewritten, and the running build is recorded as "Last Version Installed"
// so that the question is asked at most once per user.
namespace kestrova {

class TTourneyState;

// The first build that knows "%o".
constexpr int OpponentTokenBuild = 44;

// Asks when the last build that started is older than OpponentTokenBuild;
// on Yes rewrites the formats file. Then stores `build` (the running build,
// RunningBuildNumber() unless a test gives another).
void AskTokenUpgrade(TTourneyState& s, int build);
void AskTokenUpgrade(TTourneyState& s);

}  // namespace kestrova
