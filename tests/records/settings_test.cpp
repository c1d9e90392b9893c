// The settings and the side lists: start-up reads of the settings file
// played from tests/data/settings/reading.txt (what each stored file reads
// as, shown by what the same settings write back), a store that cannot be
// read or written, the file-type registration, the question's bit, the
// settings file itself (names without regard to case, which sections make
// the key exist, a cleared subkey, commits that cannot be made, a file too
// large to read whole), the banned and recent lists on disk and in memory,
// the files-folder move, and the log a sign-up session leaves behind
// (tests/data/signup_session.log).
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_util.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
#include "records/confirm.h"
#include "records/files_folder.h"
#include "records/player_lists.h"
#include "records/settings.h"
#include "records/settings_file.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

struct SettingsWorld {
    TempDir Dir;
    FakeWorld World;
    FakeFileTypes Types;
    TTourneyState S;
    SettingsWorld() {
        World.Wire(S);
        S.SettingsLoaded = false;
        S.Ports.FileTypes = &Types;
    }
    TSettingsPlaces Places() const { return {Dir.Path() + "docs", Dir.Path() + "prog"}; }
    std::string Folder() const { return Dir.Path() + "docs/Tarvex Kestrova Files/"; }
    void Load() { LoadSettings(S, Places()); }
    // The folder as the settings file quotes it (a backslash escaped).
    std::string Quoted() const {
        std::string q;
        for (char c : Dir.Path())
            q += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return q;
    }
    std::string Put(std::string text) const {
        for (size_t at; (at = text.find("$DIR/")) != std::string::npos;)
            text.replace(at, 5, Quoted());
        return text;
    }
    std::string Take(std::string text) const {
        for (size_t at; (at = text.find(Quoted())) != std::string::npos;)
            text.replace(at, Quoted().size(), "$DIR/");
        return text;
    }
};

TEST(Settings, EachStoredFileReadsAsItsCaseSays) {
    for (const TCase& c : ReadCases("settings/reading.txt")) {
        SCOPED_TRACE(c.Where());
        SettingsWorld w;
        for (const std::string& f : c.All("make file"))
            WriteFileBytes(w.Dir.File(f), "x");
        for (const std::string& f : c.All("make folder"))
            std::filesystem::create_directories(w.Dir.File(f));
        if (c.Has("stored"))
            WriteFileBytes(w.Dir.File("in.settings"), w.Put(c.Get("stored") + "\n"));
        TSettingsFile in(w.Dir.File("in.settings"));
        w.S.Ports.Settings = &in;
        w.S.TeamMode = w.S.CapNames = w.S.AssignAllRound2Byes = w.S.RandomRound2Byes = true;
        w.S.Settings.ShowPointsAtEnd = false;
        w.S.Settings.HostName = "Old";
        w.Load();
        EXPECT_TRUE(w.S.SettingsLoaded);
        const bool warned = !w.World.Dialogs.Messages.empty() &&
                            w.World.Dialogs.Messages[0] == "Error reading configuration";
        EXPECT_EQ(warned, c.Get("warning") == "yes");
        EXPECT_TRUE(std::filesystem::is_directory(w.S.Settings.FilesFolder));

        TSettingsFile out(w.Dir.File("out.settings"));
        w.S.Ports.Settings = &out;
        SaveSettings(w.S);
        SaveDefaultStartTables(w.S, w.S.Settings.DefaultStartTables);
        SaveLastVersionInstalled(w.S, w.S.Settings.LastVersionInstalled);
        const std::string written = w.Take(ReadFileBytes(w.Dir.File("out.settings")));
        if (c.Has("file")) {
            EXPECT_EQ(written, c.Get("file") + "\n");
        }
        for (const std::string& line : c.All("written"))
            EXPECT_NE(written.find("\n" + line + "\n"), std::string::npos) << line;
    }
}

TEST(Settings, AStoreThatCannotBeReadWarnsAndKeepsTheDefaults) {
    SettingsWorld w;
    w.World.Settings.KeyExists = true;
    w.World.Settings.FailReads = true;
    w.Load();
    EXPECT_EQ(w.World.Dialogs.Messages, std::vector<std::string>{"Error reading configuration"});
    EXPECT_EQ(w.S.Settings.FilesFolder, w.Folder());
    EXPECT_EQ(w.Types.Registrations, 1);
    EXPECT_EQ(w.World.Settings.Saves, 0);  // reading writes nothing
    EXPECT_EQ(DefaultFilesFolder({"", w.Dir.Path() + "prog"}), w.Dir.Path() + "prog/Files/");
}

