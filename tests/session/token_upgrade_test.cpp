// The one-time question of a new version: asked for a host whose last build
// was older than 44, on Yes the formats file is rewritten, and the running
// build is stored so that the next start does not ask again.
#include <gtest/gtest.h>

#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
#include "records/settings.h"
#include "session/token_upgrade.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::TempDir;

const std::string Question =
    "This new version has a new token that alter some format macros: %o for opponents.\r\n"
    "Would you like to upgrade your format macros to change all second %p tokens to %o "
    "tokens?\r\n\r\nClick on No if you have already performed this step on your macros.";

struct Start {
    FakeWorld world;
    TTourneyState s;
    explicit Start(const testing::FakeSettingsStore& key, const TempDir& dir) {
        world.Wire(s);
        world.Settings.Values = key.Values;
        world.Settings.KeyExists = key.KeyExists;
        s.SettingsLoaded = false;
        LoadSettings(s, {dir.Path() + "docs", dir.Path()});
    }
};

TEST(TokenUpgrade, TheBuildNumberIsTheProjectVersionsFourthPart) {
    EXPECT_EQ(RunningBuildNumber(), KESTROVA_VERSION_BUILD);
    EXPECT_GE(RunningBuildNumber(), OpponentTokenBuild);
}

TEST(TokenUpgrade, AskedOnceAfterAnOlderBuildAndYesRewritesTheTemplates) {
    TempDir dir;
    testing::FakeSettingsStore key;
    key.Put("Left", 1);
    key.Put("Top", 2);
    key.Put("Last Version Installed", 43);

    Start first(key, dir);
    testing::WriteFileBytes(first.s.Settings.FilesFolder + "Tourney Formats.ini",
                            "[Cup]\r\nNext assign=%p vs %p at table %t\r\n");
    AskTokenUpgrade(first.s, 44);
    EXPECT_EQ(first.world.Dialogs.Asked, std::vector<std::string>{Question});
    EXPECT_NE(testing::ReadFileBytes(first.s.Settings.FilesFolder + "Tourney Formats.ini")
                  .find("%p vs %o"),
              std::string::npos);
    EXPECT_EQ(first.world.Settings.Get("Last Version Installed").Int, 44);

    Start second(first.world.Settings, dir);
    AskTokenUpgrade(second.s, 44);
    EXPECT_TRUE(second.world.Dialogs.Asked.empty());
}

TEST(TokenUpgrade, NoKeepsTheTemplatesAndStillRecordsTheBuild) {
    TempDir dir;
    testing::FakeSettingsStore key;  // first start: no key at all
    Start first(key, dir);
    const std::string formats = "[Cup]\r\nNext assign=%p vs %p\r\n";
    testing::WriteFileBytes(first.s.Settings.FilesFolder + "Tourney Formats.ini", formats);
    first.world.Dialogs.YesNoAnswers.push_back(false);
    AskTokenUpgrade(first.s, 45);
    EXPECT_EQ(first.world.Dialogs.Asked.size(), 1u);
    EXPECT_EQ(testing::ReadFileBytes(first.s.Settings.FilesFolder + "Tourney Formats.ini"), formats);
    EXPECT_EQ(first.world.Settings.Get("Last Version Installed").Int, 45);
    EXPECT_TRUE(first.world.Settings.Get("Last Version Installed").IsInteger());
}

}  // namespace
}  // namespace kestrova
