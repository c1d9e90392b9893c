// The settings rules against the typed store: first start, each reading rule
// (dependent values, wrong types, a failed required read), what cannot be
// used, the order SaveSettings writes in, and a store that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/file_util.h"
#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
#include "records/files_folder.h"
#include "records/player_lists.h"
#include "records/settings.h"

namespace kestrova {
namespace {

using testing::FakeFileTypes;
using testing::FakeWorld;
using testing::TempDir;

constexpr const char* ReadError = "Error reading configuration";

struct SettingsWorld {
    TempDir dir;
    FakeWorld world;
    FakeFileTypes types;
    TTourneyState s;
    SettingsWorld() {
        world.Wire(s);
        s.SettingsLoaded = false;
        s.Ports.FileTypes = &types;
    }
    TSettingsPlaces Places() const { return {dir.Path() + "docs", dir.Path() + "prog"}; }
    std::string DefaultFolder() const { return dir.Path() + "docs/Tarvex Kestrova Files/"; }
    void Load() { LoadSettings(s, Places()); }
    bool Warned() const {
        for (const auto& m : world.Dialogs.Messages)
            if (m == ReadError) return true;
        return false;
    }
};

TEST(Settings, FirstStartKeepsEveryDefaultAndRegistersTheFileType) {
    SettingsWorld w;
    w.s.Settings.ShowPointsAtEnd = false;  // reset, not kept from before
    w.s.TeamMode = true;
    w.Load();
    const TAppSettings& a = w.s.Settings;
    const TAppSettings designed;
    EXPECT_EQ(a.Left, designed.Left);
    EXPECT_EQ(a.Top, designed.Top);
    EXPECT_EQ(a.Height, designed.Height);
    EXPECT_EQ(a.BracketArrangement, 0);
    EXPECT_EQ(a.HostName, "");
    EXPECT_EQ(a.FilesFolder, w.DefaultFolder());
    EXPECT_TRUE(std::filesystem::is_directory(a.FilesFolder));
    EXPECT_EQ(a.MacroFileName, w.DefaultFolder() + "Macros.kvm");
    EXPECT_TRUE(a.ShowPointsAtEnd);
    EXPECT_FALSE(a.AlwaysOnTop);
    EXPECT_TRUE(a.ShowStatusSummary);
    EXPECT_EQ(a.DefaultStartTables, "50,90,1,80,110,130,140,80,98,30,60,90,120,148,150");
    EXPECT_FALSE(a.RemindAt15 || a.RemindAt10 || a.RemindAt5);
    EXPECT_TRUE(a.ResetBootOnAssign);
    EXPECT_FALSE(a.ShowMainMenuLobbies || a.AutoPostPreview || a.AutoPostLoss);
    EXPECT_FALSE(a.HideCompletedMatches);
    EXPECT_EQ(a.MiddleTimeZone, "America/New_York");
    EXPECT_EQ(a.RightTimeZone, "America/Los_Angeles");
    EXPECT_FALSE(a.MiddleTime24Hour || a.RightTime24Hour);
    EXPECT_EQ(a.ConfirmNotifyFilter, 0u);
    EXPECT_FALSE(a.DefaultClearZfList);
    EXPECT_EQ(a.LastVersionInstalled, 0);
    EXPECT_FALSE(w.s.TeamMode || w.s.CapNames || w.s.AssignAllRound2Byes || w.s.RandomRound2Byes);
    EXPECT_FALSE(a.PostAssignmentsManually || a.DisplayMatchTimeRemaining);
    EXPECT_TRUE(a.RecentTourneys.empty());
    EXPECT_TRUE(w.world.Dialogs.Messages.empty());
    EXPECT_EQ(w.types.Registrations, 1);
    EXPECT_TRUE(w.s.SettingsLoaded);
    // Nothing was written by reading.
    EXPECT_EQ(w.world.Settings.Saves, 0);
}

TEST(Settings, WithoutADocumentsFolderTheFilesLiveBesideTheProgram) {
    TempDir dir;
    EXPECT_EQ(DefaultFilesFolder({"", dir.Path() + "prog"}), dir.Path() + "prog/Files/");
    EXPECT_EQ(DefaultFilesFolder({"/home/ann/Documents/", "/x"}),
              "/home/ann/Documents/Tarvex Kestrova Files/");
}

// One reading scenario: the values in the key, whether the warning is shown,
// and what the settings then hold.
struct ReadCase {
    const char* Name;
    std::vector<std::pair<std::string, TStoredValue>> Key;
    bool Warning;
    std::function<void(const TTourneyState&)> Check;
};

TStoredValue I(int v) { return TStoredValue::Integer(v); }
TStoredValue S(std::string v) { return TStoredValue::String(std::move(v)); }

const std::vector<std::pair<std::string, TStoredValue>> Placed{{"Left", I(10)}, {"Top", I(20)}};

std::vector<std::pair<std::string, TStoredValue>> With(
    std::vector<std::pair<std::string, TStoredValue>> more) {
    auto all = Placed;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

TEST(Settings, ReadingRules) {
    const TAppSettings d;
    const std::vector<ReadCase> cases = {
        {"remind at 10 without remind at 15 leaves all three off", With({{"Remind at 10", I(1)}}),
         false,
         [](const TTourneyState& s) {
             EXPECT_FALSE(s.Settings.RemindAt15 || s.Settings.RemindAt10 || s.Settings.RemindAt5);
         }},
        {"a bool stored as a string keeps its default",
         With({{"Show Points At End", S("0")}, {"Show Status Summary", S("no")}}), false,
         [](const TTourneyState& s) {
             EXPECT_TRUE(s.Settings.ShowPointsAtEnd);
             EXPECT_TRUE(s.Settings.ShowStatusSummary);
         }},
        {"a key without Left keeps every default",
         {{"Top", I(20)}, {"Always On Top", I(1)}, {"Host name", S("Zed")}}, true,
         [d](const TTourneyState& s) {
             EXPECT_EQ(s.Settings.Top, d.Top);
             EXPECT_FALSE(s.Settings.AlwaysOnTop);
             EXPECT_EQ(s.Settings.HostName, "");
         }},
        {"Left as a string is unreadable", {{"Left", S("10")}, {"Top", I(20)}}, true,
         [d](const TTourneyState& s) { EXPECT_EQ(s.Settings.Left, d.Left); }},
        {"height only with the arrangement", With({{"Height", I(700)}}), false,
         [d](const TTourneyState& s) { EXPECT_EQ(s.Settings.Height, d.Height); }},
        {"arrangement without height fails there", With({{"Bracket Arrangement", I(1)}}), true,
         [](const TTourneyState& s) {
             EXPECT_EQ(s.Settings.Left, 10);  // read before the failure
             EXPECT_EQ(s.Settings.BracketArrangement, 0);
         }},
        {"arrangement and height", With({{"Bracket Arrangement", I(1)}, {"Height", I(700)}}),
         false,
         [](const TTourneyState& s) {
             EXPECT_EQ(s.Settings.Height, 700);
             EXPECT_EQ(s.Settings.BracketArrangement, 1);
         }},
        {"a reminder group without its 5-minute value stops the read there",
         With({{"Always On Top", I(1)},
               {"Remind at 15", I(1)},
               {"Remind at 10", I(1)},
               {"Auto-Post Loss", I(1)}}),
         true,
         [](const TTourneyState& s) {
             EXPECT_TRUE(s.Settings.AlwaysOnTop);
             EXPECT_TRUE(s.Settings.RemindAt15 && s.Settings.RemindAt10);
             EXPECT_FALSE(s.Settings.AutoPostLoss);  // after the failure: default
         }},
        {"the zone's 24-hour flag only when the zone is a string",
         With({{"Middle Time Zone", I(3)}, {"Middle Time 24 Hour", I(1)}}), false,
         [](const TTourneyState& s) {
             EXPECT_EQ(s.Settings.MiddleTimeZone, "America/New_York");
             EXPECT_FALSE(s.Settings.MiddleTime24Hour);
         }},
        {"zones and their flags",
         With({{"Middle Time Zone", S("Europe/Paris")},
               {"Middle Time 24 Hour", I(1)},
               {"Right Time Zone", S("")},
               {"Right Time 24 Hour", I(0)}}),
         false,
         [](const TTourneyState& s) {
             EXPECT_EQ(s.Settings.MiddleTimeZone, "Europe/Paris");
             EXPECT_TRUE(s.Settings.MiddleTime24Hour);
             EXPECT_EQ(s.Settings.RightTimeZone, "");
         }},
        {"clear-ZF default only with the filter; the filter keeps bit 31",
         With({{"Confirm Notify Filter", I(static_cast<int>(0x80000401u))},
               {"Default Clear ZF List", I(1)}}),
         false,
         [](const TTourneyState& s) {
             EXPECT_EQ(s.Settings.ConfirmNotifyFilter, 0x80000401u);
             EXPECT_TRUE(s.Settings.DefaultClearZfList);
         }},
        {"clear-ZF default without the filter is not read", With({{"Default Clear ZF List", I(1)}}),
         false, [](const TTourneyState& s) { EXPECT_FALSE(s.Settings.DefaultClearZfList); }},
        {"posting manually needs the remaining-time value",
         With({{"Post assignments manually", I(1)}, {"Cap Names", I(1)}}), false,
         [](const TTourneyState& s) {
             EXPECT_FALSE(s.Settings.PostAssignmentsManually);
             EXPECT_TRUE(s.CapNames);
         }},
        {"remaining time without posting manually fails at the end",
         With({{"Display match time remaining", I(1)}, {"Four Per Table", I(1)}}), true,
         [](const TTourneyState& s) {
             EXPECT_TRUE(s.TeamMode);
             EXPECT_FALSE(s.Settings.DisplayMatchTimeRemaining);
         }},
        {"state options and the version",
         With({{"Four Per Table", I(-1)},
               {"All Byes in Round 2", I(1)},
               {"Randomly Assign Byes", I(1)},
               {"Last Version Installed", I(43)},
               {"Host name", S("Ma\xEFt\xE9")},
               {"Default Start Tables", S("1,2,3")}}),
         false,
         [](const TTourneyState& s) {
             EXPECT_TRUE(s.TeamMode && s.AssignAllRound2Byes && s.RandomRound2Byes);
             EXPECT_EQ(s.Settings.LastVersionInstalled, 43);
             EXPECT_EQ(s.Settings.HostName, "Ma\xEFt\xE9");
             EXPECT_EQ(s.Settings.DefaultStartTables, "1,2,3");
         }},
        {"every value of the wrong type: the defaults, and the warning",
         {{"Left", S("x")},           {"Top", S("y")},
          {"Height", S("-1")},        {"Bracket Arrangement", S("v")},
          {"Host name", I(7)},        {"Show Points At End", S("1")},
          {"Remind at 15", S("1")},   {"Confirm Notify Filter", S("4")}},
         true,
         [d](const TTourneyState& s) {
             EXPECT_EQ(s.Settings.Left, d.Left);
             EXPECT_EQ(s.Settings.HostName, "");
             EXPECT_TRUE(s.Settings.ShowPointsAtEnd);
         }},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.Name);
        SettingsWorld w;
        for (const auto& [name, value] : c.Key)
            w.world.Settings.Write("", name, value);
        w.Load();
        EXPECT_EQ(w.Warned(), c.Warning);
        EXPECT_TRUE(w.s.SettingsLoaded);
        c.Check(w.s);
    }
}

TEST(Settings, WhatCannotBeUsedGivesWayToTheDefaults) {
    SettingsWorld w;
    // A folder that cannot be made: its parent is a file.
    testing::WriteFileBytes(w.dir.File("plain"), "x");
    std::filesystem::create_directories(w.dir.Path() + "macros.kvm");
    for (const auto& [name, value] : With({{"Bracket Arrangement", I(7)},
                                           {"Height", I(-40)},
                                           {"Default location", S(w.dir.Path() + "plain/sub")},
                                           {"Active Macro File", S(w.dir.Path() + "macros.kvm")}}))
        w.world.Settings.Write("", name, value);
    w.Load();
    EXPECT_FALSE(w.Warned());
    EXPECT_EQ(w.s.Settings.Height, TAppSettings{}.Height);
    EXPECT_EQ(w.s.Settings.BracketArrangement, 0);
    EXPECT_EQ(w.s.Settings.FilesFolder, w.DefaultFolder());
    EXPECT_EQ(w.s.Settings.MacroFileName, w.DefaultFolder() + "Macros.kvm");

    // A stored folder that does not exist yet is made; the separator is added.
    SettingsWorld v;
    for (const auto& [name, value] : With({{"Default location", S(v.dir.Path() + "a/b")}}))
        v.world.Settings.Write("", name, value);
    v.Load();
    EXPECT_EQ(v.s.Settings.FilesFolder, v.dir.Path() + "a/b/");
    EXPECT_TRUE(std::filesystem::is_directory(v.dir.Path() + "a/b"));
}

TEST(Settings, AStoreThatCannotBeReadWarnsAndKeepsTheDefaults) {
    SettingsWorld w;
    w.world.Settings.KeyExists = true;
    w.world.Settings.FailReads = true;
    w.Load();
    EXPECT_TRUE(w.Warned());
    EXPECT_EQ(w.s.Settings.FilesFolder, w.DefaultFolder());
    EXPECT_TRUE(w.s.SettingsLoaded);
}

TEST(Settings, AFailedRegistrationIsToldAndStartUpGoesOn) {
    SettingsWorld w;
    w.types.Works = false;
    w.Load();
    EXPECT_EQ(w.world.Dialogs.Messages, std::vector<std::string>{"Error setting file associations"});
    EXPECT_TRUE(w.s.SettingsLoaded);
    // An existing registration is never touched.
    SettingsWorld v;
    v.types.IsRegistered = true;
    v.Load();
    EXPECT_EQ(v.types.Registrations, 0);
}

TEST(Settings, SaveWritesEveryValueInItsOrderAndReadsBackTheSame) {
    SettingsWorld w;
    w.Load();
    TAppSettings& a = w.s.Settings;
    a.Left = -20, a.Top = 33, a.Height = 700, a.BracketArrangement = 1;
    a.HostName = "Ma\xEFt\xE9", a.MacroFileName = w.dir.Path() + "My Macros.kvm";
    a.ShowPointsAtEnd = false, a.AlwaysOnTop = true, a.ShowStatusSummary = false;
    a.RemindAt15 = true, a.RemindAt5 = true, a.ResetBootOnAssign = false;
    a.ShowMainMenuLobbies = a.AutoPostPreview = a.AutoPostLoss = a.HideCompletedMatches = true;
    a.MiddleTimeZone = "Europe/London", a.MiddleTime24Hour = true;
    a.RightTimeZone = "Asia/Tokyo", a.RightTime24Hour = true;
    a.ConfirmNotifyFilter = 0x80000000u | confirm_bits::BanPlayer;
    a.DefaultClearZfList = a.PostAssignmentsManually = a.DisplayMatchTimeRemaining = true;
    a.RecentTourneys = {"/t/a.kvb", "/t/b.kvb", "/t/c.kvb", "/t/d.kvb", "/t/e.kvb", "/t/f.kvb"};
    w.s.TeamMode = w.s.CapNames = w.s.AssignAllRound2Byes = w.s.RandomRound2Byes = true;
    w.world.Settings.WriteOrder.clear();
    SaveSettings(w.s);
    EXPECT_EQ(w.world.Settings.Saves, 1);
    const std::vector<std::string> order = {
        "Left", "Top", "Height", "Bracket Arrangement", "Host name", "Active Macro File",
        "Default location", "Show Points At End", "Always On Top", "Show Status Summary",
        "Remind at 15", "Remind at 10", "Remind at 5", "Reset Boot On Assign",
        "Show MainMenu Lobbies", "Auto-Post Preview", "Auto-Post Loss", "Hide Completed Matches",
        "Middle Time Zone", "Middle Time 24 Hour", "Right Time Zone", "Right Time 24 Hour",
        "Confirm Notify Filter", "Default Clear ZF List", "Four Per Table", "Cap Names",
        "All Byes in Round 2", "Randomly Assign Byes", "Post assignments manually",
        "Display match time remaining"};
    EXPECT_EQ(w.world.Settings.WriteOrder, order);
    EXPECT_EQ(w.world.Settings.Get("F4", "RestoreMRU").Text, "/t/e.kvb");
    EXPECT_FALSE(w.world.Settings.Get("F5", "RestoreMRU").Exists());
    EXPECT_TRUE(w.world.Settings.Get("Show Points At End").IsInteger());
    EXPECT_TRUE(w.world.Settings.Get("Host name").IsString());

    TTourneyState b;
    FakeWorld bw;
    bw.Wire(b);
    bw.Settings.Values = w.world.Settings.Values;
    bw.Settings.KeyExists = true;
    ASSERT_TRUE(ReadSettings(b, w.Places()));
    const TAppSettings& r = b.Settings;
    EXPECT_EQ(std::tie(r.Left, r.Top, r.Height, r.BracketArrangement), std::tie(a.Left, a.Top, a.Height, a.BracketArrangement));
    EXPECT_EQ(r.HostName, a.HostName);
    EXPECT_EQ(r.MacroFileName, a.MacroFileName);
    EXPECT_EQ(r.FilesFolder, a.FilesFolder);
    EXPECT_EQ(std::tie(r.ShowPointsAtEnd, r.AlwaysOnTop, r.ShowStatusSummary),
              std::tie(a.ShowPointsAtEnd, a.AlwaysOnTop, a.ShowStatusSummary));
    EXPECT_EQ(std::tie(r.RemindAt15, r.RemindAt10, r.RemindAt5, r.ResetBootOnAssign),
              std::tie(a.RemindAt15, a.RemindAt10, a.RemindAt5, a.ResetBootOnAssign));
    EXPECT_TRUE(r.ShowMainMenuLobbies && r.AutoPostPreview && r.AutoPostLoss && r.HideCompletedMatches);
    EXPECT_EQ(std::tie(r.MiddleTimeZone, r.RightTimeZone), std::tie(a.MiddleTimeZone, a.RightTimeZone));
    EXPECT_TRUE(r.MiddleTime24Hour && r.RightTime24Hour);
    EXPECT_EQ(r.ConfirmNotifyFilter, a.ConfirmNotifyFilter);
    EXPECT_TRUE(r.DefaultClearZfList && r.PostAssignmentsManually && r.DisplayMatchTimeRemaining);
    EXPECT_TRUE(b.TeamMode && b.CapNames && b.AssignAllRound2Byes && b.RandomRound2Byes);
    EXPECT_EQ(r.RecentTourneys.size(), 5u);
    // Written by their own commands only.
    EXPECT_FALSE(w.world.Settings.Get("Default Start Tables").Exists());
    EXPECT_FALSE(w.world.Settings.Get("Last Version Installed").Exists());
}

TEST(Settings, NothingIsWrittenBeforeTheSettingsAreLoaded) {
    SettingsWorld w;
    SaveSettings(w.s);
    EXPECT_EQ(w.world.Settings.Saves, 0);
    EXPECT_TRUE(w.world.Settings.Values.empty());
}

TEST(Settings, AStoreThatCannotBeWrittenIsToldOnceAndTheListsAreStillWritten) {
    SettingsWorld w;
    w.Load();
    w.world.Settings.FailCommits = true;
    w.s.BannedPlayers = {"Spoiler"};
    SaveSettings(w.s);
    SaveSettings(w.s);
    SaveDefaultStartTables(w.s, "1,2,3");
    ASSERT_EQ(w.world.Dialogs.Messages.size(), 1u);
    EXPECT_NE(w.world.Dialogs.Messages[0].find("The settings could not be saved"), std::string::npos);
    EXPECT_EQ(w.s.Settings.DefaultStartTables, "1,2,3");  // kept for this run
    EXPECT_TRUE(std::filesystem::exists(w.s.Settings.FilesFolder + BannedPlayersFileName));
}

TEST(Settings, AMovedFilesFolderIsStoredAtOnce) {
    SettingsWorld w;
    w.Load();
    testing::WriteFileBytes(w.s.Settings.FilesFolder + "Tourney Formats.ini", "[Cup]\r\n");
    testing::WriteFileBytes(w.s.Settings.FilesFolder + BannedPlayersFileName, "");
    std::filesystem::create_directories(w.dir.Path() + "moved");
    w.world.Dialogs.Folders.push_back(w.dir.Path() + "moved");
    ASSERT_TRUE(SetFilesFolder(w.s));
    EXPECT_EQ(w.world.Settings.Get("Default location").Text, w.dir.Path() + "moved" + PathSeparator);
    EXPECT_EQ(w.world.Settings.Saves, 1);
}

}  // namespace
}  // namespace kestrova
