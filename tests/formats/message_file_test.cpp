#include "formats/message_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "common/file_util.h"
#include "fakes/fake_ports.h"

namespace kestrova {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using Lines = std::vector<std::string>;

TEST(MessageFile, MissingFileLoadsFalseAndEmpty) {
    TempDir dir;
    TMessageFile f(dir.File("none.ini"));
    ASSERT_TRUE(f.AddSection("Old", {"a=1"}));
    EXPECT_FALSE(f.Load());
    EXPECT_EQ(f.Count(), 0);
    EXPECT_EQ(f.Find("Old"), nullptr);
}

TEST(MessageFile, ReadsByTheTrimmingHeaderAndRepeatRules) {
    TempDir dir;
    const std::string path = dir.File("f.ini");
    WriteFileBytes(path,
                   "orphan line before any header\r\n"
                   "  [Fast]  \r\n"
                   "   Points=1,2,3\t\r\n"
                   "ab\r\n"             // two characters: dropped
                   "\r\n"
                   "Elim=2\r\n"
                   "[Open header\n"     // no "]": the rest of the line names it
                   "Boot time=9\n"
                   "[X]trailing text\r"  // CR alone ends a line too
                   "Welcome=hi there\r"
                   "[fast]\r\n"          // repeated (case ignored): its block is dropped
                   "Points=9\r\n"
                   "Lost=1\r\n"
                   "[a\r\n"              // two characters: not even a header
                   "still dropped=1\r\n"
                   "[Last]\r\n"
                   "k=v");
    TMessageFile f(path);
    ASSERT_TRUE(f.Load());
    ASSERT_EQ(f.Count(), 4);
    EXPECT_EQ(f.Name(0), "Fast");
    EXPECT_EQ(f.Lines(0), (Lines{"Points=1,2,3", "Elim=2"}));
    EXPECT_EQ(f.Name(1), "Open header");
    EXPECT_EQ(f.Lines(1), (Lines{"Boot time=9"}));
    EXPECT_EQ(f.Name(2), "X");
    EXPECT_EQ(f.Lines(2), (Lines{"Welcome=hi there"}));
    EXPECT_EQ(f.Name(3), "Last");
    EXPECT_EQ(f.Lines(3), (Lines{"k=v"}));
    ASSERT_NE(f.Find("FAST"), nullptr);
    EXPECT_EQ(*f.Find("open HEADER"), (Lines{"Boot time=9"}));
    EXPECT_EQ(f.Find("Fas"), nullptr);
}

TEST(MessageFile, SaveWritesCrLfBlocksAndReadsBackIdentically) {
    TempDir dir;
    const std::string path = dir.File("f.ini");
    TMessageFile f(path);
    ASSERT_TRUE(f.AddSection("One", {"a=1", "b=2"}));
    ASSERT_TRUE(f.AddSection("Two", {}));
    EXPECT_FALSE(f.AddSection("ONE", {"c=3"}));
    EXPECT_EQ(f.Lines(0), (Lines{"a=1", "b=2"}));
    ASSERT_TRUE(f.Save());
    const std::string want = "[One]\r\na=1\r\nb=2\r\n\r\n[Two]\r\n\r\n";
    EXPECT_EQ(ReadFileBytes(path), want);

    TMessageFile g(path);
    ASSERT_TRUE(g.Load());
    ASSERT_EQ(g.Count(), 2);
    EXPECT_EQ(g.Lines(0), f.Lines(0));
    g.Save();
    EXPECT_EQ(ReadFileBytes(path), want);
    // No temporary file is left beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
    EXPECT_EQ(files, 1);
    g.Clear();
    EXPECT_EQ(g.Count(), 0);
    EXPECT_TRUE(g.AddSection("one", {}));
}

TEST(MessageFile, TwoCharacterLineIsLostOnTheNextSave) {
    TempDir dir;
    const std::string path = dir.File("f.ini");
    WriteFileBytes(path, "[S]\nok line\nxy\n");
    TMessageFile f(path);
    f.Load();
    f.Save();
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nok line\r\n\r\n");
}

TEST(MessageFile, HostileInputIsReadByTheRules) {
    TMessageFile f("unused");
    f.LoadFromText("");
    EXPECT_EQ(f.Count(), 0);
    f.LoadFromText("no header here\r\nnor here\r\n");
    EXPECT_EQ(f.Count(), 0);
    const std::string longLine(100000, 'w');
    f.LoadFromText("[Long]\r\n" + longLine + "\r\n[" + longLine);
    ASSERT_EQ(f.Count(), 2);
    EXPECT_EQ(f.Lines(0)[0].size(), 100000u);
    EXPECT_EQ(f.Name(1).size(), 100000u);
    // Binary garbage with NULs and high bytes: no crash, and the same result twice.
    std::mt19937 rng(7);
    std::string junk(200000, '\0');
    for (char& c : junk) c = static_cast<char>(rng() % 256);
    junk += "\n[Z]\n\x01\x02zz\x95\n";
    f.LoadFromText(junk);
    const std::string once = f.SaveToText();
    f.LoadFromText(junk);
    EXPECT_EQ(f.SaveToText(), once);
    ASSERT_NE(f.Find("z"), nullptr);
    EXPECT_EQ(f.Find("z")->back(), "zz\x95");
}

TEST(MessageFile, ManySectionsLoadQuickly) {
    // A linear index keeps 50 000 headers cheap; a quadratic scan would not finish.
    std::string text;
    for (int i = 0; i < 50000; ++i) text += "[S" + std::to_string(i) + "]\nline\n";
    TMessageFile f("unused");
    f.LoadFromText(text);
    EXPECT_EQ(f.Count(), 50000);
    EXPECT_EQ(f.IndexOf("s49999"), 49999);
}

TEST(FileUtil, AtomicWriteReplacesAndReportsFailure) {
    TempDir dir;
    const std::string path = dir.File("x.txt");
    WriteFileAtomically(path, "old");
    WriteFileAtomically(path, std::string("new\0bytes", 9));
    EXPECT_EQ(ReadFileBytes(path), std::string("new\0bytes", 9));
    EXPECT_THROW(WriteFileAtomically(dir.File("no/such/folder/x.txt"), "a"), std::runtime_error);
    try {
        WriteFileAtomically(dir.File("no/x.txt"), "a");
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("no/x.txt"), std::string::npos);
    }
    EXPECT_TRUE(CopyFileAtomically(path, dir.File("y.bak")));
    EXPECT_EQ(ReadFileBytes(dir.File("y.bak")), ReadFileBytes(path));
    EXPECT_FALSE(CopyFileAtomically(dir.File("missing"), dir.File("z")));
    EXPECT_EQ(ChangeFileExt("/a.b/Tourney Formats.ini", ".bak"), "/a.b/Tourney Formats.bak");
    EXPECT_EQ(ChangeFileExt("/a.b/noext", ".bak"), "/a.b/noext.bak");
}

}  // namespace
}  // namespace kestrova
