#pragma once
// Basic types and capacities shared by every part of the core.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// Date-time as days since 1899-12-30, the fraction being the time of day.
// 0 means "not set".
using TDateTime = double;

constexpr int MaxPlayers = 128;
constexpr int MaxRounds = 15;
constexpr int MaxTablesPerRound = 64;
constexpr int MaxStages = 16;
constexpr int RoundIndexCount = 15;  // per-round lists: 0..12 rounds, 13 semi-final, 14 final
constexpr int MaxSignupNameLength = 20;
constexpr int PlayerNameLength = 15;
constexpr int TeamNameLength = 31;

// Per-round list indexed by round index (see GetRoundIndex).
using TRoundList = std::array<int32_t, RoundIndexCount>;

// A growable list of int32 (used for VoidTables).
using TIntList = std::vector<int32_t>;

}  // namespace kestrova
