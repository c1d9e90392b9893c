// Reading tournament files of every version from fixtures built byte by byte,
// and refusing damaged or hostile ones without touching the open tournament.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "model/tourney_state.h"
#include "fakes/fake_ports.h"
#include "records/kvb_fixture.h"
#include "records/tourney_dump.h"
#include "engine/tourney_file.h"

namespace kestrova::testing {
namespace {

const std::string kOpenError =
    "An error was encountered opening the file with the error message:\r\n\r\n";

// Eight entries, first round decided but for one open match, second round
// partly seated in both brackets (Double); Triple adds empty deeper rounds.
Fixture Scenario(int version, int elim) {
    Fixture f;
    f.Version = version;
    f.Elim = elim;
    for (int i = 0; i < 8; ++i) {
        FxPlayer p{"Player" + std::to_string(i), "", "", 0, i % 3, i == 6, i == 7};
        if (version == 10)
            p = {"Left" + std::to_string(i) + "/Right",
                 "Left" + std::to_string(i),
                 "Right",
                 0,
                 0,
                 false,
                 false};
        f.Players.push_back(p);
    }
    f.Players[2].BootStart = 46361.8125;
    const bool old = version <= 6;
    f.WinnersFinal = 2;
    f.GrandFinal = 3;
    f.OneLossFinal = 4;
    f.OneLossLast = elim == 2 ? 5 : 0;
    f.TwoLossFinal = elim == 2 ? 6 : 0;
    int wLast = old ? 10 : f.GrandFinal;
    int oLast = old ? 10 : (elim == 2 ? f.OneLossLast : f.OneLossFinal);
    for (int r = 0; r <= wLast; ++r)
        f.Rounds[0].push_back({r + 1, 0, false, {}});
    if (elim >= 1)
        for (int r = 0; r <= oLast; ++r)
            f.Rounds[1].push_back({r + 1, 0, false, {}});
    if (elim == 2 && !old)
        for (int r = 0; r <= f.TwoLossFinal; ++r)
            f.Rounds[2].push_back({r + 1, 0, false, {}});
    f.Rounds[0][0] = {1,
                      4,
                      false,
                      {{50, 1, 0, 1, 46361.84, 46361.86},
                       {51, 2, 2, 3, 46361.84, 46361.87},
                       {52, 1, 4, 5, 46361.84, 46361.88},
                       {53, 0, 6, 7, 46361.84, 0}}};
    f.Rounds[0][1] = {2, 2, false, {{90, 0, 0, 3, 46361.87, 0}, {92, 0, 4, -1, 0, 0}}};
    if (elim >= 1)
        f.Rounds[1][1] = {2, 2, false, {{89, 0, 1, 2, 46361.875, 0}, {91, 0, 5, -1, 0, 0}}};
    return f;
}

struct ReadFixture : ::testing::Test {
    TTourneyState s;
    FakeWorld world;
    TempDir dir;
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("start.kvb");
    }
    std::string Put(const std::string& name, const std::string& bytes) {
        WriteFileBytes(dir.File(name), bytes);
        return dir.File(name);
    }
};

TEST_F(ReadFixture, EveryReadableVersionLoadsFieldByField) {
    for (int v = 3; v <= 10; ++v) {
        SCOPED_TRACE("version " + std::to_string(v));
        int elim = v == 10 ? 2 : 1;
        Fixture f = Scenario(v, elim);
        TTourneyState t;
        FakeWorld w;
        w.Wire(t);
        t.TourneyPath = dir.File("fresh.kvb");
        ASSERT_TRUE(ReadTourney(t, Put("v" + std::to_string(v) + ".kvb", BuildFixture(f))));
        EXPECT_TRUE(w.Dialogs.Messages.empty());
        EXPECT_EQ(t.TeamMode, v == 10);
        EXPECT_EQ(static_cast<int>(t.ElimFormat), elim);
        EXPECT_EQ(t.MsgParams.HostName, "Hosty");
        EXPECT_EQ(t.MsgParams.CoHostName, "Cohosty");
        EXPECT_EQ(t.HostPlayerName, "HostP");
        EXPECT_EQ(t.CoHostPlayerName, "CoP");
        EXPECT_EQ(t.MsgParams.RulesTime, "7:45 pm");
        EXPECT_EQ(t.MsgParams.StartTime, "8:00 pm");
        EXPECT_TRUE(t.Started);
        EXPECT_TRUE(t.SignupClosed);
        EXPECT_EQ(t.EmailFields[0], "a@x");
        EXPECT_EQ(t.EmailFields[1], "b@x");
        EXPECT_EQ(t.EmailFields[2], v >= 5 ? "c@x" : "");
        EXPECT_EQ(t.BootTime, v >= 5 ? 9 : 7);
        ASSERT_EQ(t.Players.size(), 8u);
        EXPECT_EQ(t.Players[2]->BootStart, 46361.8125);
        if (v == 10) {
            EXPECT_EQ(t.Players[3]->Name, "Left3/Right");
            EXPECT_EQ(t.Players[3]->Player1, "Left3");
            EXPECT_EQ(t.Players[3]->Player2, "Right");
        } else {
            EXPECT_EQ(t.Players[3]->Name, "Player3");
            EXPECT_EQ(t.Players[4]->BootCount, 1);
            EXPECT_EQ(t.Players[6]->BootedOut, v >= 4);
            EXPECT_EQ(t.Players[7]->Disqualified, v >= 4);
        }
        // Tables, seats, results and times of the rounds stored.
        const TTableRec& t1 = t.Winners[0].Tables[1];
        EXPECT_EQ(t1.TableNo, 51);
        EXPECT_EQ(t1.Result, 2);
        EXPECT_EQ(t1.Seat[0], t.Players[2].get());
        EXPECT_EQ(t1.Seat[1], t.Players[3].get());
        EXPECT_EQ(t1.StartTime, 46361.84);
        EXPECT_EQ(t1.EndTime, 46361.87);
        EXPECT_EQ(t.Winners[0].TableCount, 4);
        EXPECT_EQ(t.Winners[1].Tables[0].Seat[1], t.Players[3].get());
        EXPECT_EQ(t.OneLoss[1].Tables[0].TableNo, 89);
        EXPECT_EQ(t.OneLoss[1].Tables[0].Seat[1], t.Players[2].get());
        // Stage links rebuilt from the tables.
        EXPECT_EQ(t.Players[3]->Tables[0], &t.Winners[0].Tables[1]);
        EXPECT_EQ(t.Players[3]->Seats[0], 1);
        EXPECT_EQ(t.Players[3]->Tables[1], &t.Winners[1].Tables[0]);
        EXPECT_EQ(t.Players[2]->Tables[1], &t.OneLoss[1].Tables[0]);
        EXPECT_EQ(t.Players[2]->Seats[1], 1);
        EXPECT_EQ(t.Players[6]->Tables[1], nullptr);
        // Counts recomputed from the results: 4 go on in each bracket.
        EXPECT_EQ(t.Winners[1].TableCount, 2);
        EXPECT_EQ(t.OneLoss[1].TableCount, 2);
        // Values of the newer blocks, or what stands in for them.
        if (v >= 9) {
            EXPECT_EQ(t.LobbyName, "Spades Room 3");
            EXPECT_EQ(t.FirstPlacePoints, 21);
            EXPECT_EQ(t.ThirdPlacePoints, -23);
            EXPECT_EQ(t.StartedAt, 46361.5);
            EXPECT_EQ(t.ClosedAt, 46361.75);
            EXPECT_TRUE(t.DoublePlayerPoints);
            EXPECT_EQ(t.MatchPointsTiers[1],
                      (TRoundList{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 5}));
            EXPECT_EQ(t.WinPoints, (TRoundList{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3}));
            EXPECT_EQ(t.HostPoints, 11);
            EXPECT_EQ(t.UnscheduleCoHostPoints, 14);
            EXPECT_EQ(t.FixedWinOfWinPoints, 17);
            EXPECT_EQ(t.MatchPointsItem, MatchPointsOther);
        } else if (v >= 7) {
            EXPECT_EQ(t.LobbyName, v == 8 ? "Spades Room 3" : "");
            EXPECT_EQ(t.StartedAt, 0);
            for (const auto& row : t.MatchPointsTiers)
                EXPECT_EQ(row, (TRoundList{3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 5}));
            EXPECT_EQ(t.MatchPointsItem, 2);  // "3 pt (5 pt final)"
        } else {
            // 11 values widened: 0-8 the first nine, 9-11 the last three,
            // then 12 = 11, 13 and 14 the semi-final and final values.
            TRoundList widened{1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, 11, 11, 10, 11};
            for (const auto& row : t.MatchPointsTiers)
                EXPECT_EQ(row, widened);
            EXPECT_EQ(t.HostPoints, v == 6 ? 11 : 0);
            EXPECT_EQ(t.UnscheduleHostPoints, v == 6 ? 11 : 0);
        }
        EXPECT_EQ(t.TourneyPath, dir.File("v" + std::to_string(v) + ".kvb"));
        EXPECT_EQ(t.Settings.RecentTourneys.front(), t.TourneyPath);
    }
}

// The two final crossings are recorded at the entry's next free stage.
TEST_F(ReadFixture, FinalCrossingsGetTheNextFreeStage) {
    Fixture f = Scenario(9, 2);
    f.Rounds[0][3] = {4, 1, false, {{150, 0, 0, 1, 0, 0}}};  // grand final
    f.Rounds[1][5] = {6, 1, false, {{148, 1, 1, 2, 0, 0}}};  // one-loss last round
    f.Rounds[0][1] = {2, 0, false, {}};
    f.Rounds[1][1] = {2, 0, false, {}};
    ASSERT_TRUE(ReadTourney(s, Put("t.kvb", BuildFixture(f))));
    // Player 1 won the one-loss last round (stage 5) and crosses at stage 6.
    EXPECT_EQ(s.Players[1]->Tables[5], &s.OneLoss[5].Tables[0]);
    EXPECT_EQ(s.Players[1]->Tables[6], &s.Winners[3].Tables[0]);
    EXPECT_EQ(s.Players[1]->Seats[6], 1);
    // Player 2 came up from the two-loss final (6): stage 7.
    EXPECT_EQ(s.Players[2]->Tables[7], &s.OneLoss[5].Tables[0]);
    EXPECT_EQ(s.Players[0]->Tables[3], &s.Winners[3].Tables[0]);

    Fixture d = Scenario(9, 1);
    d.Rounds[0][3] = {4, 1, false, {{150, 0, 0, 5, 0, 0}}};
    TTourneyState t;
    FakeWorld w;
    w.Wire(t);
    t.TourneyPath = dir.File("fresh.kvb");
    ASSERT_TRUE(ReadTourney(t, Put("d.kvb", BuildFixture(d))));
    EXPECT_EQ(t.Players[5]->Tables[5], &t.Winners[3].Tables[0]);  // OneLossFinalRound 4 + 1
    EXPECT_EQ(t.Players[5]->Tables[3], nullptr);
}

// The results panel names the finalists and the third places once known.
TEST_F(ReadFixture, EmailLabelsNameTheFinalistsAndThirdPlaces) {
    Fixture f = Scenario(9, 0);
    f.Players.resize(4);
    f.WinnersFinal = 0;
    f.GrandFinal = 1;
    f.Rounds[0] = {{1, 2, false, {{50, 1, 0, 1, 1, 2}, {51, 2, 2, 3, 1, 2}}},
                   {2, 1, false, {{150, 0, 0, 3, 2, 0}}}};
    f.Rounds[1].clear();
    ASSERT_TRUE(ReadTourney(s, Put("sf.kvb", BuildFixture(f))));
    ASSERT_EQ(s.GrandFinalRound, 1);
    EXPECT_EQ(s.EmailLabels, (std::array<std::string, 4>{"Player0's Email:", "Player3's Email:",
                                                         "Player1's Email:", "Player2's Email:"}));
    EXPECT_TRUE(world.View.Called("signup-state"));
}

using Damage = std::function<void(Fixture&, std::string&)>;

struct Refusal {
    const char* What;
    Damage Apply;
};

std::vector<Refusal> Refusals() {
    auto fx = [](std::function<void(Fixture&)> fn) {
        return [fn](Fixture& f, std::string& b) {
            fn(f);
            b = BuildFixture(f);
        };
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    return {
        {"signature", [](Fixture&, std::string& b) { b[0] = 'X'; }},
        {"signature end", [](Fixture&, std::string& b) { b[22] = 1; }},
        {"version 2", fx([](Fixture& f) { f.Version = 2; })},
        {"version 11", fx([](Fixture& f) { f.Version = 11; })},
        {"winners round of 65 tables", fx([](Fixture& f) {
             f.Rounds[0][1].Count = 65;
             f.Rounds[0][1].Tables.resize(65);
         })},
        {"one-loss round of 33 tables", fx([](Fixture& f) {
             f.Rounds[1][2].Count = 33;
             f.Rounds[1][2].Tables.resize(33);
         })},
        {"negative table count", fx([](Fixture& f) { f.Rounds[0][2].Count = -1; })},
        {"bye in a round without tables", fx([](Fixture& f) { f.Rounds[0][2].Bye = true; })},
        {"seat index 8 of 8", fx([](Fixture& f) { f.Rounds[0][1].Tables[1].Seat1 = 8; })},
        {"seat index -2", fx([](Fixture& f) { f.Rounds[0][1].Tables[1].Seat1 = -2; })},
        {"short file", [](Fixture&, std::string& b) { b.resize(b.size() - 1); }},
        {"header only", [](Fixture&, std::string& b) { b.resize(600); }},
        {"empty file", [](Fixture&, std::string& b) { b.clear(); }},
        {"elim format 3", fx([](Fixture& f) { f.Elim = 3; })},
        {"129 players", fx([](Fixture& f) { f.PlayerCountOverride = 129; })},
        {"-1 players", fx([](Fixture& f) { f.PlayerCountOverride = -1; })},
        {"grand final round 15", fx([](Fixture& f) { f.GrandFinal = 15; })},
        {"grand final round -1", fx([](Fixture& f) { f.GrandFinal = -1; })},
        {"winners final round -1 in double", fx([](Fixture& f) { f.WinnersFinal = -1; })},
        {"winners final past the grand final", fx([](Fixture& f) { f.WinnersFinal = 4; })},
        {"one-loss final round 15", fx([](Fixture& f) { f.OneLossFinal = 15; })},
        {"two-loss final round -1", fx([](Fixture& f) { f.TwoLossFinal = -1; })},
        {"one-loss last round 99", fx([](Fixture& f) { f.OneLossLast = 99; })},
        {"result 5", fx([](Fixture& f) { f.Rounds[0][0].Tables[0].Result = 5; })},
        {"result -1", fx([](Fixture& f) { f.Rounds[0][0].Tables[0].Result = -1; })},
        {"NaN start time", fx([=](Fixture& f) { f.Rounds[0][0].Tables[2].Start = nan; })},
        {"infinite end time", fx([=](Fixture& f) { f.Rounds[0][0].Tables[2].End = -inf; })},
        {"NaN boot start", fx([=](Fixture& f) { f.Players[0].BootStart = nan; })},
        {"infinite closing date", fx([=](Fixture& f) { f.ClosedAt = inf; })},
        {"one entry at two tables of one stage",
         fx([](Fixture& f) { f.Rounds[0][1].Tables[1].Seat1 = 0; })},
        {"one entry in both seats", fx([](Fixture& f) {
             f.Rounds[0][1].Tables[1].Seat0 = 5;
             f.Rounds[0][1].Tables[1].Seat1 = 5;
         })},
    };
}

TEST_F(ReadFixture, RefusedFilesLeaveTheTournamentAsItWas) {
    // A tournament is open and saved; its backup holds the previous save.
    std::string good = Put("good.kvb", BuildFixture(Scenario(9, 1)));
    ASSERT_TRUE(ReadTourney(s, good));
    SaveTourney(s);
    for (const Refusal& r : Refusals()) {
        SCOPED_TRACE(r.What);
        Fixture f = Scenario(9, 1);
        std::string bytes = BuildFixture(f);
        r.Apply(f, bytes);
        std::string before = DumpTourneyJson(s);
        world.Dialogs.Messages.clear();
        s.SkipBackup = false;
        EXPECT_FALSE(ReadTourney(s, Put("bad.kvb", bytes)));
        EXPECT_EQ(DumpTourneyJson(s), before);
        EXPECT_TRUE(s.SkipBackup);
        ASSERT_EQ(world.Dialogs.Messages.size(), 1u);
        EXPECT_EQ(world.Dialogs.Messages[0], kOpenError + "Operation aborted");
    }
}

TEST_F(ReadFixture, OlderLayoutRefusesOutOfRangeValues) {
    for (auto damage : std::vector<std::function<void(Fixture&)>>{
             [](Fixture& f) { f.OldPoints[4] = 0; }, [](Fixture& f) { f.OldPoints[10] = 201; },
             [](Fixture& f) { f.GrandFinal = 11; },  // only rounds 0 to 10 are stored
             [](Fixture& f) { f.PlayerCountOverride = 129; },
             [](Fixture& f) { f.Rounds[1][3].Count = 33; }}) {
        Fixture f = Scenario(5, 1);
        damage(f);
        std::string before = DumpTourneyJson(s);
        EXPECT_FALSE(ReadTourney(s, Put("old.kvb", BuildFixture(f))));
        EXPECT_EQ(DumpTourneyJson(s), before);
    }
}

TEST_F(ReadFixture, MissingFileShowsTheSystemsText) {
    std::string before = DumpTourneyJson(s);
    EXPECT_FALSE(ReadTourney(s, dir.File("nowhere.kvb")));
    ASSERT_EQ(world.Dialogs.Messages.size(), 1u);
#ifdef _WIN32
    // The system's own words, which differ between Windows versions and Wine.
    const std::string& text = world.Dialogs.Messages[0];
    ASSERT_GT(text.size(), kOpenError.size());
    EXPECT_EQ(text.substr(0, kOpenError.size()), kOpenError);
    EXPECT_NE(text.back(), '\n');
#else
    EXPECT_EQ(world.Dialogs.Messages[0], kOpenError + "No such file or directory");
#endif
    EXPECT_EQ(DumpTourneyJson(s), before);
}

TEST_F(ReadFixture, RefusedReadSkipsOneBackupOnly) {
    std::string path = Put("Friday.kvb", BuildFixture(Scenario(9, 1)));
    ASSERT_TRUE(ReadTourney(s, path));
    SaveTourney(s);  // backup = the fixture
    std::string backup = ReadFileBytes(dir.File("Friday.~kvb"));
    EXPECT_EQ(backup, BuildFixture(Scenario(9, 1)));
    EXPECT_FALSE(ReadTourney(s, Put("bad.kvb", "Morlun's Tourney File")));
    s.Players[0]->BootCount = 5;
    SaveTourney(s);
    EXPECT_EQ(ReadFileBytes(dir.File("Friday.~kvb")), backup);  // not overwritten
    std::string second = ReadFileBytes(path);
    s.Players[0]->BootCount = 6;
    SaveTourney(s);
    EXPECT_EQ(ReadFileBytes(dir.File("Friday.~kvb")), second);  // the one after does
}

TEST_F(ReadFixture, EmptyTournamentReadsWithEveryCountZero) {
    Fixture f = Scenario(9, 0);
    f.Players.clear();
    f.Closed = f.Started = false;
    for (auto& b : f.Rounds)
        for (auto& r : b)
            r = {r.Number, 0, false, {}};
    ASSERT_TRUE(ReadTourney(s, Put("e.kvb", BuildFixture(f))));
    EXPECT_TRUE(s.Players.empty());
    for (int r = 0; r < MaxRounds; ++r)
        EXPECT_EQ(s.Winners[r].TableCount, 0) << r;
}

}  // namespace
}  // namespace kestrova::testing
