#pragma once
// Player status and lookup: entries still in, round indexes, labels and names,
// the round tabs, the find box and the highlight of a name box.
#include <string>

#include "model/tourney_state.h"

namespace kestrova {

// "Winners", "OneLoss" or "TwoLoss", as the log names a bracket.
const char* BracketName(TBracketKind bracket);
// Which entry of a 15-entry per-round list governs round r of a bracket.
int GetRoundIndex(const TTourneyState& s, int round, TBracketKind bracket);
// Short tab label ("3", "WF", "GF", "SF", "QF") and long name ("Round 3", "the FINALS").
std::string RoundLabel(const TTourneyState& s, int round, TBracketKind bracket);
std::string RoundName(const TTourneyState& s, int round, TBracketKind bracket);
// The first round shown by tab 0 of a bracket's view (0, 1 or 2).
inline int FirstRoundOf(TBracketKind b) { return static_cast<int>(b); }

// Rebuilds the tab captions, keeps (clamped) selections, fixes the final table numbers.
void UpdateBracketTabs(TTourneyState& s);

// Still in: not disqualified and the current table (the last stage set) is open.
bool IsStillIn(const TPlayer& p);
int CountStillIn(const TTourneyState& s);
std::string CountLabelText(const TTourneyState& s);
// Recomputes points, the count labels and the player-points list.
void UpdatePlayerState(TTourneyState& s);

// The find box: FindPlayer runs on every change, LocateTable on Enter.
void FindPlayer(TTourneyState& s, const std::string& boxText);
void LocateTable(TTourneyState& s);

// Highlight of a name box, in precedence order.
enum class TNameHighlight { None, FoundOpen, FoundDecided, Disqualified, BootedOut, HadBye };
TNameHighlight NameBoxStatus(const TTourneyState& s, const TTableRec& table, int seat);
// True when the entry won a stage earlier with the opposite seat empty.
bool HadByeBefore(const TPlayer& p, int beforeStage);

}  // namespace kestrova
