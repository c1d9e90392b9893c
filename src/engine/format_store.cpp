#include "engine/format_store.h"

#include "engine/boots.h"

#include "common/text.h"
#include "engine/table_count.h"
#include "common/int_list.h"
#include "formats/message_file.h"
#include "records/event_log.h"
#include "engine/points.h"

namespace kestrova {

namespace {
const auto& kTierKeys = TierKeys;  // the formats file's names of the five tier rows

struct TPointKey {
    const char* Key;
    int32_t TTourneyState::*Field;
};
const TPointKey kPointKeys[] = {
    {"1st place points", &TTourneyState::FirstPlacePoints},
    {"2nd place points", &TTourneyState::SecondPlacePoints},
    {"3rd place points", &TTourneyState::ThirdPlacePoints},
    {"Host points", &TTourneyState::HostPoints},
    {"Co-host points", &TTourneyState::CoHostPoints},
    {"Unschedule Host points", &TTourneyState::UnscheduleHostPoints},
    {"Unschedule Co-host points", &TTourneyState::UnscheduleCoHostPoints},
    {"WinOfWin points", &TTourneyState::WinOfWinPoints},
    {"Fixed WinOfWin points", &TTourneyState::FixedWinOfWinPoints},
    {"FirstMatchWin points", &TTourneyState::FirstMatchWinPoints},
};

using TLines = std::vector<std::string>;

// A value that is present and not empty, or nothing.
std::optional<std::string> Given(const TLines& lines, const char* key) {
    auto v = FindKeyValue(lines, key);
    if (!v || v->empty()) return std::nullopt;
    return v;
}

TRoundList ListOrDefault(const TLines& lines, const char* key) {
    auto v = Given(lines, key);
    return ParseIntList(v ? *v : DefaultFormatValue(key));
}

TElimFormat ElimOf(const TLines& lines) {
    std::string v = Trim(KeyValue(lines, "Elim"));
    if (v == "2") return TElimFormat::Double;
    if (v == "3") return TElimFormat::Triple;
    return TElimFormat::Single;
}

void SetAllTiers(TTourneyState& s, const TRoundList& list) {
    for (auto& tier : s.MatchPointsTiers)
        tier = list;
}

void ClearPointsBlock(TTourneyState& s) {
    s.WinPoints = {};
    s.ByePoints = {};
    s.LosePoints = {};
    for (const auto& k : kPointKeys)
        s.*k.Field = 0;
}

void ApplyDefault(TTourneyState& s, bool closed) {
    for (int k = 0; k < MessageKindCount; ++k)
        s.Messages[static_cast<size_t>(k)] = DefaultFormatValue(MessageKey(TMessageKind(k)));
    ClearPointsBlock(s);
    s.WinPoints = DefaultWinPoints;
    s.ByePoints = DefaultByePoints;
    s.LosePoints = DefaultLosePoints;
    s.BootTime = 7;
    s.MsgParams.TimeLimits = {};
    if (closed) return;
    const TRoundList& preset = PointsPresets()[DefaultPointsPreset];
    SetAllTiers(s, preset);
    s.MsgParams.MatchPoints = preset;
    s.MatchPointsItem = DefaultPointsPreset;
    s.StartTable = DefaultStartTables;
    SetElimFormat(s, TElimFormat::Single);
}

void ApplyMessagesAndPoints(TTourneyState& s, const TLines& lines) {
    for (int k = 0; k < MessageKindCount; ++k) {
        const char* key = MessageKey(TMessageKind(k));
        auto v = Given(lines, key);
        s.Messages[static_cast<size_t>(k)] = v ? *v : DefaultFormatValue(key);
    }
    s.WinPoints = ListOrDefault(lines, "Win points");
    s.ByePoints = ListOrDefault(lines, "Bye points");
    s.LosePoints = ListOrDefault(lines, "Lose points");
    for (const auto& k : kPointKeys)
        s.*k.Field = StrToIntDef(KeyValue(lines, k.Key), 0);
    s.BootTime = StrToIntDef(KeyValue(lines, "Boot time"), 7);
    s.MsgParams.TimeLimits = ListOrDefault(lines, "Match time limits");
    ClampTimingValues(s);
}

// The host texts replace the current ones only when the format gives them.
void ApplyHostTexts(TTourneyState& s, const TLines& lines) {
    struct TText {
        const char* Key;
        std::string* Target;
    };
    const TText texts[] = {
        {"Host name", &s.MsgParams.HostName},    {"Co-host name", &s.MsgParams.CoHostName},
        {"Host player name", &s.HostPlayerName}, {"Co-host player Name", &s.CoHostPlayerName},
        {"Rules time", &s.MsgParams.RulesTime},  {"Start time", &s.MsgParams.StartTime},
    };
    bool changed = false;
    for (const auto& t : texts) {
        auto v = Given(lines, t.Key);
        if (!v || *v == *t.Target) continue;
        *t.Target = *v;
        changed = true;
    }
    if (changed) s.View().HostFieldsChanged();
}

void ApplyMatchPoints(TTourneyState& s, const TLines& lines) {
    if (!FindKeyValue(lines, kTierKeys[0])) {
        if (auto v = Given(lines, "Points")) {
            s.MsgParams.MatchPoints = ParseIntList(*v);
            SetAllTiers(s, s.MsgParams.MatchPoints);
        }
        int preset = FindPointsPreset(s.MsgParams.MatchPoints);
        s.MatchPointsItem = preset >= 0 ? preset : MatchPointsOther;
        return;
    }
    s.MatchPointsTiers[0] = ParseIntList(KeyValue(lines, kTierKeys[0]));
    for (int t = 1; t < 5; ++t)
        if (auto v = Given(lines, kTierKeys[t]))
            s.MatchPointsTiers[static_cast<size_t>(t)] = ParseIntList(*v);
    s.MatchPointsItem = MatchPointsOther;
}

void ApplySection(TTourneyState& s, const TLines& lines, bool closed) {
    ApplyMessagesAndPoints(s, lines);
    if (closed) return;
    ApplyHostTexts(s, lines);
    if (auto v = Given(lines, "Starting tables")) s.StartTable = ParseIntList(*v);
    SetElimFormat(s, ElimOf(lines));
    ApplyMatchPoints(s, lines);
}

void LogTables(TTourneyState& s) {
    WriteLog(s, "    -> Starting tables are: " + FormatIntList(s.StartTable));
    for (int t = 0; t < 5; ++t)
        WriteLog(s, std::string("    -> ") + kTierKeys[t] + " = " +
                        FormatIntList(s.MatchPointsTiers[static_cast<size_t>(t)]));
}
}  // namespace

void RebuildFormatMenu(TTourneyState& s, const std::string& name) {
    TMessageFile file(FormatsFilePath(s));
    file.Load();
    s.FormatNames.clear();
    for (int i = 0; i < file.Count(); ++i)
        s.FormatNames.push_back(file.Name(i));
    SelectFormatByName(s, name);
}

void SelectFormatByName(TTourneyState& s, const std::string& name) {
    if (!SameText(name, DefaultFormatName)) {
        for (const auto& f : s.FormatNames)
            if (SameText(f, name)) return SelectFormat(s, f);
    }
    SelectFormat(s, DefaultFormatName);
}

void SelectFormat(TTourneyState& s, const std::string& entry) {
    WriteLog(s, "    -> " + entry);
    s.CurrentFormat = entry;
    const bool closed = s.SignupClosed;
    if (entry == DefaultFormatName) {
        ApplyDefault(s, closed);
    } else {
        TMessageFile file(FormatsFilePath(s));
        file.Load();
        const TLines* lines = file.Find(entry);
        if (lines) ApplySection(s, *lines, closed);
        // The tiers were read after the bracket's field size was counted.
        if (lines && !closed) SelectMatchPointsTier(s);
    }
    LogTables(s);
    s.Title = "Tarvex Kestrova - " + CurrentFormatName(s);
    s.View().TitleChanged(s.Title);
    s.View().FormatMenuChanged();
}

void ChooseMatchPointsPreset(TTourneyState& s, int index) {
    if (index < 0 || index >= PointsPresetCount) return;
    WriteLog(s, Format("Menu: Format/%d Points", index));
    const TRoundList& preset = PointsPresets()[static_cast<size_t>(index)];
    s.MsgParams.MatchPoints = preset;
    SetAllTiers(s, preset);
    s.MatchPointsItem = index;
    SelectMatchPointsTier(s);
    s.View().FormatMenuChanged();
}

}  // namespace kestrova
