// The format editor's rules on a format's lines, played from
// tests/data/formats/format_lines.txt (its opening comment lists the steps).
#include "formats/format_edit.h"

#include <gtest/gtest.h>

#include "common/int_list.h"
#include "common/text.h"
#include "fakes/case_file.h"
#include "formats/format_defaults.h"
#include "model/tourney_state.h"

namespace kestrova {
namespace {

using Lines = TFormatLines;
using testing::Arrow;

Lines Split(const std::string& v) {
    Lines out;
    if (v == "(default)") return DefaultFormatLines();
    for (size_t from = 0, bar = 0; v != "(none)" && bar != std::string::npos; from = bar + 3)
        out.push_back(v.substr(from, (bar = v.find(" | ", from)) - from));
    return out;
}

std::string Shown(const TCustomPoints& p) {
    std::string out = (p.SameForAll ? "same " : "tiered ") + std::to_string(int(p.Elim));
    for (const TRoundList& tier : p.Tiers)
        out += " | " + FormatIntList(tier);
    return out;
}

std::string Shown(const TPlayerPointsFields& p) {
    auto three = [](const auto& a) { return Format("%d,%d,%d", a[0], a[1], a[2]); };
    return "win " + FormatIntList(p.WinPoints) + " bye " + FormatIntList(p.ByePoints) + " lose " +
           FormatIntList(p.LosePoints) + " places " + three(p.Place) + " exactly " +
           three(p.PlaceExactly) +
           Format(" host %d,%d unscheduled %d,%d win of win %d,%d first win %d", p.HostPoints,
                  p.CoHostPoints, p.UnscheduleHostPoints, p.UnscheduleCoHostPoints,
                  p.WinOfWinPoints, p.FixedWinOfWinPoints, p.FirstMatchWinPoints);
}

// "! " before a message's text stands for the no-auto-post mark.
std::string Shown(const TEditedMessage& m) {
    return (m.NoAutoPost ? "! " : "") + m.Text;
}
TEditedMessage Message(const std::string& v) {
    return v.rfind("! ", 0) == 0 ? TEditedMessage{v.substr(2), true} : TEditedMessage{v, false};
}

TMessageKind Kind(const std::string& key) {
    for (int k = 0; k < MessageKindCount; ++k)
        if (MessageKey(TMessageKind(k)) == key) return TMessageKind(k);
    ADD_FAILURE() << "no message " << key;
    return TMessageKind::mkWelcome;
}

TEST(FormatEdit, EachCaseOfLinesAsWritten) {
    for (const testing::TCase& c : testing::ReadCases("formats/format_lines.txt")) {
        Lines lines, names;
        std::string opened;
        TCustomPoints custom;
        TPlayerPointsFields player;
        TTourneyState s;
        for (const auto& [key, v] : c.Fields) {
            SCOPED_TRACE(c.Where() + ": " + key + " = " + v);
            const auto [left, right] =
                v.find("->") != std::string::npos ? Arrow(v) : std::pair(v, v);
            const size_t at = v.find(" :=");
            const std::string name = v.substr(0, at),
                              value = at + 4 <= v.size() ? v.substr(at + 4) : "";
            if (key == "start") {
                lines = Split(v);
            } else if (key == "set") {
                SetKeyValue(lines, name, value);
            } else if (key == "choose") {
                ChooseMatchPointsItem(lines, std::stoi(v));
            } else if (key == "keep") {
                custom = CustomPointsOf(lines);
                player = PlayerPointsOf(lines);
            } else if (key == "store custom points") {
                custom.SameForAll = v.rfind("same", 0) == 0;
                custom.Elim = TCustomElim(std::stoi(v.substr(v.find(' ') + 1)));
                StoreCustomPoints(lines, custom);
            } else if (key == "store player points") {
                StorePlayerPoints(lines, player);
            } else if (key == "store round list") {
                StoreRoundList(lines, name, ParseIntList(value));
            } else if (key == "store message") {
                StoreMessage(lines, Kind(name), Message(value));
            } else if (key == "names") {
                names = Split(v);
            } else if (key == "opened") {
                opened = v;
            } else if (key == "lines") {
                EXPECT_EQ(lines, Split(v));
            } else if (key == "item") {
                EXPECT_EQ(MatchPointsItemOf(lines), std::stoi(v));
            } else if (key == "boot time") {
                EXPECT_EQ(BootTimeOf(lines), std::stoi(v));
            } else if (key == "start tables") {
                EXPECT_EQ(FormatIntList(StartTablesOf(lines)), v);
            } else if (key == "custom points") {
                EXPECT_EQ(Shown(CustomPointsOf(lines)), v);
            } else if (key == "player points") {
                EXPECT_EQ(Shown(PlayerPointsOf(lines)), v);
            } else if (key == "message") {
                EXPECT_EQ(Shown(MessageOf(lines, Kind(left))), right);
            } else if (key == "decode") {
                EXPECT_EQ(Shown(DecodeMessage(left)), right);
            } else if (key == "encode") {
                EXPECT_EQ(EncodeMessage(Message(left).Text, Message(left).NoAutoPost), right);
            } else if (key == "sample") {
                EXPECT_EQ(SampleText(s, lines, left), right);
            } else if (key == "refusal") {
                EXPECT_EQ(FormatNameRefusal(left, opened, names), right);
            } else {
                ADD_FAILURE() << "unknown step";
            }
        }
    }
}

}  // namespace
}  // namespace kestrova
