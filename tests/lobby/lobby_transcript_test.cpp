// Every announcement of a 16-entry double-elimination tournament, played
// through the engine with the built-in templates and a room chosen: each line
// goes through PostToLobby into the room's chat input, with a timer tick in
// every pause, and arrives in order, once, matching the transcript checked by
// hand (tests/data/double16_transcript.txt).
#include <gtest/gtest.h>

#include "engine/format_store.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "formats/messages.h"
#include "lobby/lobby_link.h"
#include "session/lifecycle.h"

namespace kestrova::testing {
namespace {

TEST(LobbyTranscript, SixteenEntryDoubleArrivesInTheRoomAsTheCheckedTranscript) {
    FakeWorld world;
    TTourneyState s;
    world.Wire(s);
    s.LogToFile = false;
    world.Windows.AddOldRoom("Decoy");
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
    EXPECT_EQ(FinalPlaces(s).First, "");  // no places while sign-up is open
    AllStart(s);
    CloseSignups(s);
    for (int guard = 0; !GrandFinalDecided(s) && guard < 100; ++guard) {
        const auto tables = PlayableTables(s, false);  // the first decidable table; seat 0 wins
        ASSERT_FALSE(tables.empty());
        AssignWin(s, tables[0].Bracket, tables[0].Round, tables[0].Table, 0, true, false);
    }
    const TFinalPlaces places = FinalPlaces(s);
    EXPECT_EQ(places.First + "|" + places.Second + "|" + places.Third, "Ann|Ida|Cat");
    AnnounceWinners(s);

    const auto& sent = world.Windows.At(input).Sent;
    EXPECT_EQ(sent, world.Lobby.Clipboard);  // each line on the clipboard reached the room
    EXPECT_EQ(world.Windows.Lines, sent);    // the decoy room received nothing
    EXPECT_EQ(ticks, static_cast<int>(sent.size()));
    ASSERT_GT(sent.size(), 40u);
    ExpectGolden("double16_transcript.txt", JoinLines(sent, "\n"));
}

}  // namespace
}  // namespace kestrova::testing
