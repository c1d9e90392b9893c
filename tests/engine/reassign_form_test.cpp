#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/text.h"
#include "engine/play_helpers.h"
#include "engine/reassign_form.h"
#include "engine/results.h"
#include "engine/seat_search.h"
#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "session/lifecycle.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

// Double elimination, nine entries seated two a table, sign-ups closed:
// four full tables and the bye table in Winners round 1.
class ReassignFormTest : public ::testing::Test {
  protected:
    TTourneyState s;
    testing::FakeWorld world;
    testing::RecordingAnnouncer announcer;
    void SetUp() override {
        world.Wire(s, &announcer);
        testing::StartTourney(s, TElimFormat::Double, 9);
    }
    TPlayer& Player(int i) { return *s.Players[i]; }
    static std::vector<std::string> Items(const QComboBox* c) {
        std::vector<std::string> out;
        for (int i = 0; i < c->count(); ++i)
            out.push_back(c->itemText(i).toStdString());
        return out;
    }
};

TEST_F(ReassignFormTest, AssignTheWinAndPlaceAtAChosenNextRoundTable) {
    ASSERT_TRUE(s.Winners[0].HasBye);
    const int ownNo = s.Winners[0].Tables[0].TableNo;
    TReassignForm form(s, BuildReassign(s, {TBracketKind::Winners, 0, 0, 0}));
    form.show();
    EXPECT_EQ(form.windowTitle(), "Reassign Player to Different Table");
    EXPECT_TRUE(form.CurrentLabel->text().startsWith(
        QString("Player \"P001\" is currently at table %1 for ").arg(ownNo)));
    EXPECT_EQ(form.OpponentLabel->text(), "The other player at the table is \"P002\".");
    EXPECT_EQ(form.LegendLabel->text(), "*  denotes bye table\n** denotes current assignment ");
    EXPECT_NE(testing::FindChildByText<QLabel>(&form, "Table:"), nullptr);
    EXPECT_TRUE(form.AssignWinChoice->isEnabled());
    EXPECT_TRUE(form.MoveChoice->isEnabled());
    EXPECT_TRUE(form.AssignWinChoice->isChecked());

    // Winners round 2 is still empty: every table offered, the list follows the choice.
    const TRoundRec& next = s.Winners[1];
    std::vector<std::string> nextItems = Items(form.TableList);
    ASSERT_EQ(nextItems.size(), static_cast<size_t>(next.TableCount));
    EXPECT_EQ(nextItems[0], IntToStr(next.Tables[0].TableNo));
    EXPECT_EQ(form.TableList->currentIndex(), 0);
    QTest::mouseClick(form.MoveChoice, Qt::LeftButton);
    // In round 1 only the own table has a place (the bye table is taken).
    EXPECT_EQ(Items(form.TableList), std::vector<std::string>{IntToStr(ownNo) + " **"});
    QTest::mouseClick(form.AssignWinChoice, Qt::LeftButton);
    EXPECT_EQ(Items(form.TableList), nextItems);

    form.TableList->setCurrentIndex(1);
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(s.Winners[0].Tables[0].Result, 1);
    ASSERT_NE(Player(0).Tables[1], nullptr);
    EXPECT_EQ(Player(0).Tables[1], &s.Winners[1].Tables[1]);
    EXPECT_FALSE(s.Winners[1].Tables[0].Seat[0] || s.Winners[1].Tables[0].Seat[1]);
    EXPECT_FALSE(s.UndoList.empty());
    EXPECT_FALSE(announcer.Postings.empty());  // the new table is announced
}

TEST_F(ReassignFormTest, MoveWithinTheRoundWhileSittingAlone) {
    AssignWin(s, TBracketKind::Winners, 0, 0, 0, true, true);  // P001 waits in round 2
    TTableRec* waiting = Player(0).Tables[1];
    ASSERT_NE(waiting, nullptr);
    const size_t postings = announcer.Postings.size();
    TReassignForm form(s, BuildReassign(s, {TBracketKind::Winners, 1, TableIndexOf(*waiting),
                                            SeatOf(*waiting, &Player(0))}));
    form.show();
    EXPECT_EQ(form.OpponentLabel->text(), "They are sitting alone.");
    EXPECT_FALSE(form.AssignWinChoice->isEnabled());
    EXPECT_TRUE(form.MoveChoice->isChecked());
    std::vector<std::string> items = Items(form.TableList);
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[0], IntToStr(waiting->TableNo) + " **");

    QTest::keyClick(form.TableList, Qt::Key_Down);  // the next table
    const int target = StrToIntDef(items[1].substr(0, items[1].find(' ')), 0);
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    ASSERT_NE(Player(0).Tables[1], nullptr);
    EXPECT_EQ(Player(0).Tables[1]->TableNo, target);
    EXPECT_EQ(SeatOf(*waiting, &Player(0)), -1);
    EXPECT_EQ(Player(0).Tables[0]->Result, 1);       // the result stays
    EXPECT_EQ(announcer.Postings.size(), postings);  // a move is not announced
}

TEST_F(ReassignFormTest, CancelAndAnEmptySeatChangeNothing) {
    TReassignForm form(s, BuildReassign(s, {TBracketKind::Winners, 0, 1, 1}));
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(s.Winners[0].Tables[1].Result, 0);
    EXPECT_TRUE(s.UndoList.empty());
    // An empty seat opens nothing (a modal dialog would block here).
    RunReassign(s, {TBracketKind::Winners, 0, 4, 1}, nullptr);
    EXPECT_TRUE(s.UndoList.empty());
}

}  // namespace
}  // namespace kestrova
