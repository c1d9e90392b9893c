// Section files: the reading cases of tests/data/formats/section_files.txt,
// then saving, a missing file, hostile bytes and many sections.
#include "formats/message_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(MessageFile, EachTextReadsAndSavesAsWritten) {
    for (const TCase& c : ReadCases("formats/section_files.txt")) {
        SCOPED_TRACE(c.Where());
        TMessageFile f("unused");
        f.LoadFromText(c.Get("text"));
        EXPECT_EQ(f.SaveToText(), CrLf(c.Get("saved")));
        for (const std::string& find : c.All("find")) {
            const auto [name, first] = Arrow(find);
            const Lines* lines = f.Find(name);
            EXPECT_EQ(lines ? lines->front() : "none", first) << name;
        }
    }
}

TEST(MessageFile, SavedWholeAndReadBackWithoutATemporaryLeft) {
    TempDir dir;
    TMessageFile missing(dir.File("none.ini"));
    ASSERT_TRUE(missing.AddSection("Old", {"a=1"}));
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(missing.Count(), 0);
    TMessageFile f(dir.File("f.ini"));
    ASSERT_TRUE(f.AddSection("One", {"a=1", "b=2"}));
    ASSERT_TRUE(f.AddSection("Two", {}));
    EXPECT_FALSE(f.AddSection("ONE", {"c=3"}));
    ASSERT_TRUE(f.Save());
    const std::string want = "[One]\r\na=1\r\nb=2\r\n\r\n[Two]\r\n\r\n";
    EXPECT_EQ(ReadFileBytes(dir.File("f.ini")), want);
    TMessageFile g(dir.File("f.ini"));
    ASSERT_TRUE(g.Load());
    EXPECT_EQ(g.Lines(0), (Lines{"a=1", "b=2"}));
    EXPECT_EQ(g.IndexOf("two"), 1);
    // A rename takes no other section's name; its own in other letters is fine.
    EXPECT_FALSE(g.Rename(1, "ONE"));
    EXPECT_FALSE(g.Rename(2, "Three"));
    EXPECT_TRUE(g.Rename(1, "TWO"));
    EXPECT_TRUE(g.Rename(0, "Uno"));
    EXPECT_EQ(g.Name(0) + g.Name(1), "UnoTWO");
    EXPECT_EQ(g.IndexOf("one"), -1);
    EXPECT_TRUE(g.Rename(0, "One"));
    EXPECT_TRUE(g.Rename(1, "Two"));
    g.Save();
    EXPECT_EQ(ReadFileBytes(dir.File("f.ini")), want);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    g.Clear();
    EXPECT_EQ(g.Count(), 0);
    EXPECT_TRUE(g.AddSection("one", {}));
}

TEST(MessageFile, HostileBytesAndManySectionsAreReadByTheRules) {
    TMessageFile f("unused");
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
    // An index keeps 50 000 headers linear; a quadratic scan would not finish.
    std::string text;
    for (int i = 0; i < 50000; ++i) text += "[S" + std::to_string(i) + "]\nline\n";
    f.LoadFromText(text);
    EXPECT_EQ(f.Count(), 50000);
    EXPECT_EQ(f.IndexOf("s49999"), 49999);
}

}  // namespace
}  // namespace kestrova::testing
