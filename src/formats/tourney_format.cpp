#include "formats/tourney_format.h"

#include "common/text.h"
#include "formats/message_file.h"
#include "model/tourney_state.h"

namespace kestrova {

std::string FormatsFilePath(const TTourneyState& s) {
    return s.Settings.FilesFolder + "Tourney Formats.ini";
}

std::optional<std::string> FindKeyValue(const std::vector<std::string>& lines,
                                        std::string_view key) {
    for (const auto& line : lines) {
        size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), key))
            return line.substr(eq + 1);
    }
    return std::nullopt;
}

std::string KeyValue(const std::vector<std::string>& lines, std::string_view key) {
    return FindKeyValue(lines, key).value_or(std::string());
}

std::vector<TTourneyFormat> FormatsOf(const TMessageFile& file) {
    std::vector<TTourneyFormat> formats;
    formats.reserve(static_cast<size_t>(file.Count()));
    for (int i = 0; i < file.Count(); ++i)
        formats.push_back({file.Name(i), file.Lines(i)});
    return formats;
}

}  // namespace kestrova
