// The side lists on disk and in memory, the files-folder move, and the log a
// sign-up session leaves behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/signup.h"
#include "engine/table_count.h"
#include "common/file_util.h"
#include "fakes/fake_ports.h"
#include "records/confirm.h"
#include "records/files_folder.h"
#include "records/player_lists.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class PlayerListsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s);
        s.Settings.FilesFolder = dir.Path();
        s.TourneyPath = dir.File("t.kvb");
    }
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
};

TEST(NameFilter, KeepsLettersDigitsUnderscoreUpTo15) {
    EXPECT_EQ(NormalizePlayerName("Mr. Bob!"), "MrBob");
    EXPECT_EQ(NormalizePlayerName("abcdefghijklmnopqrstu"), "abcdefghijklmno");
    EXPECT_EQ(NormalizePlayerName("  _x\xE9\xC0y 9\t"), "_xy9");
    EXPECT_EQ(NormalizePlayerName("\x01\x7F\x80\xFF"), "");
}

TEST(NameList, SortedCaseInsensitiveFirstSpellingStays) {
    TNameList l;
    AddName(l, "carl");
    AddName(l, "Bob");
    EXPECT_EQ(AddName(l, "bob"), 0);
    AddName(l, "alice");
    EXPECT_EQ(l, (TNameList{"alice", "Bob", "carl"}));
    EXPECT_EQ(ReplaceName(l, 2, "ALICE"), -1);  // another entry has it
    EXPECT_EQ(ReplaceName(l, 1, "BOB"), 1);     // its own name in other case
    EXPECT_EQ(ReplaceName(l, 0, "zoe"), 2);
    EXPECT_EQ(l, (TNameList{"BOB", "carl", "zoe"}));
}

TEST(NameList, EveryLineEndingAndOddLinesReadBack) {
    std::string longName(300, 'q');
    TNameList l = ParseNameList("bob\rAmy\nzed\r\n\r\n\xE9lise\r\n" + longName + "\n amy \rBOB");
    EXPECT_EQ(l, (TNameList{"", " amy ", "Amy", "bob", longName, "zed", "\xE9lise"}));
    EXPECT_EQ(ParseNameList(FormatNameList(l)), l);
    EXPECT_EQ(FormatNameList({"a", "b"}), "a\r\nb\r\n");
    EXPECT_TRUE(ParseNameList("").empty());
    EXPECT_EQ(ParseNameList("\n"), TNameList{""});
}