TEST(Settings, LoadingRegistersTheFileTypeAndReadsThePlayerLists) {
    SettingsWorld w;
    w.Types.Works = false;
    std::filesystem::create_directories(w.Folder());
    WriteFileBytes(w.Folder() + BannedPlayersFileName, "Zed\r\n");
    w.Load();
    EXPECT_EQ(w.S.BannedPlayers, TNameList{"Zed"});
    EXPECT_EQ(w.World.Dialogs.Messages,
              std::vector<std::string>{"Error setting file associations"});
    EXPECT_TRUE(w.S.SettingsLoaded);
    SettingsWorld v;
    v.Types.IsRegistered = true;
    v.Load();
    EXPECT_EQ(v.Types.Registrations, 0);
}

TEST(Settings, WritesWaitForTheLoadAndAFailingStoreIsToldOnce) {
    SettingsWorld w;
    SaveSettings(w.S);  // not loaded yet: nothing is written
    EXPECT_EQ(w.World.Settings.Saves, 0);
    EXPECT_TRUE(w.World.Settings.Values.empty());
    w.Load();
    w.World.Settings.FailCommits = true;
    w.S.BannedPlayers = {"Spoiler"};
    SaveSettings(w.S);
    SaveSettings(w.S);
    SaveDefaultStartTables(w.S, "1,2,3");
    ASSERT_EQ(w.World.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(w.World.Dialogs.Messages[0].rfind("The settings could not be saved: ", 0), 0u);
    EXPECT_EQ(w.S.Settings.DefaultStartTables, "1,2,3");  // kept for this run
    EXPECT_EQ(ReadFileBytes(w.S.Settings.FilesFolder + BannedPlayersFileName), "Spoiler\r\n");
}

// A question or notice the host ticks away sets its bit and saves at once.
TEST(Settings, ATickedQuestionOrNoticeIsStoredAtOnce) {
    SettingsWorld w;
    w.Load();
    w.World.Dialogs.AnswerNo();
    EXPECT_FALSE(AskConfirm(w.S, confirm_bits::CloseSignups, "Close?"));
    w.World.Dialogs.AnswerYes();
    EXPECT_TRUE(AskConfirm(w.S, confirm_bits::CloseSignups, "Close?"));
    EXPECT_EQ(w.World.Settings.Saves, 0);
    w.World.Dialogs.AnswerYes(true);
    EXPECT_TRUE(AskConfirm(w.S, confirm_bits::CloseSignups, "Close?"));
    EXPECT_EQ(w.World.Settings.Get("Confirm Notify Filter").Int,
              static_cast<int>(confirm_bits::CloseSignups));
    EXPECT_TRUE(AskConfirm(w.S, confirm_bits::CloseSignups, "Again?"));  // not asked
    ShowNotice(w.S, confirm_bits::MovedNotice, "Moved");
    EXPECT_EQ(w.World.Settings.Saves, 1);
    w.World.Dialogs.TickNotices = true;
    ShowNotice(w.S, confirm_bits::MovedNotice, "Moved");
    ShowNotice(w.S, confirm_bits::MovedNotice, "Not shown");
    EXPECT_EQ(w.World.Settings.Saves, 2);
    EXPECT_EQ(w.World.Dialogs.Asked, (std::vector<std::string>(3, "Close?")));
    EXPECT_EQ(w.World.Dialogs.Notices, (std::vector<std::string>{"Moved", "Moved"}));
    EXPECT_EQ(w.S.Settings.ConfirmNotifyFilter,
              confirm_bits::CloseSignups | confirm_bits::MovedNotice);
}

TEST(SettingsFile, NamesIgnoreCaseAndOnlyOurSectionsCount) {
    TempDir dir;
    TSettingsFile f(dir.File("cfg/Kestrova.settings"));
    EXPECT_FALSE(f.Exists());
    f.Write("", "Left", TStoredValue::Integer(-2147483647 - 1));
    f.Write("", "left", TStoredValue::Integer(402));  // the first spelling stays
    f.Write("RestoreMRU", "F0", TStoredValue::String("/t/Cup one.kvb"));
    f.Write("", "", TStoredValue::String("no name"));
    f.Commit();
    TSettingsFile g(dir.File("cfg/Kestrova.settings"));
    EXPECT_TRUE(g.Exists());
    EXPECT_EQ(g.Read("", "LEFT").Int, 402);
    EXPECT_EQ(g.Text().find("left"), std::string::npos);
    EXPECT_EQ(g.Read("restoremru", "f0").Text, "/t/Cup one.kvb");
    EXPECT_FALSE(g.Read("", "F0").Exists());
    EXPECT_FALSE(g.Read("Nowhere", "F0").Exists());
    EXPECT_EQ(g.Text().find("Nowhere"), std::string::npos);  // reading makes no subkey
    EXPECT_EQ(g.Read("", "").Text, "no name");
    g.ClearSubkey("RestoreMRU");
    EXPECT_FALSE(g.Read("RestoreMRU", "F0").Exists());
    EXPECT_EQ(g.Text().find("F0"), std::string::npos);

    g.Parse("[Other]\n\"Left\"=dword:1\n[Kestrova\\]\n");
    EXPECT_FALSE(g.Exists());
    g.Parse("[Kestrova\\MacroMRU]\n\"F0\"=\"/m.kvm\"\n");
    EXPECT_TRUE(g.Exists());
    EXPECT_FALSE(g.Read("", "Left").Exists());

    // A write before any read still reads the file first: what it held stays.
    TSettingsFile h(dir.File("cfg/Kestrova.settings"));
    h.Write("", "Top", TStoredValue::Integer(5));
    h.Commit();
    TSettingsFile k(dir.File("cfg/Kestrova.settings"));
    EXPECT_EQ(k.Read("", "Left").Int, 402);
    EXPECT_EQ(k.Read("", "Top").Int, 5);
}

TEST(SettingsFile, ACommitThatCannotBeMadeThrowsAndKeepsTheValues) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("dir"));
    WriteFileBytes(dir.File("plain"), "x");
    for (const std::string& path : {dir.File("dir"), dir.File("plain/Kestrova.settings")}) {
        TSettingsFile f(path);
        EXPECT_FALSE(f.Exists());  // a folder is no file
        f.Write("", "Left", TStoredValue::Integer(1));
        EXPECT_THROW(f.Commit(), std::runtime_error);
        EXPECT_EQ(f.Read("", "Left").Int, 1);
    }
}

