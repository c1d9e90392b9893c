// The format editor's rules on a format's lines: the cases of
// tests/data/formats/format_lines.txt, then the values handed to the
// sub-dialogs and written back, the messages' mark and line breaks, the
// sample and the name's refusals.
#include "formats/format_edit.h"

#include <gtest/gtest.h>

#include "common/int_list.h"
#include "fakes/case_file.h"
#include "formats/format_defaults.h"
#include "model/tourney_state.h"

namespace kestrova {
namespace {

using Lines = TFormatLines;

Lines Split(const std::string& v) {
    Lines out;
    if (v == "(none)") return out;
    for (size_t from = 0;;) {
        const size_t bar = v.find(" | ", from);
        out.push_back(v.substr(from, bar - from));
        if (bar == std::string::npos) return out;
        from = bar + 3;
    }
}

TEST(FormatEdit, EachCaseOfLinesAsWritten) {
    for (const testing::TCase& c : testing::ReadCases("formats/format_lines.txt")) {
        Lines lines;
        for (const auto& [key, v] : c.Fields) {
            SCOPED_TRACE(c.Where() + ": " + key + " = " + v);
            if (key == "start") {
                lines = Split(v);
            } else if (key == "set") {
                const size_t at = v.find(" :=");
                SetKeyValue(lines, v.substr(0, at), at + 4 <= v.size() ? v.substr(at + 4) : "");
            } else if (key == "choose") {
                ChooseMatchPointsItem(lines, std::stoi(v));
            } else if (key == "lines") {
                EXPECT_EQ(lines, Split(v));
            } else if (key == "item") {
                EXPECT_EQ(MatchPointsItemOf(lines), std::stoi(v));
            } else if (key == "boot time") {
                EXPECT_EQ(BootTimeOf(lines), std::stoi(v));
            } else if (key == "start tables") {
                EXPECT_EQ(FormatIntList(StartTablesOf(lines)), v);
            } else {
                ADD_FAILURE() << "unknown step";
            }
        }
    }
    EXPECT_EQ(MatchPointsItemOf(DefaultFormatLines()), 2);  // "3 pt single elim"
    Lines lines;
    StoreRoundList(lines, "Match time limits", ParseIntList("30,40"));
    EXPECT_EQ(lines, (Lines{"Match time limits=30,40,0,0,0,0,0,0,0,0,0,0,0,0,0"}));
}

TEST(FormatEdit, CustomPointsAreHandedTheTiersAndStoredBack) {
    TCustomPoints flat = CustomPointsOf({"Points=2,3,5", "Elim=r"});
    EXPECT_TRUE(flat.SameForAll);
    EXPECT_EQ(flat.Elim, TCustomElim::Fourth);
    for (const auto& t : flat.Tiers)
        EXPECT_EQ(t, ParseIntList("2,3,5"));

    TCustomPoints tiered =
        CustomPointsOf({"Points=9", "Points8to16=1,2", "Points65to128=4,5,6", "Elim=3"});
    EXPECT_FALSE(tiered.SameForAll);
    EXPECT_EQ(tiered.Elim, TCustomElim::Triple);
    EXPECT_EQ(tiered.Tiers[0], ParseIntList("1,2"));
    EXPECT_EQ(tiered.Tiers[1], ParseIntList("1,2"));  // a missing tier shows the first
    EXPECT_EQ(tiered.Tiers[3], ParseIntList("4,5,6"));

    Lines lines = {"Points=9", "Elim=1"};
    StoreCustomPoints(lines, tiered);
    EXPECT_EQ(lines, (Lines{"Elim=3", "Points8to16=1,2,0,0,0,0,0,0,0,0,0,0,0,0,0",
                            "Points17to32=1,2,0,0,0,0,0,0,0,0,0,0,0,0,0",
                            "Points33to64=1,2,0,0,0,0,0,0,0,0,0,0,0,0,0",
                            "Points65to128=4,4,4,4,4,4,4,4,4,4,4,4,4,5,6",
                            "Points129to256=1,2,0,0,0,0,0,0,0,0,0,0,0,0,0"}));
    tiered.SameForAll = true;
    tiered.Elim = TCustomElim::Fourth;
    StoreCustomPoints(lines, tiered);
    EXPECT_EQ(lines, (Lines{"Elim=R", "Points=1,2,0,0,0,0,0,0,0,0,0,0,0,0,0"}));
}

TEST(FormatEdit, MissingListsAreTheDefaultsAndNegativePlacesAreExact) {
    TPlayerPointsFields p =
        PlayerPointsOf({"1st place points=-12", "2nd place points=4", "Host points=x",
                        "FirstMatchWin points=3", "Bye points=5"});
    EXPECT_EQ(FormatIntList(p.WinPoints), "2,2,2,2,2,2,2,2,2,2,2,2,2,2,17");
    EXPECT_EQ(FormatIntList(p.LosePoints), "0,0,0,0,0,0,0,0,0,0,0,0,0,5,10");
    EXPECT_EQ(FormatIntList(PlayerPointsOf({}).ByePoints), "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1");
    EXPECT_EQ(p.ByePoints, ParseIntList("5"));
    EXPECT_EQ(p.Place, (std::array<int32_t, 3>{12, 4, 0}));
    EXPECT_EQ(p.PlaceExactly, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(p.HostPoints, 0);
    EXPECT_EQ(p.FirstMatchWinPoints, 3);

    p.PlaceExactly[2] = true;
    p.Place[2] = 7;
    p.UnscheduleCoHostPoints = 2;
    Lines lines = {"Welcome=hi", "Host points=9"};
    StorePlayerPoints(lines, p);
    EXPECT_EQ(lines,
              (Lines{"Welcome=hi", "Host points=0", "Win points=2,2,2,2,2,2,2,2,2,2,2,2,2,2,17",
                     "Bye points=5,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
                     "Lose points=0,0,0,0,0,0,0,0,0,0,0,0,0,5,10", "1st place points=-12",
                     "2nd place points=4", "3rd place points=-7", "Co-host points=0",
                     "Unschedule Host points=0", "Unschedule Co-host points=2", "WinOfWin points=0",
                     "Fixed WinOfWin points=0", "FirstMatchWin points=3"}));
}

TEST(FormatEdit, TheMarkAndLineBreaksAreDecodedAndEncoded) {
    TEditedMessage m = DecodeMessage("%!One%cTwo%CThree %x");
    EXPECT_TRUE(m.NoAutoPost);
    EXPECT_EQ(m.Text, "One\r\nTwo\r\nThree %x");
    EXPECT_EQ(EncodeMessage(m.Text, true), "%!One%cTwo%cThree %x");
    EXPECT_EQ(EncodeMessage("a\nb\rc\r\n", false), "a%cb%cc%c");
    // "%!" is the mark only at the start.
    EXPECT_FALSE(DecodeMessage("x %! y").NoAutoPost);

    Lines lines;
    StoreMessage(lines, TMessageKind::mkBye, {"Lucky\r\n%p", false});
    EXPECT_EQ(lines, (Lines{"Bye=Lucky%c%p"}));
    StoreMessage(lines, TMessageKind::mkBye, {"", true});
    EXPECT_EQ(lines, (Lines{"Bye=%!"}));
    StoreMessage(lines, TMessageKind::mkBye, {"", false});
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(MessageOf({"Boot=%!Gone"}, TMessageKind::mkBoot).Text, "Gone");
}

TEST(FormatEdit, TheSampleUsesTheEditorsFields) {
    TTourneyState s;
    const Lines lines = {
        "Host name=Zed", "Co-host name=Amy", "Start time=8 pm",           "Rules time=7:45",
        "Boot time=5",   "Points=2,3,5",     "Match time limits=30,40,50"};
    TMsgParams p = SampleParams(lines);
    EXPECT_EQ(p.BootSecondsLeft, 300);
    EXPECT_EQ(p.MatchPoints, ParseIntList("2,3,5"));
    EXPECT_EQ(SampleText(s, lines, "  %p v %o #%t %r %m/%f %d' %b %x %h %k %s %u\r\nnext  "),
              "<Player> v <Opp> #50 Round 2 2/5 30' 5:00 45 Zed Amy 8 pm 7:45\r\nnext");
    EXPECT_EQ(SampleText(s, {}, "%b %m"), "7:00 0");
}

TEST(FormatEdit, OkRefusesAnEmptyNameAndAnotherEntrysName) {
    const std::vector<std::string> names = {"Default", "Spades", "Hearts"};
    const std::string empty = "Please enter a name for the format";
    const std::string taken = "A format of that name already exists, please select another name";
    EXPECT_EQ(FormatNameRefusal("", "Spades", names), empty);
    EXPECT_EQ(FormatNameRefusal("   ", "", names), empty);
    EXPECT_EQ(FormatNameRefusal("default", "", names), taken);
    EXPECT_EQ(FormatNameRefusal("HEARTS", "Spades", names), taken);
    EXPECT_EQ(FormatNameRefusal("SPADES", "Spades", names), "");  // its own name, other case
    EXPECT_EQ(FormatNameRefusal("Bridge", "Spades", names), "");
}

}  // namespace
}  // namespace kestrova
