// Plays fixed mixes of results and corrections (undo and redo among them)
// through the engine and prints, for each mix, the number of steps and one
// digest of the file's bytes after every step:
//   replay_digest format=<Single|Double|Triple> entries=<n> seed=<s> steps=<n> digest=<hex>
// A change meant to make the engine faster without changing what it does
// must leave every line as it was: run it before and after, and compare.
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "engine/play_helpers.h"
#include "records/kvb_writer.h"

using namespace kestrova;
using namespace kestrova::testing;

namespace {
void Mix(uint64_t& h, const std::string& bytes) {
    for (unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ull;
}

// One played mix: its steps and the digest of what each step left.
std::pair<int, uint64_t> Replay(TElimFormat format, int entries, unsigned seed) {
    TTourneyState s;
    s.LogToFile = false;
    FakeClock clock;  // the times the file keeps are the same on every run
    s.Ports.Clock = &clock;
    StartTourney(s, format, entries);
    std::mt19937 rng(seed * 7919 + static_cast<unsigned>(entries));
    uint64_t h = 14695981039346656037ull;
    int steps = 0;
    while (!GrandFinalDecided(s) && steps < 40 * entries + 400) {
        const THostStep step = PlayMixedStep(s, rng, 30);
        if (!step.Do) break;
        ++steps;
        clock.AdvanceSeconds(60);
        Mix(h, step.Name);
        Mix(h, kvb::EncodeTourney(s));
        for (const auto& p : s.Players)
            Mix(h, std::to_string(p->Points));
    }
    return {steps, h};
}
}  // namespace

int main() {
    const char* names[] = {"Single", "Double", "Triple"};
    for (int f = 0; f < 3; ++f)
        for (int entries : {128, 45, 9})
            for (unsigned seed = 1; seed <= 16; ++seed) {
                const auto [steps, digest] = Replay(static_cast<TElimFormat>(f), entries, seed);
                std::printf("replay_digest format=%s entries=%d seed=%u steps=%d digest=%016llx\n",
                            names[f], entries, seed, steps,
                            static_cast<unsigned long long>(digest));
            }
    return 0;
}
