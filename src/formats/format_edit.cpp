#include "formats/format_edit.h"

#include <algorithm>

#include "common/int_list.h"
#include "common/text.h"
#include "formats/format_defaults.h"
#include "formats/messages.h"
#include "formats/tourney_format.h"

namespace kestrova {

const std::array<const char*, MatchPointsTierCount> MatchPointsTierKeys = {
    "Points8to16", "Points17to32", "Points33to64", "Points65to128", "Points129to256"};

const std::array<const char*, MatchPointsItemCount> MatchPointsItems = {
    "1 pt single elim", "2 pt single elim", "3 pt single elim", "4 pt single elim",
    "5 pt single elim", "1 pt double elim", "2 pt double elim", "1 pt triple elim",
    "Other..."};

namespace {
bool HasKey(const std::string& line, std::string_view key) {
    size_t eq = line.find('=');
    return eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), key);
}

// The player-point keys after the three lists, in the order of the fields.
const char* const kPlaceKeys[3] = {"1st place points", "2nd place points", "3rd place points"};
struct TSingleKey {
    const char* Key;
    int32_t TPlayerPointsFields::*Field;
};
const TSingleKey kSingleKeys[] = {
    {"Host points", &TPlayerPointsFields::HostPoints},
    {"Co-host points", &TPlayerPointsFields::CoHostPoints},
    {"Unschedule Host points", &TPlayerPointsFields::UnscheduleHostPoints},
    {"Unschedule Co-host points", &TPlayerPointsFields::UnscheduleCoHostPoints},
    {"WinOfWin points", &TPlayerPointsFields::WinOfWinPoints},
    {"Fixed WinOfWin points", &TPlayerPointsFields::FixedWinOfWinPoints},
    {"FirstMatchWin points", &TPlayerPointsFields::FirstMatchWinPoints},
};

TRoundList ListOr(const TFormatLines& lines, std::string_view key, const TRoundList& fallback) {
    std::string v = KeyValue(lines, key);
    return v.empty() ? fallback : ParseIntList(v);
}

int IntOf(const TFormatLines& lines, std::string_view key) {
    return StrToIntDef(KeyValue(lines, key), 0);
}

void RemoveTierKeys(TFormatLines& lines) {
    for (const char* key : MatchPointsTierKeys)
        RemoveKey(lines, key);
}
}  // namespace

void RemoveKey(TFormatLines& lines, std::string_view key) {
    std::erase_if(lines, [key](const std::string& line) { return HasKey(line, key); });
}

void SetKeyValue(TFormatLines& lines, std::string_view key, const std::string& value) {
    if (value.empty()) return RemoveKey(lines, key);
    std::string line = std::string(key) + "=" + value;
    auto first = std::find_if(lines.begin(), lines.end(),
                              [key](const std::string& l) { return HasKey(l, key); });
    if (first == lines.end()) {
        lines.push_back(std::move(line));
        return;
    }
    *first = std::move(line);
    // A later duplicate would never be read, but would surprise a host reading the file.
    lines.erase(std::remove_if(first + 1, lines.end(),
                               [key](const std::string& l) { return HasKey(l, key); }),
                lines.end());
}

int MatchPointsItemOf(const TFormatLines& lines) {
    if (FindKeyValue(lines, MatchPointsTierKeys[0])) return MatchPointsOtherItem;
    const int p = FindPointsPreset(ParseIntList(KeyValue(lines, "Points")));
    const std::string elim = Trim(KeyValue(lines, "Elim"));
    if (p >= 0 && elim == "1") return p;
    if (p >= 0 && p < 2 && elim == "2") return p + 5;
    if (p == 0 && elim == "3") return 7;
    return MatchPointsOtherItem;
}

void ChooseMatchPointsItem(TFormatLines& lines, int item) {
    if (item < 0 || item >= MatchPointsOtherItem) return;
    const int preset = item < 5 ? item : item < 7 ? item - 5 : 0;
    const char* elim = item < 5 ? "1" : item < 7 ? "2" : "3";
    SetKeyValue(lines, "Points", FormatIntList(PointsPresets()[preset]));
    SetKeyValue(lines, "Elim", elim);
    RemoveTierKeys(lines);
}

TCustomPoints CustomPointsOf(const TFormatLines& lines) {
    TCustomPoints out;
    const bool tiered = FindKeyValue(lines, MatchPointsTierKeys[0]).has_value();
    const TRoundList first =
        ParseIntList(KeyValue(lines, tiered ? MatchPointsTierKeys[0] : "Points"));
    for (int t = 0; t < MatchPointsTierCount; ++t)
        out.Tiers[t] = tiered ? ListOr(lines, MatchPointsTierKeys[t], first) : first;
    out.SameForAll = !tiered;
    const std::string elim = Trim(KeyValue(lines, "Elim"));
    out.Elim = elim == "2"   ? TCustomElim::Double
               : elim == "3" ? TCustomElim::Triple
               : SameText(elim, "R") ? TCustomElim::Fourth
                                     : TCustomElim::Single;
    return out;
}

