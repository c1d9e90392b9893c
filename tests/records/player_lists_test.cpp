// The side lists on disk and in memory, the files-folder move, and the log a
// sign-up session leaves behind (tests/data/signup_session.log).
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_util.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "records/confirm.h"
#include "records/files_folder.h"
#include "records/player_lists.h"
#include "records/settings.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

TEST(NameList, FilterSortedInsertReplaceAndEveryLineEnding) {
    EXPECT_EQ(NormalizePlayerName("  _x\xE9\xC0y 9\t.!"), "_xy9");
    EXPECT_EQ(NormalizePlayerName("abcdefghijklmnopqrstu"), "abcdefghijklmno");
    TNameList l;
    AddName(l, "carl");
    AddName(l, "Bob");
    EXPECT_EQ(AddName(l, "bob"), 0);  // the first spelling stays
    EXPECT_EQ(AddName(l, "alice"), 0);
    EXPECT_EQ(ReplaceName(l, 2, "ALICE"), -1);  // another entry has it
    EXPECT_EQ(ReplaceName(l, 1, "BOB"), 1);     // its own name in other case
    EXPECT_EQ(ReplaceName(l, 0, "zoe"), 2);
    EXPECT_EQ(l, (TNameList{"BOB", "carl", "zoe"}));
    const std::string longName(300, 'q');
    l = ParseNameList("bob\rAmy\nzed\r\n\r\n\xE9lise\r\n" + longName + "\n amy \rBOB");
    EXPECT_EQ(l, (TNameList{"", " amy ", "Amy", "bob", longName, "zed", "\xE9lise"}));
    EXPECT_EQ(ParseNameList(FormatNameList(l)), l);
    EXPECT_EQ(FormatNameList({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(ParseNameList("\n"), TNameList{""});
}

struct PlayerListsTest : ::testing::Test {
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
    void SetUp() override {
        world.Wire(s);
        s.Settings.FilesFolder = dir.Path();
        s.TourneyPath = dir.File("t.kvb");
    }
    std::string Bytes(const std::string& name) const { return ReadFileBytes(dir.File(name)); }
};

TEST_F(PlayerListsTest, FilesLoadAndSaveWithTheSettingsAndNothingElseIsLeft) {
    LoadPlayerLists(s);  // no files yet: both empty, no message
    EXPECT_TRUE(s.BannedPlayers.empty() && s.RecentPlayers.empty() && world.Dialogs.Messages.empty());
    WriteFileBytes(dir.File("BannedPlayers.txt"), "zed\nBob\r\nbob\rann");
    LoadPlayerLists(s);
    EXPECT_EQ(s.BannedPlayers, (TNameList{"ann", "Bob", "zed"}));
    EXPECT_TRUE(IsBanned(s, "BOB"));
    EXPECT_FALSE(IsBanned(s, "bo"));
    s.RecentPlayers = {"x\xFFy"};
    SaveSettings(s);
    EXPECT_EQ(world.Settings.Saves, 1);
    EXPECT_EQ(Bytes("BannedPlayers.txt"), "ann\r\nBob\r\nzed\r\n");
    EXPECT_EQ(Bytes("RecentPlayers.txt"), "x\xFFy\r\n");
    int files = 0;  // no temporary file survives the rewrite
    for (auto& e : fs::directory_iterator(dir.Path())) files += e.is_regular_file();
    EXPECT_EQ(files, 2);
    s.Settings.FilesFolder = dir.File("missing/");
    EXPECT_THROW(SavePlayerLists(s), std::runtime_error);
}

TEST_F(PlayerListsTest, BanAsksUnlessToldNotToAndClosingAddsPartners) {
    s.BannedPlayers = {"Bob"};
    world.Dialogs.AnswerNo();
    EXPECT_FALSE(BanPlayer(s, "carl"));
    EXPECT_EQ(world.Dialogs.Asked.back(), "Are you sure you want to ban \"carl\" from future tournaments?");
    world.Dialogs.AnswerYes(true);
    EXPECT_TRUE(BanPlayer(s, "bob"));  // already there as Bob
    EXPECT_EQ(s.BannedPlayers, TNameList{"Bob"});
    EXPECT_TRUE(BanPlayer(s, "carl"));  // no question any more
    EXPECT_EQ(world.Dialogs.Asked.size(), 2u);
    EXPECT_EQ(Bytes("BannedPlayers.txt"), "Bob\r\ncarl\r\n");

    SetElimFormat(s, TElimFormat::Single);
    s.TeamMode = true;
    s.RecentPlayers = {"Amy"};
    AddPlayer(s, "eve/fay", -1, true);
    AddPlayer(s, "dave", -1, true);
    AddRecentPlayers(s);
    EXPECT_EQ(Bytes("RecentPlayers.txt"), "Amy\r\ndave\r\neve\r\nfay\r\n");
    EXPECT_EQ(s.RecentPlayers, (TNameList{"Amy", "dave", "eve", "fay"}));
}

TEST_F(PlayerListsTest, TheFilesFolderMoveTakesTheFormatsAndTheBannedList) {
    const std::string target = dir.File("New") + PathSeparator;
    fs::create_directory(target);
    WriteFileBytes(dir.File("Tourney Formats.ini"), "[Default]\r\n");
    WriteFileBytes(dir.File("BannedPlayers.txt"), "bob\r\n");
    WriteFileBytes(dir.File("RecentPlayers.txt"), "amy\r\n");
    LoadPlayerLists(s);
    // Cancel, the same folder, and a copy that fails change nothing.
    world.Dialogs.Folders = {std::nullopt, dir.Path(), target};
    EXPECT_FALSE(SetFilesFolder(s));
    EXPECT_FALSE(SetFilesFolder(s));
    fs::rename(dir.File("BannedPlayers.txt"), dir.File("Banned.keep"));
    EXPECT_FALSE(SetFilesFolder(s));
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>{"Could not move the format file to the new location, leaving it as it was."});
    EXPECT_EQ(s.Settings.FilesFolder, dir.Path());
    EXPECT_TRUE(fs::exists(dir.File("Tourney Formats.ini")));
    EXPECT_EQ(world.Settings.Saves, 0);

    fs::rename(dir.File("Banned.keep"), dir.File("BannedPlayers.txt"));
    world.Dialogs.Folders.push_back(dir.File("New"));  // no trailing separator
    EXPECT_TRUE(SetFilesFolder(s));
    EXPECT_EQ(world.Dialogs.Asked.back(), "Select the folder to store all Kestrova files into:|" + dir.Path());
    EXPECT_EQ(s.Settings.FilesFolder, target);
    EXPECT_EQ(ReadFileBytes(target + "Tourney Formats.ini"), "[Default]\r\n");
    EXPECT_EQ(ReadFileBytes(target + "BannedPlayers.txt"), "bob\r\n");
    EXPECT_EQ(ReadFileBytes(target + "RecentPlayers.txt"), "amy\r\n");
    EXPECT_FALSE(fs::exists(dir.File("Tourney Formats.ini")) || fs::exists(dir.File("BannedPlayers.txt")));
    EXPECT_TRUE(fs::exists(dir.File("RecentPlayers.txt")));
    EXPECT_EQ(world.Settings.Saves, 1);
}

TEST_F(PlayerListsTest, ASignupSessionLogsEachGestureAndWhatItDid) {
    RecordingAnnouncer announcer;  // the postings depend on the format's templates
    s.Ports.Announcer = &announcer;
    SetElimFormat(s, TElimFormat::Single);
    fs::remove(dir.File("t.log"));
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
    EXPECT_EQ(Bytes("t.log"), ReadFileBytes(DataPath("signup_session.log")));
}

}  // namespace
}  // namespace kestrova::testing
