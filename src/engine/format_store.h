#pragma once
// Named tournament formats: the formats file, the Format menu's content and
// applying a format to the state.
#include <string>
#include <vector>

#include "model/tourney_state.h"
#include "formats/format_defaults.h"
#include "formats/tourney_format.h"

namespace kestrova {

// Caption of the built-in format, which is never written to the file.
inline constexpr const char* DefaultFormatName = "Default";

// Re-lists the formats of the file (state.FormatNames) and selects `name`.
void RebuildFormatMenu(TTourneyState& s, const std::string& name);
// Selects the entry whose caption equals the name (case ignored), else "Default".
void SelectFormatByName(TTourneyState& s, const std::string& name);
// Applies the format named by a menu entry ("Default" or a listed name).
void SelectFormat(TTourneyState& s, const std::string& entry);
// A "Match points" preset item (0..4): all five tiers become the preset.
void ChooseMatchPointsPreset(TTourneyState& s, int index);

}  // namespace kestrova
