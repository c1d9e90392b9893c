#include "formats/format_edit.h"

#include <gtest/gtest.h>

#include "common/int_list.h"
#include "formats/format_defaults.h"
#include "model/tourney_state.h"

namespace kestrova {
namespace {

using Lines = TFormatLines;

TEST(FormatEditKeys, AFieldWritesItsKeyAtOnceAndAnEmptyValueRemovesIt) {
    Lines lines = {"Welcome=hi", "host NAME=Old", "X=1", "Host name=Again"};
    SetKeyValue(lines, "Host name", "Zed");
    // The first line of the key takes the value under the key's own spelling;
    // the later duplicate goes.
    EXPECT_EQ(lines, (Lines{"Welcome=hi", "Host name=Zed", "X=1"}));
    SetKeyValue(lines, "Start time", "8:00 pm");
    EXPECT_EQ(lines.back(), "Start time=8:00 pm");
    SetKeyValue(lines, "WELCOME", "");
    EXPECT_EQ(lines, (Lines{"Host name=Zed", "X=1", "Start time=8:00 pm"}));
    // A key that is only the start of another key is a different key.
    SetKeyValue(lines, "X", "");
    SetKeyValue(lines, "Host", "");
    EXPECT_EQ(lines, (Lines{"Host name=Zed", "Start time=8:00 pm"}));
}

TEST(FormatEditKeys, BootTimeAndStartTablesFallBack) {
    EXPECT_EQ(BootTimeOf({}), 7);
    EXPECT_EQ(BootTimeOf({"Boot time=abc"}), 7);
    EXPECT_EQ(BootTimeOf({"Boot time= 12 "}), 12);
    EXPECT_EQ(StartTablesOf({}), DefaultStartTables);
    EXPECT_EQ(StartTablesOf({"Starting tables=5,6,7"}), ParseIntList("5,6,7"));
    Lines lines;
    StoreRoundList(lines, "Match time limits", ParseIntList("30,40"));
    EXPECT_EQ(lines, (Lines{"Match time limits=30,40,0,0,0,0,0,0,0,0,0,0,0,0,0"}));
}

TEST(FormatEditMatchPoints, TheChoiceShownFollowsPointsElimAndTiers) {
    struct Case {
        Lines In;
        int Item;
    };
    const Case cases[] = {
        {{"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=1"}, 0},
        {{"Points=3,3,3,3,3,3,3,3,3,3,3,3,3,5", "Elim=1"}, 2},  // 14 values read as 15
        {{"Points=5,5,5,5,5,5,5,5,5,5,5,5,5,5,7", "Elim=1"}, 4},
        {{"Points=2,2,2,2,2,2,2,2,2,2,2,2,2,2,5", "Elim=2"}, 6},
        {{"Points=3,3,3,3,3,3,3,3,3,3,3,3,3,3,5", "Elim=2"}, 8},  // no "3 pt double"
        {{"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=3"}, 7},
        {{"Points=2,2,2,2,2,2,2,2,2,2,2,2,2,2,5", "Elim=3"}, 8},
        {{"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=R"}, 8},
        {{"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3"}, 8},  // no "Elim"
        {{"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=1", "Points8to16=1,3"}, 8},
        {{"Points=4", "Elim=1"}, 8},
        {{}, 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchPointsItemOf(c.In), c.Item) << (c.In.empty() ? "" : c.In[0]);
    // The default format itself reads as "3 pt single elim".
    EXPECT_EQ(MatchPointsItemOf(DefaultFormatLines()), 2);
}

TEST(FormatEditMatchPoints, ChoosingAPresetWritesPointsAndElimAndDropsTheTiers) {
    Lines lines = {"Welcome=hi", "Points8to16=1", "Points129to256=2", "Elim=R"};
    ChooseMatchPointsItem(lines, 6);
    EXPECT_EQ(lines, (Lines{"Welcome=hi", "Elim=2", "Points=2,2,2,2,2,2,2,2,2,2,2,2,2,2,5"}));
    ChooseMatchPointsItem(lines, 7);
    EXPECT_EQ(lines, (Lines{"Welcome=hi", "Elim=3", "Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3"}));
    ChooseMatchPointsItem(lines, 3);
    EXPECT_EQ(lines, (Lines{"Welcome=hi", "Elim=1", "Points=4,4,4,4,4,4,4,4,4,4,4,4,4,4,7"}));
    for (int item = 0; item < MatchPointsOtherItem; ++item) {
        ChooseMatchPointsItem(lines, item);
        EXPECT_EQ(MatchPointsItemOf(lines), item);
    }
    const Lines before = lines;
    ChooseMatchPointsItem(lines, MatchPointsOtherItem);  // the custom dialog's business
    EXPECT_EQ(lines, before);
}

TEST(FormatEditMatchPoints, CustomPointsAreHandedTheTiersAndStoredBack) {
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

TEST(FormatEditPlayerPoints, MissingListsAreTheDefaultsAndNegativePlacesAreExact) {
    TPlayerPointsFields p = PlayerPointsOf({"1st place points=-12", "2nd place points=4",
                                            "Host points=x", "FirstMatchWin points=3",
                                            "Bye points=5"});
    EXPECT_EQ(p.WinPoints, DefaultWinPoints);
    EXPECT_EQ(p.LosePoints, DefaultLosePoints);
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
    EXPECT_EQ(lines, (Lines{"Welcome=hi", "Host points=0",
                            "Win points=2,2,2,2,2,2,2,2,2,2,2,2,2,2,17",
                            "Bye points=5,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
                            "Lose points=0,0,0,0,0,0,0,0,0,0,0,0,0,5,10",
                            "1st place points=-12", "2nd place points=4", "3rd place points=-7",
                            "Co-host points=0", "Unschedule Host points=0",
                            "Unschedule Co-host points=2", "WinOfWin points=0",
                            "Fixed WinOfWin points=0", "FirstMatchWin points=3"}));
}

TEST(FormatEditMessages, TheMarkAndLineBreaksAreDecodedAndEncoded) {
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

TEST(FormatEditSample, TheSampleUsesTheEditorsFields) {
    TTourneyState s;
    const Lines lines = {"Host name=Zed", "Co-host name=Amy", "Start time=8 pm",
                         "Rules time=7:45", "Boot time=5", "Points=2,3,5",
                         "Match time limits=30,40,50"};
    TMsgParams p = SampleParams(lines);
    EXPECT_EQ(p.BootSecondsLeft, 300);
    EXPECT_EQ(p.MatchPoints, ParseIntList("2,3,5"));
    EXPECT_EQ(SampleText(s, lines, "  %p v %o #%t %r %m/%f %d' %b %x %h %k %s %u\r\nnext  "),
              "<Player> v <Opp> #50 Round 2 2/5 30' 5:00 45 Zed Amy 8 pm 7:45\r\nnext");
    EXPECT_EQ(SampleText(s, {}, "%b %m"), "7:00 0");
}

TEST(FormatEditName, OkRefusesAnEmptyNameAndAnotherEntrysName) {
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
