// Saving and opening whole tournaments: every step of every format played to
// the final reads back byte-identical, the backup is always the last good
// save, a save the reader would refuse keeps the previous file, opening lets
// go of the old tournament, and the recent list.
#include <gtest/gtest.h>

#include <limits>

#include "common/file_util.h"
#include "engine/play_helpers.h"
#include "engine/tourney_file.h"
#include "engine/undo.h"
#include "fakes/fake_ports.h"
#include "fakes/state_dump.h"
#include "records/kvb_reader.h"
#include "records/tourney_dump.h"

namespace kestrova::testing {
namespace {

struct FileTest : ::testing::Test {
    TTourneyState s;
    FakeWorld world;
    TempDir dir;
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("Friday.kvb");
    }
    std::string Bytes(const std::string& name) const { return ReadFileBytes(dir.File(name)); }
    // A fresh state wired to its own fakes that opens `path`.
    struct Fresh {
        FakeWorld World;
        TTourneyState S;
        Fresh() { World.Wire(S); }
    };
};

// Saves, reads the file into a fresh state and saves that again: the same
// bytes, the same header and players (rounds past the finals are not kept),
// a sound model, and a result played and undone there saves the same bytes.
void ExpectRoundTrip(TTourneyState& s, const TempDir& dir, std::mt19937& rng, int step) {
    ASSERT_TRUE(SaveTourney(s));
    const std::string first = ReadFileBytes(s.TourneyPath);
    FakeWorld w;
    TTourneyState t;
    w.Wire(t);
    ASSERT_TRUE(ReadTourney(t, s.TourneyPath)) << "step " << step;
    ASSERT_EQ(CheckInvariants(t), "") << "step " << step;
    t.TourneyPath = dir.File("again.kvb");
    ASSERT_TRUE(SaveTourney(t));
    ASSERT_EQ(ReadFileBytes(t.TourneyPath), first) << "step " << step;
    auto body = [](const std::string& d) {
        const size_t from = d.find("\"header\"");
        return d.substr(from, d.find("\"brackets\"") - from);
    };
    ASSERT_EQ(body(DumpTourneyJson(t)), body(DumpTourneyJson(s))) << "step " << step;
    if (step % 5 == 0 && PlayRandomResult(t, rng)) {
        ASSERT_EQ(CheckInvariants(t), "") << "step " << step;
        ASSERT_TRUE(Undo(t));
        ASSERT_TRUE(SaveTourney(t));
        ASSERT_EQ(ReadFileBytes(t.TourneyPath), first) << "undo after reading, step " << step;
    }
}

struct RoundTripCase {
    TElimFormat Format;
    bool Team;
    int Entries;
};

class RoundTrip : public FileTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, EveryStepToTheFinalReadsBackByteIdentical) {
    const RoundTripCase c = GetParam();
    std::mt19937 rng(1234 + c.Entries);
    StartTourney(s, c.Format, c.Entries);
    s.TeamMode = c.Team;
    s.MsgParams.HostName = "TheHostNameIsLong!!";
    s.LobbyName = "Lobby \x95 caf\xe9";
    s.EmailFields = {"w@x", "", "t@x", ""};
    ASSERT_TRUE(SaveTourney(s));
    EXPECT_EQ(static_cast<uint8_t>(Bytes("Friday.kvb")[23]), c.Team ? 10 : 9);
    int step = 0;
    do {
        world.Clock.AdvanceSeconds(97.25);
        if (step % 3 == 0) s.Players[static_cast<size_t>(step) % s.Players.size()]->BootCount++;
        ExpectRoundTrip(s, dir, rng, step++);
        if (HasFatalFailure()) return;
    } while (PlayRandomResult(s, rng, 9));
    EXPECT_TRUE(GrandFinalDecided(s));
    EXPECT_GT(step, c.Entries);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, RoundTrip,
                         ::testing::Values(RoundTripCase{TElimFormat::Single, true, 9},
                                           RoundTripCase{TElimFormat::Double, false, 16},
                                           RoundTripCase{TElimFormat::Triple, true, 11}));

TEST_F(FileTest, RecordSizesFollowTheVersion) {
    StartTourney(s, TElimFormat::Single, 8);
    s.Players[0]->Name = "ANameOfTwentyChars20";
    ASSERT_TRUE(SaveTourney(s));
    size_t rounds = 0;
    for (int r = 0; r <= s.GrandFinalRound; ++r)
        rounds += 12 + 32 * static_cast<size_t>(s.Winners[r].TableCount);
    const std::string single = Bytes("Friday.kvb");
    EXPECT_EQ(single.size(), 840 + 492 + 8 * 40 + rounds);
    EXPECT_EQ(single.substr(840 + 492, 16), std::string("ANameOfTwentyCh\0", 16));
    s.TeamMode = true;
    s.Players[0]->Player1 = "Left";
    ASSERT_TRUE(SaveTourney(s));
    const std::string team = Bytes("Friday.kvb");
    EXPECT_EQ(team.size(), 840 + 492 + 8 * 88 + rounds);
    EXPECT_EQ(team.substr(840 + 492, 21), std::string("ANameOfTwentyChars20\0", 21));
    EXPECT_EQ(team.substr(840 + 492 + 32, 5), std::string("Left\0", 5));
}

