#pragma once
// One named format as the format dialogs hold it: a name and its key=value
// lines (keys the program does not know are carried along untouched).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class TMessageFile;
class TTourneyState;

// Longest format name the editor accepts.
constexpr int FormatNameMaxLength = 63;

struct TTourneyFormat {
    std::string Name;
    std::vector<std::string> Lines;
};

// The value of the first line whose part before "=" equals the key (letter
// case ignored); nothing when no line has the key.
std::optional<std::string> FindKeyValue(const std::vector<std::string>& lines,
                                        std::string_view key);
// The value, or an empty text when the key is missing.
std::string KeyValue(const std::vector<std::string>& lines, std::string_view key);
// The formats file of the files folder ("Tourney Formats.ini").
std::string FormatsFilePath(const TTourneyState& s);
// Every section of a loaded file as a format, in file order.
std::vector<TTourneyFormat> FormatsOf(const TMessageFile& file);

}  // namespace kestrova
