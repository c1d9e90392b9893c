// Older tournament files kept as bytes in tests/data (see its README): each
// must still equal the recipe below, laid out by the test-side writer, and
// must open into the tournament it describes. KESTROVA_WRITE_GOLDEN=1 writes
// the files from the recipes instead.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "fakes/fake_ports.h"
#include "records/kvb_fixture.h"
#include "records/kvb_reader.h"
#include "engine/tourney_file.h"

namespace kestrova::testing {
namespace {

constexpr double kT = 46361.84;  // 8:09:36 pm, 7 December 2026

// Eight entries, the first round decided but for its last table, the second
// round of both brackets partly seated. Rounds are laid out for `elim` as
// read (Double unless told), over the whole older layout when version <= 6.
Fixture Eight(int version, int32_t storedElim, int elim) {
    Fixture f;
    f.Version = version;
    f.Elim = storedElim;
    const char* names[8] = {"Ann", "Bob", "Cat", "Dan", "Eve", "Fay", "Gus", "Hal"};
    for (int i = 0; i < 8; ++i)
        f.Players.push_back({names[i], "", "", 0, i, false, i == 7});
    f.Players[6].BootStart = kT + 0.01;
    f.WinnersFinal = 2;
    f.GrandFinal = 3;
    f.OneLossFinal = 4;
    const bool old = version <= 6;
    const int rounds[3] = {old ? 11 : 4, old ? 11 : (elim == 2 ? 1 : 5), elim == 2 ? 1 : 0};
    for (int b = 0; b < 3; ++b)
        for (int r = 0; r < rounds[b]; ++r)
            f.Rounds[b].push_back({r + 1, 0, false, {}});
    f.Rounds[0][0] = {1,
                      4,
                      false,
                      {{101, 1, 0, 1, kT, kT + 0.02},
                       {102, 2, 2, 3, kT, kT + 0.03},
                       {103, 1, 4, 5, kT, kT + 0.025},
                       {104, 0, 6, 7, kT, 0}}};
    f.Rounds[0][1] = {2, 2, false, {{105, 0, 0, 3, kT + 0.03, 0}, {106, 0, 4, -1, 0, 0}}};
    if (elim == 1)
        f.Rounds[1][1] = {2, 2, false, {{201, 0, 1, 2, kT + 0.03, 0}, {202, 0, 5, -1, 0, 0}}};
    return f;
}

Fixture V8Elim5() {
    Fixture f = Eight(8, 5, 1);
    f.Lobby = "Hearts Lounge";
    f.FixedWinOfWin = 4;
    return f;
}

Fixture V7Triple() {
    Fixture f = Eight(7, 2, 2);
    f.OneLossFinal = 5;  // as the header had it; no one-loss round past 0 is stored
    return f;
}

Fixture V5Elim3() {
    Fixture f = Eight(5, 3, 1);
    f.OldLimits = {20, 20, 20, 20, 20, 20, 20, 20, 25, 30, 40};
    return f;
}

// Records past each round's table count hold what earlier play left there.
Fixture V6StaleTables() {
    Fixture f = Eight(6, 1, 1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto& w0 = f.Rounds[0][0].Tables;
    w0.resize(64);
    w0[4] = {107, 1, 0, 3, kT - 1, kT - 0.9};  // entries at a second table of their stage
    w0[5] = {108, 6, 9, 250, nan, nan};        // no such result, players or times
    w0[63] = {164, -1, -5, 7, 0, HUGE_VAL};
    f.Rounds[0][1].Tables.resize(3);
    f.Rounds[0][1].Tables[2] = {109, 2, 5, 5, kT, kT};  // one entry in both seats
    f.Rounds[0][6].Tables = {{110, 1, 1, 2, kT, kT}};   // a round with no tables
    f.Rounds[1][1].Tables.resize(40);
    f.Rounds[1][1].Tables[39] = {240, 4, 0, 0, 0, 0};
    return f;
}

struct Golden {
    const char* File;
    Fixture (*Recipe)();
};
const Golden kGolden[] = {{"v8_elim5.kvb", V8Elim5},
                          {"v7_triple.kvb", V7Triple},
                          {"v5_elim3.kvb", V5Elim3},
                          {"v6_stale_tables.kvb", V6StaleTables}};

std::string DataFile(const char* name) {
    return std::string(KESTROVA_TEST_DATA) + "/" + name;
}

TEST(KvbGolden, FilesAreTheirRecipes) {
    const bool write = std::getenv("KESTROVA_WRITE_GOLDEN") != nullptr;
    for (const Golden& g : kGolden) {
        SCOPED_TRACE(g.File);
        std::string bytes = BuildFixture(g.Recipe());
        if (write) WriteFileBytes(DataFile(g.File), bytes);
        EXPECT_EQ(ReadFileBytes(DataFile(g.File)), bytes);
    }
}

struct Opened {
    TempDir Dir;
    FakeWorld World;
    TTourneyState S;
    explicit Opened(const char* name) {
        World.Wire(S);
        S.TourneyPath = Dir.File("before.kvb");
        WriteFileBytes(Dir.File(name), ReadFileBytes(DataFile(name)));
        EXPECT_TRUE(ReadTourney(S, Dir.File(name)));
        EXPECT_TRUE(World.Dialogs.Messages.empty());
    }
    TPlayer* P(int i) { return S.Players[static_cast<size_t>(i)].get(); }
};

void ExpectTable(const TTableRec& t, int no, int result, const TPlayer* a, const TPlayer* b,
                 double start, double end) {
    EXPECT_EQ(t.TableNo, no);
    EXPECT_EQ(t.Result, result) << no;
    EXPECT_EQ(t.Seat[0], a) << no;
    EXPECT_EQ(t.Seat[1], b) << no;
    EXPECT_EQ(t.StartTime, start) << no;
    EXPECT_EQ(t.EndTime, end) << no;
}

// What every one of the four holds: the entries and the first two rounds.
void ExpectEight(Opened& o, bool loserRound) {
    TTourneyState& s = o.S;
    ASSERT_EQ(s.Players.size(), 8u);
    EXPECT_EQ(o.P(0)->Name, "Ann");
    EXPECT_EQ(o.P(7)->Name, "Hal");
    EXPECT_EQ(o.P(5)->BootCount, 5);
    EXPECT_EQ(o.P(6)->BootStart, kT + 0.01);
    EXPECT_TRUE(o.P(7)->Disqualified);
    EXPECT_TRUE(s.Started);
    EXPECT_TRUE(s.SignupClosed);
    EXPECT_EQ(s.MsgParams.HostName, "Hosty");
    EXPECT_EQ(s.EmailFields[1], "b@x");
    EXPECT_EQ(s.Winners[0].TableCount, 4);
    ExpectTable(s.Winners[0].Tables[0], 101, 1, o.P(0), o.P(1), kT, kT + 0.02);
    ExpectTable(s.Winners[0].Tables[1], 102, 2, o.P(2), o.P(3), kT, kT + 0.03);
    ExpectTable(s.Winners[0].Tables[3], 104, 0, o.P(6), o.P(7), kT, 0);
    ExpectTable(s.Winners[1].Tables[0], 105, 0, o.P(0), o.P(3), kT + 0.03, 0);
    ExpectTable(s.Winners[1].Tables[1], 106, 0, o.P(4), nullptr, 0, 0);
    EXPECT_EQ(o.P(3)->Tables[0], &s.Winners[0].Tables[1]);
    EXPECT_EQ(o.P(3)->Tables[1], &s.Winners[1].Tables[0]);
    EXPECT_EQ(o.P(3)->Seats[1], 1);
    EXPECT_EQ(o.P(6)->Tables[1], nullptr);
    if (!loserRound) return;
    ExpectTable(s.OneLoss[1].Tables[0], 201, 0, o.P(1), o.P(2), kT + 0.03, 0);
    ExpectTable(s.OneLoss[1].Tables[1], 202, 0, o.P(5), nullptr, 0, 0);
    EXPECT_EQ(o.P(2)->Tables[1], &s.OneLoss[1].Tables[0]);
    EXPECT_EQ(o.P(2)->Seats[1], 1);
}

TEST(KvbGolden, Version8WithFormat5OpensAsDouble) {
    Opened o("v8_elim5.kvb");
    EXPECT_EQ(o.S.ElimFormat, TElimFormat::Double);
    ExpectEight(o, true);
    EXPECT_EQ(o.S.LobbyName, "Hearts Lounge");
    EXPECT_EQ(o.S.FixedWinOfWinPoints, 4);
    EXPECT_EQ(o.S.StartedAt, 0);
    for (const auto& row : o.S.MatchPointsTiers)
        EXPECT_EQ(row, o.S.MsgParams.MatchPoints);
    kvb::TKvbFile k = kvb::DecodeKvb(ReadFileBytes(DataFile("v8_elim5.kvb")));
    EXPECT_EQ(k.Rounds[1].size(), 5u);  // one-loss rounds 0 to OneLossFinalRound
    EXPECT_TRUE(k.Rounds[2].empty());
}

TEST(KvbGolden, Version7TripleOpensAsTriple) {
    Opened o("v7_triple.kvb");
    EXPECT_EQ(o.S.ElimFormat, TElimFormat::Triple);
    ExpectEight(o, false);
    EXPECT_EQ(o.S.LobbyName, "");
    EXPECT_EQ(o.S.FixedWinOfWinPoints, 0);
    kvb::TKvbFile k = kvb::DecodeKvb(ReadFileBytes(DataFile("v7_triple.kvb")));
    EXPECT_EQ(k.OneLossFinalRound, 5);
    EXPECT_EQ(k.OneLossLastRound, 0);
    EXPECT_EQ(k.TwoLossFinalRound, 0);
    EXPECT_EQ(k.Rounds[1].size(), 1u);
    EXPECT_EQ(k.Rounds[2].size(), 1u);
    // It saves as a version 9 file that opens again.
    ASSERT_TRUE(SaveTourney(o.S));
    EXPECT_TRUE(kvb::KvbReadable(ReadFileBytes(o.S.TourneyPath)));
}

TEST(KvbGolden, Version5WithFormat3OpensAsDouble) {
    Opened o("v5_elim3.kvb");
    EXPECT_EQ(o.S.ElimFormat, TElimFormat::Double);
    ExpectEight(o, true);
    EXPECT_EQ(o.S.BootTime, 9);
    // Entries 0-8 the first nine values, 9-11 the last three, 12 repeats 11,
    // 13 and 14 the semi-final and final values.
    EXPECT_EQ(o.S.MsgParams.TimeLimits,
              (TRoundList{20, 20, 20, 20, 20, 20, 20, 20, 25, 25, 30, 40, 40, 30, 40}));
    EXPECT_EQ(o.S.MsgParams.MatchPoints,
              (TRoundList{1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, 11, 11, 10, 11}));
}

TEST(KvbGolden, Version6StaleRecordsAreLeftOut) {
    Opened o("v6_stale_tables.kvb");
    TTourneyState& s = o.S;
    EXPECT_EQ(s.ElimFormat, TElimFormat::Double);
    ExpectEight(o, true);
    EXPECT_EQ(s.HostPoints, 11);
    EXPECT_EQ(s.UnscheduleHostPoints, 11);
    // The numbers of the records are kept, nothing else.
    ExpectTable(s.Winners[0].Tables[4], 107, 0, nullptr, nullptr, 0, 0);
    ExpectTable(s.Winners[0].Tables[5], 108, 0, nullptr, nullptr, 0, 0);
    ExpectTable(s.Winners[0].Tables[63], 164, 0, nullptr, nullptr, 0, 0);
    ExpectTable(s.Winners[1].Tables[2], 109, 0, nullptr, nullptr, 0, 0);
    ExpectTable(s.Winners[6].Tables[0], 110, 0, nullptr, nullptr, 0, 0);
    ExpectTable(s.OneLoss[1].Tables[39], 240, 0, nullptr, nullptr, 0, 0);
    EXPECT_EQ(o.P(0)->Tables[0], &s.Winners[0].Tables[0]);
    EXPECT_EQ(o.P(1)->Tables[6], nullptr);
}

}  // namespace
}  // namespace kestrova::testing
