#pragma once
// The built-in "Default" format: its key=value lines, the match-points presets
// of the "Match points" menu and the fixed tables applied when "Default" is
// selected.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/types.h"

namespace kestrova {

// The 27 key=value lines of the built-in format, in their fixed order.
const std::vector<std::string>& DefaultFormatLines();
// The text after the first "=" of the default line whose key equals `key`
// (letter case ignored), or an empty text.
std::string DefaultFormatValue(std::string_view key);

// The five "Match points" presets: "1 pt (3 pt final)" ... "5 pt (7 pt final)".
constexpr int PointsPresetCount = 5;
constexpr int DefaultPointsPreset = 2;  // "3 pt (5 pt final)"
const std::array<TRoundList, PointsPresetCount>& PointsPresets();
// The preset equal to the list entry by entry, or -1.
int FindPointsPreset(const TRoundList& list);

// Fixed tables of "Default".
extern const TRoundList DefaultWinPoints;
extern const TRoundList DefaultByePoints;
extern const TRoundList DefaultLosePoints;
extern const TRoundList DefaultStartTables;

}  // namespace kestrova
