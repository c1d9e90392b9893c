// The main window's Format/Edit... and Hosts...: the manager's result
// rebuilds the Format menu and applies the current format again.
#include <QComboBox>
#include <QListWidget>
#include <QSpinBox>

#include "engine/format_store.h"
#include "engine/match_points_form.h"
#include "engine/player_points_form.h"
#include "formats/format_manager_form.h"
#include "formats/host_details_form.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

using FormatCommands = WindowTest;

TEST_F(FormatCommands, EditFormatsRenamesTheCurrentFormatInTheMenu) {
    Make({.Pairs = false});
    TKestrovaForm& window = *form;
    TTourneyState& state = s();
    WriteFileBytes(dir.File("Tourney Formats.ini"), "[Spades]\r\nBoot time=9\r\n[Hearts]\r\n");
    RebuildFormatMenu(state, "Spades");
    window.show();
    ASSERT_EQ(state.CurrentFormat, "Spades");
    EXPECT_TRUE(window.Menus().EditFormats->isEnabled());

    WhenModal([](QWidget* w) {
        auto* m = qobject_cast<TFormatManagerForm*>(w);
        ASSERT_NE(m, nullptr);
        m->List->findItems("Spades", Qt::MatchExactly).value(0)->setSelected(true);
        WhenModal(
            [](QWidget* e) {
                auto* editor = qobject_cast<TFormatEditForm*>(e);
                ASSERT_NE(editor, nullptr);
                editor->NameEdit->setText("Clubs");
                editor->OkButton->click();
            },
            m);
        m->EditButton->click();
        m->OkButton->click();
    });
    window.Menus().EditFormats->trigger();
    EXPECT_EQ(state.CurrentFormat, "Clubs");
    EXPECT_EQ(state.FormatNames, (std::vector<std::string>{"Clubs", "Hearts"}));
    EXPECT_EQ(state.BootTime, 9);
    EXPECT_NE(ReadFileBytes(dir.File("t.log")).find("Menu: Format/Edit...\r\n"), std::string::npos);

    // Deleted, the current format gives way to "Default".
    WhenModal([](QWidget* w) {
        auto* m = qobject_cast<TFormatManagerForm*>(w);
        m->List->findItems("Clubs", Qt::MatchExactly).value(0)->setSelected(true);
        m->DeleteButton->click();
        m->OkButton->click();
    });
    window.Menus().EditFormats->trigger();
    EXPECT_EQ(state.CurrentFormat, "Default");
    EXPECT_EQ(state.BootTime, 7);

    WhenModal([](QWidget* w) {
        auto* h = qobject_cast<THostDetailsForm*>(w);
        ASSERT_NE(h, nullptr);
        h->CoHostEdit->setText("Bob");
        h->OkButton->click();
    });
    window.StartStrip()->HostsButton()->click();
    EXPECT_EQ(state.MsgParams.CoHostName, "Bob");
}

// The editor's points buttons open the window's own points dialogs.
TEST_F(FormatCommands, TheEditorOpensThePointsDialogsAndStoresWhatTheyGive) {
    Make({.Pairs = false, .Path = false});
    TKestrovaForm& window = *form;
    window.show();
    std::vector<std::string> lines;
    bool otherOpened = false;
    WhenModal([&](QWidget* w) {
        auto* m = qobject_cast<TFormatManagerForm*>(w);
        ASSERT_NE(m, nullptr);
        WhenModal(
            [&](QWidget* e) {
                auto* editor = qobject_cast<TFormatEditForm*>(e);
                ASSERT_NE(editor, nullptr);
                EXPECT_TRUE(editor->PlayerPointsButton->isEnabled());
                WhenModal(
                    [](QWidget* p) {
                        auto* points = qobject_cast<TPlayerPointsForm*>(p);
                        ASSERT_NE(points, nullptr);
                        points->ExactlyButton()->setChecked(true);
                        points->Spin("FirstSpin")->setValue(12);
                        points->accept();
                    },
                    editor);
                editor->PlayerPointsButton->click();
                WhenModal(
                    [&](QWidget* p) {
                        otherOpened = qobject_cast<TMatchPointsForm*>(p) != nullptr;
                        static_cast<QDialog*>(p)->reject();
                    },
                    editor);
                editor->PointsCombo->setCurrentIndex(MatchPointsOtherItem);
                emit editor->PointsCombo->activated(MatchPointsOtherItem);
                lines = editor->Lines();
                editor->reject();
            },
            m);
        m->AddButton->click();
        m->CancelButton->click();
    });
    window.Menus().EditFormats->trigger();
    EXPECT_TRUE(otherOpened);
    EXPECT_EQ(KeyValue(lines, "1st place points"), "-12");
    EXPECT_EQ(KeyValue(lines, "Win points"), "2,2,2,2,2,2,2,2,2,2,2,2,2,2,17");
    EXPECT_FALSE(FindKeyValue(lines, "Points"));  // Other... was cancelled
}

}  // namespace
}  // namespace kestrova::testing
