// Saving and opening whole tournaments. The files of every readable version
// kept as bytes in tests/data/kvb (see its README) each open into the state
// their dump (.json) holds, save and open again into the same state and the
// same bytes, and the damaged copies listed in damaged.txt are refused, or
// read as noted, leaving the open tournament as it was. The records' sizes,
// the backup is always the last good save, a save the reader would refuse
// keeps the previous file, opening lets go of the old tournament, and the
// recent list.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "common/file_util.h"
#include "engine/play_helpers.h"
#include "engine/tourney_file.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "fakes/state_dump.h"
#include "records/kvb_reader.h"
#include "records/tourney_dump.h"

namespace kestrova::testing {
namespace {

const std::string kOpenError =
    "An error was encountered opening the file with the error message:\r\n\r\n";

std::string Golden(const std::string& name) {
    return ReadFileBytes(DataPath("kvb/" + name));
}

// A state wired to its own fakes, with a folder for its files.
struct Opened {
    TempDir Dir;
    FakeWorld World;
    TTourneyState S;
    int Version = 0;
    Opened() { World.Wire(S); }
    std::string Bytes(const std::string& name) const { return ReadFileBytes(Dir.File(name)); }
    bool Read(const std::string& name, const std::string& bytes) {
        WriteFileBytes(Dir.File(name), bytes);
        Version = TourneyFileVersion(Dir.File(name));
        return ReadTourney(S, Dir.File(name));
    }
    // The dump, one table or round a line, with the folder written as "$DIR/".
    std::string Dump() const {
        std::string d = DumpTourneyJson(S, Version), folder;
        for (char c : Dir.Path())
            folder += c == '\\' ? std::string("\\\\") : std::string(1, c);  // as JSON writes it
        for (size_t at; (at = d.find(folder)) != std::string::npos;)
            d.replace(at, folder.size(), "$DIR/");
        for (size_t at = 0; (at = d.find("},{", at)) != std::string::npos; at += 3)
            d.insert(at + 2, "\n");
        return d;
    }
};

// The header and the players of a dump: the rounds past the finals are not
// kept in the file.
std::string Body(const std::string& d) {
    const size_t from = d.find("\"header\"");
    return d.substr(from, d.find("\"brackets\"") - from);
}

struct FileTest : ::testing::Test, Opened {
    FileTest() { S.TourneyPath = Dir.File("Friday.kvb"); }
};

std::vector<std::string> GoldenFiles() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(DataPath("kvb")))
        if (e.path().extension() == ".kvb") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(KvbFiles, EachOpensIntoItsDumpAndSavesIntoTheSameState) {
    ASSERT_EQ(GoldenFiles().size(), 13u);
    for (const std::string& name : GoldenFiles()) {
        SCOPED_TRACE(name);
        // Opened over another tournament, so that nothing of it may stay.
        Opened o;
        const char* other = name == "v10_team_triple.kvb" ? "v9_double.kvb" : "v10_team_triple.kvb";
        ASSERT_TRUE(o.Read("other.kvb", Golden(other)));
        o.World.Dialogs.Messages.clear();
        ASSERT_TRUE(o.Read(name, Golden(name)));
        EXPECT_TRUE(o.World.Dialogs.Messages.empty());
        EXPECT_TRUE(o.World.View.Called("signup-state"));
        const std::string dump = o.Dump();
        ExpectGolden("kvb/" + name.substr(0, name.size() - 4) + ".json", dump);

        // Its finals are seated by hand behind rounds whose counts read as 0,
        // and a save keeps only the tables in use.
        if (name == "v9_triple_finals.kvb") continue;
        o.S.TourneyPath = o.Dir.File("saved.kvb");
        ASSERT_TRUE(SaveTourney(o.S));
        Opened again;
        ASSERT_TRUE(again.Read(name, ReadFileBytes(o.Dir.File("saved.kvb"))));
        EXPECT_EQ(Body(again.Dump()), Body(dump));
        // Saved again, the reopened file comes back byte-identical.
        again.S.TourneyPath = again.Dir.File("again.kvb");
        ASSERT_TRUE(SaveTourney(again.S));
        EXPECT_EQ(again.Bytes("again.kvb"), o.Bytes("saved.kvb"));
    }
}

// "OFFSET:HEX" writes bytes at an offset, "size:N" cuts the file.
std::string Damaged(std::string bytes, const std::string& edits) {
    std::istringstream in(edits);
    for (std::string edit; in >> edit;) {
        const size_t colon = edit.find(':');
        const std::string at = edit.substr(0, colon), hex = edit.substr(colon + 1);
        if (at == "size") {
            bytes.resize(std::stoul(hex));
            continue;
        }
        for (size_t i = 0; i < hex.size(); i += 2)
            bytes.at(std::stoul(at) + i / 2) =
                static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

TEST(KvbFiles, DamagedCopiesAreRefusedOrReadAsNoted) {
    Opened o;  // a tournament is open and saved; its backup holds the previous save
    ASSERT_TRUE(o.Read("good.kvb", Golden("v9_double.kvb")));
    ASSERT_TRUE(SaveTourney(o.S));
    int copies = 0;
    for (const TCase& c : ReadCases("kvb/damaged.txt")) {
        for (const auto& [what, value] : c.Fields) {
            SCOPED_TRACE(c.Title + ": " + what);
            ++copies;
            const size_t arrow = value.find(" -> ");
            const std::string bytes = Damaged(Golden(c.Title), value.substr(0, arrow));
            const std::string outcome = value.substr(arrow + 4);
            if (outcome != "refused") {
                Opened fresh;
                ASSERT_TRUE(fresh.Read("copy.kvb", bytes));
                EXPECT_NE(DumpTourneyJson(fresh.S).find(outcome), std::string::npos);
                // What opens is a tournament the engine can play on.
                EXPECT_EQ(CheckInvariants(fresh.S), "");
                continue;
            }
            const std::string before = DumpTourneyJson(o.S);
            o.World.Dialogs.Messages.clear();
            o.S.SkipBackup = false;
            EXPECT_FALSE(o.Read("bad.kvb", bytes));
            EXPECT_EQ(DumpTourneyJson(o.S), before);
            EXPECT_TRUE(o.S.SkipBackup);
            EXPECT_EQ(o.World.Dialogs.Messages,
                      std::vector<std::string>{kOpenError + "Operation aborted"});
        }
    }
    EXPECT_EQ(copies, 68);
}

TEST_F(FileTest, RecordSizesFollowTheVersion) {
    StartTourney(S, TElimFormat::Single, 8);
    S.Players[0]->Name = "ANameOfTwentyChars20";
    ASSERT_TRUE(SaveTourney(S));
    size_t rounds = 0;
    for (int r = 0; r <= S.GrandFinalRound; ++r)
        rounds += 12 + 32 * static_cast<size_t>(S.Winners[r].TableCount);
    const std::string single = Bytes("Friday.kvb");
    EXPECT_EQ(single.size(), 840 + 492 + 8 * 40 + rounds);
    EXPECT_EQ(single.substr(840 + 492, 16), std::string("ANameOfTwentyCh\0", 16));
    S.TeamMode = true;
    S.Players[0]->Player1 = "Left";
    ASSERT_TRUE(SaveTourney(S));
    const std::string team = Bytes("Friday.kvb");
    EXPECT_EQ(team.size(), 840 + 492 + 8 * 88 + rounds);
    EXPECT_EQ(team.substr(840 + 492, 21), std::string("ANameOfTwentyChars20\0", 21));
    EXPECT_EQ(team.substr(840 + 492 + 32, 5), std::string("Left\0", 5));
}

TEST_F(FileTest, TheBackupIsAlwaysTheLastGoodSave) {
    S.TourneyPath.clear();  // closing sign-ups saves
    StartTourney(S, TElimFormat::Double, 8);
    S.TourneyPath = Dir.File("Friday.kvb");
    ASSERT_TRUE(SaveTourney(S));
    EXPECT_FALSE(FileExists(Dir.File("Friday.~kvb")));  // nothing to keep yet
    const std::string first = Bytes("Friday.kvb");
    S.Players[0]->BootCount = 1;
    ASSERT_TRUE(SaveTourney(S));
    EXPECT_EQ(Bytes("Friday.~kvb"), first);
    // After a refused read the next save keeps the backup; the one after does not.
    WriteFileBytes(Dir.File("bad.kvb"), "Morlun's Tourney File");
    EXPECT_FALSE(ReadTourney(S, Dir.File("bad.kvb")));
    S.Players[0]->BootCount = 2;
    ASSERT_TRUE(SaveTourney(S));
    EXPECT_EQ(Bytes("Friday.~kvb"), first);
    const std::string third = Bytes("Friday.kvb");
    S.Players[0]->BootCount = 3;
    ASSERT_TRUE(SaveTourney(S));
    EXPECT_EQ(Bytes("Friday.~kvb"), third);

    // A broken file offers its backup: No leaves the state alone, Yes opens
    // the backup and rewrites the file from it, keeping the backup as it was.
    const std::string backup = Bytes("Friday.~kvb");
    WriteFileBytes(Dir.File("Friday.kvb"), "garbage");
    Opened t;
    t.World.Dialogs.YesNoAnswers = {false, true};
    OpenTourney(t.S, Dir.File("Friday.kvb"));
    EXPECT_TRUE(t.S.Players.empty());
    EXPECT_EQ(t.World.Dialogs.Asked,
              std::vector<std::string>{
                  "A backup of this file exists. Do you want to load this instead?"});
    OpenTourney(t.S, Dir.File("Friday.kvb"));
    ASSERT_EQ(t.S.Players.size(), 8u);
    EXPECT_EQ(t.S.Players[0]->BootCount, 2);
    EXPECT_EQ(t.S.TourneyPath, Dir.File("Friday.kvb"));
    EXPECT_TRUE(kvb::KvbReadable(Bytes("Friday.kvb")));
    EXPECT_EQ(Bytes("Friday.~kvb"), backup);
    EXPECT_FALSE(t.S.SkipBackup);

    // Opened directly, the backup makes the tournament file current.
    Opened u;
    OpenTourney(u.S, Dir.File("Friday.~kvb"));
    EXPECT_EQ(u.S.TourneyPath, Dir.File("Friday.kvb"));
    EXPECT_NE(Bytes("Friday.log").find("\r\n**** Opened " + Dir.File("Friday.~kvb") + " ****\r\n"),
              std::string::npos);
    // No backup, no question; a missing file shows the system's text.
    Opened v;
    OpenTourney(v.S, Dir.File("none.kvb"));
    EXPECT_TRUE(v.World.Dialogs.Asked.empty());
    ASSERT_EQ(v.World.Dialogs.Messages.size(), 1u);
#ifndef _WIN32  // Windows words it by version, Wine its own way
    EXPECT_EQ(v.World.Dialogs.Messages[0], kOpenError + "No such file or directory");
#endif
    EXPECT_EQ(v.World.Dialogs.Messages[0].rfind(kOpenError, 0), 0u);
}

TEST_F(FileTest, ASaveTheReaderWouldRefuseKeepsThePreviousFile) {
    const std::string refused =
        "CRITICAL PROBLEM: Could not save the tournament, the file would not open again; the "
        "previous file was kept";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937 rng(5);
    StartTourney(S, TElimFormat::Double, 8);
    PlayRandomResult(S, rng);
    PlayRandomResult(S, rng);
    ASSERT_TRUE(SaveTourney(S));
    S.Players[0]->BootCount = 1;
    ASSERT_TRUE(SaveTourney(S));
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
        World.Dialogs.Messages.clear();
        S.SkipBackup = i % 2 == 1;
        breakages[i](S);
        EXPECT_FALSE(SaveTourney(S));
        EXPECT_FALSE(SaveTourneyAs(S, Dir.File("Saturday.kvb")));
        EXPECT_EQ(S.TourneyPath, Dir.File("Friday.kvb"));
        EXPECT_FALSE(FileExists(Dir.File("Saturday.kvb")));
        EXPECT_EQ(Bytes("Friday.kvb"), file);
        EXPECT_EQ(Bytes("Friday.~kvb"), backup);
        EXPECT_EQ(S.SkipBackup, i % 2 == 1);  // a refused save is not the save that skips
        EXPECT_EQ(World.Dialogs.Messages, std::vector<std::string>(2, refused));
        EXPECT_NE(Bytes("Friday.log").find(refused + "\r\n", logBefore), std::string::npos);
        // Put right (read again), the next save writes, after the backup.
        ASSERT_TRUE(ReadTourney(S, Dir.File("Friday.kvb")));
        S.SkipBackup = false;
        S.Players[0]->BootCount += 1;
        ASSERT_TRUE(SaveTourney(S));
        EXPECT_EQ(Bytes("Friday.~kvb"), file);
        EXPECT_TRUE(kvb::KvbReadable(Bytes("Friday.kvb")));
    }
    ASSERT_TRUE(SaveTourneyAs(S, Dir.File("Saturday.kvb")));
    EXPECT_EQ(S.Settings.RecentTourneys.front(), Dir.File("Saturday.kvb"));
}

TEST_F(FileTest, OpeningLetsGoOfTheOldTournament) {
    StartTourney(S, TElimFormat::Single, 8);
    ASSERT_TRUE(SaveTourney(S));
    Opened t;
    StartTourney(t.S, TElimFormat::Double, 10);
    t.S.ActiveBoots.push_back(t.S.Players[3].get());
    t.S.UndoList.push_back(nullptr);
    t.S.RedoList.push_back(nullptr);
    t.World.View.UndoEnabled = true;
    ASSERT_TRUE(ReadTourney(t.S, Dir.File("Friday.kvb")));
    EXPECT_TRUE(t.S.ActiveBoots.empty() && t.S.UndoList.empty() && t.S.RedoList.empty());
    EXPECT_EQ(t.S.Players.size(), 8u);
    EXPECT_EQ(t.S.Winners[0].Tables[4].Seat[0], nullptr);
    EXPECT_FALSE(t.World.View.UndoEnabled);
    EXPECT_EQ(CheckInvariants(t.S), "");
}

TEST_F(FileTest, RecentListKeepsFiveNewestFirstIgnoringCase) {
    for (const char* p : {"/t/a.kvb", "/t/b.kvb", "/t/c.kvb", "/t/d.kvb", "/t/e.kvb", "/t/f.kvb"})
        AddRecentTourney(S, p);
    AddRecentTourney(S, "/T/C.KVB");
    EXPECT_EQ(
        S.Settings.RecentTourneys,
        (std::vector<std::string>{"/T/C.KVB", "/t/f.kvb", "/t/e.kvb", "/t/d.kvb", "/t/b.kvb"}));
    EXPECT_TRUE(SaveTourneyAs(S, Dir.File("as.kvb")));
    EXPECT_EQ(S.Settings.RecentTourneys.front(), Dir.File("as.kvb"));
    EXPECT_EQ(S.TourneyPath, Dir.File("as.kvb"));
    EXPECT_GT(World.Settings.Saves, 0);
    S.TourneyPath = Dir.File("no/such/folder/x.kvb");
    EXPECT_THROW(SaveTourney(S), std::runtime_error);
    S.TourneyPath.clear();
    EXPECT_TRUE(SaveTourney(S));  // no file: nothing to do
}

}  // namespace
}  // namespace kestrova::testing
