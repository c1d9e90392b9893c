// Every announcement of a 16-entry double-elimination tournament, played
// through the engine with the built-in templates and no lobby (so every line
// of a posting is on the clipboard), checked line by line
// against a transcript read and checked by hand (tests/data).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/signup.h"
#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "engine/format_store.h"
#include "formats/messages.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

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
        for (const auto& line : Lines(text)) got += line + "\n";
    const std::string path = std::string(KESTROVA_TEST_DATA) + "/double16_transcript.txt";
    if (std::getenv("KESTROVA_WRITE_TRANSCRIPT")) WriteFileBytes(path, got);
    std::vector<std::string> expected = Lines(ReadFileBytes(path));
    std::vector<std::string> actual = Lines(got);
    ASSERT_FALSE(expected.empty()) << "missing " << path;
    for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        ASSERT_LT(i, expected.size()) << "extra line " << i + 1 << ": " << actual[i];
        ASSERT_LT(i, actual.size()) << "missing line " << i + 1 << ": " << expected[i];
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
    }
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
