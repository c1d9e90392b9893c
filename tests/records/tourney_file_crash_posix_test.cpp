// A process killed while saving never leaves a truncated tournament file: the
// file (or, failing that, its backup) always opens; and saving or opening
// removes only the program's own stale temporaries of that file
// (tests/data/kvb/temporaries.txt).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>

#include "engine/play_helpers.h"
#include "engine/tourney_file.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "records/kvb_reader.h"

namespace kestrova::testing {
namespace {

[[noreturn]] void SaveForever(TTourneyState& s) {
    for (int i = 0;; ++i) {
        s.Players[static_cast<size_t>(i) % s.Players.size()]->BootCount = i;
        s.Players.back()->Name = std::string(static_cast<size_t>(i % 15) + 1, 'x');
        SaveTourney(s);
    }
}

bool Opens(const std::string& path) {
    return kvb::KvbReadable(ReadFileBytes(path));
}

std::set<std::string> FolderNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

TEST(TourneyFileCrash, KilledMidSaveLeavesAFileThatOpens) {
    TempDir dir;
    TTourneyState s;
    s.TourneyPath = dir.File("crash.kvb");
    StartTourney(s, TElimFormat::Triple, 128);
    SaveTourney(s);
    const size_t fullSize = ReadFileBytes(s.TourneyPath).size();
    std::mt19937 rng(77);
    int killedMidway = 0;
    for (int round = 0; round < 200; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever(s);
        ::usleep(static_cast<useconds_t>(rng() % 4000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFSIGNALED(status)) ++killedMidway;
        // Every save writes a file of the same size: a shorter one is a torn write.
        std::string now = ReadFileBytes(s.TourneyPath);
        ASSERT_EQ(now.size(), fullSize) << "round " << round;
        ASSERT_TRUE(Opens(s.TourneyPath) || Opens(dir.File("crash.~kvb"))) << "round " << round;
        ASSERT_TRUE(Opens(s.TourneyPath)) << "round " << round;
    }
    EXPECT_EQ(killedMidway, 200);
    // What the killed saves left behind goes with the next save.
    SaveTourney(s);
    for (const std::string& f : FolderNames(dir.Path()))
        EXPECT_NE(f.rfind("crash.kvb.tmp-", 0), 0u) << f;
}

TEST(TourneyFileCrash, SaveAndOpenRemoveOnlyTheirOwnStaleTemporaries) {
    const TCase c = ReadCases("kvb/temporaries.txt").at(0);
    for (bool byOpen : {false, true}) {
        SCOPED_TRACE(byOpen ? "open" : "save");
        TempDir dir;
        TTourneyState s, t;
        FakeWorld world, other;
        world.Wire(s);
        other.Wire(t);
        s.TourneyPath = dir.File("Friday.kvb");
        StartTourney(s, TElimFormat::Double, 8);
        SaveTourney(s);
        for (const auto& n : c.All("removed"))
            WriteFileBytes(dir.File(n), "half a save");
        for (const auto& n : c.All("kept"))
            WriteFileBytes(dir.File(n), "not ours");
        std::filesystem::create_directory(dir.File("Friday.kvb.tmp-Dir123"));
        std::filesystem::create_symlink(dir.File(c.All("kept")[0]),
                                        dir.File("Friday.kvb.tmp-Lnk123"));
        if (byOpen)
            ASSERT_TRUE(ReadTourney(t, s.TourneyPath));
        else
            SaveTourney(s);
        std::set<std::string> left = FolderNames(dir.Path());
        for (const auto& n : c.All("removed"))
            EXPECT_EQ(left.count(n), 0u) << n;
        for (const auto& n : c.All("kept"))
            EXPECT_EQ(ReadFileBytes(dir.File(n)), "not ours") << n;
        EXPECT_EQ(left.count("Friday.kvb.tmp-Dir123"), 1u);
        EXPECT_EQ(left.count("Friday.kvb.tmp-Lnk123"), 1u);
        EXPECT_EQ(left.count("Friday.kvb"), 1u);
    }
}

}  // namespace
}  // namespace kestrova::testing
