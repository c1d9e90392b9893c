// Sign-up and seating: the name filter, the refusals, both seating modes,
// team completion, renaming and erasing in the first round.
#include <gtest/gtest.h>

#include "engine/signup.h"
#include "engine/table_count.h"
#include "engine/undo.h"
#include "fakes/fake_ports.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::RecordingAnnouncer;
using testing::TempDir;

constexpr const char* Full = "There is no more space in the bracket for more players.";

class SignupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s, &announcer);
        s.TourneyPath = dir.File("t.kvb");
        SetElimFormat(s, TElimFormat::Double);  // round 0 tables numbered 50, 51, ...
    }
    TPlayer* At(int table, int seat) { return s.Winners[0].Tables[table].Seat[seat]; }
    std::string NameAt(int table, int seat) {
        TPlayer* p = At(table, seat);
        return p ? p->Name : "-";
    }
    void AddNumbered(int from, int to) {
        for (int i = from; i <= to; ++i)
            ASSERT_NE(AddPlayer(s, "p" + std::to_string(i)), nullptr);
    }
    TempDir dir;
    FakeWorld world;
    RecordingAnnouncer announcer;
    TTourneyState s;
};

TEST_F(SignupTest, NameFilterAndSilentRefusals) {
    EXPECT_EQ(AddPlayer(s, "Ann Lee")->Name, "AnnLee");
    EXPECT_EQ(AddPlayer(s, "abcdefghijklmnopqrs")->Name, "abcdefghijklmno");  // 19 letters
    EXPECT_EQ(AddPlayer(s, "x\xE9y\xFCz!")->Name, "xyz");  // bytes above 0x7F dropped
    EXPECT_EQ(AddPlayer(s, "a_b-c.d")->Name, "a_bcd");
    EXPECT_EQ(AddPlayer(s, "abcdefghijklmnopqrstu"), nullptr);  // 21 characters
    EXPECT_EQ(AddPlayer(s, ""), nullptr);
    EXPECT_EQ(AddPlayer(s, "!?. -/"), nullptr);
    EXPECT_EQ(AddPlayer(s, "\xA0\xE9\xFF"), nullptr);
    EXPECT_EQ(s.Players.size(), 4u);
    EXPECT_TRUE(world.Dialogs.Messages.empty());
    EXPECT_EQ(announcer.Postings.size(), 4u);
    EXPECT_EQ(announcer.Postings[0].Kind, TMessageKind::mkSignup);
    EXPECT_EQ(announcer.Postings[0].Params.PlayerName, "AnnLee");
    EXPECT_EQ(announcer.Postings[0].Params.TableNo, 50);
}

TEST_F(SignupTest, OnePerTableSpreadsThenPairsUp) {
    AddNumbered(1, 70);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(NameAt(i, 0), "p" + std::to_string(i + 1));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(NameAt(i, 1), "p" + std::to_string(65 + i));
    for (int i = 6; i < 64; ++i)
        EXPECT_EQ(At(i, 1), nullptr);
    EXPECT_FALSE(s.OnePerTable);
    EXPECT_EQ(std::count(world.View.Calls.begin(), world.View.Calls.end(), "one-per-table off"), 1);
    EXPECT_EQ(At(0, 1)->Tables[0], &s.Winners[0].Tables[0]);
    EXPECT_EQ(At(0, 1)->Seats[0], 1);
}

TEST_F(SignupTest, FullBracketAfter128) {
    AddNumbered(1, 128);
    for (int i = 0; i < 64; ++i)
        EXPECT_TRUE(s.Winners[0].Tables[i].Full()) << i;
    EXPECT_TRUE(world.Dialogs.Messages.empty());
    EXPECT_EQ(AddPlayer(s, "late"), nullptr);
    EXPECT_EQ(world.Dialogs.Messages, std::vector<std::string>{Full});
    EXPECT_EQ(s.Players.size(), 128u);
}

TEST_F(SignupTest, WithoutTheBoxTablesFillTwoAtATime) {
    SetOnePerTable(s, false);
    AddNumbered(1, 5);
    EXPECT_EQ(NameAt(0, 0) + NameAt(0, 1) + NameAt(1, 0) + NameAt(1, 1) + NameAt(2, 0),
              "p1p2p3p4p5");
    EXPECT_TRUE(world.View.Called("scroll 0 0 2"));
}

