// The lobby client's folder found in a Wine prefix: the registry text and
// the drive mapping, on a prefix laid out in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/fake_ports.h"
#include "lobby/friends_wine.h"

namespace kestrova::testing {
namespace {

TEST(FriendsWineTest, TheSetupKeysPathValue) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Internet Gaming Zone\\\\Setup] 17\n"
         "#time=1d\n\"Other\"=\"x\"\n\"Path\"=\"C:\\\\Program Files\\\\Zone\"\n",
         "C:\\Program Files\\Zone"},
        {"[software\\\\wow6432node\\\\microsoft\\\\internet gaming zone\\\\setup]\r\n"
         "\"PATH\"=str(2):\"D:\\\\Z\\x00e9ne \\\"q\\\"\"\r\n",
         "D:\\Z\xE9ne \"q\""},
        // The value of another key, or an unterminated string, is no answer.
        {"[Software\\\\Microsoft\\\\Internet Gaming Zone\\\\Other]\n\"Path\"=\"C:\\\\No\"\n"
         "[Software\\\\Microsoft\\\\Internet Gaming Zone\\\\Setup]\n\"Path\"=\"C:\\\\Cut",
         std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, path] : cases)
        EXPECT_EQ(WineZonePath(text), path) << text;
}

TEST(FriendsWineTest, DrivesAndLetterCase) {
    TempDir dir;
    const std::string prefix = dir.Path() + "pfx";
    std::filesystem::create_directories(prefix + "/drive_c/Program Files/ZONE/favorites/Hoster");
    EXPECT_EQ(WineToUnixPath(prefix, "C:\\program files\\Zone\\Favorites"),
              prefix + "/drive_c/Program Files/ZONE/favorites");
    EXPECT_EQ(WineToUnixPath(prefix, "D:\\Zone"), std::nullopt);  // no such drive
    EXPECT_EQ(WineToUnixPath(prefix, "\\\\server\\share"), std::nullopt);
    std::filesystem::create_directories(prefix + "/dosdevices");
    std::filesystem::create_directory_symlink(dir.Path() + "d", prefix + "/dosdevices/d:");
    std::filesystem::create_directories(dir.Path() + "d/Zone");
    EXPECT_EQ(WineToUnixPath(prefix, "d:/zone/New"), prefix + "/dosdevices/d:/Zone/New");

    WriteFileBytes(prefix + "/system.reg",
                   "[Software\\\\Microsoft\\\\Internet Gaming Zone\\\\Setup]\n"
                   "\"Path\"=\"C:\\\\Program Files\\\\Zone\"\n");
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    EXPECT_EQ(WineFavoritesFolder(), prefix + "/drive_c/Program Files/ZONE/favorites/");
    ::setenv("WINEPREFIX", (dir.Path() + "none").c_str(), 1);
    EXPECT_EQ(WineFavoritesFolder(), "");
    ::unsetenv("WINEPREFIX");
}

}  // namespace
}  // namespace kestrova::testing
