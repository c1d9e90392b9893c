// The 16-entry double-elimination tournament of tests/data played again with
// a room chosen: every line goes through PostToLobby into the scripted
// room's chat input, with a timer tick (RefindLobby) in every pause, and
// arrives in order with nothing lost.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/format_store.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "lobby/lobby_link.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

std::vector<std::string> FileLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

TEST(LobbyTranscript, SixteenEntryDoubleArrivesInTheRoomInOrder) {
    FakeWorld world;
    TTourneyState s;
    world.Wire(s);
    s.LogToFile = false;
    const TWindowHandle old = world.Windows.AddOldRoom("Decoy");
    (void)old;
    const TWindowHandle room = world.Windows.AddNewRoom("Hearts 2");
    SelectLobby(s, {"Hearts 2", room});
    const TWindowHandle input = world.Windows.InputOf(room);
    ASSERT_EQ(s.FLobbyEditWnd, input);
    int ticks = 0;
    world.Lobby.DuringWait = [&](int) {
        ++ticks;
        RefindLobby(s);
    };

    SelectFormat(s, "Default");
    SetElimFormat(s, TElimFormat::Double);
    s.MsgParams.RulesTime = "8:15 pm";
    s.OnePerTable = false;
    for (const char* name : {"Ann", "Bob", "Cat", "Dan", "Eve", "Fay", "Gus", "Hal", "Ida", "Jon",
                             "Kim", "Lou", "Max", "Ned", "Oli", "Pat"})
        ASSERT_NE(AddPlayer(s, name), nullptr);
    AllStart(s);
    CloseSignups(s);
    for (int guard = 0; !GrandFinalDecided(s) && guard < 100; ++guard) {
        auto tables = PlayableTables(s, false);
        ASSERT_FALSE(tables.empty());
        AssignWin(s, tables[0].Bracket, tables[0].Round, tables[0].Table, 0, true, false);
    }
    AnnounceWinners(s);

    // Every line on the clipboard reached the room, in the same order, and
    // each was sent exactly once.
    const auto& sent = world.Windows.At(input).Sent;
    EXPECT_EQ(sent, world.Lobby.Clipboard);
    EXPECT_EQ(world.Windows.Lines, sent);  // the decoy room received nothing
    EXPECT_EQ(ticks, static_cast<int>(sent.size()));
    // Without a room the same tournament puts every line of the checked
    // transcript on the clipboard; with one, each line is sent on its own.
    const auto expected =
        FileLines(ReadFileBytes(std::string(KESTROVA_TEST_DATA) + "/double16_transcript.txt"));
    ASSERT_GT(expected.size(), 40u);
    EXPECT_EQ(sent, expected);
}

}  // namespace
}  // namespace kestrova