TEST(SettingsFile, AHugeFileIsReadOnlyToItsFirstMegabyte) {
    TempDir dir;
    WriteFileBytes(dir.File("big"), "[Kestrova]\n\"Left\"=dword:1\n" + std::string(3 << 19, 'x') +
                                        "\n\"Top\"=dword:2\n");
    TSettingsFile f(dir.File("big"));
    EXPECT_EQ(f.Read("", "Left").Int, 1);
    EXPECT_FALSE(f.Read("", "Top").Exists());
}

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

// The lists' files in the temporary folder itself, the settings loaded.
struct PlayerListsTest : ::testing::Test, SettingsWorld {
    PlayerListsTest() {
        S.SettingsLoaded = true;
        S.Settings.FilesFolder = Dir.Path();
        S.TourneyPath = Dir.File("t.kvb");
    }
    std::string Bytes(const std::string& name) const { return ReadFileBytes(Dir.File(name)); }
};

TEST_F(PlayerListsTest, FilesLoadAndSaveWithTheSettingsAndNothingElseIsLeft) {
    LoadPlayerLists(S);  // no files yet: both empty, no message
    EXPECT_TRUE(S.BannedPlayers.empty() && S.RecentPlayers.empty() &&
                World.Dialogs.Messages.empty());
    WriteFileBytes(Dir.File("BannedPlayers.txt"), "zed\nBob\r\nbob\rann");
    LoadPlayerLists(S);
    EXPECT_EQ(S.BannedPlayers, (TNameList{"ann", "Bob", "zed"}));
    EXPECT_TRUE(IsBanned(S, "BOB"));
    EXPECT_FALSE(IsBanned(S, "bo"));
    S.RecentPlayers = {"x\xFFy"};
    SaveSettings(S);
    EXPECT_EQ(World.Settings.Saves, 1);
    EXPECT_EQ(Bytes("BannedPlayers.txt"), "ann\r\nBob\r\nzed\r\n");
    EXPECT_EQ(Bytes("RecentPlayers.txt"), "x\xFFy\r\n");
    int files = 0;  // no temporary file survives the rewrite
    for (auto& e : fs::directory_iterator(Dir.Path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 2);
    S.Settings.FilesFolder = Dir.File("missing/");
    EXPECT_THROW(SavePlayerLists(S), std::runtime_error);
}

TEST_F(PlayerListsTest, BanAsksUnlessToldNotToAndClosingAddsPartners) {
    S.BannedPlayers = {"Bob"};
    World.Dialogs.AnswerNo();
    EXPECT_FALSE(BanPlayer(S, "carl"));
    EXPECT_EQ(World.Dialogs.Asked.back(),
              "Are you sure you want to ban \"carl\" from future tournaments?");
    World.Dialogs.AnswerYes(true);
    EXPECT_TRUE(BanPlayer(S, "bob"));  // already there as Bob
    EXPECT_EQ(S.BannedPlayers, TNameList{"Bob"});
    EXPECT_TRUE(BanPlayer(S, "carl"));  // no question any more
    EXPECT_EQ(World.Dialogs.Asked.size(), 2u);
    EXPECT_EQ(Bytes("BannedPlayers.txt"), "Bob\r\ncarl\r\n");

    SetElimFormat(S, TElimFormat::Single);
    S.TeamMode = true;
    S.RecentPlayers = {"Amy"};
    AddPlayer(S, "eve/fay", -1, true);
    AddPlayer(S, "dave", -1, true);
    AddRecentPlayers(S);
    EXPECT_EQ(Bytes("RecentPlayers.txt"), "Amy\r\ndave\r\neve\r\nfay\r\n");
    EXPECT_EQ(S.RecentPlayers, (TNameList{"Amy", "dave", "eve", "fay"}));
}

TEST_F(PlayerListsTest, TheFilesFolderMoveTakesTheFormatsAndTheBannedList) {
    const std::string target = Dir.File("New") + PathSeparator;
    fs::create_directory(target);
    WriteFileBytes(Dir.File("Tourney Formats.ini"), "[Default]\r\n");
    WriteFileBytes(Dir.File("BannedPlayers.txt"), "bob\r\n");
    WriteFileBytes(Dir.File("RecentPlayers.txt"), "amy\r\n");
    LoadPlayerLists(S);
    // Cancel, the same folder, and a copy that fails change nothing.
    World.Dialogs.Folders = {std::nullopt, Dir.Path(), target};
    EXPECT_FALSE(SetFilesFolder(S));
    EXPECT_FALSE(SetFilesFolder(S));
    fs::rename(Dir.File("BannedPlayers.txt"), Dir.File("Banned.keep"));
    EXPECT_FALSE(SetFilesFolder(S));
    EXPECT_EQ(World.Dialogs.Messages,
              std::vector<std::string>{
                  "Could not move the format file to the new location, leaving it as it was."});
    EXPECT_EQ(S.Settings.FilesFolder, Dir.Path());
    EXPECT_TRUE(fs::exists(Dir.File("Tourney Formats.ini")));
    EXPECT_EQ(World.Settings.Saves, 0);

    fs::rename(Dir.File("Banned.keep"), Dir.File("BannedPlayers.txt"));
    World.Dialogs.Folders.push_back(Dir.File("New"));  // no trailing separator
    EXPECT_TRUE(SetFilesFolder(S));
    EXPECT_EQ(World.Dialogs.Asked.back(),
              "Select the folder to store all Kestrova files into:|" + Dir.Path());
    EXPECT_EQ(S.Settings.FilesFolder, target);
    EXPECT_EQ(ReadFileBytes(target + "Tourney Formats.ini"), "[Default]\r\n");
    EXPECT_EQ(ReadFileBytes(target + "BannedPlayers.txt"), "bob\r\n");
    EXPECT_EQ(ReadFileBytes(target + "RecentPlayers.txt"), "amy\r\n");
    EXPECT_FALSE(fs::exists(Dir.File("Tourney Formats.ini")) ||
                 fs::exists(Dir.File("BannedPlayers.txt")));
    EXPECT_TRUE(fs::exists(Dir.File("RecentPlayers.txt")));
    EXPECT_EQ(World.Settings.Saves, 1);  // stored at once
    EXPECT_EQ(World.Settings.Get("Default location").Text, target);
}

TEST_F(PlayerListsTest, ASignupSessionLogsEachGestureAndWhatItDid) {
    RecordingAnnouncer announcer;  // the postings depend on the format's templates
    S.Ports.Announcer = &announcer;
    SetElimFormat(S, TElimFormat::Single);
    fs::remove(Dir.File("t.log"));
    S.BannedPlayers = {"zed"};
    AddPlayerFromBox(S, "Ann Lee");
    AddPlayerFromButton(S, "bob");
    AddPlayerFromSuggestion(S, "ANN LEE");
    AddPlayerFromBox(S, "Zed");
    SetOnePerTable(S, false);
    EditPlayerName(S, TBracketKind::Winners, 0, 1, 0, "");
    EditPlayerName(S, TBracketKind::Winners, 0, 4, 1, "");
    EditPlayerName(S, TBracketKind::Winners, 0, 4, 1, "cy");
    EditPlayerName(S, TBracketKind::Winners, 0, 0, 0, "Annie");
    EXPECT_EQ(Bytes("t.log"), ReadFileBytes(DataPath("signup_session.log")));
}

}  // namespace
}  // namespace kestrova::testing
