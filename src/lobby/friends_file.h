#pragma once
// The lobby client's friends file: a line "[Friends]", then one name per
// line up to the next line that begins with "[" or the end of the file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The names of the "[Friends]" section (found without regard to letter
// case), empty lines skipped; nothing when there is no such line. Lines may
// end in CR LF, LF or CR alone.
std::optional<std::vector<std::string>> ParseFriendsText(std::string_view bytes);

// "[Friends]" and the names, each line ended by CR LF. Whatever stood before
// or after the section is not kept.
std::string FriendsFileText(const std::vector<std::string>& names);

// The names of `fresh` that `old` does not hold, in the order of `fresh`,
// letter case ignored. Linear in the two lengths.
std::vector<std::string> NamesNotIn(const std::vector<std::string>& fresh,
                                    const std::vector<std::string>& old);

}  // namespace kestrova
