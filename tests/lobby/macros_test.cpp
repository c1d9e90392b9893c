// Running macros: the scripts of tests/data/lobby/macro_runs.txt (the menus
// read from a file, delays through the clock, "&Stop", a macro run inside
// another's pause, a file changed or deleted while a macro runs), then a
// player macro for the clicked player's latest table and the macro-file
// commands.
#include "lobby/macros.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/status.h"
#include "fakes/fake_ports.h"
#include "lobby/hot_key.h"
#include "lobby/script_steps.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kMacros =
    "[Greet]\r\nLine00=\"Hello from %h\"\r\nLine01=\".<DELAY:1.00>\"\r\nLine02=\"Farewell\"\r\n"
    "[Shout]\r\nLine00=\"Go %P!\"\r\n"
    "[Clip]\r\nLine00=\"%!Only on the clipboard\"\r\nLine01=\"sent\"\r\n"
    "[Seat]\r\nLine00=\"%p: table %t vs %o (%r), boot %b\"\r\n";

class MacroRunTest : public ::testing::Test {
  public:
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
    TMacroRunner runner;
    TWindowHandle input = 0;
    std::vector<std::string> running;  // RunningChanged calls
    std::vector<std::string> sentAt;   // clock seconds of each line sent

    MacroRunTest() {
        world.Wire(s);
        world.Lobby.Clock = &world.Clock;
        s.TourneyPath = dir.File("t.kvb");
        s.Settings.MacroFileName = dir.File("Macros.kvm");
        WriteFileBytes(s.Settings.MacroFileName, kMacros);
        input = world.AttachRoom(s);
        runner.RunningChanged = [this](bool on) { running.push_back(on ? "on" : "off"); };
        world.Windows.OnMessage = [this](const FakeWindowTree::Message& m) {
            if (m.Msg == lobby_msg::Char) sentAt.push_back(Format("%.3f", Seconds()));
        };
    }
    double Seconds() {
        return (world.Clock.Time - EncodeDateTime(2026, 12, 5, 20, 0, 0)) * SecondsPerDay;
    }
    const Lines& Sent() { return world.Windows.At(input).Sent; }
    std::string Log() { return ReadFileBytes(dir.File("t.log")); }
    void TestBody() override {}  // also played by hand, one per script
    void SetUp() override {}
    void TearDown() override {}
    void Step(const std::string& key, const std::string& v);
    std::string Menus() const;
    TSinceLast since;
};

// "General macros (hot key) | player macros | toolbar caption=macro".
std::string MacroRunTest::Menus() const {
    const TMacroMenus menus = LoadMacros(s.Settings.MacroFileName);
    std::string shown;
    for (const auto& m : menus.General)
        shown += m.Name + (m.HotKey ? "(" + FormatHotKey(*m.HotKey) + ") " : " ");
    shown += "|";
    for (const auto& p : menus.Player)
        shown += " " + p;
    shown += " |";
    for (const auto& b : menus.Toolbar)
        shown += " " + b.Caption + "=" + b.Macro;
    return shown;
}

void MacroRunTest::Step(const std::string& key, const std::string& v) {
    if (key == "host") {
        s.MsgParams.HostName = v;
    } else if (key == "player") {
        s.MsgParams.PlayerName = v;
    } else if (key == "run") {
        runner.RunMacro(s, v);
    } else if (key == "file") {
        WriteFileBytes(s.Settings.MacroFileName, v);
    } else if (key.starts_with("at wait ")) {
        const std::string when = key.substr(8);
        auto waits = std::make_shared<int>(0);
        world.Lobby.DuringWait = [this, when, v, waits](int) {
            if (when != "each" && ++*waits != std::stoi(when)) return;
            if (v == "stop") runner.Stop();
            if (v == "remove the file") std::filesystem::remove(s.Settings.MacroFileName);
            if (v.starts_with("run ")) runner.RunMacro(s, v.substr(4));
        };
    } else if (key == "sent") {
        EXPECT_EQ(since(key, Sent()), v);
    } else if (key == "clipboard") {
        EXPECT_EQ(since(key, world.Lobby.Clipboard), v);
    } else if (key == "running") {
        EXPECT_EQ(since(key, running), v);
    } else if (key == "sent at") {
        EXPECT_EQ(since(key, sentAt), v);
    } else if (key == "clock before") {
        EXPECT_LT(Seconds(), std::stod(v));
    } else if (key == "stop requested") {
        EXPECT_EQ(runner.StopRequested() ? "yes" : "no", v);
    } else if (key == "menus") {
        EXPECT_EQ(Menus(), v);
    } else if (key == "log") {
        EXPECT_NE(Log().find(v), std::string::npos) << v;
    } else {
        ADD_FAILURE() << "unknown step " << key;
    }
}

