// Running macros: the scripts of tests/data/lobby/macro_runs.txt (delays
// through the clock, "&Stop", a macro run inside another's pause, a file
// changed or deleted while a macro runs), then a player macro for the clicked
// player's latest table and the macro-file commands.
#include "lobby/macros.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/status.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"

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
  public:
    void WriteMacros(const std::string& body) { WriteFileBytes(s.Settings.MacroFileName, body); }
    const Lines& Sent() { return world.Windows.At(input).Sent; }
    std::string Log() { return ReadFileBytes(dir.File("t.log")); }

  public:
    void TestBody() override {}  // also played by hand, one per script
    void Step(const std::string& key, const std::string& v);

  protected:
    std::map<std::string, size_t> seen;
    std::string Since(const std::string& check, const std::vector<std::string>& list) {
        size_t& from = seen[check];
        std::string out = from == list.size() ? "(none)" : "";
        for (size_t i = from; i < list.size(); ++i) out += (i == from ? "" : " | ") + list[i];
        from = list.size();
        return out;
    }
};

void MacroRunTest::Step(const std::string& key, const std::string& v) {
    if (key == "host") s.MsgParams.HostName = v;
    else if (key == "player") s.MsgParams.PlayerName = v;
    else if (key == "run") runner.RunMacro(s, v);
    else if (key == "file") WriteMacros(v);
    else if (key.rfind("at wait ", 0) == 0) {
        const std::string when = key.substr(8);
        auto waits = std::make_shared<int>(0);
        world.Lobby.DuringWait = [this, when, v, waits](int) {
            if (when != "each" && ++*waits != std::stoi(when)) return;
            if (v == "stop") runner.Stop();
            else if (v == "remove the file") std::filesystem::remove(s.Settings.MacroFileName);
            else if (v.rfind("run ", 0) == 0) runner.RunMacro(s, v.substr(4));
        };
    } else if (key == "sent") EXPECT_EQ(Since(key, Sent()), v);
    else if (key == "clipboard") EXPECT_EQ(Since(key, world.Lobby.Clipboard), v);
    else if (key == "running") {
        std::vector<std::string> shown;
        for (bool on : running) shown.push_back(on ? "on" : "off");
        EXPECT_EQ(Since(key, shown), v);
    } else if (key == "sent at") {
        std::vector<std::string> times;
        for (double t : sentAt) times.push_back(Format("%.3f", t));
        EXPECT_EQ(Since(key, times), v);
    } else if (key == "clock before") EXPECT_LT(Seconds(), std::stod(v));
    else if (key == "stop requested") EXPECT_EQ(runner.StopRequested() ? "yes" : "no", v);
    else if (key == "menus") {
        const TMacroMenus menus = LoadMacros(s.Settings.MacroFileName);
        std::string shown;
        for (const auto& m : menus.General) shown += (shown.empty() ? "" : " ") + m.Name;
        shown += " |";
        for (const auto& p : menus.Player) shown += " " + p;
        EXPECT_EQ(shown, v);
    } else if (key == "log") EXPECT_NE(Log().find(v), std::string::npos) << v;
    else ADD_FAILURE() << "unknown step " << key;
}

TEST(MacroRuns, EachScriptRunsAsWritten) {
    for (const TCase& c : ReadCases("lobby/macro_runs.txt")) {
        SCOPED_TRACE(c.Where());
        MacroRunTest t;
        t.WriteMacros(kMacros);
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(key + " = " + value);
            t.Step(key, value);
        }
    }
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
}  // namespace kestrova::testing
