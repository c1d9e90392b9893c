// Token expansion of arbitrary templates against a small bracket whose
// markers, results and parameters come from the first input bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/tourney_state.h"
#include "formats/messages.h"

namespace {
using namespace kestrova;

class FixedClock : public IClock {
  public:
    TDateTime Now() override { return EncodeDateTime(2026, 12, 5, 20, 5, 0); }
};

struct World {
    FixedClock clock;
    TTourneyState s;
    World() {
        s.Ports.Clock = &clock;
        const char* names[] = {"Ann", "Bob%p", "C%c", "Dee"};
        for (const char* n : names) {
            s.Players.push_back(std::make_unique<TPlayer>());
            s.Players.back()->Name = n;
        }
    }
};

// Reads one byte as a small signed value (so that out-of-range markers occur).
int Take(std::string_view& in, int bias) {
    if (in.empty()) return 0;
    int v = static_cast<unsigned char>(in[0]) - bias;
    in.remove_prefix(1);
    return v;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World w;
    TTourneyState& s = w.s;
    std::string_view in(reinterpret_cast<const char*>(data), size);
    s.ElimFormat = static_cast<TElimFormat>((Take(in, 0) & 0xff) % 3);
    s.WinnersFinalRound = Take(in, 8) % 20;
    s.GrandFinalRound = Take(in, 8) % 20;
    s.OneLossFinalRound = Take(in, 8) % 20;
    s.OneLossLastRound = Take(in, 8) % 20;
    s.TwoLossFinalRound = Take(in, 8) % 20;
    s.CapNames = Take(in, 0) & 1;
    s.MiddleZoneBias = Take(in, 128) * 15;
    s.RightZoneBias = Take(in, 128) * 15;
    // Results of a few tables of the rounds the markers may point at.
    for (int r = 0; r < MaxRounds; ++r) {
        for (int t = 0; t < 2; ++t) {
            for (TBracket* b : {&s.Winners, &s.OneLoss}) {
                TTableRec& table = (*b)[static_cast<size_t>(r)].Tables[static_cast<size_t>(t)];
                table.Seat = {
                    s.Players[static_cast<size_t>((r + t) % 4)].get(),
                    (r % 3) ? s.Players[static_cast<size_t>((r + 1) % 4)].get() : nullptr};
                table.Result = (r + t + static_cast<int>(s.ElimFormat)) % 5;
            }
        }
    }
    TMsgParams m;
    m.PlayerName = "P%s";
    m.OpponentName = "O%%";
    m.RoundIndex = Take(in, 16);
    m.TableNo = Take(in, 128) * 1000003;
    m.BootSecondsLeft = Take(in, 128) * 100003;
    m.MinutesLeft = Take(in, 0);
    m.StartTime = "%p%c";
    m.MatchPoints = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string out = ExpandMessage(s, in, m);
    // Every byte of the template yields at most a bounded amount of text.
    if (out.size() > in.size() * 64 + 64) std::abort();
    return 0;
}
