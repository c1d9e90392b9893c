// Start-up, announcing and a new tournament's file name (closing and All
// Start are scenarios of tests/data/engine/signup.txt).
#include <gtest/gtest.h>

#include <filesystem>

#include "common/datetime.h"
#include "engine/play_helpers.h"
#include "fakes/fake_ports.h"
#include "fakes/state_dump.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;

class LifecycleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s, &announcer);
        s.LogToFile = false;
    }
    FakeWorld world;
    RecordingAnnouncer announcer;
    TTourneyState s;
};

TEST_F(LifecycleTest, StartUpMakesTheFilesFolderAndReadsTheListsAndFormats) {
    TempDir dir;
    s.Settings.FilesFolder = dir.Path() + "files/";
    PrepareStartUp(s);
    ASSERT_TRUE(std::filesystem::is_directory(dir.Path() + "files"));
    WriteFileBytes(dir.Path() + "files/BannedPlayers.txt", "Zed\r\n");
    WriteFileBytes(dir.Path() + "files/Tourney Formats.ini", "[Cup]\r\nElim=2\r\n");
    PrepareStartUp(s);
    EXPECT_EQ(s.BannedPlayers, std::vector<std::string>{"Zed"});
    EXPECT_EQ(s.FormatNames, std::vector<std::string>{"Cup"});
    s.FindText = "Ann";
    s.FoundTableNo = 57;
    ResetTourneyState(s);
    EXPECT_EQ(s.FindText + "/" + std::to_string(s.FoundTableNo), "/0");  // no table stays found
}

// The host's buttons post one message each, as asked for (not automatic),
// and change nothing in the tournament.
TEST_F(LifecycleTest, TheAnnouncementButtonsPostAndChangeNothing) {
    StartTourney(s, TElimFormat::Double, 8);
    announcer.Postings.clear();
    s.MsgParams.RoundIndex = 3;
    const std::string before = DumpState(s);
    AnnounceWinners(s);
    PostWelcome(s);
    PostFormat(s);
    ASSERT_EQ(announcer.Postings.size(), 3u);
    const TMessageKind kinds[] = {TMessageKind::mkAnnounceWinners, TMessageKind::mkWelcome,
                                  TMessageKind::mkFormat};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(announcer.Postings[i].Kind, kinds[i]) << i;
        EXPECT_FALSE(announcer.Postings[i].Automatic) << i;
    }
    EXPECT_EQ(announcer.Postings[2].Params.RoundIndex, 0);  // the format names the first round
    EXPECT_EQ(DumpState(s), before);
}

TEST(NewTourneyFileName, FormatDateStartAndForbiddenCharacters) {
    TLocaleInfo en;
    TDateTime dec5 = EncodeDateTime(2026, 12, 5, 23, 59);
    EXPECT_EQ(NewTourneyFileName("Default", "8:00 pm", dec5, en),
              "Default 05Dec26 800 pm Tournament");
    // Every forbidden character goes, wherever it stands.
    EXPECT_EQ(NewTourneyFileName("Spades: \"Pro\" <A|B>", "9.30*?/\\", dec5, en),
              "Spades Pro AB 05Dec26 930 Tournament");
    EXPECT_EQ(NewTourneyFileName("", "", EncodeDateTime(2027, 1, 9), en), " 09Jan27  Tournament");
    // The short month name comes from the locale; cp1252 letters stay.
    TLocaleInfo fr;
    fr.ShortMonthNames[1] = "f\xE9vr";
    EXPECT_EQ(NewTourneyFileName("Belote", "20h", EncodeDateTime(2026, 2, 14), fr),
              "Belote 14f\xE9vr26 20h Tournament");
}

}  // namespace
}  // namespace kestrova
