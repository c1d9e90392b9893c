// The cost of one SaveTourney (backup, encode, write, flush, rename) for a
// 128-entry triple-elimination tournament in the middle of play.
#include <stdlib.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/table_count.h"
#include "model/tourney_state.h"
#include "records/kvb_writer.h"
#include "engine/status.h"
#include "formats/format_defaults.h"
#include "engine/tourney_file.h"

namespace {

using namespace kestrova;

void Seat(TTableRec& t, int seat, TPlayer& p) {
    t.Seat[seat] = &p;
    MarkTableUsed(t);
    p.Tables[RoundOf(t)] = &t;
    p.Seats[RoundOf(t)] = seat;
}

bool SeatNext(TRoundRec& round, TPlayer& p) {
    for (int i = 0; i < round.TableCount; ++i)
        for (int seat = 0; seat < 2; ++seat)
            if (!round.Tables[i].Seat[seat]) {
                Seat(round.Tables[i], seat, p);
                return true;
            }
    return false;
}

// 128 entries, first round decided, second rounds of Winners and OneLoss
// half decided: about the busiest the file gets.
void MidPlay(TTourneyState& s) {
    SetElimFormat(s, TElimFormat::Triple);
    s.WinPoints = DefaultWinPoints;
    s.ByePoints = DefaultByePoints;
    s.LosePoints = DefaultLosePoints;
    s.WinOfWinPoints = 2;
    s.SecondPlacePoints = 3;
    for (int i = 0; i < MaxPlayers; ++i) {
        auto p = std::make_unique<TPlayer>();
        p->Name = "Player" + std::to_string(i);
        Seat(s.Winners[0].Tables[i / 2], i % 2, *p);
        s.Players.push_back(std::move(p));
    }
    s.Started = s.SignupClosed = true;
    s.StartedAt = s.ClosedAt = 46361.8;
    UpdateFullTableCount(s);
    std::mt19937 rng(5);
    auto decide = [&](TBracket& b, TBracket* down, int r, int share) {
        TRoundRec& round = b[r];
        for (int i = 0; i < round.TableCount * share / 2; ++i) {
            TTableRec& t = round.Tables[i];
            if (!t.Full()) continue;
            t.Result = 1 + static_cast<int>(rng() % 2);
            t.StartTime = 46361.8 + i * 0.001;
            t.EndTime = t.StartTime + 0.02;
            SeatNext(b[r + 1], *t.Winner());
            if (down) SeatNext((*down)[r + 1], *t.Loser());
        }
        UpdateFullTableCount(s);
    };
    decide(s.Winners, &s.OneLoss, 0, 2);
    decide(s.Winners, &s.OneLoss, 1, 1);
    decide(s.OneLoss, &s.TwoLoss, 1, 1);
}

}  // namespace

int main() {
    char folder[] = "/tmp/save-tourney-XXXXXX";
    if (!::mkdtemp(folder)) return 1;
    TTourneyState s;
    MidPlay(s);
    s.TourneyPath = std::string(folder) + "/bench.kvb";
    SaveTourney(s);  // the first save has nothing to back up
    const int saves = 300;
    std::vector<double> us;
    for (int i = 0; i < saves; ++i) {
        s.Players[static_cast<size_t>(i) % s.Players.size()]->BootCount = i;
        auto t0 = std::chrono::steady_clock::now();
        SaveTourney(s);
        auto t1 = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(us.begin(), us.end());
    FILE* f = std::fopen(s.TourneyPath.c_str(), "rb");
    long bytes = 0;
    if (f) {
        std::fseek(f, 0, SEEK_END);
        bytes = std::ftell(f);
        std::fclose(f);
    }
    utsname u{};
    ::uname(&u);
    // The figure alone on stdout; the machine and the parts on stderr.
    std::fprintf(stderr, "machine: %s %s %s, %ld cpus, %d saves in %s\n", u.sysname, u.release,
                 u.machine, ::sysconf(_SC_NPROCESSORS_ONLN), saves, folder);
    std::vector<double> encode;
    for (int i = 0; i < saves; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        std::string b = kvb::EncodeTourney(s);
        auto t1 = std::chrono::steady_clock::now();
        encode.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count() + 0 * b.size());
    }
    std::sort(encode.begin(), encode.end());
    std::fprintf(stderr,
                 "encode alone: median_us=%.1f (the rest is the backup link, the write, "
                 "fsync of file and folder, and the log line)\n",
                 encode[encode.size() / 2]);
    std::printf("save_tourney format=Triple entries=128 file_bytes=%ld median_us=%.0f\n", bytes,
                us[us.size() / 2]);
    // Every save recomputes the points first; alone, without the log line.
    s.LogToFile = false;
    std::vector<double> points;
    for (int i = 0; i < 2000; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        UpdatePlayerState(s);
        auto t1 = std::chrono::steady_clock::now();
        points.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(points.begin(), points.end());
    std::printf("update_player_state format=Triple entries=128 median_us=%.2f\n",
                points[points.size() / 2]);
    for (const char* ext : {"/bench.kvb", "/bench.~kvb", "/bench.log"})
        ::unlink((std::string(folder) + ext).c_str());
    ::rmdir(folder);
    return 0;
}
