// Player status and lookup: round tabs, the find box (table and name
// searches, the status text), locating a table, the name-box highlight and
// the count label.
#include <gtest/gtest.h>

#include "engine/play_helpers.h"
#include "engine/results.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "session/lifecycle.h"

namespace kestrova {
namespace {

using namespace testing;
using Tabs = std::vector<std::string>;

class StatusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s);
        s.LogToFile = false;
    }
    void Win(TBracketKind b, int r, int t, int seat) { AssignWin(s, b, r, t, seat, true, false); }
    TPlayer* P(int i) { return s.Players[i - 1].get(); }
    FakeWorld world;
    TTourneyState s;
};

TEST_F(StatusTest, TabsOfSixteenEntries) {
    StartTourney(s, TElimFormat::Double, 16);
    EXPECT_EQ(s.TabCaptions[0], (Tabs{"1", "2", "3", "WF", "GF"}));
    EXPECT_EQ(s.TabCaptions[1], (Tabs{"2", "3", "4", "5", "SF"}));
    EXPECT_TRUE(s.TabCaptions[2].empty());
    for (int t = 0; t < 8; ++t)
        Win(TBracketKind::Winners, 0, t, t % 2);
    EXPECT_EQ(s.TabCaptions[0], (Tabs{"1", "2", "3", "WF", "GF"}));
    EXPECT_EQ(s.TabCaptions[1], (Tabs{"2", "3", "4", "5", "SF"}));

    ResetTourneyState(s);
    StartTourney(s, TElimFormat::Triple, 16);
    EXPECT_EQ(s.TabCaptions[0], (Tabs{"1", "2", "3", "WF", "GF"}));
    EXPECT_EQ(s.TabCaptions[1], (Tabs{"2", "3", "4", "5", "QF", "SF"}));
    EXPECT_EQ(s.TabCaptions[2], (Tabs{"3", "4", "5", "6 *", "7", "QF"}));
    // A forced bye in one-loss round 1 gives round 2 a bye of its own.
    Win(TBracketKind::Winners, 0, 0, 0);
    Win(TBracketKind::OneLoss, 1, 0, 0);
    EXPECT_EQ(s.TabCaptions[1][0], "2 *");

    ResetTourneyState(s);
    StartTourney(s, TElimFormat::Single, 16);
    EXPECT_EQ(s.TabCaptions[0], (Tabs{"1", "2", "SF", "GF"}));
    EXPECT_EQ(GetRoundIndex(s, 3, TBracketKind::Winners), 14);
    EXPECT_EQ(GetRoundIndex(s, 2, TBracketKind::Winners), 13);
}

TEST_F(StatusTest, FindByTableOrNameAndLocate) {
    s.StartTable[2] = 17;
    StartTourney(s, TElimFormat::Double, 16);
    FindPlayer(s, " 12 ");
    EXPECT_EQ(s.FoundTableNo, 12);
    EXPECT_EQ(s.FindText, "");
    EXPECT_EQ(s.FoundStatus, "");

    Win(TBracketKind::Winners, 0, 0, 0);
    Win(TBracketKind::Winners, 0, 1, 0);  // P002 and P004 meet at one-loss table 91
    FindPlayer(s, "91");
    world.View.Calls.clear();
    LocateTable(s);
    EXPECT_EQ(s.SelectedTab[1], 0);
    EXPECT_TRUE(world.View.Called("select 1 1"));
    EXPECT_TRUE(world.View.Called("scroll 1 1 0"));

    Win(TBracketKind::OneLoss, 1, 0, 0);
    FindPlayer(s, "p002");
    EXPECT_EQ(s.FindText, "P002");
    EXPECT_EQ(s.FoundStatus, " OL 3 / 17");
    EXPECT_EQ(s.FoundTableNo, 17);
    EXPECT_EQ(world.View.FindStatus, " OL 3 / 17");
    FindPlayer(s, "P004");
    EXPECT_EQ(s.FoundStatus, "Out");
    EXPECT_EQ(s.FoundTableNo, 0);
    FindPlayer(s, "nobody");
    EXPECT_EQ(s.FoundStatus, "");
    FindPlayer(s, "p0");  // the first entry in sign-up order
    EXPECT_EQ(s.FoundStatus, " W 2 / 90");
    FindPlayer(s, "151");  // past the room: a name search
    EXPECT_EQ(s.FindText, "151");
    EXPECT_EQ(s.FoundTableNo, 0);
}

TEST_F(StatusTest, NameBoxHighlightPrecedence) {
    StartTourney(s, TElimFormat::Double, 13);
    Win(TBracketKind::Winners, 0, 6, 0);  // P013's bye
    Win(TBracketKind::Winners, 0, 0, 0);  // P001 joins P013 at round 2 table 0
    const TTableRec& r1 = s.Winners[1].Tables[0];
    const TTableRec& r0 = s.Winners[0].Tables[0];
    ASSERT_EQ(r1.Seat[0], P(13));
    EXPECT_EQ(NameBoxStatus(s, r1, 0), TNameHighlight::HadBye);
    EXPECT_EQ(NameBoxStatus(s, r1, 1), TNameHighlight::None);
    P(1)->BootedOut = true;
    EXPECT_EQ(NameBoxStatus(s, r1, 1), TNameHighlight::BootedOut);
    P(1)->Disqualified = true;
    EXPECT_EQ(NameBoxStatus(s, r1, 1), TNameHighlight::Disqualified);
    FindPlayer(s, "p00");  // after closing: contained in the name
    EXPECT_EQ(NameBoxStatus(s, r1, 1), TNameHighlight::FoundOpen);
    EXPECT_EQ(NameBoxStatus(s, r0, 0), TNameHighlight::FoundDecided);
    EXPECT_EQ(NameBoxStatus(s, r0, 1), TNameHighlight::FoundDecided);
    P(13)->Disqualified = true;
    FindPlayer(s, "");
    EXPECT_EQ(NameBoxStatus(s, r1, 0), TNameHighlight::Disqualified);
}

TEST_F(StatusTest, CountLabel) {
    StartTourney(s, TElimFormat::Single, 16);
    EXPECT_EQ(CountLabelText(s), "Players: 16/16");
    Win(TBracketKind::Winners, 0, 0, 0);
    P(3)->Disqualified = true;
    EXPECT_EQ(CountLabelText(s), "Players: 14/16");
    s.TeamMode = true;
    EXPECT_EQ(CountLabelText(s), "Teams: 14/16");
    UpdatePlayerState(s);
    EXPECT_EQ(world.View.CountLabel, "Teams: 14/16");
}

}  // namespace
}  // namespace kestrova
