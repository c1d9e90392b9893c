#include "formats/format_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "formats/format_merge.h"

namespace kestrova {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

struct FormatListTest : ::testing::Test {
    TempDir dir;
    std::string path = dir.File("Tourney Formats.ini");
    TFormatList list;
    std::string Names() const {
        std::string s;
        for (const auto& n : list.Names())
            s += (s.empty() ? "" : "|") + n;
        return s;
    }
};

TEST_F(FormatListTest, LoadsDefaultAndTheFileSortedWithoutAStoredDefault) {
    WriteFileBytes(path, "[spades]\r\nElim=2\r\n[DEFAULT]\r\nElim=3\r\n[Bridge]\r\n[hearts]\r\n");
    list.Load(path);
    EXPECT_EQ(Names(), "Bridge|Default|hearts|spades");
    EXPECT_EQ(list.At(1).Lines, DefaultFormatLines());
    EXPECT_TRUE(list.IsDefault(1));
    // A missing file lists "Default" alone.
    list.Load(dir.File("none.ini"));
    EXPECT_EQ(Names(), "Default");
}

TEST_F(FormatListTest, ButtonsFollowTheSelection) {
    WriteFileBytes(path, "[A]\r\n[B]\r\n");
    list.Load(path);  // A, B, Default
    // "EDCX": Edit, Delete, Copy and Export enabled, '-' where not.
    const std::pair<std::vector<int>, const char*> cases[] = {
        {{}, "----"}, {{0}, "EDCX"}, {{2}, "--CX"}, {{0, 1}, "-D-X"}, {{0, 2}, "---X"}};
    for (const auto& [rows, want] : cases) {
        const TFormatButtons b = list.ButtonsFor(rows);
        const std::string shown{b.Edit ? 'E' : '-', b.Delete ? 'D' : '-', b.Copy ? 'C' : '-',
                                b.Export ? 'X' : '-'};
        EXPECT_EQ(shown, want);
    }
}

TEST_F(FormatListTest, CopyRenameAndDeleteKeepTheCurrentName) {
    WriteFileBytes(path, "[Spades]\r\nElim=2\r\n[Copy of Spades]\r\n");
    list.Load(path);
    list.CurrentName = "spades";
    EXPECT_EQ(list.At(list.Copy(2)).Name, "Copy of Spades 1");
    EXPECT_EQ(list.At(list.Copy(3)).Name, "Copy of Spades 2");
    const int def = list.Copy(3);  // "Default"
    EXPECT_EQ(list.At(def).Name, "Copy of Default");
    EXPECT_FALSE(list.IsDefault(def));
    EXPECT_EQ(Names(),
              "Copy of Default|Copy of Spades|Copy of Spades 1|Copy of Spades 2|Default|Spades");

    const int at = list.Replace(5, {"Aces", {"Elim=3"}});
    EXPECT_EQ(at, 0);
    EXPECT_EQ(list.CurrentName, "Aces");
    list.Replace(2, {"Zulu", {}});  // not the current one
    EXPECT_EQ(list.CurrentName, "Aces");
    list.Delete({0, 2, 4});  // Aces, Copy of Spades 1, Default (which stays)
    EXPECT_EQ(list.CurrentName, "");
    EXPECT_EQ(Names(), "Copy of Default|Copy of Spades 2|Default|Zulu");

    list.Save(path);
    std::string expected = "[Copy of Default]\r\n";
    for (const auto& l : DefaultFormatLines())
        expected += l + "\r\n";
    expected += "\r\n[Copy of Spades 2]\r\nElim=2\r\n\r\n[Zulu]\r\n\r\n";
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_EQ(ReadFileBytes(dir.File("Tourney Formats.bak")),
              "[Spades]\r\nElim=2\r\n[Copy of Spades]\r\n");
}

TEST_F(FormatListTest, AFailedSaveLeavesTheFileAndItsBackup) {
    WriteFileBytes(path, "[A]\r\nElim=2\r\n");
    // The backup's place is taken by a folder that cannot be replaced.
    std::filesystem::create_directories(dir.File("Tourney Formats.bak/keep"));
    list.Load(path);
    list.Add({"B", {"Elim=3"}});
    EXPECT_THROW(list.Save(path), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(path), "[A]\r\nElim=2\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("Tourney Formats.bak/keep")));
    EXPECT_EQ(list.Count(), 3);
}

struct SkipAll : IMergeResolver {
    int Asked = 0;
    TMergeAnswer AskExisting(const std::string&, const std::string&) override {
        ++Asked;
        return {TMergeChoice::Skip, {}};
    }
};

TEST_F(FormatListTest, AHugeImportMergesInOnePassAndNamelessSectionsAreLeftOut) {
    std::string big = "[]nameless\r\nElim=2\r\n";
    for (int i = 0; i < 100000; ++i)
        big += "[F" + std::to_string(i) + "]\r\nElim=2\r\n";
    big += "[f7]\r\nElim=3\r\n";  // the same name in other letter case
    WriteFileBytes(dir.File("big.kvbf"), big);
    WriteFileBytes(path, "[F5]\r\n");
    std::vector<TImportedFormat> offered = ImportableFormats({dir.File("big.kvbf")});
    ASSERT_EQ(offered.size(), 100001u);
    EXPECT_EQ(offered[0].FileLabel, "big");
    std::vector<TTourneyFormat> chosen;
    for (auto& o : offered)
        chosen.push_back(std::move(o.Format));
    SkipAll skip;
    ASSERT_TRUE(MergeFormats(path, chosen, skip));
    EXPECT_EQ(skip.Asked, 2);  // F5, and f7 after F7 came in
    list.Load(path);
    EXPECT_EQ(list.Count(), 100001);
}

}  // namespace
}  // namespace kestrova
