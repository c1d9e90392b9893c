// The typed settings file: what it writes, that every value comes back with
// its type, and that damaged or hostile text is read as far as it makes
// sense without ever failing.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_ports.h"
#include "records/settings_file.h"

namespace kestrova {
namespace {

using testing::TempDir;

TEST(SettingsFile, WritesTypedValuesAndReadsThemBack) {
    TempDir dir;
    const std::string path = dir.Path() + "cfg/Kestrova.settings";
    TSettingsFile f(path);
    EXPECT_FALSE(f.Exists());
    f.Write("", "Left", TStoredValue::Integer(401));
    f.Write("", "Confirm Notify Filter", TStoredValue::Integer(-2147483647 - 1));
    f.Write("", "Host name", TStoredValue::String("Ma\xEFt\xE9 \"the\" \\host"));
    f.Write("", "Number as text", TStoredValue::String("12"));
    f.Write("RestoreMRU", "F0", TStoredValue::String("/t/Cup one.kvb"));
    f.Write("", "left", TStoredValue::Integer(402));  // names without regard to case
    f.Commit();
    EXPECT_EQ(testing::ReadFileBytes(path),
              "; Kestrova settings: integers as dword:<hex>, strings in double quotes\n"
              "[Kestrova]\n"
              "\"Left\"=dword:00000192\n"
              "\"Confirm Notify Filter\"=dword:80000000\n"
              "\"Host name\"=\"Ma\xC3\xAFt\xC3\xA9 \\\"the\\\" \\\\host\"\n"
              "\"Number as text\"=\"12\"\n"
              "[Kestrova\\RestoreMRU]\n"
              "\"F0\"=\"/t/Cup one.kvb\"\n");

    TSettingsFile g(path);
    EXPECT_TRUE(g.Exists());
    EXPECT_EQ(g.Read("", "LEFT").Int, 402);
    EXPECT_TRUE(g.Read("", "Left").IsInteger());
    EXPECT_EQ(g.Read("", "Confirm Notify Filter").Int, -2147483647 - 1);
    EXPECT_EQ(g.Read("", "Host name").Text, "Ma\xEFt\xE9 \"the\" \\host");
    EXPECT_TRUE(g.Read("", "Number as text").IsString());
    EXPECT_EQ(g.Read("restoremru", "F0").Text, "/t/Cup one.kvb");
    EXPECT_FALSE(g.Read("", "F0").Exists());
    g.ClearSubkey("RestoreMRU");
    EXPECT_FALSE(g.Read("RestoreMRU", "F0").Exists());
    EXPECT_EQ(g.Text().find("F0"), std::string::npos);
}

TEST(SettingsFile, DamagedTextIsReadAsFarAsItMakesSense) {
    TSettingsFile f("/nonexistent/x");
    f.Parse(std::string("garbage before any section\n"
                        "\"Orphan\"=dword:1\n"
                        "[Other Program]\n"
                        "\"Left\"=dword:00000005\n"
                        "[Kestrova]\r\n"
                        "\"Left\"=dword:0000000A\r\n"
                        "\"Top\"=dword:123456789\n"        // nine digits: not a dword
                        "\"Height\"=dword:\n"
                        "\"Bracket Arrangement\"=dword:zz\n"
                        "\"Host name\"=\"unterminated\n"
                        "\"Default location\"=\"a\"junk\n"
                        "\"Active Macro File\"=\"/m.kvm\"\n"
                        "\"Active Macro File\"=\"/n.kvm\"\n"  // the last one wins
                        "no equals sign\n"
                        "\"\"=dword:7\n"
                        "\"Cap Names\"=hex:01\n"
                        "[Kestrova\\]\n"
                        "\"Lost\"=dword:1\n"
                        "[Kestrova\\RestoreMRU]\n"
                        "\"F0\"=\"\xff\xfe bad utf-8\"\n") +
            std::string("\"Nul\"=\"a\0b\"\n", 12));
    EXPECT_TRUE(f.Exists());
    EXPECT_EQ(f.Read("", "Left").Int, 10);
    for (const char* name : {"Top", "Height", "Bracket Arrangement", "Host name",
                             "Default location", "Cap Names", "Orphan", "Lost"})
        EXPECT_FALSE(f.Read("", name).Exists()) << name;
    EXPECT_EQ(f.Read("", "Active Macro File").Text, "/n.kvm");
    EXPECT_EQ(f.Read("", "").Int, 7);
    EXPECT_TRUE(f.Read("RestoreMRU", "F0").IsString());
    EXPECT_EQ(f.Read("RestoreMRU", "Nul").Text, std::string("a\0b", 3));
}

TEST(SettingsFile, OnlyOurSubkeysMakeTheKeyExistAndAFolderIsNoFile) {
    TSettingsFile f("/nonexistent/x");
    f.Parse("[Other]\n\"Left\"=dword:1\n");
    EXPECT_FALSE(f.Exists());
    f.Parse("[Kestrova\\MacroMRU]\n\"F0\"=\"/m.kvm\"\n");
    EXPECT_TRUE(f.Exists());
    EXPECT_FALSE(f.Read("", "Left").Exists());

    TempDir dir;
    std::filesystem::create_directories(dir.Path() + "dir");
    TSettingsFile d(dir.Path() + "dir");
    EXPECT_FALSE(d.Exists());
    d.Write("", "Left", TStoredValue::Integer(1));
    EXPECT_THROW(d.Commit(), std::runtime_error);
}

TEST(SettingsFile, AFolderThatCannotBeMadeFailsTheCommit) {
    TempDir dir;
    testing::WriteFileBytes(dir.File("plain"), "x");
    TSettingsFile f(dir.Path() + "plain/Kestrova.settings");
    f.Write("", "Left", TStoredValue::Integer(1));
    EXPECT_THROW(f.Commit(), std::runtime_error);
    EXPECT_EQ(f.Read("", "Left").Int, 1);  // still held
}

TEST(SettingsFile, AHugeFileIsReadOnlyToItsFirstMegabyte) {
    TempDir dir;
    std::string text = "[Kestrova]\n\"Left\"=dword:1\n";
    text += std::string(3 << 20, 'x');
    text += "\n\"Top\"=dword:2\n";
    testing::WriteFileBytes(dir.File("big"), text);
    TSettingsFile f(dir.File("big"));
    EXPECT_EQ(f.Read("", "Left").Int, 1);
    EXPECT_FALSE(f.Read("", "Top").Exists());
}

}  // namespace
}  // namespace kestrova