void StoreCustomPoints(TFormatLines& lines, const TCustomPoints& points) {
    if (points.SameForAll) {
        SetKeyValue(lines, "Points", FormatIntList(points.Tiers[0]));
        RemoveTierKeys(lines);
    } else {
        RemoveKey(lines, "Points");
        for (int t = 0; t < MatchPointsTierCount; ++t)
            SetKeyValue(lines, MatchPointsTierKeys[t], FormatIntList(points.Tiers[t]));
    }
    static const char* const elims[] = {"1", "2", "3", "R"};
    SetKeyValue(lines, "Elim", elims[static_cast<int>(points.Elim)]);
}

TPlayerPointsFields PlayerPointsOf(const TFormatLines& lines) {
    TPlayerPointsFields out;
    out.WinPoints = ListOr(lines, "Win points", DefaultWinPoints);
    out.ByePoints = ListOr(lines, "Bye points", DefaultByePoints);
    out.LosePoints = ListOr(lines, "Lose points", DefaultLosePoints);
    for (int i = 0; i < 3; ++i) {
        const int v = IntOf(lines, kPlaceKeys[i]);
        out.PlaceExactly[i] = v < 0;
        out.Place[i] = v < 0 ? -v : v;
    }
    for (const auto& k : kSingleKeys)
        out.*k.Field = IntOf(lines, k.Key);
    return out;
}

void StorePlayerPoints(TFormatLines& lines, const TPlayerPointsFields& points) {
    StoreRoundList(lines, "Win points", points.WinPoints);
    StoreRoundList(lines, "Bye points", points.ByePoints);
    StoreRoundList(lines, "Lose points", points.LosePoints);
    for (int i = 0; i < 3; ++i)
        SetKeyValue(lines, kPlaceKeys[i],
                    IntToStr(points.PlaceExactly[i] ? -points.Place[i] : points.Place[i]));
    for (const auto& k : kSingleKeys)
        SetKeyValue(lines, k.Key, IntToStr(points.*k.Field));
}

TRoundList StartTablesOf(const TFormatLines& lines) {
    return ListOr(lines, "Starting tables", DefaultStartTables);
}

void StoreRoundList(TFormatLines& lines, std::string_view key, const TRoundList& list) {
    SetKeyValue(lines, key, FormatIntList(list));
}

int BootTimeOf(const TFormatLines& lines) {
    int minutes = 7;
    if (!TryStrToInt(KeyValue(lines, "Boot time"), minutes)) return 7;
    return minutes;
}

TEditedMessage DecodeMessage(std::string_view stored) {
    TEditedMessage out;
    if (StartsWith(stored, "%!")) {
        out.NoAutoPost = true;
        stored.remove_prefix(2);
    }
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '%' && i + 1 < stored.size() && (stored[i + 1] | 0x20) == 'c') {
            out.Text += "\r\n";
            ++i;
        } else {
            out.Text += stored[i];
        }
    }
    return out;
}

std::string EncodeMessage(std::string_view text, bool noAutoPost) {
    std::string out = noAutoPost ? "%!" : "";
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += "%c";
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

TEditedMessage MessageOf(const TFormatLines& lines, TMessageKind kind) {
    return DecodeMessage(KeyValue(lines, MessageKey(kind)));
}

void StoreMessage(TFormatLines& lines, TMessageKind kind, const TEditedMessage& message) {
    // An empty text without the mark is no message: the key goes, and the
    // format falls back to the built-in text when applied.
    const std::string stored =
        message.Text.empty() && !message.NoAutoPost ? std::string()
                                                    : EncodeMessage(message.Text, message.NoAutoPost);
    SetKeyValue(lines, MessageKey(kind), stored);
}

TMsgParams SampleParams(const TFormatLines& lines) {
    TMsgParams p;
    p.PlayerName = "<Player>";
    p.OpponentName = "<Opp>";
    p.RoundIndex = 1;
    p.TableNo = 50;
    p.HostName = KeyValue(lines, "Host name");
    p.CoHostName = KeyValue(lines, "Co-host name");
    p.StartTime = KeyValue(lines, "Start time");
    p.RulesTime = KeyValue(lines, "Rules time");
    p.BootSecondsLeft = BootTimeOf(lines) * 60;
    p.MinutesLeft = 45;
    p.MatchPoints = ParseIntList(KeyValue(lines, "Points"));
    p.TimeLimits = ParseIntList(KeyValue(lines, "Match time limits"));
    return p;
}

std::string SampleText(TTourneyState& s, const TFormatLines& lines, std::string_view message) {
    return ExpandMessage(s, Trim(message), SampleParams(lines));
}

std::string FormatNameRefusal(const std::string& name, const std::string& openedWith,
                              const std::vector<std::string>& others) {
    if (Trim(name).empty()) return "Please enter a name for the format";
    if (SameText(name, openedWith)) return {};
    for (const auto& other : others)
        if (SameText(other, name)) return "A format of that name already exists, please select another name";
    return {};
}

}  // namespace kestrova
