#include "formats/format_merge.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "fakes/fake_ports.h"
#include "formats/message_file.h"

namespace kestrova {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using Lines = std::vector<std::string>;

class ScriptedResolver : public IMergeResolver {
public:
    std::deque<TMergeAnswer> Answers;
    std::vector<std::string> Asked;  // "name -> proposal"
    TMergeAnswer AskExisting(const std::string& name, const std::string& proposal) override {
        Asked.push_back(name + " -> " + proposal);
        TMergeAnswer a = Answers.front();
        Answers.pop_front();
        if (a.Choice == TMergeChoice::Rename && a.NewName.empty()) a.NewName = proposal;
        return a;
    }
};

TEST(UpgradeOpponentTokens, SecondPlayerTokenBecomesOpponentAndNothingElseMoves) {
    TempDir dir;
    const std::string path = dir.File("Tourney Formats.ini");
    const std::string old =
        "; notes %p, %p before any section\r\n"
        "[A]\r\n"
        "Next assign (2 players)=%p, %p\r\n"
        "Boot timed out=%p %p %p\n"
        "x\r\n"
        "Welcome=only %p here\r\n"
        "[B]\r"
        "Signup=%P and %P\r";
    WriteFileBytes(path, old);
    EXPECT_EQ(UpgradeOpponentTokens(path), 3);
    EXPECT_EQ(ReadFileBytes(path),
              "; notes %p, %p before any section\r\n"
              "[A]\r\n"
              "Next assign (2 players)=%p, %o\r\n"
              "Boot timed out=%p %o %p\n"
              "x\r\n"
              "Welcome=only %p here\r\n"
              "[B]\r"
              "Signup=%P and %O\r");
    EXPECT_EQ(ReadFileBytes(dir.File("Tourney Formats.bak")), old);
    // A file with nothing to rewrite is not written (and no backup made).
    std::filesystem::remove(dir.File("Tourney Formats.bak"));
    WriteFileBytes(path, "[A]\r\nBye=%p alone\r\n");
    EXPECT_EQ(UpgradeOpponentTokens(path), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("Tourney Formats.bak")));
    EXPECT_EQ(UpgradeOpponentTokens(dir.File("missing.ini")), 0);
}

TEST(ExportFormats, CreatesThenAppendsAndReadsBack) {
    TempDir dir;
    const std::string path = dir.File("mine.kvbf");
    ExportFormats(path, {{"One", {"Elim=2", "Points=3"}}}, false);
    EXPECT_EQ(ReadFileBytes(path), "[One]\r\nElim=2\r\nPoints=3\r\n\r\n");
    ExportFormats(path, {{"Two", {}}}, true);
    EXPECT_EQ(ReadFileBytes(path), "[One]\r\nElim=2\r\nPoints=3\r\n\r\n[Two]\r\n\r\n");
    ExportFormats(path, {{"Three", {"k=v"}}}, false);
    EXPECT_EQ(ReadFileBytes(path), "[Three]\r\nk=v\r\n\r\n");
    auto formats = ReadFormatsFile(path);
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(formats[0].Name, "Three");
    EXPECT_TRUE(ReadFormatsFile(dir.File("none.kvbf")).empty());
}

class MergeTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("Tourney Formats.ini");
    ScriptedResolver resolver;
    const std::string before =
        "[Weekly]\r\nElim=1\r\n\r\n[Weekly (2)]\r\nElim=2\r\n\r\n[Other]\r\nElim=3\r\n\r\n";
    MergeTest() { WriteFileBytes(path, before); }
    std::vector<TTourneyFormat> After() { return ReadFormatsFile(path); }
};

TEST_F(MergeTest, NewNamesAppendOverwriteReplacesSkipKeeps) {
    resolver.Answers = {{TMergeChoice::Overwrite, ""}, {TMergeChoice::Skip, ""}};
    ASSERT_TRUE(MergeFormats(path,
                             {{"WEEKLY", {"Elim=3", "Boot time=5"}},
                              {"New one", {"Elim=2"}},
                              {"other", {"lost"}}},
                             resolver));
    EXPECT_EQ(resolver.Asked, (Lines{"WEEKLY -> WEEKLY (3)", "other -> other (2)"}));
    EXPECT_EQ(ReadFileBytes(path),
              "[WEEKLY]\r\nElim=3\r\nBoot time=5\r\n\r\n[Weekly (2)]\r\nElim=2\r\n\r\n"
              "[Other]\r\nElim=3\r\n\r\n[New one]\r\nElim=2\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("Tourney Formats.bak")), before);
}

TEST_F(MergeTest, RenameTakesTheLowestFreeNumberAndAnExistingNameIsOverwritten) {
    resolver.Answers = {{TMergeChoice::Rename, ""}, {TMergeChoice::Rename, "other"}};
    ASSERT_TRUE(MergeFormats(path, {{"Weekly", {"a=1"}}, {"Weekly", {"b=2"}}}, resolver));
    // The first import takes "Weekly (3)"; the host renames the second onto
    // "other", which is then overwritten without a further question.
    EXPECT_EQ(resolver.Asked, (Lines{"Weekly -> Weekly (3)", "Weekly -> Weekly (4)"}));
    auto after = After();
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[2].Name, "other");
    EXPECT_EQ(after[2].Lines, Lines{"b=2"});
    EXPECT_EQ(after[3].Name, "Weekly (3)");
    EXPECT_EQ(after[3].Lines, Lines{"a=1"});
}

TEST_F(MergeTest, CancelWritesNothing) {
    resolver.Answers = {{TMergeChoice::Overwrite, ""}, {TMergeChoice::Cancel, ""}};
    EXPECT_FALSE(MergeFormats(path, {{"Other", {"x=1"}}, {"Weekly", {"y=2"}}}, resolver));
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(dir.File("Tourney Formats.bak")));
}

TEST(MergeFormats, IntoAMissingFileCreatesIt) {
    TempDir dir;
    ScriptedResolver resolver;
    const std::string path = dir.File("Tourney Formats.ini");
    ASSERT_TRUE(MergeFormats(path, {{"Solo", {"Elim=2"}}}, resolver));
    EXPECT_EQ(ReadFileBytes(path), "[Solo]\r\nElim=2\r\n\r\n");
    EXPECT_TRUE(resolver.Asked.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("Tourney Formats.bak")));
    EXPECT_EQ(RenameProposal({{"a (2)", {}}, {"A (3)", {}}}, "a"), "a (4)");
}

}  // namespace
}  // namespace kestrova
