// Saving and opening whole tournaments: byte-identical round trips of every
// format, the backup, the backup offer, the recent list and "Save as".
#include <gtest/gtest.h>

#include "common/file_util.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "fakes/fake_ports.h"
#include "fakes/state_dump.h"  // CheckInvariants
#include "records/kvb_layout.h"
#include "records/tourney_dump.h"
#include "engine/tourney_file.h"
#include "records/tourney_play.h"

namespace kestrova::testing {
namespace {

struct FileTest : ::testing::Test {
    TTourneyState s;
    FakeWorld world;
    TempDir dir;
    void SetUp() override {
        world.Wire(s);
        s.TourneyPath = dir.File("start.kvb");
    }
};

// Saves, reads the file into a fresh state, saves that again: the two files
// must be the same bytes, and the two states the same tournament.
void ExpectRoundTrip(TTourneyState& s, const TempDir& dir, int step) {
    SaveTourney(s);
    std::string first = ReadFileBytes(s.TourneyPath);
    TTourneyState t;
    FakeWorld w;
    w.Wire(t);
    t.TourneyPath = dir.File("fresh.kvb");
    ASSERT_TRUE(ReadTourney(t, s.TourneyPath)) << "step " << step;
    t.TourneyPath = dir.File("again.kvb");
    SaveTourney(t);
    ASSERT_EQ(ReadFileBytes(t.TourneyPath), first) << "step " << step;
    std::string a = DumpTourneyJson(s), b = DumpTourneyJson(t);
    // Same header, extension and players; the rounds past the finals are not
    // kept in the file (the bytes above cover every round that is).
    auto body = [](const std::string& d) {
        size_t from = d.find("\"header\"");
        return d.substr(from, d.find("\"brackets\"") - from);
    };
    ASSERT_EQ(body(a), body(b)) << "step " << step;
}

struct RoundTripCase {
    TElimFormat Format;
    bool Team;
    int Entries;
};

class RoundTrip : public FileTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, EveryStepSavesAndReadsBackByteIdentical) {
    const RoundTripCase c = GetParam();
    std::mt19937 rng(1234 + c.Entries);
    s.TourneyPath = dir.File("play.kvb");
    SetElimFormat(s, c.Format);
    s.MsgParams.HostName = "TheHostNameIsLong!!";  // cut to 19 characters
    s.LobbyName = "Lobby \x95 caf\xe9";
    s.EmailFields = {"w@x", "", "t@x", ""};
    s.StartedAt = world.Clock.Time;
    SignUpAndClose(s, c.Entries, c.Team, world.Clock.Time);
    ExpectRoundTrip(s, dir, 0);
    const int versionByte = static_cast<uint8_t>(ReadFileBytes(s.TourneyPath)[23]);
    EXPECT_EQ(versionByte, c.Team ? 10 : 9);
    int step = 0;
    while (PlayOneMatch(s, rng, world.Clock.Time)) {
        world.Clock.AdvanceSeconds(97.25);
        if (step % 3 == 0 && !s.Players.empty()) s.Players[step % s.Players.size()]->BootCount++;
        ExpectRoundTrip(s, dir, ++step);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(step, c.Entries / 2);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, RoundTrip,
                         ::testing::Values(RoundTripCase{TElimFormat::Single, false, 13},
                                           RoundTripCase{TElimFormat::Double, false, 16},
                                           RoundTripCase{TElimFormat::Triple, false, 16},
                                           RoundTripCase{TElimFormat::Single, true, 9},
                                           RoundTripCase{TElimFormat::Double, true, 12},
                                           RoundTripCase{TElimFormat::Triple, true, 11}));

// Whole tournaments played by the results engine to the final, forced byes
// included: every save reads back to the same bytes and a sound model, and the
// tournament read back goes on (results, undo, save) like the original.
TEST_P(RoundTrip, EnginePlayedTournamentReadsBackAtEveryStepToTheFinal) {
    const RoundTripCase c = GetParam();
    std::mt19937 rng(99 + c.Entries);
    StartTourney(s, c.Format, std::min(c.Entries, 11));
    s.TeamMode = c.Team;
    s.TourneyPath = dir.File("engine.kvb");
    int step = 0;
    do {
        ExpectRoundTrip(s, dir, step);
        if (HasFatalFailure()) return;
        TTourneyState t;
        FakeWorld w;
        w.Wire(t);
        t.TourneyPath = dir.File("fresh.kvb");
        ASSERT_TRUE(ReadTourney(t, s.TourneyPath));
        ASSERT_EQ(CheckInvariants(t), "") << "step " << step;
        if (step % 5 == 0 && PlayRandomResult(t, rng)) {
            ASSERT_EQ(CheckInvariants(t), "") << "step " << step;
            ASSERT_TRUE(Undo(t));
            SaveTourney(t);
            ASSERT_EQ(ReadFileBytes(t.TourneyPath), ReadFileBytes(s.TourneyPath))
                << "undo after reading, step " << step;
        }
        ++step;
    } while (PlayRandomResult(s, rng, 9));
    EXPECT_TRUE(GrandFinalDecided(s));
}

TEST_F(FileTest, RecordSizesFollowTheVersion) {
    s.TourneyPath = dir.File("sizes.kvb");
    SetElimFormat(s, TElimFormat::Single);
    AddEntry(s, "ANameOfTwentyChars20");
    SaveTourney(s);
    std::string single = ReadFileBytes(s.TourneyPath);
    size_t roundBytes = 0;
    for (int r = 0; r <= s.GrandFinalRound; ++r)
        roundBytes += 12 + 32 * static_cast<size_t>(s.Winners[r].TableCount);
    EXPECT_EQ(single.size(), 840 + 492 + 40 + roundBytes);
    EXPECT_EQ(single.substr(840 + 492, 16), std::string("ANameOfTwentyCh\0", 16));  // first 15

    s.TeamMode = true;
    s.Players[0]->Player1 = "Left";
    SaveTourney(s);
    std::string team = ReadFileBytes(s.TourneyPath);
    EXPECT_EQ(team[23], 10);
    EXPECT_EQ(team.size(), 840 + 492 + 88 + roundBytes);
    EXPECT_EQ(team.substr(840 + 492 + 32, 5), std::string("Left\0", 5));
}

TEST_F(FileTest, BackupIsThePreviousSave) {
    s.TourneyPath = dir.File("b.kvb");
    SaveTourney(s);
    EXPECT_TRUE(FileExists(dir.File("b.kvb")));
    EXPECT_FALSE(FileExists(dir.File("b.~kvb")));  // nothing to keep yet
    std::string first = ReadFileBytes(s.TourneyPath);
    AddEntry(s, "Zed");
    SaveTourney(s);
    EXPECT_EQ(ReadFileBytes(dir.File("b.~kvb")), first);
    std::string second = ReadFileBytes(s.TourneyPath);
    AddEntry(s, "Yan");
    SaveTourney(s);
    EXPECT_EQ(ReadFileBytes(dir.File("b.~kvb")), second);
    EXPECT_NE(ReadFileBytes(s.TourneyPath), second);
}

TEST_F(FileTest, SaveFailureThrowsAndNothingIsLeftHalfWritten) {
    s.TourneyPath = dir.File("no/such/folder/x.kvb");
    EXPECT_THROW(SaveTourney(s), std::runtime_error);
    s.TourneyPath.clear();
    EXPECT_NO_THROW(SaveTourney(s));  // no file: nothing to do
}

TEST_F(FileTest, OpeningTheBackupDirectlyMakesTheTournamentFileCurrent) {
    s.TourneyPath = dir.File("Friday.kvb");
    AddEntry(s, "Ann");
    SaveTourney(s);
    AddEntry(s, "Bob");
    SaveTourney(s);  // Friday.~kvb holds Ann only
    TTourneyState t;
    FakeWorld w;
    w.Wire(t);
    t.TourneyPath = dir.File("fresh.kvb");
    OpenTourney(t, dir.File("Friday.~kvb"));
    ASSERT_EQ(t.Players.size(), 1u);
    EXPECT_EQ(t.TourneyPath, dir.File("Friday.kvb"));
    std::string log = ReadFileBytes(dir.File("Friday.log"));
    EXPECT_NE(log.find("\r\n**** Opened " + dir.File("Friday.~kvb") + " ****\r\n"),
              std::string::npos);
    AddEntry(t, "Cy");
    SaveTourney(t);
    TTourneyState u;
    u.TourneyPath = dir.File("fresh.kvb");
    ASSERT_TRUE(ReadTourney(u, dir.File("Friday.kvb")));
    EXPECT_EQ(u.Players.size(), 2u);
}

TEST_F(FileTest, BrokenFileOffersTheBackup) {
    s.TourneyPath = dir.File("Sat.kvb");
    SetElimFormat(s, TElimFormat::Double);
    AddEntry(s, "Ann");
    SaveTourney(s);
    SaveTourney(s);
    std::string backup = ReadFileBytes(dir.File("Sat.~kvb"));
    WriteFileBytes(dir.File("Sat.kvb"), "garbage");

    TTourneyState t;
    FakeWorld w;
    w.Wire(t);

    t.TourneyPath = dir.File("fresh.kvb");
    w.Dialogs.YesNoAnswers.push_back(false);
    OpenTourney(t, dir.File("Sat.kvb"));
    EXPECT_TRUE(t.Players.empty());
    ASSERT_EQ(w.Dialogs.Asked.size(), 1u);
    EXPECT_EQ(w.Dialogs.Asked[0],
              "A backup of this file exists. Do you want to load this instead?");

    w.Dialogs.YesNoAnswers.push_back(true);
    OpenTourney(t, dir.File("Sat.kvb"));
    ASSERT_EQ(t.Players.size(), 1u);
    EXPECT_EQ(t.TourneyPath, dir.File("Sat.kvb"));
    // The tournament file is rewritten from the backup, which is kept as it was.
    TTourneyState u0;
    u0.TourneyPath = dir.File("fresh.kvb");
    ASSERT_TRUE(ReadTourney(u0, dir.File("Sat.kvb")));
    ASSERT_EQ(u0.Players.size(), 1u);
    EXPECT_EQ(u0.Players[0]->Name, "Ann");
    EXPECT_EQ(ReadFileBytes(dir.File("Sat.~kvb")), backup);
    EXPECT_FALSE(t.SkipBackup);

    // No backup, no question.
    TTourneyState u;
    FakeWorld v;
    v.Wire(u);
    u.TourneyPath = dir.File("fresh.kvb");
    OpenTourney(u, dir.File("none.kvb"));
    EXPECT_TRUE(v.Dialogs.Asked.empty());
    EXPECT_EQ(v.Dialogs.Messages.size(), 1u);
}

TEST_F(FileTest, OpeningEmptiesUndoAndBootsAndReplacesEntries) {
    s.TourneyPath = dir.File("u.kvb");
    AddEntry(s, "Ann");
    SaveTourney(s);
    TTourneyState t;
    FakeWorld w;
    w.Wire(t);
    t.TourneyPath = dir.File("fresh.kvb");
    AddEntry(t, "Old1");
    TPlayer& booted = AddEntry(t, "Old2");
    SeatAt(t.Winners[0].Tables[0], 0, booted);
    t.ActiveBoots.push_back(&booted);
    t.UndoList.push_back(nullptr);
    t.RedoList.push_back(nullptr);
    ASSERT_TRUE(ReadTourney(t, s.TourneyPath));
    EXPECT_TRUE(t.ActiveBoots.empty());
    EXPECT_TRUE(t.UndoList.empty());
    EXPECT_TRUE(t.RedoList.empty());
    ASSERT_EQ(t.Players.size(), 1u);
    EXPECT_EQ(t.Winners[0].Tables[0].Seat[0], nullptr);
    EXPECT_FALSE(w.View.UndoEnabled);
}

TEST_F(FileTest, RecentListKeepsFiveNewestFirstIgnoringCase) {
    for (const char* p : {"/t/a.kvb", "/t/b.kvb", "/t/c.kvb", "/t/d.kvb", "/t/e.kvb", "/t/f.kvb"})
        AddRecentTourney(s, p);
    EXPECT_EQ(
        s.Settings.RecentTourneys,
        (std::vector<std::string>{"/t/f.kvb", "/t/e.kvb", "/t/d.kvb", "/t/c.kvb", "/t/b.kvb"}));
    AddRecentTourney(s, "/T/C.KVB");
    EXPECT_EQ(
        s.Settings.RecentTourneys,
        (std::vector<std::string>{"/T/C.KVB", "/t/f.kvb", "/t/e.kvb", "/t/d.kvb", "/t/b.kvb"}));
    s.SettingsLoaded = true;
    SaveTourneyAs(s, dir.File("as.kvb"));
    EXPECT_EQ(s.Settings.RecentTourneys.front(), dir.File("as.kvb"));
    EXPECT_EQ(s.TourneyPath, dir.File("as.kvb"));
    EXPECT_GT(world.Settings.Saves, 0);
    EXPECT_FALSE(ReadFileBytes(dir.File("as.kvb")).empty());
}

}  // namespace
}  // namespace kestrova::testing
