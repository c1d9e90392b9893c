// Running macros: the scripts of tests/data/lobby/macro_runs.txt (the menus
// read from a file, delays through the clock, "&Stop", a macro run inside
// another's pause, a file changed or deleted while a macro runs), then a
// player macro for the clicked player's latest table and the macro-file
// commands.
#include "lobby/macros.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
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
        runner.RunningChanged = [this](bool on) { running.push_back(OnOff(on)); };
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
    TPlayer& Seat(const std::string& ref) {  // "TABLE.SEAT" of the first round
        return *s.Winners[0]
                    .Tables[std::stoi(Split(ref, ".")[0])]
                    .Seat[std::stoi(Split(ref, ".")[1])];
    }
    std::string Tmp(const std::string& path) const { return path.substr(dir.Path().size()); }
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
    if (key.starts_with("at wait ")) {
        const std::string when = key.substr(8);
        auto waits = std::make_shared<int>(0);
        world.Lobby.DuringWait = [this, when, v, waits](int) {
            if (when != "each" && ++*waits != std::stoi(when)) return;
            if (v == "stop") runner.Stop();
            if (v == "remove the file") std::filesystem::remove(s.Settings.MacroFileName);
            if (v.starts_with("run ")) runner.RunMacro(s, v.substr(4));
        };
        return;
    }
    const auto f = Split(v, " ");
    const std::map<std::string, std::function<void()>> actions = {
        {"host", [&] { s.MsgParams.HostName = v; }},
        {"player", [&] { s.MsgParams.PlayerName = v; }},
        {"run", [&] { runner.RunMacro(s, v); }},
        {"file", [&] { WriteFileBytes(s.Settings.MacroFileName, v); }},
        {"tourney",
         [&] {
             s.LogToFile = true;
             StartTourney(s, TElimFormat::Double, std::stoi(v));
         }},
        {"win", [&] { AssignWin(s, TBracketKind::Winners, 0, std::stoi(v), 0, true, true); }},
        {"advance", [&] { world.Clock.AdvanceSeconds(std::stoi(v)); }},
        {"boot time", [&] { s.BootTime = std::stoi(v); }},
        // "SEAT SECONDS" ago
        {"boot started",
         [&] { Seat(f[0]).BootStart = world.Clock.Time - std::stod(f[1]) / SecondsPerDay; }},
        // "SEAT STAGE MACRO"
        {"player macro", [&] { runner.RunPlayerMacro(s, Seat(f[0]), std::stoi(f[1]), f[2]); }},
        {"use", [&] { s.Settings.MacroFileName = dir.File(v); }},
        {"macro file", [&] { SetMacroFile(s, dir.File(v)); }},
        {"forget what was sent", [&] { since("sent", Sent()); }},
        {"save as",
         [&] {
             EXPECT_EQ(SaveMacrosAs(s, dir.File(Arrow(v).first)) ? "saved" : "refused",
                       Arrow(v).second);
         }},
        {"holds the first file", [&] { EXPECT_EQ(ReadFileBytes(dir.File(v)), kMacros); }},
        {"clock before", [&] { EXPECT_LT(Seconds(), std::stod(v)); }},
        {"log", [&] { EXPECT_NE(Log().find(v), std::string::npos) << v; }},
    };
    const std::map<std::string, std::function<std::string()>> checks = {
        {"in use", [&] { return Tmp(s.Settings.MacroFileName); }},
        {"recent",
         [&] {
             std::vector<std::string> recent;
             for (const std::string& path : s.Settings.RecentMacroFiles)
                 recent.push_back(Tmp(path));
             return Joined(recent);
         }},
        {"settings saved", [&] { return std::to_string(world.Settings.Saves); }},
        {"sent", [&] { return since(key, Sent()); }},
        {"clipboard", [&] { return since(key, world.Lobby.Clipboard); }},
        {"running", [&] { return since(key, running); }},
        {"sent at", [&] { return since(key, sentAt); }},
        {"stop requested", [&] { return YesNo(runner.StopRequested()); }},
        {"menus", [&] { return Menus(); }},
    };
    if (auto a = actions.find(key); a != actions.end())
        a->second();
    else if (auto c = checks.find(key); c != checks.end())
        EXPECT_EQ(c->second(), v);
    else
        ADD_FAILURE() << "unknown step " << key;
}

TEST(MacroRuns, EachScriptRunsAsWritten) {
    PlayScripts<MacroRunTest>("lobby/macro_runs.txt");
}

TEST_F(MacroRunTest, PlayerMacroLooksAtTheLatestTableButOne) {
    StartTourney(s, TElimFormat::Double, 8);
    // A player with a table at every stage: the last but one is the latest
    // looked at, from any stage clicked.
    TPlayer deep;
    for (int k = 0; k < MaxStages; ++k) {
        s.Winners[0].Tables[k].TableNo = 100 + k;
        deep.Tables[k] = &s.Winners[0].Tables[k];
    }
    for (int stage : {0, MaxStages - 3, MaxStages - 2})
        EXPECT_EQ(PlayerMacroParams(s, deep, stage).TableNo, 100 + MaxStages - 2) << stage;
    // A stage past the last is read as the last.
    EXPECT_EQ(PlayerMacroParams(s, deep, MaxStages + 3).TableNo, 100 + MaxStages - 1);
}

}  // namespace
}  // namespace kestrova::testing