TEST_F(PlayerListsTest, FilesRoundTripThroughSettingsSave) {
    LoadPlayerLists(s);  // no files yet: both empty, no message
    EXPECT_TRUE(s.BannedPlayers.empty() && s.RecentPlayers.empty());
    WriteFileBytes(dir.File("BannedPlayers.txt"), "zed\nBob\r\nbob\rann");
    LoadPlayerLists(s);
    EXPECT_EQ(s.BannedPlayers, (TNameList{"ann", "Bob", "zed"}));
    EXPECT_TRUE(IsBanned(s, "BOB"));
    EXPECT_FALSE(IsBanned(s, "bo"));
    s.RecentPlayers = {"x\xFFy"};
    SaveSettings(s);
    EXPECT_EQ(world.Settings.Saves, 1);
    EXPECT_EQ(ReadFileBytes(dir.File("BannedPlayers.txt")), "ann\r\nBob\r\nzed\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("RecentPlayers.txt")), "x\xFFy\r\n");
    s.RecentPlayers.clear();
    SaveSettings(s);
    EXPECT_EQ(ReadFileBytes(dir.File("RecentPlayers.txt")), "");
    // Nothing but the two list files is left behind in the folder.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 2);  // no temporary file survives the rewrite
}

TEST_F(PlayerListsTest, UnwritableFolderThrows) {
    s.Settings.FilesFolder = dir.File("missing/");
    EXPECT_THROW(SavePlayerLists(s), std::runtime_error);
}

TEST_F(PlayerListsTest, BanAsksUnlessSuppressed) {
    s.BannedPlayers = {"Bob"};
    world.Dialogs.AnswerNo();
    EXPECT_FALSE(BanPlayer(s, "carl"));
    EXPECT_EQ(world.Dialogs.Asked.back(),
              "Are you sure you want to ban \"carl\" from future tournaments?");
    world.Dialogs.AnswerYes(true);
    EXPECT_TRUE(BanPlayer(s, "bob"));  // already there as Bob
    EXPECT_EQ(s.BannedPlayers, TNameList{"Bob"});
    EXPECT_TRUE(s.Settings.ConfirmNotifyFilter & confirm_bits::BanPlayer);
    EXPECT_TRUE(BanPlayer(s, "carl"));  // no question any more
    EXPECT_EQ(world.Dialogs.Asked.size(), 2u);
    EXPECT_EQ(ReadFileBytes(dir.File("BannedPlayers.txt")), "Bob\r\ncarl\r\n");
}

TEST_F(PlayerListsTest, ClosingAddsPartnersNotTeams) {
    SetElimFormat(s, TElimFormat::Single);
    s.TeamMode = true;
    s.RecentPlayers = {"Amy"};
    AddPlayer(s, "bob/carl", -1, true);
    AddPlayer(s, "dave", -1, true);
    AddRecentPlayers(s);
    EXPECT_EQ(s.RecentPlayers, (TNameList{"Amy", "bob", "carl", "dave"}));
    EXPECT_EQ(ReadFileBytes(dir.File("RecentPlayers.txt")), "Amy\r\nbob\r\ncarl\r\ndave\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("BannedPlayers.txt")));
}

class FilesFolderTest : public PlayerListsTest {
  protected:
    void SetUp() override {
        PlayerListsTest::SetUp();
        target = dir.File("New") + PathSeparator;
        std::filesystem::create_directory(target);
        WriteFileBytes(dir.File("Tourney Formats.ini"), "[Default]\r\n");
        WriteFileBytes(dir.File("BannedPlayers.txt"), "bob\r\n");
        WriteFileBytes(dir.File("RecentPlayers.txt"), "amy\r\n");
        LoadPlayerLists(s);
    }
    std::string target;
};

TEST_F(FilesFolderTest, MovesFormatsAndBannedThenSavesBothLists) {
    world.Dialogs.Folders.push_back(dir.File("New"));  // no trailing separator
    EXPECT_TRUE(SetFilesFolder(s));
    EXPECT_EQ(world.Dialogs.Asked[0],
              "Select the folder to store all Kestrova files into:|" + dir.Path());
    EXPECT_EQ(s.Settings.FilesFolder, target);
    EXPECT_EQ(ReadFileBytes(target + "Tourney Formats.ini"), "[Default]\r\n");
    EXPECT_EQ(ReadFileBytes(target + "BannedPlayers.txt"), "bob\r\n");
    EXPECT_EQ(ReadFileBytes(target + "RecentPlayers.txt"), "amy\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Tourney Formats.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("BannedPlayers.txt")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("RecentPlayers.txt")));
    EXPECT_EQ(world.Settings.Saves, 1);
}

TEST_F(FilesFolderTest, SameFolderCancelAndFailedCopyChangeNothing) {
    world.Dialogs.Folders.push_back(std::nullopt);
    world.Dialogs.Folders.push_back(dir.Path());
    EXPECT_FALSE(SetFilesFolder(s));
    EXPECT_FALSE(SetFilesFolder(s));
    std::filesystem::remove(dir.File("BannedPlayers.txt"));
    world.Dialogs.Folders.push_back(target);
    EXPECT_FALSE(SetFilesFolder(s));
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>{
                  "Could not move the format file to the new location, leaving it as it was."});
    EXPECT_EQ(s.Settings.FilesFolder, dir.Path());
    EXPECT_TRUE(std::filesystem::exists(dir.File("Tourney Formats.ini")));
    EXPECT_TRUE(std::filesystem::exists(target + "Tourney Formats.ini"));  // copied copy stays
    EXPECT_EQ(world.Settings.Saves, 0);
}

TEST_F(PlayerListsTest, SignupSessionLogLineByLine) {
    // The session's own lines; the postings depend on the format's templates.
    testing::RecordingAnnouncer announcer;
    s.Ports.Announcer = &announcer;
    SetElimFormat(s, TElimFormat::Single);
    std::filesystem::remove(dir.File("t.log"));
    s.BannedPlayers = {"zed"};
    AddPlayerFromBox(s, "Ann Lee");
    AddPlayerFromButton(s, "bob");
    AddPlayerFromSuggestion(s, "ANN LEE");
    AddPlayerFromBox(s, "Zed");
    SetOnePerTable(s, false);
    EditPlayerName(s, TBracketKind::Winners, 0, 1, 0, "");
    EditPlayerName(s, TBracketKind::Winners, 0, 4, 1, "");
    EditPlayerName(s, TBracketKind::Winners, 0, 4, 1, "cy");
    EditPlayerName(s, TBracketKind::Winners, 0, 0, 0, "Annie");
    const char* expected =
        "Key: Enter on Add Player\r\n"
        "    -> Player \"AnnLee\" added to table 50\r\n"
        "    -> UpdatePlayerState\r\n"
        "Click: AddPlayer(bob)\r\n"
        "    -> Player \"bob\" added to table 51\r\n"
        "    -> UpdatePlayerState\r\n"
        "Click: Add Player from drop-down list\r\n"
        "Key: Enter on Add Player\r\n"
        "Click: One player/table = Off\r\n"
        "Key: Enter on player's name\r\n"
        "    -> erasing \"bob\" from sign-ups\r\n"
        "    -> UpdatePlayerState\r\n"
        "Key: Enter on player's name\r\n"
        "    -> New name is blank...\r\n"
        "    -> no player in spot\r\n"
        "Key: Enter on player's name\r\n"
        "    -> Edit name = cy\r\n"
        "    -> No player at spot\r\n"
        "    -> signing up new player to bracket\r\n"
        "    -> Player \"cy\" added to table 54\r\n"
        "    -> UpdatePlayerState\r\n"
        "Key: Enter on player's name\r\n"
        "    -> Edit name = Annie\r\n"
        "    -> Existing player = AnnLee\r\n"
        "    -> UpdatePlayerState\r\n";
    EXPECT_EQ(ReadFileBytes(dir.File("t.log")), expected);
}

}  // namespace
}  // namespace kestrova
