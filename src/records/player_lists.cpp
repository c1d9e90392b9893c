#include "records/player_lists.h"

#include <algorithm>
#include <stdexcept>

#include "common/text.h"
#include "model/tourney_state.h"
#include "records/confirm.h"
#include "common/file_util.h"

namespace kestrova {

std::string NormalizePlayerName(std::string_view text) {
    std::string out;
    for (char c : text) {
        bool keep =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (keep) out += c;
        if (out.size() == static_cast<size_t>(PlayerNameLength)) break;
    }
    return out;
}

namespace {
TNameList::const_iterator LowerBound(const TNameList& list, std::string_view name) {
    return std::lower_bound(
        list.begin(), list.end(), name,
        [](const std::string& a, std::string_view b) { return CompareText(a, b) < 0; });
}

std::string PathIn(const TTourneyState& s, const char* fileName) {
    return s.Settings.FilesFolder + fileName;
}

void WriteList(const TTourneyState& s, const TNameList& list, const char* fileName) {
    std::string path = PathIn(s, fileName);
    WriteFileAtomically(path, FormatNameList(list));
}

void LoadList(const TTourneyState& s, TNameList& list, const char* fileName) {
    list.clear();
    if (auto bytes = ReadFileIfExists(PathIn(s, fileName))) list = ParseNameList(*bytes);
}
}  // namespace

int FindName(const TNameList& list, std::string_view name) {
    auto it = LowerBound(list, name);
    if (it == list.end() || CompareText(*it, name) != 0) return -1;
    return static_cast<int>(it - list.begin());
}

int AddName(TNameList& list, const std::string& name) {
    auto it = LowerBound(list, name);
    if (it == list.end() || CompareText(*it, name) != 0) it = list.insert(it, name);
    return static_cast<int>(it - list.begin());
}

int ReplaceName(TNameList& list, int index, const std::string& name) {
    if (index < 0 || index >= static_cast<int>(list.size())) return -1;
    int other = FindName(list, name);
    if (other >= 0 && other != index) return -1;
    list.erase(list.begin() + index);
    return AddName(list, name);
}

TNameList ParseNameList(std::string_view bytes) {
    TNameList list;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string_view::npos) end = bytes.size();
        AddName(list, std::string(bytes.substr(i, end - i)));
        // One terminator per line: CR LF counts once, a lone CR or LF too.
        bool crlf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
        i = end + (crlf ? 2 : 1);
    }
    return list;
}

std::string FormatNameList(const TNameList& list) {
    std::string out;
    for (const auto& name : list) {
        out += name;
        out += "\r\n";
    }
    return out;
}

void LoadPlayerLists(TTourneyState& s) {
    LoadList(s, s.BannedPlayers, BannedPlayersFileName);
    LoadList(s, s.RecentPlayers, RecentPlayersFileName);
}

void SavePlayerLists(const TTourneyState& s) {
    if (s.Settings.FilesFolder.empty()) return;
    WriteList(s, s.BannedPlayers, BannedPlayersFileName);
    WriteList(s, s.RecentPlayers, RecentPlayersFileName);
}

void AddRecentPlayers(TTourneyState& s) {
    // A team still missing its partner has an empty name; that is nobody.
    auto add = [&](const std::string& name) {
        if (!name.empty()) AddName(s.RecentPlayers, name);
    };
    for (const auto& p : s.Players) {
        if (s.TeamMode) {
            add(p->Player1);
            add(p->Player2);
        } else {
            add(p->Name);
        }
    }
    if (!s.Settings.FilesFolder.empty()) WriteList(s, s.RecentPlayers, RecentPlayersFileName);
}

bool IsBanned(const TTourneyState& s, std::string_view name) {
    return FindName(s.BannedPlayers, name) >= 0;
}

bool BanPlayer(TTourneyState& s, const std::string& name) {
    std::string question =
        Format("Are you sure you want to ban \"%s\" from future tournaments?", name.c_str());
    if (!AskConfirm(s, confirm_bits::BanPlayer, question)) return false;
    AddName(s.BannedPlayers, name);
    SaveSettings(s);
    return true;
}

void ReplacePlayerList(TTourneyState& s, TNameList& list, TNameList names) {
    list = std::move(names);
    SaveSettings(s);
}

}  // namespace kestrova
