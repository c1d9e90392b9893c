#include "engine/format_store.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "fakes/fake_ports.h"
#include "common/int_list.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class TitleView : public testing::FakeView {
  public:
    std::string Title;
    int MenuChanges = 0, HostFieldChanges = 0;
    void TitleChanged(const std::string& t) override { Title = t; }
    void FormatMenuChanged() override { ++MenuChanges; }
    void HostFieldsChanged() override { ++HostFieldChanges; }
};

class FormatStoreTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeWorld world;
    TitleView view;
    TTourneyState s;

    FormatStoreTest() {
        world.Wire(s);
        s.Ports.View = &view;
        s.TourneyPath = dir.File("t.kvb");
        s.Settings.FilesFolder = dir.Path();
    }
    void WriteFormats(const std::string& text) { WriteFileBytes(FormatsFilePath(s), text); }
    std::string Log() { return ReadFileBytes(dir.File("t.log")); }
    const std::string& Msg(TMessageKind k) { return s.Messages[static_cast<size_t>(k)]; }
};

constexpr TRoundList k45 = {45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 60};

// The 27 built-in lines, written out by hand in tests/data: {B7} stands for
// seven cp1252 bullets.
TEST(FormatDefaults, TwentySevenLinesByteForByte) {
    std::string text = ReadFileBytes(std::string(KESTROVA_TEST_DATA) + "/format_defaults.txt");
    for (size_t at; (at = text.find("{B7}")) != std::string::npos;) text.replace(at, 4, 7, '\x95');
    std::vector<std::string> expected;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        expected.push_back(text.substr(at, end - at));
    ASSERT_EQ(expected.size(), 27u);
    const auto& lines = DefaultFormatLines();
    ASSERT_EQ(lines.size(), 27u);
    for (size_t i = 0; i < 27; ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    // Every message key finds its line, whatever its letter case.
    for (int k = 0; k < MessageKindCount; ++k) {
        const std::string line = std::string(MessageKey(TMessageKind(k))) + "=" +
                                 DefaultFormatValue(MessageKey(TMessageKind(k)));
        EXPECT_NE(std::find(expected.begin(), expected.begin() + 20, line),
                  expected.begin() + 20)
            << line;
    }
    EXPECT_EQ("welcome=" + DefaultFormatValue("welcome"), "w" + expected[0].substr(1));
    EXPECT_EQ(DefaultFormatValue("ELIM"), "1");
    EXPECT_EQ(DefaultFormatValue("Elim="), "");
    EXPECT_EQ(DefaultFormatValue("Nope"), "");
    // The text lists read as the fixed tables of "Default" (bar the time limits).
    EXPECT_EQ(ParseIntList(DefaultFormatValue("Win points")), DefaultWinPoints);
    EXPECT_EQ(ParseIntList(DefaultFormatValue("Bye points")), DefaultByePoints);
    EXPECT_EQ(ParseIntList(DefaultFormatValue("Lose points")), DefaultLosePoints);
    EXPECT_EQ(ParseIntList(DefaultFormatValue("Match time limits")), k45);
}

TEST(FormatDefaults, PresetsMatchTheMenu) {
    const int finals[5] = {3, 5, 5, 7, 7};
    for (int i = 0; i < 5; ++i) {
        const TRoundList& p = PointsPresets()[static_cast<size_t>(i)];
        for (int r = 0; r < 14; ++r)
            EXPECT_EQ(p[static_cast<size_t>(r)], i + 1);
        EXPECT_EQ(p[14], finals[i]);
        EXPECT_EQ(FindPointsPreset(p), i);
    }
    EXPECT_EQ(FindPointsPreset(ParseIntList("3,3,3,3,3,3,3,3,3,3,3,3,3,5")), 2);
    EXPECT_EQ(FindPointsPreset(ParseIntList("3,5")), -1);
}

TEST_F(FormatStoreTest, FreshStateWithoutFileGetsTheBuiltInDefault) {
    RebuildFormatMenu(s, "Whatever");
    EXPECT_TRUE(s.FormatNames.empty());
    EXPECT_EQ(CurrentFormatName(s), "Default");
    EXPECT_EQ(s.Title, "Tarvex Kestrova - Default");
    EXPECT_EQ(view.Title, s.Title);
    EXPECT_GE(view.MenuChanges, 1);
    for (int k = 0; k < MessageKindCount; ++k)
        EXPECT_EQ(s.Messages[static_cast<size_t>(k)],
                  DefaultFormatValue(MessageKey(TMessageKind(k))));
    EXPECT_EQ(s.WinPoints, DefaultWinPoints);
    EXPECT_EQ(s.ByePoints, DefaultByePoints);
    EXPECT_EQ(s.LosePoints, DefaultLosePoints);
    EXPECT_EQ(s.BootTime, 7);
    EXPECT_EQ(s.MsgParams.TimeLimits, TRoundList{});
    for (const auto& tier : s.MatchPointsTiers)
        EXPECT_EQ(tier, PointsPresets()[2]);
    EXPECT_EQ(s.MsgParams.MatchPoints, PointsPresets()[2]);
    EXPECT_EQ(s.MatchPointsItem, 2);
    EXPECT_EQ(s.StartTable, DefaultStartTables);
    EXPECT_EQ(s.ElimFormat, TElimFormat::Single);
    const std::string log = Log();
    EXPECT_NE(log.find("    -> Default\r\n"), std::string::npos);
    EXPECT_NE(log.find("    -> Starting tables are: 50,90,1,80,110,130,140,80,98,30,60,90,120,"
                       "148,150\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("    -> Points129to256 = 3,3,3,3,3,3,3,3,3,3,3,3,3,3,5\r\n"),
              std::string::npos);
}

TEST_F(FormatStoreTest, NamedFormatIsAppliedKeyByKey) {
    WriteFormats(
        "[Other]\r\nElim=2\r\n\r\n"
        "[Triple Night]\r\n"
        "Welcome=Hi %p\r\n"
        "Bye=\r\n"  // empty: the default text
        "Elim=3\r\n"
        "Points=1,2,3\r\n"
        "Win points=5,6,7\r\n"
        "Bye points=\r\n"
        "Lose points=x\r\n"  // a bad list stops at once: all 0
        "1st place points=-5\r\n"
        "Host points=123456789012345678901234567890\r\n"
        "WinOfWin points=+4\r\n"
        "Boot time=abc\r\n"
        "Starting tables=10,20,30\r\n"
        "Host name=Hosty\r\n"
        "Co-host name=\r\n"
        "Co-host player Name=Cop\r\n"
        "Start time=9 PM\r\n"
        "Unknown key=kept elsewhere\r\n");
    s.MsgParams.CoHostName = "Keep";
    RebuildFormatMenu(s, "TRIPLE NIGHT");
    EXPECT_EQ(s.FormatNames, (std::vector<std::string>{"Other", "Triple Night"}));
    EXPECT_EQ(CurrentFormatName(s), "Triple Night");
    EXPECT_EQ(view.Title, "Tarvex Kestrova - Triple Night");
    EXPECT_EQ(Msg(TMessageKind::mkWelcome), "Hi %p");
    EXPECT_EQ(Msg(TMessageKind::mkBye), DefaultFormatValue("Bye"));
    EXPECT_EQ(Msg(TMessageKind::mkClosed), DefaultFormatValue("Closed"));
    EXPECT_EQ(s.ElimFormat, TElimFormat::Triple);
    EXPECT_EQ(s.MsgParams.MatchPoints, ParseIntList("1,2,3"));
    for (const auto& tier : s.MatchPointsTiers)
        EXPECT_EQ(tier, ParseIntList("1,2,3"));
    EXPECT_EQ(s.MatchPointsItem, MatchPointsOther);
    EXPECT_EQ(s.WinPoints, ParseIntList("5,6,7"));
    EXPECT_EQ(s.ByePoints, DefaultByePoints);
    EXPECT_EQ(s.LosePoints, TRoundList{});
    EXPECT_EQ(s.FirstPlacePoints, -5);
    EXPECT_EQ(s.HostPoints, 0);
    EXPECT_EQ(s.WinOfWinPoints, 4);
    EXPECT_EQ(s.BootTime, 7);
    EXPECT_EQ(s.MsgParams.TimeLimits, k45);
    EXPECT_EQ(s.StartTable, ParseIntList("10,20,30"));
    EXPECT_EQ(s.MsgParams.HostName, "Hosty");
    EXPECT_EQ(s.MsgParams.CoHostName, "Keep");
    EXPECT_EQ(s.CoHostPlayerName, "Cop");
    EXPECT_EQ(s.MsgParams.StartTime, "9 PM");
    EXPECT_EQ(view.HostFieldChanges, 1);
    EXPECT_NE(Log().find("    -> Starting tables are: 10,10,10,10,10,10,10,10,10,10,10,10,10,20,"
                         "30\r\n"),
              std::string::npos);
}

// A formats file written with the older one-bullet texts is the host's own:
// it is read as it stands and no selection rewrites it.
TEST_F(FormatStoreTest, HostsFileKeepsItsOwnTexts) {
    const std::string file =
        "[Friday]\r\nWelcome=\x95 Hello all\r\nClosed=\x95 Doors shut\r\nElim=2\r\n\r\n";
    WriteFormats(file);
    RebuildFormatMenu(s, "Friday");
    EXPECT_EQ(Msg(TMessageKind::mkWelcome), "\x95 Hello all");
    EXPECT_EQ(Msg(TMessageKind::mkClosed), "\x95 Doors shut");
    EXPECT_EQ(Msg(TMessageKind::mkBye), DefaultFormatValue("Bye"));
    SelectFormat(s, "Default");
    SelectFormat(s, "Friday");
    EXPECT_EQ(ReadFileBytes(FormatsFilePath(s)), file);
}

TEST_F(FormatStoreTest, ElimOtherThanTwoOrThreeIsSingle) {
    WriteFormats("[R]\r\nElim=R\r\n[None]\r\nBoot time=5\r\n[Two]\r\nElim=2\r\n");
    RebuildFormatMenu(s, "Two");
    EXPECT_EQ(s.ElimFormat, TElimFormat::Double);
    SelectFormat(s, "R");
    EXPECT_EQ(s.ElimFormat, TElimFormat::Single);
    SelectFormat(s, "Two");
    SelectFormat(s, "None");
    EXPECT_EQ(s.ElimFormat, TElimFormat::Single);
    EXPECT_EQ(s.BootTime, 5);
}

TEST_F(FormatStoreTest, MatchPointsItemFollowsPresetsAndTiers) {
    WriteFormats(
        "[Five]\r\nPoints=5,5,5,5,5,5,5,5,5,5,5,5,5,5,7\r\n"
        "[Odd]\r\nPoints=2,3\r\n"
        "[NoPoints]\r\nElim=1\r\n"
        "[Tiered]\r\nPoints=4\r\nPoints8to16=1,1,3\r\nPoints33to64=\r\n"
        "Points65to128=6,6,8\r\nPoints129to256=9,9,9\r\n");
    RebuildFormatMenu(s, "Five");
    EXPECT_EQ(s.MatchPointsItem, 4);
    SelectFormat(s, "Odd");
    EXPECT_EQ(s.MatchPointsItem, MatchPointsOther);
    EXPECT_EQ(s.MsgParams.MatchPoints, ParseIntList("2,3"));
    // No "Points": the match points in force stay and decide the item.
    ChooseMatchPointsPreset(s, 0);
    SelectFormat(s, "NoPoints");
    EXPECT_EQ(s.MsgParams.MatchPoints, PointsPresets()[0]);
    EXPECT_EQ(s.MatchPointsItem, 0);
    // Tier keys win over "Points"; tiers not given stay as they were.
    SelectFormat(s, "Tiered");
    EXPECT_EQ(s.MatchPointsItem, MatchPointsOther);
    EXPECT_EQ(s.MatchPointsTiers[0], ParseIntList("1,1,3"));
    EXPECT_EQ(s.MatchPointsTiers[1], PointsPresets()[0]);
    EXPECT_EQ(s.MatchPointsTiers[2], PointsPresets()[0]);
    EXPECT_EQ(s.MatchPointsTiers[3], ParseIntList("6,6,8"));
    EXPECT_EQ(s.MatchPointsTiers[4], ParseIntList("9,9,9"));
    // The match points in force come from the tier of the bracket's size.
    const int tier = std::clamp(s.GrandFinalRound - 3, 0, 4);
    EXPECT_GE(tier, 3);
    EXPECT_EQ(s.MsgParams.MatchPoints, s.MatchPointsTiers[static_cast<size_t>(tier)]);
    EXPECT_NE(Log().find("    -> Points8to16 = 1,1,1,1,1,1,1,1,1,1,1,1,1,1,3\r\n"),
              std::string::npos);
}

TEST_F(FormatStoreTest, PresetMenuItemSetsEveryTier) {
    SelectFormat(s, "Default");
    ChooseMatchPointsPreset(s, 3);
    EXPECT_EQ(s.MatchPointsItem, 3);
    for (const auto& tier : s.MatchPointsTiers)
        EXPECT_EQ(tier, PointsPresets()[3]);
    EXPECT_EQ(s.MsgParams.MatchPoints, PointsPresets()[3]);
    EXPECT_NE(Log().find("Menu: Format/3 Points\r\n"), std::string::npos);
}

TEST_F(FormatStoreTest, AfterClosingOnlyMessagesPointsAndTimesChange) {
    WriteFormats(
        "[Late]\r\nWelcome=Late welcome\r\nElim=3\r\nPoints=7\r\nStarting tables=1,2,3\r\n"
        "Host name=New host\r\nWin points=9\r\nBoot time=3\r\nMatch time limits=20\r\n");
    RebuildFormatMenu(s, "Default");
    s.MsgParams.HostName = "Old host";
    s.SignupClosed = true;
    SelectFormat(s, "Late");
    EXPECT_EQ(Msg(TMessageKind::mkWelcome), "Late welcome");
    EXPECT_EQ(s.WinPoints, ParseIntList("9"));
    EXPECT_EQ(s.BootTime, 3);
    EXPECT_EQ(s.MsgParams.TimeLimits, ParseIntList("20"));
    EXPECT_EQ(s.ElimFormat, TElimFormat::Single);
    EXPECT_EQ(s.MsgParams.MatchPoints, PointsPresets()[2]);
    EXPECT_EQ(s.StartTable, DefaultStartTables);
    EXPECT_EQ(s.MsgParams.HostName, "Old host");
    EXPECT_EQ(view.HostFieldChanges, 0);
    // "Default" after closing: the messages and the points, not the bracket rules.
    ChooseMatchPointsPreset(s, 4);
    SelectFormat(s, "Default");
    EXPECT_EQ(s.MsgParams.MatchPoints, PointsPresets()[4]);
    EXPECT_EQ(s.MsgParams.TimeLimits, TRoundList{});
    EXPECT_EQ(s.WinPoints, DefaultWinPoints);
}

TEST_F(FormatStoreTest, SectionGoneFromTheFileChangesNoRule) {
    WriteFormats("[Gone]\r\nElim=2\r\nBoot time=3\r\n");
    RebuildFormatMenu(s, "Default");
    WriteFormats("");
    SelectFormat(s, "Gone");
    EXPECT_EQ(CurrentFormatName(s), "Gone");
    EXPECT_EQ(s.Title, "Tarvex Kestrova - Gone");
    EXPECT_EQ(s.BootTime, 7);
    EXPECT_EQ(s.ElimFormat, TElimFormat::Single);
    EXPECT_EQ(Msg(TMessageKind::mkWelcome), DefaultFormatValue("Welcome"));
}

TEST_F(FormatStoreTest, SelectByNameIgnoresCaseAndFallsBackToDefault) {
    WriteFormats("[Weekly]\r\nBoot time=4\r\n");
    RebuildFormatMenu(s, "weekly");
    EXPECT_EQ(CurrentFormatName(s), "Weekly");
    EXPECT_EQ(s.BootTime, 4);
    SelectFormatByName(s, "monthly");
    EXPECT_EQ(CurrentFormatName(s), "Default");
    EXPECT_EQ(s.BootTime, 7);
}

TEST_F(FormatStoreTest, HostileFormatsFileIsReadByTheRules) {
    std::string text = "[Bad]\r\nPoints=" + std::string(100000, '9') + "\r\n";
    text += "Win points=-1,-2\r\nBoot time=999999999999\r\nnoequals\r\n=\r\n";
    text += std::string("\0\x01\xff garbage", 12) + "\r\n[Bad]\r\nBoot time=1\r\n";
    WriteFormats(text);
    RebuildFormatMenu(s, "Bad");
    EXPECT_EQ(CurrentFormatName(s), "Bad");
    EXPECT_EQ(s.MsgParams.MatchPoints[0], 999999999);
    EXPECT_EQ(s.WinPoints, TRoundList{});
    EXPECT_EQ(s.BootTime, 7);
}

}  // namespace
}  // namespace kestrova
