// Starting, closing and announcing: the lifecycle's worked cases.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/play_helpers.h"
#include "engine/table_count.h"
#include "engine/undo.h"
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
        SetElimFormat(s, TElimFormat::Double);
    }
    int Posted(TMessageKind kind) const {
        int n = 0;
        for (const auto& p : announcer.Postings)
            n += p.Kind == kind;
        return n;
    }
    FakeWorld world;
    RecordingAnnouncer announcer;
    TTourneyState s;
};

TEST_F(LifecycleTest, ClosingNeedsEightEntriesAndAsksUnlessToldNotTo) {
    SeatEntries(s, 7);
    const std::string before = DumpState(s);
    CloseSignups(s);
    EXPECT_EQ(world.Dialogs.Messages.back(),
              "You need at least 8 players/teams in your tourney before you can close it");
    EXPECT_FALSE(s.SignupClosed);
    EXPECT_EQ(DumpState(s), before);
    EXPECT_TRUE(world.Dialogs.Asked.empty());

    SeatEntries(s, 0);
    auto extra = std::make_unique<TPlayer>();
    extra->Name = "P008";
    s.Winners[0].Tables[3].Seat[1] = extra.get();
    extra->Tables[0] = &s.Winners[0].Tables[3];
    extra->Seats[0] = 1;
    s.Players.push_back(std::move(extra));
    world.Dialogs.AnswerNo();
    CloseSignups(s);
    EXPECT_EQ(world.Dialogs.Asked.back(),
              "Are you sure that you want to close signups?\r\n\r\nThis action cannot be "
              "reversed.");
    EXPECT_FALSE(s.SignupClosed);

    world.Dialogs.AnswerYes(true);  // "Don't ask me again"
    CloseSignups(s);
    EXPECT_TRUE(s.SignupClosed);
    EXPECT_TRUE(s.Settings.ConfirmNotifyFilter & confirm_bits::CloseSignups);
    EXPECT_EQ(Posted(TMessageKind::mkClosed), 1);

    // A second close only posts "Closed" again; the next tournament closes without asking.
    const size_t asked = world.Dialogs.Asked.size();
    CloseSignups(s);
    EXPECT_EQ(Posted(TMessageKind::mkClosed), 2);
    ResetTourneyState(s);
    SetElimFormat(s, TElimFormat::Double);
    SeatEntries(s, 8);
    CloseSignups(s);
    EXPECT_TRUE(s.SignupClosed);
    EXPECT_EQ(world.Dialogs.Asked.size(), asked);
}

// Closing without "All Start" starts and closes at once.
TEST_F(LifecycleTest, NineEntriesFixTheFirstRoundWithAByeTable) {
    SeatEntries(s, 9);  // table indexes 0 to 4, the last holding one entry
    CloseSignups(s);
    EXPECT_TRUE(s.Started);
    EXPECT_EQ(s.StartedAt, s.ClosedAt);
    EXPECT_EQ(s.Winners[0].Tables[3].StartTime, s.ClosedAt);
    EXPECT_EQ(s.Winners[0].TableCount, 5);
    EXPECT_TRUE(s.Winners[0].HasBye);
    EXPECT_EQ(s.OneLoss[0].TableCount, 0);
    EXPECT_TRUE(s.UndoList.empty());
    EXPECT_EQ(CheckInvariants(s), "");
}

TEST_F(LifecycleTest, AllStartSetsTheStartOnceAndPostsEachTime) {
    SeatEntries(s, 8);
    AllStart(s);
    const TDateTime started = s.StartedAt;
    EXPECT_TRUE(s.Started);
    EXPECT_EQ(s.Winners[0].Tables[0].StartTime, started);
    world.Clock.AdvanceSeconds(120);
    AllStart(s);
    EXPECT_EQ(Posted(TMessageKind::mkAllStart), 2);
    EXPECT_EQ(s.StartedAt, started);
    EXPECT_EQ(s.Winners[0].Tables[0].StartTime, started);

    // Closing after "All Start" keeps the earlier start.
    world.Clock.AdvanceSeconds(60);
    CloseSignups(s);
    EXPECT_EQ(s.StartedAt, started);
    EXPECT_GT(s.ClosedAt, started);
}

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

TEST_F(LifecycleTest, AnnouncingWinnersChangesNothing) {
    StartTourney(s, TElimFormat::Double, 8);
    const std::string before = DumpState(s);
    AnnounceWinners(s);
    EXPECT_EQ(Posted(TMessageKind::mkAnnounceWinners), 1);
    EXPECT_EQ(DumpState(s), before);
}

}  // namespace
}  // namespace kestrova
