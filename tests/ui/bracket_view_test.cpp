// The bracket view on its own: a real panel over a state seated by the core,
// driven by clicks, checked by what the host would see. How the round is shown
// is a window script (tests/data/ui/window_scripts.txt).
#include <gtest/gtest.h>

#include <QTest>

#include "engine/signup.h"
#include "engine/status.h"
#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "ui/bracket_panel.h"

namespace kestrova {
namespace {

using testing::FakeWorld;
using testing::RecordingAnnouncer;
using testing::TempDir;

struct Recorder : IBracketActions {
    std::vector<std::string> Calls;
    static std::string At(const TSeatRef& a) {
        return std::to_string(static_cast<int>(a.Bracket)) + "/" + std::to_string(a.Round) + "/" +
               std::to_string(a.Table) + "/" + std::to_string(a.Seat);
    }
    void WinClicked(const TSeatRef& a, bool p) override {
        Calls.push_back("win " + At(a) + (p ? " down" : " up"));
    }
    void NameClicked(const TSeatRef& a) override { Calls.push_back("name " + At(a)); }
    void NameMenu(const TSeatRef& a, const QPoint&) override { Calls.push_back("menu " + At(a)); }
    void TableNoClicked(const TSeatRef& a) override { Calls.push_back("tableno " + At(a)); }
    void TableMenu(const TSeatRef& a, const QPoint&) override { Calls.push_back("tmenu " + At(a)); }
    void CopyClicked(const TSeatRef& a) override { Calls.push_back("copy " + At(a)); }
    void BootClicked(const TSeatRef& a) override { Calls.push_back("boot " + At(a)); }
    void TabClicked(TBracketKind b, int t) override {
        Calls.push_back("tab " + std::to_string(static_cast<int>(b)) + " " + std::to_string(t));
    }
    void MinMaxToggled(TBracketKind, bool m) override { Calls.push_back(m ? "min" : "max"); }
};

class BracketViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.Wire(s, &announcer);
        s.TourneyPath = dir.File("t.kvb");
        s.OnePerTable = false;  // pairs: entries 2k and 2k+1 meet at table k
        SetElimFormat(s, TElimFormat::Double);
        for (int i = 0; i < 16; ++i)
            ASSERT_NE(AddPlayer(s, "p" + std::to_string(i)), nullptr);
        panel =
            std::make_unique<TBracketPanel>(s, TBracketKind::Winners, TBoxMetrics{}, &rec, nullptr);
        panel->resize(292, 500);
        panel->show();
        panel->UpdateTabs();
        panel->ShowRound();
    }
    TTableBox* Box(int t) { return panel->Box(t); }

    TempDir dir;
    FakeWorld world;
    RecordingAnnouncer announcer;
    TTourneyState s;
    Recorder rec;
    std::unique_ptr<TBracketPanel> panel;
};

TEST_F(BracketViewTest, ClicksReachTheActionsWithBracketRoundTableAndSeat) {
    QTest::mouseClick(Box(2)->Seat(1).Win, Qt::LeftButton);
    QTest::mouseClick(Box(3)->Seat(0).Copy, Qt::LeftButton);
    QTest::mouseClick(Box(4)->Seat(1).Name, Qt::LeftButton);
    QTest::mouseClick(Box(5)->TableNo(), Qt::LeftButton);
    // The view is drawn from the state, so a click the engine did not take springs back.
    panel->ShowRound();
    EXPECT_FALSE(Box(2)->Seat(1).Win->isChecked());
    panel->Tabs()->setCurrentIndex(2);
    const std::vector<std::string> want{"win 0/0/2/1 down", "copy 0/0/3/0", "name 0/0/4/1",
                                        "tableno 0/0/5/0", "tab 0 2"};
    EXPECT_EQ(rec.Calls, want);
}

TEST_F(BracketViewTest, InPlaceEditsCommitEscapeAndKeepTheirSeat) {
    std::vector<std::string> done;
    auto record = [&](const TSeatRef& a, const QString& t, TInPlaceEdit::TEnd how) {
        done.push_back(Recorder::At(a) + " " + t.toStdString() + " " +
                       std::to_string(static_cast<int>(how)));
    };
    panel->SetEditDone(record, record);
    panel->OpenNameEdit(1, 0);
    TInPlaceEdit* ed = panel->Editor();
    ASSERT_TRUE(ed->isVisible());
    EXPECT_EQ(ed->text(), "p2");
    QTest::keyClicks(ed, "Zed");
    QTest::keyClick(ed, Qt::Key_Return);
    EXPECT_FALSE(ed->isVisible());
    panel->OpenNameEdit(2, 1);
    QTest::keyClick(ed, Qt::Key_Escape);
    // The table-number edit takes digits only.
    panel->OpenTableNoEdit(3);
    ed->clear();
    QTest::keyClicks(ed, "1x2");
    EXPECT_EQ(ed->text(), "12");
    // A tab change commits an open edit as Enter, for the seat it was opened on.
    panel->ChangeTab(1);
    const std::vector<std::string> want{"0/0/1/0 Zed 0", "0/0/2/1 p5 2", "0/0/3/0 12 0"};
    EXPECT_EQ(done, want);
}

// A host without a mouse: Tab reaches the first win button from the round's
// tabs, the focused button is marked, and Space presses it.
TEST_F(BracketViewTest, WinButtonsAreReachedWithTabMarkedAndPressedWithSpace) {
    QApplication::setActiveWindow(panel.get());
    QToolButton* win = Box(0)->Seat(0).Win;
    panel->Tabs()->setFocus(Qt::OtherFocusReason);
    const QImage unfocused = win->grab().toImage();
    for (int i = 0; i < 10 && QApplication::focusWidget() != win; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), win);
    EXPECT_NE(win->grab().toImage(), unfocused);
    QTest::keyClick(win, Qt::Key_Space);
    ASSERT_FALSE(rec.Calls.empty());
    EXPECT_EQ(rec.Calls.back(), "win 0/0/0/0 down");
}

}  // namespace
}  // namespace kestrova
