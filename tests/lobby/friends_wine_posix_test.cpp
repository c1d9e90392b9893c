// The lobby client's folder found in a Wine prefix: the registry text
// (tests/data/lobby/friends_wine.txt) and the drive mapping, on a prefix laid
// out in a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "lobby/friends_wine.h"

namespace kestrova::testing {
namespace {

TEST(FriendsWineTest, TheSetupKeysPathValue) {
    for (const TCase& c : ReadCases("lobby/friends_wine.txt"))
        EXPECT_EQ(WineZonePath(c.Get("registry")).value_or("none"), c.Get("path")) << c.Where();
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
