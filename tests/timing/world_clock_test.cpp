// The timing rules worked by hand, played from tests/data/timing: the world
// clock (zones.txt: initials, transitions, biases, the TZI bytes, fitting tz
// transitions to the TZI form, and LoadZoneClocks over a store of zones), the
// start-table example (start_tables.txt) and the limit each tab's clocks use
// (clock_limits.txt). The files' opening comments are the vocabulary.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "common/datetime.h"
#include "common/int_list.h"
#include "common/text.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "formats/messages.h"
#include "model/tourney_state.h"
#include "timing/match_clock.h"
#include "timing/start_tables.h"
#include "timing/time_zone.h"
#include "timing/time_zone_fit.h"
#include "timing/world_clock.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

TSystemTime DateOf(const std::string& text) {  // "MONTH/WEEKDAY/OCCURRENCE/HOUR" or "-"
    TSystemTime d;
    if (text == "-") return d;
    int v[4] = {};
    std::sscanf(text.c_str(), "%d/%d/%d/%d", &v[0], &v[1], &v[2], &v[3]);
    d.Month = static_cast<uint16_t>(v[0]);
    d.DayOfWeek = static_cast<uint16_t>(v[1]);
    d.Day = static_cast<uint16_t>(v[2]);
    d.Hour = static_cast<uint16_t>(v[3]);
    return d;
}

std::string Shown(const TSystemTime& d) {
    if (d.Month == 0) return "-";
    return Format("%d/%d/%d/%d", d.Month, d.DayOfWeek, d.Day, d.Hour);
}

TTimeZoneRule RuleOf(std::istream& words) {  // "BIAS STANDARD DAYLIGHT STANDARD-DATE DAYLIGHT-DATE"
    TTimeZoneRule r;
    std::string standard, daylight;
    words >> r.Bias >> r.StandardBias >> r.DaylightBias >> standard >> daylight;
    r.StandardDate = DateOf(standard);
    r.DaylightDate = DateOf(daylight);
    return r;
}

std::string Shown(const TTimeZoneRule& r) {
    return Format("%d %d %d ", r.Bias, r.StandardBias, r.DaylightBias) + Shown(r.StandardDate) +
           " " + Shown(r.DaylightDate);
}

TDateTime InstantOf(const std::string& text) {  // "YYYY-MM-DD HH:NN"
    int y = 0, m = 0, d = 0, h = 0, n = 0;
    std::sscanf(text.c_str(), "%d-%d-%d %d:%d", &y, &m, &d, &h, &n);
    return EncodeDateTime(y, m, d, h, n);
}

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
        out += Format(out.empty() ? "%02x" : " %02x", c);
    return out;
}

std::string Bytes(const std::string& hex) {
    std::string out;
    std::istringstream in(hex);
    for (unsigned v; in >> std::hex >> v;)
        out += static_cast<char>(v);
    return out;
}

std::string Joined(const Lines& v) {
    std::string out = v.empty() ? "(none)" : "";
    for (size_t i = 0; i < v.size(); ++i)
        out += (i ? " | " : "") + v[i];
    return out;
}

struct Rules {
    FakeWorld World;
    FakeTimeZoneStore Zones;
    TTourneyState S;
    TRoundList Tables = DefaultStartTables;
    Rules() {
        World.Wire(S);
        S.Ports.TimeZones = &Zones;
    }
    void Step(const std::string& key, const std::string& value);
    std::string Fit(const std::string& in);
    std::string Example(const std::string& in);
};

// "OFFSET FIRST LAST: UTC OFFSET-AFTER daylight|standard, ..." to the rule fitted.
std::string Rules::Fit(const std::string& in) {
    std::istringstream head(in.substr(0, in.find(':')));
    int offset = 0, first = 0, last = 0;
    head >> offset >> first >> last;
    std::vector<TZoneTransition> all;
    std::istringstream rest(in.substr(in.find(':') + 1));
    for (std::string one; std::getline(rest, one, ',');) {
        std::istringstream words(one);
        std::string day, time, kind;
        TZoneTransition t;
        words >> day >> time >> t.OffsetAfter >> kind;
        t.Utc = InstantOf(day + " " + time);
        t.StandardAfter = offset;
        t.DaylightAfter = kind == "daylight";
        all.push_back(t);
    }
    const auto rule = FitTziRule(offset, all, first, last);
    return rule ? Shown(*rule) : "none";
}

// "single|double|triple PLAYERS" to each round's field: its last table, "open"
// when it is enabled without an example, "-" when greyed.
std::string Rules::Example(const std::string& in) {
    std::istringstream words(in);
    std::string format;
    int players = 0;
    words >> format >> players;
    const TElimFormat f = format == "single"   ? TElimFormat::Single
                          : format == "double" ? TElimFormat::Double
                                               : TElimFormat::Triple;
    const TExampleTables x = ExampleLastTables(Tables, players, f);
    std::string out;
    for (size_t r = 0; r < 15; ++r)
        out += (r ? " " : "") + (x.Shown[r]     ? std::to_string(x.Last[r])
                                 : x.Reached[r] ? "open"
                                                : "-");
    return out;
}

