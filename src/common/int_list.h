#pragma once
// The comma lists of the formats file: 15 per-round values (rounds 1 to 13,
// the semi-final stage, the final).
#include <string>
#include <string_view>

#include "common/types.h"

namespace kestrova {

// Longest run of digits read as one value, and the most values read.
constexpr int IntListMaxDigits = 9;
constexpr int IntListMaxValues = 1025;

// Reads unsigned decimal values separated by commas (blanks before a number or
// a comma skipped) until no digit follows, and spreads them over the 15
// entries: a short list is these rounds, the last of them repeated, then the
// semi-final and the final.
TRoundList ParseIntList(std::string_view text);
// All 15 entries as "%d" joined by "," without blanks.
std::string FormatIntList(const TRoundList& list);

}  // namespace kestrova
