// A process killed while saving never leaves a truncated tournament file: the
// file (or, failing that, its backup) always opens.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "records/kvb_reader.h"
#include "records/tourney_file.h"
#include "records/tourney_play.h"

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

TEST(TourneyFileCrash, KilledMidSaveLeavesAFileThatOpens) {
    TempDir dir;
    TTourneyState s;
    s.TourneyPath = dir.File("crash.kvb");
    SetElimFormat(s, TElimFormat::Triple);
    SignUpAndClose(s, 128, false, 46361.5);
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
}

}  // namespace
}  // namespace kestrova::testing
