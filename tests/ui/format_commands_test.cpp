// The main window's Format/Edit... and Hosts...: the manager's result
// rebuilds the Format menu and applies the current format again.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QLineEdit>

#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

#include "engine/format_store.h"
#include "engine/match_points_form.h"
#include "engine/player_points_form.h"
#include "fakes/fake_ports.h"
#include "formats/format_manager_form.h"
#include "formats/host_details_form.h"
#include "ui/kestrova_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using namespace testing;

TEST(FormatCommands, EditFormatsRenamesTheCurrentFormatInTheMenu) {
    TempDir dir;
    TKestrovaForm window;
    TTourneyState& s = window.State();
    s.TourneyPath = dir.File("t.kvb");
    s.Settings.FilesFolder = dir.Path();
    WriteFileBytes(dir.File("Tourney Formats.ini"), "[Spades]\r\nBoot time=9\r\n[Hearts]\r\n");
    RebuildFormatMenu(s, "Spades");
    window.show();
    ASSERT_EQ(s.CurrentFormat, "Spades");
    EXPECT_TRUE(window.Menus().EditFormats->isEnabled());

    WhenModal([](QWidget* w) {
        auto* m = qobject_cast<TFormatManagerForm*>(w);
        ASSERT_NE(m, nullptr);
        m->List->findItems("Spades", Qt::MatchExactly).value(0)->setSelected(true);
        WhenModal([](QWidget* e) {
            auto* editor = qobject_cast<TFormatEditForm*>(e);
            ASSERT_NE(editor, nullptr);
            editor->NameEdit->setText("Clubs");
            editor->OkButton->click();
        }, m);
        m->EditButton->click();
        m->OkButton->click();
    });
    window.Menus().EditFormats->trigger();
    EXPECT_EQ(s.CurrentFormat, "Clubs");
    EXPECT_EQ(s.FormatNames, (std::vector<std::string>{"Clubs", "Hearts"}));
    EXPECT_EQ(s.BootTime, 9);
    EXPECT_NE(ReadFileBytes(dir.File("t.log")).find("Menu: Format/Edit...\r\n"), std::string::npos);

    // Deleted, the current format gives way to "Default".
    WhenModal([](QWidget* w) {
        auto* m = qobject_cast<TFormatManagerForm*>(w);
        m->List->findItems("Clubs", Qt::MatchExactly).value(0)->setSelected(true);
        m->DeleteButton->click();
        m->OkButton->click();
    });
    window.Menus().EditFormats->trigger();
    EXPECT_EQ(s.CurrentFormat, "Default");
    EXPECT_EQ(s.BootTime, 7);

    WhenModal([](QWidget* w) {
        auto* h = qobject_cast<THostDetailsForm*>(w);
        ASSERT_NE(h, nullptr);
        h->CoHostEdit->setText("Bob");
        h->OkButton->click();
    });
    window.StartStrip()->HostsButton()->click();
    EXPECT_EQ(s.MsgParams.CoHostName, "Bob");
}

TEST(FormatCommands, TheEditorOpensThePointsDialogsAndStoresWhatTheyGive) {
    TempDir dir;
    TKestrovaForm window;
    TTourneyState& s = window.State();
    s.Settings.FilesFolder = dir.Path();
    window.show();
    std::vector<std::string> lines;
    bool otherOpened = false;
    WhenModal([&](QWidget* w) {
        auto* m = qobject_cast<TFormatManagerForm*>(w);
        ASSERT_NE(m, nullptr);
        WhenModal([&](QWidget* e) {
            auto* editor = qobject_cast<TFormatEditForm*>(e);
            ASSERT_NE(editor, nullptr);
            EXPECT_TRUE(editor->PlayerPointsButton->isEnabled());
            WhenModal([](QWidget* p) {
                auto* points = qobject_cast<TPlayerPointsForm*>(p);
                ASSERT_NE(points, nullptr);
                points->ExactlyButton()->setChecked(true);
                points->Spin("FirstSpin")->setValue(12);
                points->accept();
            }, editor);
            editor->PlayerPointsButton->click();
            WhenModal([&](QWidget* p) {
                otherOpened = qobject_cast<TMatchPointsForm*>(p) != nullptr;
                static_cast<QDialog*>(p)->reject();
            }, editor);
            editor->PointsCombo->setCurrentIndex(MatchPointsOtherItem);
            emit editor->PointsCombo->activated(MatchPointsOtherItem);
            lines = editor->Lines();
            editor->reject();
        }, m);
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
}  // namespace kestrova
