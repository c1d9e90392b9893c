#pragma once
// The first table number of each round: the dialog's example calculator,
// the saved default row, and applying a new row to the tournament.
#include <array>
#include <string>

#include "model/tourney_state.h"

namespace kestrova {

constexpr int MinStartTable = 1, MaxStartTable = 150;
constexpr int MinExamplePlayers = 12, MaxExamplePlayers = 256;

// The last table of each round for an expected number of players in a room
// of 150 tables. Reached: the round index is one the example comes to (only
// indexes below 13 are ever unreached); Shown: its label shows "to %d".
struct TExampleTables {
    std::array<int, RoundIndexCount> Last{};
    std::array<bool, RoundIndexCount> Reached{};
    std::array<bool, RoundIndexCount> Shown{};
};
TExampleTables ExampleLastTables(const TRoundList& start, int players, TElimFormat format);

// "Default Start Tables": 15 numbers from 1 to 150, else the built-in row.
TRoundList DefaultStartTableRow(const TAppSettings& settings);
// "Set as default" after its question: the row becomes the saved default.
void SaveDefaultStartTableRow(TTourneyState& s, const TRoundList& row);
// OK of "Starting Tables For Each Round": stored, logged, renumbered, saved.
void ApplyStartTables(TTourneyState& s, const TRoundList& row);

}  // namespace kestrova
