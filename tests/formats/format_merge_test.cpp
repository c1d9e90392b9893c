// Moving formats between files: the merges of tests/data/formats/merges.txt,
// exporting, and the one-time rewrite of the second %p of old templates.
#include "formats/format_merge.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

class ScriptedResolver : public IMergeResolver {
  public:
    std::deque<std::string> Answers;
    std::string Asked;  // "name -> proposal", " | " between
    TMergeAnswer AskExisting(const std::string& name, const std::string& proposal) override {
        Asked += (Asked.empty() ? "" : " | ") + name + " -> " + proposal;
        const std::string a = Answers.empty() ? "skip" : Answers.front();
        if (!Answers.empty()) Answers.pop_front();
        if (a.rfind("rename", 0) == 0) return {TMergeChoice::Rename, a == "rename" ? proposal : a.substr(10)};
        return {a == "overwrite" ? TMergeChoice::Overwrite : a == "cancel" ? TMergeChoice::Cancel : TMergeChoice::Skip, ""};
    }
};

TEST(MergeFormats, EachMergeEndsWithTheFileAsWritten) {
    for (const TCase& c : ReadCases("formats/merges.txt")) {
        SCOPED_TRACE(c.Where());
        TempDir dir;
        const std::string path = dir.File("Tourney Formats.ini");
        if (c.Has("before")) WriteFileBytes(path, CrLf(c.Get("before")));
        WriteFileBytes(dir.File("x.kvbf"), CrLf(c.Get("import")));
        ScriptedResolver resolver;
        for (const std::string& a : c.All("answer")) resolver.Answers.push_back(a);
        const bool cancelled = c.Has("answer") && c.All("answer").back() == "cancel";
        EXPECT_EQ(MergeFormats(path, ReadFormatsFile(dir.File("x.kvbf")), resolver), !cancelled);
        EXPECT_EQ(resolver.Asked, c.Get("asked"));
        EXPECT_EQ(ReadFileBytes(path), CrLf(c.Get("after")));
        EXPECT_EQ(ReadFileBytes(dir.File("Tourney Formats.bak")),
                  c.Get("backup") == "yes" ? CrLf(c.Get("before")) : "");
    }
    EXPECT_EQ(RenameProposal({{"a (2)", {}}, {"A (3)", {}}}, "a"), "a (4)");
}

TEST(ExportFormats, CreatesThenAppendsAndReadsBack) {
    TempDir dir;
    const std::string path = dir.File("mine.kvbf");
    ExportFormats(path, {{"One", {"Elim=2", "Points=3"}}}, false);
    ExportFormats(path, {{"Two", {}}}, true);
    EXPECT_EQ(ReadFileBytes(path), "[One]\r\nElim=2\r\nPoints=3\r\n\r\n[Two]\r\n\r\n");
    ExportFormats(path, {{"Three", {"k=v"}}}, false);
    EXPECT_EQ(ReadFileBytes(path), "[Three]\r\nk=v\r\n\r\n");
    EXPECT_TRUE(ReadFormatsFile(dir.File("none.kvbf")).empty());
}

TEST(UpgradeOpponentTokens, TheSecondPlayerTokenBecomesTheOpponentAndNothingElseMoves) {
    TempDir dir;
    const std::string path = dir.File("Tourney Formats.ini");
    const std::string old =
        "; notes %p, %p before any section\r\n[A]\r\nNext assign (2 players)=%p, %p\r\n"
        "Boot timed out=%p %p %p\nx\r\nWelcome=only %p here\r\n[B]\rSignup=%P and %P\r";
    WriteFileBytes(path, old);
    EXPECT_EQ(UpgradeOpponentTokens(path), 3);
    EXPECT_EQ(ReadFileBytes(path),
              "; notes %p, %p before any section\r\n[A]\r\nNext assign (2 players)=%p, %o\r\n"
              "Boot timed out=%p %o %p\nx\r\nWelcome=only %p here\r\n[B]\rSignup=%P and %O\r");
    EXPECT_EQ(ReadFileBytes(dir.File("Tourney Formats.bak")), old);
    // Line ends of CR alone, a comment before the first section.
    WriteFileBytes(path, "; old line ends\r[A]\rBye=%p, %p\r");
    EXPECT_EQ(UpgradeOpponentTokens(path), 1);
    EXPECT_EQ(ReadFileBytes(path), "; old line ends\r[A]\rBye=%p, %o\r");
    // A file with nothing to rewrite is not written (and no backup made).
    std::filesystem::remove(dir.File("Tourney Formats.bak"));
    WriteFileBytes(path, "[A]\r\nBye=%p alone\r\n");
    EXPECT_EQ(UpgradeOpponentTokens(path), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("Tourney Formats.bak")));
    EXPECT_EQ(UpgradeOpponentTokens(dir.File("missing.ini")), 0);
}

}  // namespace
}  // namespace kestrova::testing
