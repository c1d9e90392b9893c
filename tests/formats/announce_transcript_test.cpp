// Every announcement of a 16-entry double-elimination tournament, played
// through the engine with the built-in templates and no lobby (so every line
// of a posting is on the clipboard), checked line by line
// against a transcript read and checked by hand (tests/data).
#include <gtest/gtest.h>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "engine/format_store.h"
#include "formats/messages.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

// Plays the first decidable table in bracket, round and table order; seat 0 wins.
bool PlayFirstTable(TTourneyState& s) {
    auto tables = PlayableTables(s, false);
    if (tables.empty()) return false;
    const TPlayable& p = tables.front();
    AssignWin(s, p.Bracket, p.Round, p.Table, 0, true, false);
    return true;
}

TEST(AnnounceTranscript, SixteenEntryDoubleMatchesTheCheckedTranscript) {
    FakeWorld world;
    TTourneyState s;
    world.Wire(s);
    s.LogToFile = false;
    SelectFormat(s, "Default");
    SetElimFormat(s, TElimFormat::Double);
    s.MsgParams.RulesTime = "8:15 pm";
    s.OnePerTable = false;
    for (const char* name : {"Ann", "Bob", "Cat", "Dan", "Eve", "Fay", "Gus", "Hal", "Ida", "Jon",
                             "Kim", "Lou", "Max", "Ned", "Oli", "Pat"})
        ASSERT_NE(AddPlayer(s, name), nullptr);
    AllStart(s);
    CloseSignups(s);
    int guard = 0;
    while (!GrandFinalDecided(s) && PlayFirstTable(s) && ++guard < 100) {
    }
    ASSERT_TRUE(GrandFinalDecided(s));
    const TFinalPlaces places = FinalPlaces(s);
    EXPECT_EQ(places.First, "Ann");
    EXPECT_EQ(places.Second, "Ida");
    EXPECT_EQ(places.Third, "Cat");
    AnnounceWinners(s);

    std::string got;
    // One clipboard text may hold several lines (CR LF between them).
    for (const auto& text : world.Lobby.Clipboard)
        for (const auto& line : SplitLines(text)) got += line + "\n";
    ExpectGolden("double16_transcript.txt", got);
}

// While sign-up is open a decided first table names no champion.
TEST(AnnounceTranscript, NoPlacesBeforeTheGrandFinal) {
    FakeWorld world;
    TTourneyState s;
    world.Wire(s);
    s.LogToFile = false;
    s.OnePerTable = false;
    for (const char* name : {"Ann", "Bob"})
        ASSERT_NE(AddPlayer(s, name), nullptr);
    AssignWin(s, TBracketKind::Winners, 0, 0, 0, true, false);
    ASSERT_NE(s.Winners[0].Tables[0].Result, 0);
    const TFinalPlaces places = FinalPlaces(s);
    EXPECT_EQ(places.First + places.Second + places.Third, "");
}

}  // namespace
}  // namespace kestrova
