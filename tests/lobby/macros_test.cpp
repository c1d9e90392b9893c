// Running macros against the scripted lobby: delays through the clock,
// "&Stop", a player macro for the clicked player's latest table, a file
// changed or deleted while a macro runs, and the macro-file commands.
#include "lobby/macros.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/status.h"
#include "fakes/fake_ports.h"

namespace kestrova {
namespace {

using namespace testing;
using Lines = std::vector<std::string>;

class MacroRunTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeWorld world;
    TTourneyState s;
    TMacroRunner runner;
    TWindowHandle input = 0;
    std::vector<bool> running;               // RunningChanged calls
    std::vector<double> sentAt;              // clock seconds of each line sent

    MacroRunTest() {
        world.Wire(s);
        world.Lobby.Clock = &world.Clock;
        s.TourneyPath = dir.File("t.kvb");
        s.Settings.MacroFileName = dir.File("Macros.kvm");
        input = world.AttachRoom(s);
        runner.RunningChanged = [this](bool on) { running.push_back(on); };
        world.Windows.OnMessage = [this](const FakeWindowTree::Message& m) {
            if (m.Msg == lobby_msg::Char) sentAt.push_back(Seconds());
        };
    }
    double Seconds() { return (world.Clock.Time - EncodeDateTime(2026, 12, 5, 20, 0, 0)) * SecondsPerDay; }
    void WriteMacros(const std::string& body) { WriteFileBytes(s.Settings.MacroFileName, body); }
    const Lines& Sent() { return world.Windows.At(input).Sent; }
    std::string Log() { return ReadFileBytes(dir.File("t.log")); }
};

constexpr const char* kMacros =
    "[Greet]\r\nLine00=\"Hello from %h\"\r\nLine01=\".<DELAY:1.00>\"\r\nLine02=\"Farewell\"\r\n"
    "[Shout]\r\nLine00=\"Go %P!\"\r\n"
    "[Clip]\r\nLine00=\"%!Only on the clipboard\"\r\nLine01=\"sent\"\r\n"
    "[Seat]\r\nLine00=\"%p: table %t vs %o (%r), boot %b\"\r\n";

TEST_F(MacroRunTest, GreetingPauseFarewellTakesOneSecondOnTheClock) {
    WriteMacros(kMacros);
    s.MsgParams.HostName = "Hostess";
    runner.RunMacro(s, "greet");
    EXPECT_EQ(Sent(), (Lines{"Hello from Hostess", "Farewell"}));
    ASSERT_EQ(sentAt.size(), 2u);
    EXPECT_NEAR(sentAt[0], 0.0, 1e-3);
    // The greeting's own 100 ms, then the one-second pause.
    EXPECT_NEAR(sentAt[1] - sentAt[0], 1.1, 1e-3);
    EXPECT_EQ(running, (std::vector<bool>{true, false}));
    EXPECT_FALSE(runner.Running());
    const std::string log = Log();
    EXPECT_NE(log.find("Click: Macro - \"greet\"\r\n    -> Posting \"Hello from Hostess\"\r\n"
                       "    -> Posting \"Farewell\"\r\n"),
              std::string::npos);
}

TEST_F(MacroRunTest, CapitalPIsAGeneralMacroThatStillExpands) {
    WriteMacros(kMacros);
    s.MsgParams.PlayerName = "Ann";
    const TMacroMenus menus = LoadMacros(s.Settings.MacroFileName);
    ASSERT_EQ(menus.General.size(), 3u);
    EXPECT_EQ(menus.General[1].Name, "Shout");
    EXPECT_EQ(menus.Player, Lines{"Seat"});
    runner.RunMacro(s, "Shout");
    EXPECT_EQ(Sent(), Lines{"Go Ann!"});
}

TEST_F(MacroRunTest, MarkedMacroLinesAreAutomaticPostings) {
    WriteMacros(kMacros);
    runner.RunMacro(s, "Clip");
    EXPECT_EQ(world.Lobby.Clipboard, (Lines{"Only on the clipboard", "sent"}));
    EXPECT_EQ(Sent(), Lines{"sent"});
}

TEST_F(MacroRunTest, StopDuringThePauseEndsBeforeTheNextLine) {
    WriteMacros(kMacros);
    int waits = 0;
    world.Lobby.DuringWait = [&](int) {
        if (++waits == 3) runner.Stop();  // the greeting's wait, then inside the pause
    };
    runner.RunMacro(s, "Greet");
    EXPECT_EQ(Sent(), Lines{"Hello from "});
    EXPECT_EQ(running, (std::vector<bool>{true, false}));
    EXPECT_FALSE(runner.StopRequested());
    EXPECT_LT(Seconds(), 0.5);  // the pause was cut short
    // The next run is not stopped by the old request.
    runner.RunMacro(s, "Greet");
    EXPECT_EQ(Sent().size(), 3u);
}

TEST_F(MacroRunTest, AnotherMacroDuringAPauseKeepsStopShownUntilBothEnd) {
    WriteMacros(kMacros);
    bool once = false;
    world.Lobby.DuringWait = [&](int ms) {
        if (ms == 100 && Seconds() > 0.5 && !once) {  // inside Greet's pause
            once = true;
            runner.RunMacro(s, "Shout");
        }
    };
    runner.RunMacro(s, "Greet");
    EXPECT_EQ(Sent(), (Lines{"Hello from ", "Go !", "Farewell"}));
    EXPECT_EQ(running, (std::vector<bool>{true, false}));
}

TEST_F(MacroRunTest, FileChangedOrDeletedWhileRunningRunsWhatItRead) {
    WriteMacros(kMacros);
    world.Lobby.DuringWait = [&](int) {
        std::filesystem::remove(s.Settings.MacroFileName);
    };
    runner.RunMacro(s, "Greet");
    EXPECT_EQ(Sent(), (Lines{"Hello from ", "Farewell"}));
    world.Lobby.DuringWait = nullptr;
    runner.RunMacro(s, "Greet");  // gone now: an empty macro
    EXPECT_EQ(Sent().size(), 2u);
    EXPECT_EQ(running.size(), 4u);
    WriteMacros("[Greet]\r\nLine00=\"new text\"\r\n");
    runner.RunMacro(s, "Greet");
    EXPECT_EQ(Sent().back(), "new text");
}

TEST_F(MacroRunTest, PlayerMacroIsExpandedForTheLatestTable) {
    WriteMacros(kMacros);
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
    const std::string expect = winner->Name + ": table " + std::to_string(next->TableNo) + " vs " +
                               next->Seat[1]->Name + " (Round 2), boot 6:30";
    EXPECT_EQ(Sent(), Lines{expect});
    const TMsgParams p = PlayerMacroParams(s, *winner, 0);
    EXPECT_EQ(p.RoundIndex, GetRoundIndex(s, 1, TBracketKind::Winners));
    EXPECT_EQ(p.BootSecondsLeft, 7 * 60 - 30);
    EXPECT_NE(Log().find("Click: Player \"" + winner->Name + "\" macro - \"Seat\""), std::string::npos);
    // The losers meet in the one-loss bracket; a third result leaves one alone.
    const TMsgParams q = PlayerMacroParams(s, *loser, 0);
    EXPECT_EQ(q.TableNo, loser->Tables[1]->TableNo);
    EXPECT_EQ(q.OpponentName, otherLoser->Name);
    AssignWin(s, TBracketKind::Winners, 0, 2, 0, true, true);
    TPlayer* alone = s.Winners[0].Tables[2].Seat[1];
    EXPECT_EQ(PlayerMacroParams(s, *alone, 0).OpponentName, "");
    EXPECT_EQ(q.BootSecondsLeft, 7 * 60);
    EXPECT_TRUE(running.empty());  // player macros never switch the menus
}

TEST_F(MacroRunTest, FileCommandsKeepFiveRecentFiles) {
    WriteMacros(kMacros);
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
}  // namespace kestrova
