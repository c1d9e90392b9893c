// A process killed while saving never leaves a truncated tournament file: the
// file (or, failing that, its backup) always opens.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

#include "engine/play_helpers.h"
#include "fakes/fake_ports.h"
#include "records/kvb_reader.h"
#include "engine/tourney_file.h"

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
    std::string bytes = ReadFileBytes(path);
    try {
        kvb::DecodeKvb(bytes);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::set<std::string> FolderNames(const std::string& folder) {
    std::set<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    while (const dirent* e = d ? ::readdir(d) : nullptr)
        if (e->d_name[0] != '.') names.insert(e->d_name);
    if (d) ::closedir(d);
    return names;
}

int Temporaries(const std::string& folder, const std::string& name) {
    int n = 0;
    for (const std::string& f : FolderNames(folder))
        n += f.rfind(name + ".tmp-", 0) == 0 ? 1 : 0;
    return n;
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
    EXPECT_EQ(Temporaries(dir.Path(), "crash.kvb"), 0);
}

// Only the program's own temporaries of that one file are removed: the
// file's exact name, ".tmp-" and six letters or digits, a plain file.
TEST(TourneyFileCrash, SaveAndOpenRemoveOnlyTheirOwnStaleTemporaries) {
    for (bool byOpen : {false, true}) {
        SCOPED_TRACE(byOpen ? "open" : "save");
        TempDir dir;
        TTourneyState s;
        FakeWorld world;
        world.Wire(s);
        s.TourneyPath = dir.File("Friday.kvb");
        StartTourney(s, TElimFormat::Double, 8);
        SaveTourney(s);
        const std::vector<std::string> stale{"Friday.kvb.tmp-AbC123", "Friday.kvb.tmp-000000",
                                             "Friday.kvb.tmp-zzzzzz"};
        const std::vector<std::string> kept{
            "Friday.kvb.tmp-AbC12",   "Friday.kvb.tmp-AbC1234", "Friday.kvb.tmp-Ab_123",
            "Friday.kvb.tmp-Ab.123",  "friday.kvb.tmp-AbC123",  "Other.kvb.tmp-AbC123",
            "xFriday.kvb.tmp-AbC123", "Friday.kvb.tmp",         "Friday.kvb.tmp-",
            "Friday.~kvb.tmp-AbC123", "Friday.kvb.tmpxAbC123"};
        for (const auto& n : stale)
            WriteFileBytes(dir.File(n), "half a save");
        for (const auto& n : kept)
            WriteFileBytes(dir.File(n), "not ours");
        ASSERT_EQ(::mkdir(dir.File("Friday.kvb.tmp-Dir123").c_str(), 0700), 0);
        ASSERT_EQ(::symlink(dir.File(kept[0]).c_str(), dir.File("Friday.kvb.tmp-Lnk123").c_str()),
                  0);
        if (byOpen) {
            TTourneyState t;
            FakeWorld w;
            w.Wire(t);
            ASSERT_TRUE(ReadTourney(t, s.TourneyPath));
        } else {
            SaveTourney(s);
        }
        std::set<std::string> left = FolderNames(dir.Path());
        for (const auto& n : stale)
            EXPECT_EQ(left.count(n), 0u) << n;
        for (const auto& n : kept)
            EXPECT_EQ(ReadFileBytes(dir.File(n)), "not ours") << n;
        EXPECT_EQ(left.count("Friday.kvb.tmp-Dir123"), 1u);
        EXPECT_EQ(left.count("Friday.kvb.tmp-Lnk123"), 1u);
        EXPECT_EQ(left.count("Friday.kvb"), 1u);
    }
}

}  // namespace
}  // namespace kestrova::testing
