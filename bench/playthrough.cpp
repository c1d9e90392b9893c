// Plays a 128-entry tournament in each format through the engine (no file,
// no log) and prints the time per result, the size of an undo snapshot and
// the peak memory with every snapshot kept.
//   playthrough format=<Single|Double|Triple> entries=128 results=<n>
//               us_per_result=<x> snapshot_bytes=<n> peak_rss_kb=<n>
// Given format names as arguments, it plays only those (for a profiler).
// A second figure replays each tournament and keeps every result's least
// time: on a machine shared with other work it moves far less than the first.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/undo.h"

using namespace kestrova;

namespace {
long PeakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

std::string CpuName() {
    std::ifstream f("/proc/cpuinfo");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown cpu";
}

struct Run {
    int Results = 0;
    double MicrosPerResult = 0;
    size_t SnapshotBytes = 0;
    size_t AverageSnapshotBytes = 0;
    std::vector<double> Micros;  // of each result
};

Run PlayOnce(TElimFormat format, unsigned seed) {
    TTourneyState s;
    s.LogToFile = false;  // engine only: no view, no log, no file
    testing::StartTourney(s, format, MaxPlayers);
    std::mt19937 rng(seed);
    Run run;
    std::chrono::nanoseconds spent{0};
    while (!testing::GrandFinalDecided(s)) {
        auto c = testing::ChooseRandomResult(s, rng);
        if (!c) break;
        auto t0 = std::chrono::steady_clock::now();
        AssignWin(s, c->Bracket, c->Round, c->Table, c->Seat, true, false);
        const auto took = std::chrono::steady_clock::now() - t0;
        spent += took;
        run.Micros.push_back(std::chrono::duration<double, std::micro>(took).count());
        ++run.Results;
    }
    // Bytes each snapshot adds (pieces it shares with the one before count
    // there): the largest (the first of a tournament holds every piece) and the average.
    size_t total = 0;
    for (const auto& u : s.UndoList) {
        total += u->Bytes();
        run.SnapshotBytes = std::max(run.SnapshotBytes, u->Bytes());
    }
    run.AverageSnapshotBytes = s.UndoList.empty() ? 0 : total / s.UndoList.size();
    run.MicrosPerResult = run.Results ? spent.count() / 1000.0 / run.Results : 0;
    return run;
}

// The same tournaments replayed: each result's least time, averaged.
double LeastMicrosPerResult(TElimFormat format, const std::vector<Run>& runs, int replays) {
    double total = 0;
    size_t results = 0;
    for (unsigned seed = 1; seed <= runs.size(); ++seed) {
        std::vector<double> least = runs[seed - 1].Micros;
        for (int i = 0; i < replays; ++i) {
            const Run again = PlayOnce(format, seed);
            for (size_t r = 0; r < least.size() && r < again.Micros.size(); ++r)
                least[r] = std::min(least[r], again.Micros[r]);
        }
        for (double m : least) total += m;
        results += least.size();
    }
    return results ? total / results : 0;
}
}  // namespace

int main(int argc, char** argv) {
    std::printf("# machine: %s, %u hardware threads\n", CpuName().c_str(),
                std::thread::hardware_concurrency());
    const char* names[] = {"Single", "Double", "Triple"};
    for (int f = 0; f < 3; ++f) {
        if (argc > 1 && std::find_if(argv + 1, argv + argc, [&](const char* a) {
                            return std::string(a) == names[f];
                        }) == argv + argc)
            continue;
        // The median of a few tournaments smooths out the machine's noise.
        std::vector<Run> runs;
        for (unsigned seed = 1; seed <= 5; ++seed)
            runs.push_back(PlayOnce(static_cast<TElimFormat>(f), seed));
        const double least = LeastMicrosPerResult(static_cast<TElimFormat>(f), runs, 6);
        std::sort(runs.begin(), runs.end(),
                  [](const Run& a, const Run& b) { return a.MicrosPerResult < b.MicrosPerResult; });
        const Run& m = runs[runs.size() / 2];
        std::printf(
            "playthrough format=%s entries=128 results=%d us_per_result=%.2f snapshot_bytes=%zu "
            "peak_rss_kb=%ld\n",
            names[f], m.Results, m.MicrosPerResult, m.SnapshotBytes, PeakRssKb());
        std::printf("# %s: a snapshot adds %zu bytes on average\n", names[f], m.AverageSnapshotBytes);
        std::printf("# %s: %.2f us per result at best (each result's least time over 7 plays)\n",
                    names[f], least);
    }
    return 0;
}
