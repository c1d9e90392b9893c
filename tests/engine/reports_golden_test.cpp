// The three reports of two whole tournaments played by the engine, compared
// byte for byte with files in tests/data/reports (their checking is told in
// tests/data/README.md). The version line reads "@VERSION@" in the files, so
// that a new build number does not touch them. To rewrite them:
//   KESTROVA_WRITE_GOLDEN=1 build/tests/core_tests --gtest_filter='ReportsGolden.*'
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/text.h"
#include "engine/report_play.h"
#include "engine/reports.h"
#include "engine/tourney_file.h"

namespace kestrova {
namespace {

using namespace testing;

std::string WithoutVersion(std::string text) {
    const std::string v = ProgramVersion();
    for (size_t at; (at = text.find(v)) != std::string::npos;) text.replace(at, v.size(), "@VERSION@");
    return text;
}

void CheckGolden(const std::string& name, const std::string& text) {
    const std::string path = std::string(KESTROVA_TEST_DATA) + "/reports/" + name;
    if (std::getenv("KESTROVA_WRITE_GOLDEN")) WriteFileBytes(path, text);
    EXPECT_EQ(text, ReadFileBytes(path)) << name;
}

struct TGoldenCase {
    const char* Name;
    TElimFormat Format;
    int Entries;
    int UpsetEvery;
};

class ReportsGolden : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(ReportsGolden, ThreeReportsOfAWholeTournament) {
    const TGoldenCase& c = GetParam();
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
    world.Wire(s);
    s.TourneyPath = dir.File("golden.kvb");
    s.Locale.LongTimePattern = "h:nn:ss AM/PM";
    // Names of every shape a sign-up lets through, longest and shortest.
    std::vector<std::string> names;
    for (int i = 0; i < c.Entries; ++i)
        names.push_back(i % 5 == 3 ? Format("Longest_name_%02d", i) : Format("Ply%d", i + 1));
    PlayKnownTourney(s, world, c.Format, names, c.UpsetEvery);
    ASSERT_TRUE(GrandFinalDecided(s));
    SetReportTexts(s);
    s.HostPoints = 6;
    s.CoHostPoints = 4;
    s.FirstMatchWinPoints = 3;
    s.WinOfWinPoints = 2;
    s.FixedWinOfWinPoints = 1;
    s.SecondPlacePoints = 5;
    s.ThirdPlacePoints = -8;  // exactly 8
    s.Players[2]->BootCount = 3;
    s.Players[2]->BootedOut = true;
    s.Players[c.Entries - 1]->Disqualified = true;
    world.Dialogs.YesNoAnswers = {true};
    const std::string text = JoinReportLines(BuildTextReport(s));
    const std::string csv = JoinReportLines(BuildCsvReport(s));
    SaveTourney(s);  // recomputes the points with the values above
    TReportLines lines;
    ASSERT_TRUE(BuildResultsReport(s, lines));
    CheckGolden(std::string(c.Name) + "_text.txt", WithoutVersion(text));
    CheckGolden(std::string(c.Name) + ".csv", WithoutVersion(csv));
    CheckGolden(std::string(c.Name) + "_results.txt", WithoutVersion(JoinReportLines(lines)));
}

INSTANTIATE_TEST_SUITE_P(Played, ReportsGolden,
                         ::testing::Values(TGoldenCase{"double16", TElimFormat::Double, 16, 4},
                                           TGoldenCase{"triple24", TElimFormat::Triple, 24, 5}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kestrova
