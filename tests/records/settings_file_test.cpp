// The settings file beyond what the reading cases show: names without regard
// to case, which sections make the key exist, a cleared subkey, commits that
// cannot be made and a file too large to read whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_ports.h"
#include "records/settings_file.h"

namespace kestrova::testing {
namespace {

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
    WriteFileBytes(dir.File("big"), "[Kestrova]\n\"Left\"=dword:1\n" + std::string(3 << 20, 'x') +
                                        "\n\"Top\"=dword:2\n");
    TSettingsFile f(dir.File("big"));
    EXPECT_EQ(f.Read("", "Left").Int, 1);
    EXPECT_FALSE(f.Read("", "Top").Exists());
}

}  // namespace
}  // namespace kestrova::testing