TEST_F(FileTest, TheBackupIsAlwaysTheLastGoodSave) {
    s.TourneyPath.clear();  // closing sign-ups saves
    StartTourney(s, TElimFormat::Double, 8);
    s.TourneyPath = dir.File("Friday.kvb");
    ASSERT_TRUE(SaveTourney(s));
    EXPECT_FALSE(FileExists(dir.File("Friday.~kvb")));  // nothing to keep yet
    const std::string first = Bytes("Friday.kvb");
    s.Players[0]->BootCount = 1;
    ASSERT_TRUE(SaveTourney(s));
    EXPECT_EQ(Bytes("Friday.~kvb"), first);
    // After a refused read the next save keeps the backup; the one after does not.
    WriteFileBytes(dir.File("bad.kvb"), "Morlun's Tourney File");
    EXPECT_FALSE(ReadTourney(s, dir.File("bad.kvb")));
    s.Players[0]->BootCount = 2;
    ASSERT_TRUE(SaveTourney(s));
    EXPECT_EQ(Bytes("Friday.~kvb"), first);
    const std::string third = Bytes("Friday.kvb");
    s.Players[0]->BootCount = 3;
    ASSERT_TRUE(SaveTourney(s));
    EXPECT_EQ(Bytes("Friday.~kvb"), third);

    // A broken file offers its backup: No leaves the state alone, Yes opens
    // the backup and rewrites the file from it, keeping the backup as it was.
    const std::string backup = Bytes("Friday.~kvb");
    WriteFileBytes(dir.File("Friday.kvb"), "garbage");
    Fresh t;
    t.World.Dialogs.YesNoAnswers = {false, true};
    OpenTourney(t.S, dir.File("Friday.kvb"));
    EXPECT_TRUE(t.S.Players.empty());
    EXPECT_EQ(t.World.Dialogs.Asked,
              std::vector<std::string>{"A backup of this file exists. Do you want to load this instead?"});
    OpenTourney(t.S, dir.File("Friday.kvb"));
    ASSERT_EQ(t.S.Players.size(), 8u);
    EXPECT_EQ(t.S.Players[0]->BootCount, 2);
    EXPECT_EQ(t.S.TourneyPath, dir.File("Friday.kvb"));
    EXPECT_TRUE(kvb::KvbReadable(Bytes("Friday.kvb")));
    EXPECT_EQ(Bytes("Friday.~kvb"), backup);
    EXPECT_FALSE(t.S.SkipBackup);

    // Opened directly, the backup makes the tournament file current.
    Fresh u;
    OpenTourney(u.S, dir.File("Friday.~kvb"));
    EXPECT_EQ(u.S.TourneyPath, dir.File("Friday.kvb"));
    EXPECT_NE(Bytes("Friday.log").find("\r\n**** Opened " + dir.File("Friday.~kvb") + " ****\r\n"),
              std::string::npos);
    // No backup, no question; a missing file shows the system's text.
    Fresh v;
    OpenTourney(v.S, dir.File("none.kvb"));
    EXPECT_TRUE(v.World.Dialogs.Asked.empty());
    ASSERT_EQ(v.World.Dialogs.Messages.size(), 1u);
    const std::string openError = "An error was encountered opening the file with the error message:\r\n\r\n";
#ifndef _WIN32  // Windows words it by version, Wine its own way
    EXPECT_EQ(v.World.Dialogs.Messages[0], openError + "No such file or directory");
#endif
    EXPECT_EQ(v.World.Dialogs.Messages[0].rfind(openError, 0), 0u);
}

