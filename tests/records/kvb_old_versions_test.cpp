// How each version reads its elimination format, and what the older layouts
// keep of the table records past a round's table count.
#include <gtest/gtest.h>

#include <limits>

#include "fakes/fake_ports.h"
#include "records/kvb_fixture.h"
#include "records/kvb_layout.h"
#include "records/kvb_reader.h"
#include "engine/tourney_file.h"

namespace kestrova::testing {
namespace {

// Four entries at two open tables of the first round; the round blocks laid
// out for the format the file is read as (`asElim`), whatever it stores.
Fixture TwoTables(int version, int32_t stored, int asElim) {
    Fixture f;
    f.Version = version;
    f.Elim = stored;
    for (int i = 0; i < 4; ++i)
        f.Players.push_back({"P" + std::to_string(i), "", "", 0, 0, false, false});
    f.WinnersFinal = 1;
    f.GrandFinal = 2;
    f.OneLossFinal = 3;
    if (version >= 9) {  // the extension block's markers; before it they read as 0
        f.OneLossLast = 4;
        f.TwoLossFinal = 2;
    }
    const bool old = version <= 6;
    const int rounds[3] = {
        old ? 11 : f.GrandFinal + 1,
        asElim == 0 ? 0 : (old ? 11 : (asElim == 2 ? f.OneLossLast : f.OneLossFinal) + 1),
        asElim == 2 ? f.TwoLossFinal + 1 : 0};
    for (int b = 0; b < 3; ++b)
        for (int r = 0; r < rounds[b]; ++r)
            f.Rounds[b].push_back({r + 1, 0, false, {}});
    f.Rounds[0][0] = {1, 2, false, {{7, 0, 0, 1, 46361.8, 0}, {8, 0, 2, 3, 46361.8, 0}}};
    return f;
}

struct ElimCase {
    int Version;
    int32_t Stored;
    int ReadAs;  // -1: the file is refused
};

// Version 8 and the older layout turn any value but 0 into Double before the
// format is checked; versions 7, 9 and 10 take the value as stored.
const ElimCase kElimCases[] = {
    {3, 2, 1},
    {3, -1, 1},
    {4, 7, 1},
    {5, 3, 1},
    {6, 0, 0},
    {6, 2, 1},
    {6, std::numeric_limits<int32_t>::min(), 1},
    {7, 0, 0},
    {7, 1, 1},
    {7, 2, 2},
    {7, 3, -1},
    {7, -1, -1},
    {8, 0, 0},
    {8, 1, 1},
    {8, 2, 1},
    {8, 5, 1},
    {8, -7, 1},
    {9, 3, -1},
    {9, -1, -1},
    {10, 2, 2},
    {10, 3, -1},
};

TEST(KvbElimFormat, EachVersionReadsItsFormatAsStored) {
    for (const ElimCase& c : kElimCases) {
        SCOPED_TRACE("version " + std::to_string(c.Version) + ", stored " +
                     std::to_string(c.Stored));
        std::string bytes = BuildFixture(TwoTables(c.Version, c.Stored, std::max(c.ReadAs, 0)));
        if (c.ReadAs < 0) {
            EXPECT_THROW(kvb::DecodeKvb(bytes), kvb::TKvbReject);
            continue;
        }
        kvb::TKvbFile f = kvb::DecodeKvb(bytes);
        EXPECT_EQ(f.ElimFormat, c.ReadAs);
        EXPECT_EQ(f.Rounds[0][0].Tables[1].Seat[1], 3);

        TempDir dir;
        TTourneyState s;
        FakeWorld w;
        w.Wire(s);
        WriteFileBytes(dir.File("t.kvb"), bytes);
        ASSERT_TRUE(ReadTourney(s, dir.File("t.kvb")));
        EXPECT_EQ(static_cast<int>(s.ElimFormat), c.ReadAs);
        EXPECT_EQ(s.Winners[0].Tables[1].Seat[1], s.Players[3].get());
        EXPECT_TRUE(w.Dialogs.Messages.empty());
    }
}

// What a file lacks of the extension block reads as 0, whatever the open
// tournament had.
TEST(KvbOlderLayout, MissingExtensionFieldsReadAsZero) {
    for (int v = 3; v <= 9; ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        TempDir dir;
        TTourneyState s;
        FakeWorld w;
        w.Wire(s);
        s.FixedWinOfWinPoints = s.FirstPlacePoints = s.SecondPlacePoints = s.ThirdPlacePoints = 99;
        Fixture f = TwoTables(v, 1, 1);
        WriteFileBytes(dir.File("t.kvb"), BuildFixture(f));
        ASSERT_TRUE(ReadTourney(s, dir.File("t.kvb")));
        EXPECT_EQ(s.FixedWinOfWinPoints, v >= 8 ? f.FixedWinOfWin : 0);
        EXPECT_EQ(s.FirstPlacePoints, v >= 9 ? f.First : 0);
        EXPECT_EQ(s.SecondPlacePoints, v >= 9 ? f.Second : 0);
        EXPECT_EQ(s.ThirdPlacePoints, v >= 9 ? f.Third : 0);
        EXPECT_EQ(s.LobbyName, v >= 8 ? f.Lobby : "");
        EXPECT_EQ(s.StartedAt, v >= 9 ? f.StartedAt : 0);
    }
}

// The older layout stores 64 table records per round. Those past the round's
// table count are not read by the program that wrote them: whatever they
// hold (seats of entries that left, results, broken times) is dropped, and
// only their table numbers are kept. Those in use are checked as ever.
TEST(KvbOlderLayout, RecordsPastTheTableCountAreIgnored) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int v = 3; v <= 6; ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        Fixture f = TwoTables(v, 1, 1);
        auto& w0 = f.Rounds[0][0].Tables;
        w0.resize(64);
        w0[2] = {30, 9, 0, 77, nan, -nan};  // entry 0 again, a seat past the players
        w0[63] = {93, -4, -9, 3, 1e308 * 10, 0};
        f.Rounds[1][5].Tables = {{40, 1, 2, 2, 46361.9, 46361.95}};
        kvb::TKvbFile k = kvb::DecodeKvb(BuildFixture(f));
        ASSERT_EQ(k.Rounds[0][0].Tables.size(), 64u);
        for (const kvb::TKvbTable* t :
             {&k.Rounds[0][0].Tables[2], &k.Rounds[0][0].Tables[63], &k.Rounds[1][5].Tables[0]}) {
            EXPECT_EQ(t->Result, 0);
            EXPECT_EQ(t->Seat[0], -1);
            EXPECT_EQ(t->Seat[1], -1);
            EXPECT_EQ(t->StartTime, 0);
            EXPECT_EQ(t->EndTime, 0);
        }
        EXPECT_EQ(k.Rounds[0][0].Tables[2].TableNo, 30);
        EXPECT_EQ(k.Rounds[0][0].Tables[63].TableNo, 93);
        EXPECT_EQ(k.Rounds[1][5].Tables[0].TableNo, 40);
        EXPECT_EQ(k.Rounds[0][0].Tables[1].Seat[0], 2);

        for (auto used : {FxTable{7, 5, 0, 1, 0, 0}, FxTable{7, 0, 0, 4, 0, 0},
                          FxTable{7, 0, 0, 1, nan, 0}, FxTable{7, 0, 2, 1, 0, 0}}) {
            Fixture bad = f;
            bad.Rounds[0][0].Tables[0] = used;
            EXPECT_THROW(kvb::DecodeKvb(BuildFixture(bad)), kvb::TKvbReject);
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