TEST_F(SignupTest, VoidedTablesAreNeverUsed) {
    s.VoidTables = {51, 53};
    AddNumbered(1, 3);
    EXPECT_EQ(NameAt(0, 0) + NameAt(2, 0) + NameAt(4, 0), "p1p2p3");
    // A given table that is voided falls back to choosing one.
    TPlayer* given = AddPlayer(s, "given", 1, true, false, 0);
    EXPECT_EQ(At(5, 0), given);
    // With every number voided nobody can be seated.
    for (int i = 0; i < 64; ++i)
        s.VoidTables.push_back(s.Winners[0].Tables[i].TableNo);
    world.Dialogs.Messages.clear();
    EXPECT_EQ(AddPlayer(s, "nowhere"), nullptr);
    EXPECT_EQ(world.Dialogs.Messages, std::vector<std::string>{Full});
    EXPECT_EQ(s.Players.size(), 4u);
}

TEST_F(SignupTest, GivenSeatAndStartTime) {
    s.Started = true;
    TPlayer* a = AddPlayer(s, "a", 3, false, false, 1);
    EXPECT_EQ(At(3, 1), a);
    EXPECT_EQ(s.Winners[0].Tables[3].StartTime, 0);
    TPlayer* b = AddPlayer(s, "b", 3, false, false, 1);  // taken: the other seat
    EXPECT_EQ(At(3, 0), b);
    EXPECT_EQ(s.Winners[0].Tables[3].StartTime, world.Clock.Time);
    TPlayer* c = AddPlayer(s, "c", 3, false, false, 0);  // full: a table is chosen
    EXPECT_EQ(At(0, 0), c);
}

TEST_F(SignupTest, DuplicateShowsTheExistingEntry) {
    AddNumbered(1, 3);
    AddPlayer(s, "Bob");
    world.View.Calls.clear();
    announcer.Postings.clear();
    EXPECT_EQ(AddPlayer(s, "bOB"), nullptr);
    EXPECT_EQ(s.Players.size(), 4u);
    EXPECT_EQ(world.View.FindBox, "bOB");
    EXPECT_EQ(world.View.FindStatus, " W 1 / 53");
    EXPECT_TRUE(world.View.Called("scroll 0 0 3"));
    EXPECT_TRUE(announcer.Postings.empty());
    // The next real sign-up empties the find box again.
    AddPlayer(s, "carl");
    EXPECT_EQ(world.View.FindBox, "");
    EXPECT_EQ(s.FindText, "");
}

TEST_F(SignupTest, BannedNamesAndPartnersAreRefused) {
    s.BannedPlayers = {"Bob", "zed"};
    EXPECT_EQ(AddPlayer(s, "BOB"), nullptr);
    s.TeamMode = true;
    EXPECT_EQ(AddPlayer(s, "amy/ZED"), nullptr);
    EXPECT_EQ(world.Dialogs.Messages,
              std::vector<std::string>(2,
                                       "That player is on the banned list, they will not be "
                                       "added to the tournament."));
    EXPECT_TRUE(s.Players.empty());
}

TEST_F(SignupTest, AddingEmptiesBothUndoStacks) {
    s.UndoList.push_back(std::make_unique<TUndoRedo>());
    s.RedoList.push_back(std::make_unique<TUndoRedo>());
    EXPECT_EQ(AddPlayer(s, "   "), nullptr);  // a refusal keeps them
    EXPECT_EQ(s.UndoList.size(), 1u);
    AddPlayer(s, "amy");
    EXPECT_TRUE(s.UndoList.empty());
    EXPECT_TRUE(s.RedoList.empty());
}

TEST_F(SignupTest, TeamsWaitForTheirPartner) {
    s.TeamMode = true;
    TPlayer* bc = AddPlayer(s, "bob/carl");
    EXPECT_EQ(bc->Name, "bob/carl");
    TPlayer* d = AddPlayer(s, "dave");
    EXPECT_EQ(d->Name, "dave/");
    EXPECT_EQ(At(1, 0), d);
    EXPECT_EQ(AddPlayer(s, "erin"), d);
    EXPECT_EQ(d->Name, "dave/erin");
    EXPECT_EQ(s.Players.size(), 2u);
    ASSERT_EQ(announcer.Postings.size(), 3u);
    EXPECT_EQ(announcer.Postings[1].Kind, TMessageKind::mkSignupNoPartner);
    EXPECT_EQ(announcer.Postings[1].Params.PlayerName, "dave");
    EXPECT_EQ(announcer.Postings[2].Kind, TMessageKind::mkSignup);
    // Partners are duplicates whatever side they were typed on.
    EXPECT_EQ(AddPlayer(s, "CARL"), nullptr);
    EXPECT_EQ(AddPlayer(s, "fay/Erin"), nullptr);
    EXPECT_EQ(s.Players.size(), 2u);
}