TEST_F(FileTest, ASaveTheReaderWouldRefuseKeepsThePreviousFile) {
    const std::string refused =
        "CRITICAL PROBLEM: Could not save the tournament, the file would not open again; the "
        "previous file was kept";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937 rng(5);
    StartTourney(s, TElimFormat::Double, 8);
    PlayRandomResult(s, rng);
    PlayRandomResult(s, rng);
    ASSERT_TRUE(SaveTourney(s));
    s.Players[0]->BootCount = 1;
    ASSERT_TRUE(SaveTourney(s));
    const std::vector<std::function<void(TTourneyState&)>> breakages = {
        [](TTourneyState& t) { t.Winners[0].Tables[1].Seat[0] = t.Winners[0].Tables[0].Seat[0]; },
        [](TTourneyState& t) { t.Winners[0].Tables[2].Seat[1] = t.Winners[0].Tables[2].Seat[0]; },
        [](TTourneyState& t) { t.Winners[0].Tables[3].Result = 7; },
        [=](TTourneyState& t) { t.Winners[0].Tables[0].StartTime = nan; },
        [=](TTourneyState& t) { t.Players[5]->BootStart = nan; },
        [](TTourneyState& t) { t.WinnersFinalRound = 9; },
        [](TTourneyState& t) {
            t.OneLoss[t.OneLossFinalRound].TableCount = 0;
            t.OneLoss[t.OneLossFinalRound].HasBye = true;
        },
        [](TTourneyState& t) { t.OneLoss[2].TableCount = 33; },
    };
    for (size_t i = 0; i < breakages.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string file = Bytes("Friday.kvb"), backup = Bytes("Friday.~kvb");
        const size_t logBefore = Bytes("Friday.log").size();
        world.Dialogs.Messages.clear();
        s.SkipBackup = i % 2 == 1;
        breakages[i](s);
        EXPECT_FALSE(SaveTourney(s));
        EXPECT_FALSE(SaveTourneyAs(s, dir.File("Saturday.kvb")));
        EXPECT_EQ(s.TourneyPath, dir.File("Friday.kvb"));
        EXPECT_FALSE(FileExists(dir.File("Saturday.kvb")));
        EXPECT_EQ(Bytes("Friday.kvb"), file);
        EXPECT_EQ(Bytes("Friday.~kvb"), backup);
        EXPECT_EQ(s.SkipBackup, i % 2 == 1);  // a refused save is not the save that skips
        EXPECT_EQ(world.Dialogs.Messages, std::vector<std::string>(2, refused));
        EXPECT_NE(Bytes("Friday.log").find(refused + "\r\n", logBefore), std::string::npos);
        // Put right (read again), the next save writes, after the backup.
        ASSERT_TRUE(ReadTourney(s, dir.File("Friday.kvb")));
        s.SkipBackup = false;
        s.Players[0]->BootCount += 1;
        ASSERT_TRUE(SaveTourney(s));
        EXPECT_EQ(Bytes("Friday.~kvb"), file);
        EXPECT_TRUE(kvb::KvbReadable(Bytes("Friday.kvb")));
    }
    ASSERT_TRUE(SaveTourneyAs(s, dir.File("Saturday.kvb")));
    EXPECT_EQ(s.Settings.RecentTourneys.front(), dir.File("Saturday.kvb"));
}

TEST_F(FileTest, OpeningLetsGoOfTheOldTournament) {
    StartTourney(s, TElimFormat::Single, 8);
    ASSERT_TRUE(SaveTourney(s));
    Fresh t;
    StartTourney(t.S, TElimFormat::Double, 10);
    t.S.ActiveBoots.push_back(t.S.Players[3].get());
    t.S.UndoList.push_back(nullptr);
    t.S.RedoList.push_back(nullptr);
    t.World.View.UndoEnabled = true;
    ASSERT_TRUE(ReadTourney(t.S, dir.File("Friday.kvb")));
    EXPECT_TRUE(t.S.ActiveBoots.empty() && t.S.UndoList.empty() && t.S.RedoList.empty());
    EXPECT_EQ(t.S.Players.size(), 8u);
    EXPECT_EQ(t.S.Winners[0].Tables[4].Seat[0], nullptr);
    EXPECT_FALSE(t.World.View.UndoEnabled);
    EXPECT_EQ(CheckInvariants(t.S), "");
}

TEST_F(FileTest, RecentListKeepsFiveNewestFirstIgnoringCase) {
    for (const char* p : {"/t/a.kvb", "/t/b.kvb", "/t/c.kvb", "/t/d.kvb", "/t/e.kvb", "/t/f.kvb"})
        AddRecentTourney(s, p);
    AddRecentTourney(s, "/T/C.KVB");
    EXPECT_EQ(s.Settings.RecentTourneys,
              (std::vector<std::string>{"/T/C.KVB", "/t/f.kvb", "/t/e.kvb", "/t/d.kvb", "/t/b.kvb"}));
    EXPECT_TRUE(SaveTourneyAs(s, dir.File("as.kvb")));
    EXPECT_EQ(s.Settings.RecentTourneys.front(), dir.File("as.kvb"));
    EXPECT_EQ(s.TourneyPath, dir.File("as.kvb"));
    EXPECT_GT(world.Settings.Saves, 0);
    s.TourneyPath = dir.File("no/such/folder/x.kvb");
    EXPECT_THROW(SaveTourney(s), std::runtime_error);
    s.TourneyPath.clear();
    EXPECT_TRUE(SaveTourney(s));  // no file: nothing to do
}

}  // namespace
}  // namespace kestrova::testing
