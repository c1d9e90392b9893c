// The file name proposed for a new tournament.
#include <string_view>

#include "common/datetime.h"
#include "records/lifecycle.h"

namespace kestrova {

std::string NewTourneyFileName(const std::string& formatName, const std::string& startText,
                               TDateTime today, const TLocaleInfo& locale) {
    std::string raw =
        formatName + FormatDateTime(" ddmmmyy ", today, locale) + startText + " Tournament";
    // Characters a file name may not hold on Windows; the full stop goes too,
    // so that "8.00 pm" cannot be taken for an extension.
    constexpr std::string_view forbidden = "\"*./:<>?\\|";
    std::string name;
    name.reserve(raw.size());
    for (char c : raw)
        if (forbidden.find(c) == std::string_view::npos) name += c;
    return name;
}

}  // namespace kestrova