TEST_F(SignupTest, FullTeamsSkipWaitingOnes) {
    s.TeamMode = true;
    SetOnePerTable(s, false);
    AddPlayer(s, "dave");
    TPlayer* bc = AddPlayer(s, "bob/carl");  // not into dave's team
    EXPECT_EQ(At(0, 1), bc);
    TPlayer* de = AddPlayer(s, "erin");
    EXPECT_EQ(At(0, 0), de);
    EXPECT_EQ(NameAt(0, 0), "dave/erin");
}

TEST_F(SignupTest, RenameDuplicateAndErase) {
    AddNumbered(1, 2);  // p1 at table 0 seat 0, p2 at table 1 seat 0
    announcer.Postings.clear();
    auto edit = [&](int table, int seat, const std::string& text) {
        return EditPlayerName(s, TBracketKind::Winners, 0, table, seat, text);
    };
    EXPECT_EQ(edit(0, 0, "Pat Smith"), "PatSmith");
    ASSERT_EQ(announcer.Postings.size(), 1u);  // announced again under the new name
    EXPECT_EQ(announcer.Postings[0].Params.PlayerName, "PatSmith");
    EXPECT_EQ(edit(0, 0, "P2"), "PatSmith");  // another entry is p2
    EXPECT_EQ(edit(5, 1, "newbie"), "newbie");
    EXPECT_EQ(NameAt(5, 1), "newbie");

    TPlayer* p2 = At(1, 0);
    s.ActiveBoots.push_back(p2);
    s.UndoList.push_back(std::make_unique<TUndoRedo>());
    EXPECT_EQ(edit(1, 0, "!!"), "");
    EXPECT_EQ(At(1, 0), nullptr);
    EXPECT_TRUE(s.ActiveBoots.empty());
    EXPECT_TRUE(s.UndoList.empty());
    EXPECT_EQ(s.Players.size(), 2u);
    for (const auto& p : s.Players)
        EXPECT_NE(p.get(), p2);

    s.SignupClosed = true;
    EXPECT_EQ(edit(0, 0, ""), "PatSmith");
    ASSERT_EQ(world.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(world.Dialogs.Messages[0],
              "A player's name cannot be erased after closing.\r\n\r\nTo remove the player, "
              "right-mouse click on the player and select \"Remove Player\".");
    EXPECT_EQ(s.Players.size(), 2u);
}

TEST_F(SignupTest, TeamPropertiesOnEmptySpotAndEntry) {
    s.TeamMode = true;
    TPlayer* t = ApplyTeamProperties(s, TBracketKind::Winners, 0, 2, 1, "The Aces", "ann", "");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(At(2, 1), t);
    EXPECT_EQ(t->Name, "The Aces");
    EXPECT_EQ(t->Player1, "ann");
    ASSERT_EQ(announcer.Postings.size(), 1u);  // once, after the team name
    EXPECT_EQ(announcer.Postings[0].Kind, TMessageKind::mkSignupNoPartner);
    ApplyTeamProperties(s, TBracketKind::Winners, 0, 2, 1, "Aces & Co", "Ann B", "x y");
    EXPECT_EQ(t->Name + "|" + t->Player1 + "|" + t->Player2, "Aces & Co|Ann B|x y");
    EXPECT_EQ(announcer.Postings.size(), 1u);
}

TEST_F(SignupTest, TeamModeSwitchAndBoxClick) {
    SetTeamMode(s, true);
    EXPECT_TRUE(s.TeamMode);
    EXPECT_EQ(world.Settings.Saves, 1);
    EXPECT_EQ(world.View.CountLabel, "Teams: 0/0");
    SetOnePerTable(s, false);
    EXPECT_FALSE(s.OnePerTable);
}

}  // namespace
}  // namespace kestrova
