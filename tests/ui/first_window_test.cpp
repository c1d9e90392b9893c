// The first window a new host sees: every label whole at the default size,
// the round tab row present whatever the start-up dialog did, a room signed
// up with the keyboard alone, and the place kept in the settings.
#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>

#include "session/lifecycle.h"
#include "ui/status_docks.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

class FirstWindowTest : public WindowTest {
  protected:
    void Open(std::function<void(TTourneyState&)> settings = {}) {
        Make({.RecordPostings = false, .Pairs = false, .Path = false});
        if (settings) settings(s());
        PrepareStartUp(s());
        form->RestoreGeometry();
        form->SetNewTourneyDialog([this](QWidget*) { return options; });
        form->show();
        QApplication::setActiveWindow(form.get());
    }
    std::optional<TNewTourneyOptions> options;
};

// Cut text shows as a widget narrower than it asks to be.
QStringList CutWidgets(QWidget* window) {
    QStringList cut;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->isVisible() && !l->text().isEmpty() && l->wordWrap() == false &&
            l->width() < l->minimumSizeHint().width() && l->objectName() != "PostedLabel")
            cut << l->text();
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isVisible() && !b->text().isEmpty() && b->width() < b->sizeHint().width())
            cut << b->text();
    return cut;
}

TEST_F(FirstWindowTest, DefaultSizeCutsNoLabelAndShowsTheTabRow) {
    Open();
    form->StartUp({});  // the start-up dialog is cancelled
    QApplication::processEvents();
    EXPECT_TRUE(CutWidgets(form.get()).isEmpty())
        << CutWidgets(form.get()).join(", ").toStdString();
    // The add field holds a whole name of 15 characters.
    QLineEdit* add = form->AddFind()->AddEdit();
    EXPECT_GE(add->width(), add->fontMetrics().horizontalAdvance("Abcdefghijklmno"));
    EXPECT_GE(form->width(), 290);
    EXPECT_GE(form->height(), 300);
    EXPECT_EQ(form->windowTitle(), "Tarvex Kestrova - Default");
    // The round tab row is there from the start.
    QTabBar* tabs = form->Panel(TBracketKind::Winners)->Tabs();
    ASSERT_GT(tabs->count(), 0);
    EXPECT_TRUE(tabs->isVisible());
    EXPECT_GT(tabs->height(), 0);
    EXPECT_EQ(tabs->tabText(0), QString::fromStdString(s().TabCaptions[0][0]));
}

// A small screen (1024 by 768 at 150%: 683 by 512 points) takes the status
// panels as tabs below the brackets; the window fits with every label whole.
// A large one keeps them in their column.
TEST_F(FirstWindowTest, ASmallScreenTakesTheStatusPanelsAsTabsBelow) {
    Open();
    QDockWidget* overdue = form->Docks().Dock(TStatusDocks::Overdue);
    form->FitToArea(QSize(1920, 1080));
    EXPECT_EQ(form->dockWidgetArea(overdue), Qt::RightDockWidgetArea);
    EXPECT_TRUE(form->tabifiedDockWidgets(overdue).isEmpty());

    const QSize area(683, 512);
    form->FitToArea(area);
    EXPECT_EQ(form->dockWidgetArea(overdue), Qt::BottomDockWidgetArea);
    EXPECT_EQ(form->tabifiedDockWidgets(overdue).size(), 3);
    EXPECT_LE(form->minimumWidth(), area.width());
    EXPECT_LE(form->minimumHeight(), area.height());
    form->resize(area - QSize(8, 32));
    QApplication::processEvents();
    EXPECT_TRUE(CutWidgets(form.get()).isEmpty())
        << CutWidgets(form.get()).join(", ").toStdString();
    EXPECT_GT(form->Panel(TBracketKind::Winners)->height(), form->height() / 3);
}

TEST_F(FirstWindowTest, KeyboardOnlySignUpAfterNew) {
    TNewTourneyOptions o;
    o.Path = dir.File("Friday");
    options = o;
    Open();
    form->StartUp({});
    ASSERT_EQ(s().TourneyPath, dir.File("Friday.kvb"));
    for (const char* name : {"Ann", "Bob", "Cat"}) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_EQ(focused, form->AddFind()->AddEdit()) << name;
        QTest::keyClicks(focused, name);
        QTest::keyClick(focused, Qt::Key_Return);
    }
    ASSERT_EQ(s().Players.size(), 3u);
    EXPECT_EQ(s().Players[2]->Name, "Cat");
    EXPECT_EQ(QApplication::focusWidget(), form->AddFind()->AddEdit());
    // New again: the focus comes back to the add field.
    form->Menus().New->trigger();
    EXPECT_EQ(QApplication::focusWidget(), form->AddFind()->AddEdit());
    EXPECT_TRUE(s().Players.empty());
}

TEST_F(FirstWindowTest, ComesBackWhereTheHostLeftIt) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect area = screen->availableGeometry();
    Open([&](TTourneyState& st) {
        st.Settings.Left = area.left() + 20;
        st.Settings.Top = area.top() + 30;
        st.Settings.Height = std::min(area.height() - 40, 600);
    });
    EXPECT_EQ(form->pos(), QPoint(area.left() + 20, area.top() + 30));
    EXPECT_EQ(form->height(), std::max(std::min(area.height() - 40, 600), form->minimumHeight()));
    form->move(area.left() + 50, area.top() + 60);
    form->close();
    EXPECT_EQ(s().Settings.Left, area.left() + 50);
    EXPECT_EQ(s().Settings.Top, area.top() + 60);

    // A place on no screen (a monitor removed): the primary screen, default size.
    form.reset();
    Open([&](TTourneyState& st) {
        st.Settings.Left = area.right() + 5000;
        st.Settings.Top = -4000;
        st.Settings.Height = 900;
    });
    EXPECT_TRUE(area.contains(form->geometry().center()));
    EXPECT_EQ(form->height(),
              std::min(std::max(TAppSettings{}.Height, form->minimumHeight()), area.height()));
}

}  // namespace
}  // namespace kestrova::testing