void Rules::Step(const std::string& key, const std::string& value) {
    const auto [in, want] =
        value.find("->") == std::string::npos ? std::pair(value, value) : Arrow(value);
    std::istringstream words(in);
    if (key == "local") {
        std::string state;
        TLocalZoneInfo& local = Zones.Local;
        words >> local.Bias >> local.StandardBias >> local.DaylightBias >> state;
        local.State = state == "standard"   ? TLocalZoneInfo::TState::Standard
                      : state == "daylight" ? TLocalZoneInfo::TState::Daylight
                                            : TLocalZoneInfo::TState::Unknown;
    } else if (key == "initials") {
        EXPECT_EQ(ZoneInitials(in), want);
    } else if (key == "transition") {
        std::string date;
        int year = 0, bias = 0;
        words >> date >> year >> bias;
        EXPECT_NEAR(TransitionInstant(DateOf(date), year, bias), InstantOf(want), 1.0 / 86400000);
    } else if (key == "bias") {
        const TTimeZoneRule r = RuleOf(words);
        const TZoneBias b = ZoneBias(r, Zones.Local, InstantOf(in.substr(in.find(" at ") + 4)));
        EXPECT_EQ(Format("%.0f ", b.Days * 1440) + (b.Daylight ? "daylight" : "standard"), want);
    } else if (key == "tzi") {
        const std::string bytes = EncodeTzi(RuleOf(words));
        EXPECT_EQ(Hex(bytes), want);
        std::istringstream again(in);
        EXPECT_EQ(Shown(*DecodeTzi(bytes)), Shown(RuleOf(again)));
    } else if (key == "tzi bytes") {
        const auto rule = DecodeTzi(Bytes(in));
        EXPECT_EQ(rule ? Hex(EncodeTzi(*rule)) == Hex(Bytes(in)) ? "same" : Hex(EncodeTzi(*rule))
                       : "refused",
                  want);
    } else if (key == "fit") {
        EXPECT_EQ(Fit(in), want);
    } else if (key == "zone") {  // "KEY | STANDARD NAME | DAYLIGHT NAME | RULE"
        Lines part;
        for (size_t from = 0, bar; from != std::string::npos;
             from = bar == std::string::npos ? bar : bar + 3)
            part.push_back(value.substr(from, (bar = value.find(" | ", from)) - from));
        std::istringstream rule(part.at(3));
        Zones.Records.push_back(
            {part[0], "(" + part[0] + ")", part[2], part[1], EncodeTzi(RuleOf(rule)), false});
    } else if (key == "now") {
        World.Clock.Time = InstantOf(value);
    } else if (key == "middle zone" || key == "right zone") {
        (key == "middle zone" ? S.Settings.MiddleTimeZone : S.Settings.RightTimeZone) = value;
    } else if (key == "24 hour") {
        S.Settings.MiddleTime24Hour = value.find("middle") != std::string::npos;
        S.Settings.RightTime24Hour = value.find("right") != std::string::npos;
    } else if (key == "damaged") {
        for (TTimeZoneRecord& r : Zones.Records)
            if (r.KeyName == value) r.Tzi.resize(40);
    } else if (key == "store") {
        Zones.Fail = value == "failing";
        S.Ports.TimeZones = value == "none" ? nullptr : &Zones;
    } else if (key == "load") {
        LoadZoneClocks(S);
    } else if (key == "middle" || key == "right") {
        const bool middle = key == "middle";
        const std::string& pattern = middle ? S.MiddleClockFormat : S.RightClockFormat;
        EXPECT_EQ(Format("%.0f", middle ? S.MiddleZoneBias : S.RightZoneBias) +
                      (pattern.empty() ? "" : " ") + pattern,
                  value);
    } else if (key == "panels") {
        const auto p = ClockPanelTexts(S);
        EXPECT_EQ(Trim(Joined({p[0], p[1], p[2]})), value);
    } else if (key == "middle time") {
        EXPECT_EQ(MiddleZoneTime(S), InstantOf(value));
    } else if (key == "expand") {
        EXPECT_EQ(ExpandMessage(S, in, S.MsgParams), want);
    } else if (key == "messages") {
        EXPECT_EQ(Joined(World.Dialogs.Messages), value);
    } else if (key == "zone list") {
        Lines shown;
        for (const TTimeZoneInfo& z : ReadZoneList(Zones))
            shown.push_back(z.KeyName + " " + z.StdAbbrev + " " + z.DltAbbrev);
        EXPECT_EQ(Joined(shown), value);
    } else if (key == "tables") {
        Tables = ParseIntList(value);
        if (value == "wild") Tables.fill(-7);
    } else if (key == "example") {
        EXPECT_EQ(Example(in), want);
    } else if (key == "finals") {
        words >> S.GrandFinalRound >> S.WinnersFinalRound >> S.OneLossFinalRound;
    } else if (key == "limit index") {
        std::string bracket;
        int tab = 0;
        words >> bracket >> tab;
        const TBracketKind b = bracket == "W"   ? TBracketKind::Winners
                               : bracket == "O" ? TBracketKind::OneLoss
                                                : TBracketKind::TwoLoss;
        EXPECT_EQ(ClockLimitIndex(S, b, tab), std::stoi(want));
    } else if (key == "saved row") {
        S.Settings.DefaultStartTables = in;
        EXPECT_EQ(FormatIntList(DefaultStartTableRow(S.Settings)), want);
    } else {
        ADD_FAILURE() << "unknown field";
    }
}

TEST(TimingRules, EachCaseWorksOutAsWritten) {
    for (const char* file :
         {"timing/zones.txt", "timing/start_tables.txt", "timing/clock_limits.txt"})
        for (const TCase& c : ReadCases(file)) {
            Rules rules;
            for (const auto& [key, value] : c.Fields) {
                SCOPED_TRACE(c.Where() + ": " + key + " = " + value);
                rules.Step(key, value);
            }
        }
}

}  // namespace
}  // namespace kestrova::testing
