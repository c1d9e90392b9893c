// A save whose file the reader would refuse never replaces the previous
// file: the tournament on disk stays the last one that opens.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "records/kvb_reader.h"
#include "engine/tourney_file.h"
#include "records/tourney_play.h"

namespace kestrova::testing {
namespace {

const std::string kRefused =
    "CRITICAL PROBLEM: Could not save the tournament, the file would not open again; the "
    "previous file was kept";

struct Breakage {
    const char* What;
    std::function<void(TTourneyState&)> Apply;
};

// States no play produces, each of which the reader refuses.
std::vector<Breakage> Breakages() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {
        {"one entry at two tables of one stage",
         [](TTourneyState& s) { s.Winners[1].Tables[1].Seat[0] = s.Winners[1].Tables[0].Seat[0]; }},
        {"one entry in both seats",
         [](TTourneyState& s) { s.Winners[0].Tables[2].Seat[1] = s.Winners[0].Tables[2].Seat[0]; }},
        {"result 7", [](TTourneyState& s) { s.Winners[0].Tables[3].Result = 7; }},
        {"a start time that is not a number",
         [=](TTourneyState& s) { s.Winners[0].Tables[0].StartTime = nan; }},
        {"a boot start that is not a number",
         [=](TTourneyState& s) { s.Players[5]->BootStart = nan; }},
        {"winners final past the grand final", [](TTourneyState& s) { s.WinnersFinalRound = 9; }},
        {"a bye in a round without tables",
         [](TTourneyState& s) {
             s.OneLoss[s.OneLossFinalRound].TableCount = 0;
             s.OneLoss[s.OneLossFinalRound].HasBye = true;
         }},
        {"33 tables in a one-loss round", [](TTourneyState& s) { s.OneLoss[2].TableCount = 33; }},
    };
}

struct GuardTest : ::testing::Test {
    TTourneyState s;
    FakeWorld world;
    TempDir dir;
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("Friday.kvb");
        SetElimFormat(s, TElimFormat::Double);
        SignUpAndClose(s, 8, false, 46361.5);
        // Winners round 2 seated by hand: the first two tables were decided.
        for (int i = 0; i < 2; ++i) {
            TTableRec& t = s.Winners[0].Tables[i];
            t.Result = 1;
            SeatAt(s.Winners[1].Tables[0], i, *t.Seat[0]);
        }
        ASSERT_TRUE(SaveTourney(s));
        s.Players[0]->BootCount = 1;
        ASSERT_TRUE(SaveTourney(s));  // the backup now holds the first save
    }
    std::string Log() const { return ReadFileBytes(dir.File("Friday.log")); }
};

TEST_F(GuardTest, AFileTheReaderRefusesIsNeverWritten) {
    for (const Breakage& b : Breakages()) {
        SCOPED_TRACE(b.What);
        const std::string file = ReadFileBytes(s.TourneyPath);
        const std::string backup = ReadFileBytes(dir.File("Friday.~kvb"));
        ASSERT_TRUE(kvb::KvbReadable(file));
        const std::string logBefore = Log();
        world.Dialogs.Messages.clear();

        auto snapshot = s.Winners;
        auto oneLoss = s.OneLoss;
        const int wf = s.WinnersFinalRound;
        const double boot = s.Players[5]->BootStart;
        b.Apply(s);
        EXPECT_FALSE(SaveTourney(s));
        EXPECT_EQ(ReadFileBytes(s.TourneyPath), file);
        EXPECT_EQ(ReadFileBytes(dir.File("Friday.~kvb")), backup);
        ASSERT_EQ(world.Dialogs.Messages.size(), 1u);
        EXPECT_EQ(world.Dialogs.Messages[0], kRefused);
        const std::string logAfter = Log();
        ASSERT_GT(logAfter.size(), logBefore.size());
        EXPECT_NE(logAfter.find(kRefused + "\r\n", logBefore.size()), std::string::npos);

        // Put right, the next save writes again and the refused one left no trace.
        s.Winners = snapshot;
        s.OneLoss = oneLoss;
        s.WinnersFinalRound = wf;
        s.Players[5]->BootStart = boot;
        s.Players[0]->BootCount += 1;
        ASSERT_TRUE(SaveTourney(s));
        EXPECT_EQ(ReadFileBytes(dir.File("Friday.~kvb")), file);
        EXPECT_NE(ReadFileBytes(s.TourneyPath), file);
        EXPECT_TRUE(kvb::KvbReadable(ReadFileBytes(s.TourneyPath)));
    }
}

// After a failed read the next save must not overwrite the good backup; a
// refused save is not that save, so the one after it still keeps the backup.
TEST_F(GuardTest, ARefusedSaveKeepsTheSkipBackupFlag) {
    const std::string backup = ReadFileBytes(dir.File("Friday.~kvb"));
    s.SkipBackup = true;
    s.Winners[0].Tables[3].Result = 7;
    EXPECT_FALSE(SaveTourney(s));
    EXPECT_TRUE(s.SkipBackup);
    s.Winners[0].Tables[3].Result = 0;
    ASSERT_TRUE(SaveTourney(s));
    EXPECT_FALSE(s.SkipBackup);
    EXPECT_EQ(ReadFileBytes(dir.File("Friday.~kvb")), backup);
}

TEST_F(GuardTest, ARefusedSaveAsStaysOnTheCurrentFile) {
    const auto recent = s.Settings.RecentTourneys;
    s.Winners[0].Tables[3].Result = 7;
    EXPECT_FALSE(SaveTourneyAs(s, dir.File("Saturday.kvb")));
    EXPECT_EQ(s.TourneyPath, dir.File("Friday.kvb"));
    EXPECT_EQ(ReadFileBytes(dir.File("Saturday.kvb")), "");
    EXPECT_EQ(s.Settings.RecentTourneys, recent);
    s.Winners[0].Tables[3].Result = 0;
    EXPECT_TRUE(SaveTourneyAs(s, dir.File("Saturday.kvb")));
    EXPECT_EQ(s.TourneyPath, dir.File("Saturday.kvb"));
    EXPECT_EQ(s.Settings.RecentTourneys.front(), s.TourneyPath);
}

}  // namespace
}  // namespace kestrova::testing
