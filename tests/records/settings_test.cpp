// The settings: start-up reads of the settings file played from
// tests/data/settings/reading.txt (what each stored file reads as, shown by
// what the same settings write back), then a store that cannot be read or
// written, the file-type registration, the question's bit and the folder move.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_util.h"
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
        for (char c : Dir.Path()) q += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return q;
    }
    std::string Put(std::string text) const {
        for (size_t at; (at = text.find("$DIR/")) != std::string::npos;) text.replace(at, 5, Quoted());
        return text;
    }
    std::string Take(std::string text) const {
        for (size_t at; (at = text.find(Quoted())) != std::string::npos;) text.replace(at, Quoted().size(), "$DIR/");
        return text;
    }
};

TEST(Settings, EachStoredFileReadsAsItsCaseSays) {
    for (const TCase& c : ReadCases("settings/reading.txt")) {
        SCOPED_TRACE(c.Where());
        SettingsWorld w;
        for (const std::string& f : c.All("make file")) WriteFileBytes(w.Dir.File(f), "x");
        for (const std::string& f : c.All("make folder")) std::filesystem::create_directories(w.Dir.File(f));
        if (c.Has("stored")) WriteFileBytes(w.Dir.File("in.settings"), w.Put(c.Get("stored") + "\n"));
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
    EXPECT_EQ(w.World.Dialogs.Messages, std::vector<std::string>{"Error setting file associations"});
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
    EXPECT_EQ(w.World.Settings.Get("Confirm Notify Filter").Int, static_cast<int>(confirm_bits::CloseSignups));
    EXPECT_TRUE(AskConfirm(w.S, confirm_bits::CloseSignups, "Again?"));  // not asked
    ShowNotice(w.S, confirm_bits::MovedNotice, "Moved");
    EXPECT_EQ(w.World.Settings.Saves, 1);
    w.World.Dialogs.TickNotices = true;
    ShowNotice(w.S, confirm_bits::MovedNotice, "Moved");
    ShowNotice(w.S, confirm_bits::MovedNotice, "Not shown");
    EXPECT_EQ(w.World.Settings.Saves, 2);
    EXPECT_EQ(w.World.Dialogs.Asked, (std::vector<std::string>(3, "Close?")));
    EXPECT_EQ(w.World.Dialogs.Notices, (std::vector<std::string>{"Moved", "Moved"}));
    EXPECT_EQ(w.S.Settings.ConfirmNotifyFilter, confirm_bits::CloseSignups | confirm_bits::MovedNotice);
}

TEST(Settings, AMovedFilesFolderIsStoredAtOnce) {
    SettingsWorld w;
    w.Load();
    std::filesystem::create_directories(w.Dir.Path() + "moved");
    WriteFileBytes(w.S.Settings.FilesFolder + "Tourney Formats.ini", "[Cup]\r\n");
    WriteFileBytes(w.S.Settings.FilesFolder + BannedPlayersFileName, "");
    w.World.Dialogs.Folders.push_back(w.Dir.Path() + "moved");
    ASSERT_TRUE(SetFilesFolder(w.S));
    EXPECT_EQ(w.World.Settings.Get("Default location").Text, w.Dir.Path() + "moved" + PathSeparator);
    EXPECT_EQ(w.World.Settings.Saves, 1);
}

}  // namespace
}  // namespace kestrova::testing
