// The three reports of tournaments played through the engine, compared byte
// for byte with files in tests/data/reports (their checking is told in
// tests/data/README.md); the version reads "@VERSION@" there. To rewrite:
//   KESTROVA_WRITE_GOLDEN=1 build/tests/core_tests --gtest_filter='Played/Reports.*'
// Then the refusals, the first-game question and a failed write.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include <cstdlib>

#include "common/file_util.h"
#include "common/text.h"
#include "engine/report_play.h"
#include "engine/reports.h"
#include "engine/status.h"

namespace kestrova {
namespace {

using namespace testing;

void CheckGolden(const std::string& name, std::string text) {
    const std::string v = ProgramVersion();
    for (size_t at; (at = text.find(v)) != std::string::npos;)
        text.replace(at, v.size(), "@VERSION@");
    const std::string path = std::string(KESTROVA_TEST_DATA) + "/reports/" + name;
    if (std::getenv("KESTROVA_WRITE_GOLDEN")) WriteFileBytes(path, text);
    EXPECT_EQ(text, ReadFileBytes(path)) << name;
}

struct TReportCase {
    const char* Name;
    TElimFormat Format;
    int Entries, UpsetEvery, Results;
    void (*Adjust)(TTourneyState&, FakeWorld&);
};

// Single: host 5, co-host 3, the seventh entry booted out after 2 boots, the eighth disqualified.
void Single8(TTourneyState& s, FakeWorld&) {
    s.HostPoints = 5;
    s.CoHostPoints = 3;
    s.Players[6]->BootCount = 2;
    s.Players[6]->BootedOut = true;
    s.Players[7]->Disqualified = true;
}

// Ten results of fifteen: P015 renamed "Bob" alone at the bye table
// (renumbered 7); table 50 both quit, table 51 decided but not ended.
void Open15(TTourneyState& s, FakeWorld&) {
    s.Players[14]->Name = "Bob";
    s.Winners[0].Tables[7].TableNo = 7;
    s.Winners[0].Tables[0].Result = 4;
    s.Winners[0].Tables[1].EndTime = 0;
}

// As Single8, with names at their longest with high bytes, a comma and
// quotes only a hostile file holds; unscheduled hosts take the other pair,
// a host without a player name gets nothing.
void Hostile8(TTourneyState& s, FakeWorld& world) {
    Single8(s, world);
    s.Players[0]->Name = "Abcdefghijklm\xE9\xFF";
    s.Players[1]->Name = "Teammate_numb1/Second\x80mate_1234";
    s.Players[2]->Name = "Com,ma\"Quote";
    s.CurrentFormat = "A,\"B\"";
    s.MsgParams.StartTime = "8 \"sharp\"";
    s.UnscheduledHost = true;
    s.UnscheduleHostPoints = 9;
    s.CoHostPlayerName.clear();
}

// The golden tournaments of tests/data/README.md.
void Golden(TTourneyState& s, FakeWorld& world) {
    for (size_t i = 0; i < s.Players.size(); ++i)
        s.Players[i]->Name = i % 5 == 3 ? Format("Longest_name_%02d", static_cast<int>(i))
                                        : Format("Ply%d", static_cast<int>(i) + 1);
    s.HostPoints = 6;
    s.CoHostPoints = 4;
    s.FirstMatchWinPoints = 3;
    s.WinOfWinPoints = 2;
    s.FixedWinOfWinPoints = 1;
    s.SecondPlacePoints = 5;
    s.ThirdPlacePoints = -8;  // exactly 8
    s.Players[2]->BootCount = 3;
    s.Players[2]->BootedOut = true;
    s.Players.back()->Disqualified = true;
    world.Dialogs.YesNoAnswers = {true};
}

class Reports : public ::testing::TestWithParam<TReportCase> {
  protected:
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("t.kvb");
        s.Locale.LongTimePattern = "h:nn:ss AM/PM";
    }
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
};

TEST_P(Reports, ThreeReportsAsCheckedByHand) {
    const TReportCase& c = GetParam();
    PlayKnownTourney(s, world, c.Format, std::vector<std::string>(c.Entries), c.UpsetEvery,
                     c.Results);
    SetReportTexts(s);
    c.Adjust(s, world);
    UpdatePlayerState(s);
    CheckGolden(std::string(c.Name) + "_text.txt", JoinReportLines(BuildTextReport(s)));
    CheckGolden(std::string(c.Name) + ".csv", JoinReportLines(BuildCsvReport(s)));
    TReportLines lines;
    ASSERT_TRUE(BuildResultsReport(s, lines));
    CheckGolden(std::string(c.Name) + "_results.txt", JoinReportLines(lines));
}

INSTANTIATE_TEST_SUITE_P(
    Played, Reports,
    ::testing::Values(TReportCase{"single8", TElimFormat::Single, 8, 0, -1, Single8},
                      TReportCase{"open15", TElimFormat::Single, 15, 0, 10, Open15},
                      TReportCase{"hostile8", TElimFormat::Single, 8, 0, -1, Hostile8},
                      TReportCase{"double16", TElimFormat::Double, 16, 4, -1, Golden},
                      TReportCase{"triple24", TElimFormat::Triple, 24, 5, -1, Golden}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Reports, ResultsAreRefusedBeforeTheStartAndWriteNothing) {
    const std::string path = dir.File("points.txt");
    EXPECT_FALSE(WriteResultsReport(s, path));
    EXPECT_EQ(
        world.Dialogs.Messages,
        std::vector<std::string>{"Points cannot be generated until the tourney has been started"});
    EXPECT_FALSE(ReadFileIfExists(path).has_value());
    EXPECT_FALSE(SaveAsType(s, path, TSaveAsType::ResultsReport));
    // The exports need no start.
    EXPECT_TRUE(SaveAsType(s, path, TSaveAsType::TextExport));
    EXPECT_NE(ReadFileBytes(path).find("Number of Players:  0\r\n"), std::string::npos);
}

// Every result goes to seat 1: the final's W and L follow the seat that won.
TEST_F(Reports, TheFinalMarksTheWinnerInEitherSeat) {
    PlayKnownTourney(s, world, TElimFormat::Single, std::vector<std::string>(8), 1);
    const std::string text = JoinReportLines(BuildTextReport(s));
    const size_t at = text.find("\r\nFinal\r\n");
    ASSERT_NE(at, std::string::npos) << text;
    const std::string final = text.substr(at, text.find("\r\n\r\n", at) - at);
    const size_t lost = final.find("- L   Email"), won = final.find("- W   Email");
    EXPECT_TRUE(lost != std::string::npos && won != std::string::npos && lost < won) << final;
}

// Double, 8 entries: P001 wins the winners' bracket and the grand final
// against the one-loss champion, who may have won the first game.
TEST_F(Reports, FirstGameQuestionAndAlphabeticalOrderAfterwards) {
    std::vector<std::string> names(8);
    names[4] = "zed";
    names[5] = "Amy";
    PlayKnownTourney(s, world, TElimFormat::Double, names, 0);
    const TPlayer* champion = s.OneLoss[s.OneLossFinalRound].Tables[0].Winner();
    ASSERT_EQ(s.Winners[s.GrandFinalRound].Tables[0].Loser(), champion);
    ASSERT_FALSE(s.UndoList.empty());
    const std::string question =
        "Did \"" + champion->Name +
        "\" (the winner of the loser's bracket) win the first game in the final?";
    struct Case {
        int32_t Bonus;
        bool Double, Answer, Asked;
        int Added;
    } const cases[] = {{0, false, true, false, 0},
                       {1, false, true, true, 1},
                       {4, false, false, true, 0},
                       {4, false, true, true, 4},
                       {4, true, true, true, 8}};
    for (const Case& c : cases) {
        s.FirstMatchWinPoints = c.Bonus;
        s.DoublePlayerPoints = c.Double;
        UpdatePlayerState(s);
        world.Dialogs.Asked.clear();
        world.Dialogs.YesNoAnswers = {c.Answer};
        TReportLines lines;
        ASSERT_TRUE(BuildResultsReport(s, lines));
        EXPECT_EQ(world.Dialogs.Asked, std::vector<std::string>(c.Asked ? 1 : 0, question));
        const std::string line =
            Format("\r\n%d ", champion->Points + c.Added) + champion->Name + "\r\n";
        EXPECT_NE(JoinReportLines(lines).find(line), std::string::npos) << line;
    }
    std::vector<std::string> order;
    for (const auto& p : s.Players)
        order.push_back(p->Name);
    EXPECT_EQ(order, (std::vector<std::string>{"Amy", "P001", "P002", "P003", "P004", "P007",
                                               "P008", "zed"}));
    // Undo restores entries by position: its stacks went with the old order.
    EXPECT_TRUE(s.UndoList.empty());
}

#ifndef _WIN32
// A full disk: whether `write` throws while writes past `bytes` fail.
template <class F>
bool FailsOnAFullDisk(F write, rlim_t bytes) {
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool failed = false;
    try {
        write();
    } catch (const std::runtime_error&) {
        failed = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    return failed;
}
#endif

// A report that cannot be written leaves the older one as it was.
TEST_F(Reports, AFailedWriteKeepsTheOlderReport) {
    PlayKnownTourney(s, world, TElimFormat::Single, std::vector<std::string>(8), 0);
    const std::string path = dir.File("export.csv");
    WriteCsvReport(s, path);
    const std::string older = ReadFileBytes(path);
    EXPECT_THROW(WriteCsvReport(s, dir.File("gone/export.csv")), std::runtime_error);
#ifndef _WIN32  // no file size limit there; a replace refused is tested with the Win32 files
    s.Players[0]->Name = "Changed";
    EXPECT_TRUE(FailsOnAFullDisk([&] { WriteCsvReport(s, path); }, 100));
    EXPECT_EQ(ReadFileBytes(path), older);
    EXPECT_TRUE(FailsOnAFullDisk([&] { WriteTextReport(s, path); }, 100));
    EXPECT_EQ(ReadFileBytes(path), older);
#endif
}

}  // namespace
}  // namespace kestrova
