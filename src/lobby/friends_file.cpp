#include "lobby/friends_file.h"

#include <unordered_set>

#include "common/text.h"

namespace kestrova {

namespace {

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

}  // namespace

std::optional<std::vector<std::string>> ParseFriendsText(std::string_view bytes) {
    std::vector<std::string_view> lines = SplitLines(bytes);
    size_t i = 0;
    while (i < lines.size() && !SameText(lines[i], "[Friends]"))
        ++i;
    if (i == lines.size()) return std::nullopt;
    std::vector<std::string> names;
    for (++i; i < lines.size() && (lines[i].empty() || lines[i][0] != '['); ++i)
        if (!lines[i].empty()) names.emplace_back(lines[i]);
    return names;
}

std::string FriendsFileText(const std::vector<std::string>& names) {
    std::string text = "[Friends]\r\n";
    for (const auto& n : names)
        text += n + "\r\n";
    return text;
}

std::vector<std::string> NamesNotIn(const std::vector<std::string>& fresh,
                                    const std::vector<std::string>& old) {
    std::unordered_set<std::string> known;
    known.reserve(old.size());
    for (const auto& n : old)
        known.insert(LowerCase(n));
    std::vector<std::string> out;
    for (const auto& n : fresh)
        if (!known.count(LowerCase(n))) out.push_back(n);
    return out;
}

}  // namespace kestrova
