// The points dialogs through the main window's menus: "Match points/Other..."
// and "Player points...", with the two points panels. "Edit and send
// points...", "Save as" and the presets are scripts in
// tests/data/ui/window_scripts.txt.
#include <QLineEdit>

#include "engine/match_points_form.h"
#include "engine/player_points_form.h"
#include "engine/points_summary_form.h"
#include "engine/report_play.h"
#include "engine/reports.h"
#include "records/event_log.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

class PointsCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        Make({.Pairs = false});
        form->show();
    }
    // Single, 8 entries played by the engine (P001 wins, P005 second).
    void PlaySingle8() {
        std::vector<std::string> names;
        for (int i = 1; i <= 8; ++i)
            names.push_back("P00" + std::to_string(i));
        PlayKnownTourney(s(), world, TElimFormat::Single, names, 0);
        s().MsgParams.StartTime = "8:00 PM ET";
        dialogs->Messages.clear();
        dialogs->Asked.clear();
    }
    FakeWorld world;  // only its clock drives PlayKnownTourney
};

TEST_F(PointsCommandsTest, MatchPointsOtherSetsOneTier) {
    form->Menus().MatchPointsItems[0]->trigger();  // every tier 1 point
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TMatchPointsForm*>(w);
        ASSERT_TRUE(f);
        EXPECT_EQ(w->windowTitle(), "Match Points Arrangement");
        EXPECT_TRUE(f->SameBox()->isChecked());
        EXPECT_FALSE(f->TierList()->isEnabled());
        EXPECT_FALSE(f->Field(6)->isEnabled());  // Single: six round fields
        QTest::mouseClick(f->ElimButton(TElimFormat::Double), Qt::LeftButton);
        EXPECT_TRUE(f->Field(9)->isEnabled());
        f->SameBox()->click();
        EXPECT_TRUE(f->TierList()->isEnabled());
        f->TierList()->setCurrentRow(1);
        EXPECT_FALSE(f->Field(7)->isEnabled());  // 10 - (4 - 1)
        EXPECT_TRUE(f->Field(13)->isEnabled());
        f->Field(0)->selectAll();
        QTest::keyClicks(f->Field(0), "4");
        QTest::keyClick(f->Field(0), Qt::Key_Tab);
        ClickButton(w, "OK");
    });
    form->Menus().MatchPointsItems[MatchPointsOther]->trigger();
    EXPECT_TRUE(form->Menus().MatchPointsItems[MatchPointsOther]->isChecked());
    EXPECT_EQ(s().MatchPointsTiers[1][0], 4);
    EXPECT_EQ(s().MatchPointsTiers[0][0], 1);
    EXPECT_EQ(s().ElimFormat, TElimFormat::Double);
}

TEST_F(PointsCommandsTest, PlayerPointsDialogStoresAndThePanelsFollow) {
    PlaySingle8();
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TPlayerPointsForm*>(w);
        ASSERT_TRUE(f);
        EXPECT_EQ(w->windowTitle(), "Point Allocations for Players");
        QTableWidget* grid = f->Grid();
        EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Win");
        EXPECT_EQ(grid->verticalHeaderItem(13)->text(), "Semis:");
        // The semi-final win (row "Semis:", column "Win"): digits only.
        grid->setCurrentCell(13, 0);
        grid->editItem(grid->item(13, 0));
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        if (!editor) {
            ADD_FAILURE() << "no cell editor";
            w->close();
            return;
        }
        editor->selectAll();
        QTest::keyClicks(editor, "-1x2");  // the sign and the letter are refused
        EXPECT_EQ(editor->text(), "12");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the delegate commits on the next turn
        EXPECT_EQ(grid->item(13, 0)->text(), "12");
        QTest::mouseClick(f->ExactlyButton(), Qt::LeftButton);
        f->Spin("SecondSpin")->setValue(3);
        EXPECT_EQ(f->Spin("FirstSpin")->maximum(), 200);
        EXPECT_EQ(f->Spin("ThirdSpin")->maximum(), 100);
        ClickButton(w, "OK");
    });
    form->Menus().PlayerPoints->trigger();
    EXPECT_EQ(s().WinPoints[13], 12);
    EXPECT_EQ(s().SecondPlacePoints, -3);
    // P1 2+12+17, P5 exactly 3, P3 and P7 2+5.
    QTreeWidget* points = form->Docks().List(TStatusDocks::PlayerPoints);
    ASSERT_EQ(points->topLevelItemCount(), 4);
    EXPECT_EQ(points->topLevelItem(0)->text(0), "P005");
    EXPECT_EQ(points->topLevelItem(0)->text(1), "3");
    EXPECT_EQ(points->topLevelItem(3)->text(0), "P001");
    EXPECT_EQ(points->topLevelItem(3)->text(1), "31");

    form->Menus().DoublePoints->trigger();
    EXPECT_TRUE(s().DoublePlayerPoints);
    EXPECT_EQ(points->topLevelItem(3)->text(1), "62");
    EXPECT_EQ(form->Docks().List(TStatusDocks::HadBye)->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace kestrova::testing
