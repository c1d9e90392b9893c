#include "formats/format_store.h"

#include "common/text.h"

namespace kestrova {

// Minimal version: the formats layer fills this in.
std::string FormatsFilePath(const TTourneyState& s) {
    return s.Settings.FilesFolder + "Tourney Formats.ini";
}

void RebuildFormatMenu(TTourneyState& s, const std::string& name) { SelectFormatByName(s, name); }

void SelectFormatByName(TTourneyState& s, const std::string& name) {
    for (const auto& f : s.FormatNames)
        if (SameText(f, name)) return SelectFormat(s, f);
    SelectFormat(s, "Default");
}

void SelectFormat(TTourneyState& s, const std::string& entry) {
    s.CurrentFormat = entry;
    s.Title = "Tarvex Kestrova - " + CurrentFormatName(s);
    s.View().TitleChanged(s.Title);
}

std::string CurrentFormatName(const TTourneyState& s) { return s.CurrentFormat; }

}  // namespace kestrova