TEST(MacroRuns, EachScriptRunsAsWritten) {
    PlayScripts<MacroRunTest>("lobby/macro_runs.txt");
}

TEST_F(MacroRunTest, PlayerMacroIsExpandedForTheLatestTable) {
    s.LogToFile = true;
    StartTourney(s, TElimFormat::Double, 8);
    TTableRec& first = s.Winners[0].Tables[0];
    TPlayer* winner = first.Seat[0];
    TPlayer* loser = first.Seat[1];
    TPlayer* otherLoser = s.Winners[0].Tables[1].Seat[1];
    AssignWin(s, TBracketKind::Winners, 0, 0, 0, true, true);
    AssignWin(s, TBracketKind::Winners, 0, 1, 0, true, true);
    world.Windows.At(input).Sent.clear();
    world.Clock.AdvanceSeconds(90);
    winner->BootStart = world.Clock.Time - 30.4 / SecondsPerDay;
    s.BootTime = 7;
    // Clicked at stage 0, the first table: the macro speaks of round 2.
    const TTableRec* next = winner->Tables[1];
    ASSERT_NE(next, nullptr);
    runner.RunPlayerMacro(s, *winner, 0, "Seat");
    EXPECT_EQ(Sent(), Lines{winner->Name + ": table " + std::to_string(next->TableNo) + " vs " +
                            next->Seat[1]->Name + " (Round 2), boot 6:30"});
    const TMsgParams p = PlayerMacroParams(s, *winner, 0);
    EXPECT_EQ(p.RoundIndex, GetRoundIndex(s, 1, TBracketKind::Winners));
    EXPECT_EQ(p.BootSecondsLeft, 7 * 60 - 30);
    EXPECT_NE(Log().find("Click: Player \"" + winner->Name + "\" macro - \"Seat\""),
              std::string::npos);
    // The losers meet in the one-loss bracket; a third result leaves one alone.
    const TMsgParams q = PlayerMacroParams(s, *loser, 0);
    EXPECT_EQ(q.TableNo, loser->Tables[1]->TableNo);
    EXPECT_EQ(q.OpponentName, otherLoser->Name);
    AssignWin(s, TBracketKind::Winners, 0, 2, 0, true, true);
    EXPECT_EQ(PlayerMacroParams(s, *s.Winners[0].Tables[2].Seat[1], 0).OpponentName, "");
    EXPECT_EQ(q.BootSecondsLeft, 7 * 60);
    EXPECT_TRUE(running.empty());  // player macros never switch the menus

    // A player with a table at every stage: the last but one is the latest
    // looked at, from any stage clicked.
    TPlayer deep;
    for (int k = 0; k < MaxStages; ++k) {
        s.Winners[0].Tables[k].TableNo = 100 + k;
        deep.Tables[k] = &s.Winners[0].Tables[k];
    }
    for (int stage : {0, MaxStages - 3, MaxStages - 2})
        EXPECT_EQ(PlayerMacroParams(s, deep, stage).TableNo, 100 + MaxStages - 2) << stage;
}

TEST_F(MacroRunTest, FileCommandsKeepFiveRecentFiles) {
    for (int i = 0; i < 7; ++i)
        SetMacroFile(s, dir.File("m" + std::to_string(i) + ".kvm"));
    EXPECT_EQ(s.Settings.RecentMacroFiles.size(), RecentMacroFilesMax);
    EXPECT_EQ(s.Settings.RecentMacroFiles[0], dir.File("m6.kvm"));
    SetMacroFile(s, dir.File("M4.KVM"));  // the same file in other letters moves up
    EXPECT_EQ(s.Settings.RecentMacroFiles.size(), RecentMacroFilesMax);
    EXPECT_EQ(s.Settings.RecentMacroFiles[0], dir.File("M4.KVM"));

    s.Settings.MacroFileName = dir.File("Macros.kvm");
    EXPECT_TRUE(SaveMacrosAs(s, dir.File("copy.kvm")));
    EXPECT_EQ(ReadFileBytes(dir.File("copy.kvm")), kMacros);
    EXPECT_EQ(s.Settings.MacroFileName, dir.File("copy.kvm"));
    s.Settings.MacroFileName = dir.File("missing.kvm");
    EXPECT_FALSE(SaveMacrosAs(s, dir.File("other.kvm")));
    EXPECT_EQ(s.Settings.MacroFileName, dir.File("missing.kvm"));
    EXPECT_GE(world.Settings.Saves, 9);
}

}  // namespace
}  // namespace kestrova::testing
