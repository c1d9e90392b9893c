#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "model/tourney_state.h"
#include "fakes/fake_ports.h"
#include "session/new_tourney_form.h"
#include "kit/dialog_util.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using Result = TNewTourneyForm::TResult;

class NewTourneyFormTest : public ::testing::Test {
  protected:
    TTourneyState s;
    testing::FakeWorld world;
    testing::TempDir dir;
    void SetUp() override {
        world.Wire(s);  // the clock says 5 December 2026, 8 pm
        s.Settings.FilesFolder = dir.Path();
        s.Settings.HostName = "Zed";
        s.MsgParams.StartTime = "8:00 pm";
        s.MsgParams.RulesTime = "7:45 pm";
        s.FormatNames = {"Spades Open", "Hearts"};
    }
    QString Path(const std::string& name) const { return ToQ(dir.Path() + name); }
};

TEST_F(NewTourneyFormTest, OpensWithTheProposedNameAndDefaultsAndStartHandsOverEveryField) {
    s.TeamMode = true;
    s.Settings.DefaultStartTables = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
    TNewTourneyForm form(s);
    form.show();
    EXPECT_EQ(form.windowTitle(), "New Tournament");
    EXPECT_EQ(form.FileEdit->text(), Path("Default 05Dec26 800 pm Tournament"));
    ASSERT_EQ(form.FormatCombo->count(), 3);
    EXPECT_EQ(form.FormatCombo->currentText(), "Default");
    EXPECT_EQ(form.FormatCombo->itemText(1), "Spades Open");
    EXPECT_TRUE(form.TeamBox->isChecked());
    EXPECT_TRUE(form.PointsBox->isChecked());
    EXPECT_FALSE(form.CapBox->isChecked());
    EXPECT_FALSE(form.SpareOptionBox->isEnabled());
    EXPECT_FALSE(form.EditButton->isEnabled());
    EXPECT_FALSE(form.SeatingButton->isEnabled());
    EXPECT_TRUE(form.StartButton->isDefault());
    EXPECT_EQ(form.HostEdit->text(), "Zed");
    EXPECT_EQ(form.HostEdit->maxLength(), 16);
    EXPECT_EQ(form.CoHostPlayerEdit->maxLength(), 16);
    EXPECT_EQ(form.StartEdit->maxLength(), 15);
    EXPECT_EQ(form.RulesEdit->text(), "7:45 pm");
    EXPECT_EQ(form.RulesEdit->toolTip(), "Scheduled start time of tournament");
    EXPECT_EQ(form.StartEdit->toolTip(), "Starting time");
    EXPECT_EQ(form.BrowseButton->toolTip(), "Browse");
    EXPECT_TRUE(form.RapidNotUsed->isChecked());
    EXPECT_EQ(form.RapidAdded->text(), "added to ZF");
    EXPECT_EQ(form.RapidRemoved->text(), "removed from ZF");
    // No lobby windows here: only "Not used", also after opening the list.
    form.LobbyCombo->showPopup();
    form.LobbyCombo->hidePopup();
    ASSERT_EQ(form.LobbyCombo->count(), 1);
    EXPECT_EQ(form.LobbyCombo->currentText(), "Not used");
    EXPECT_GE(form.width(), 385);
    EXPECT_GE(form.height(), 433);

    // Start hands over every field.
    QTest::mouseClick(form.CapBox, Qt::LeftButton);
    QTest::mouseClick(form.PointsBox, Qt::LeftButton);
    QTest::mouseClick(form.UnscheduledCoHostBox, Qt::LeftButton);
    QTest::mouseClick(form.RapidRemoved, Qt::LeftButton);
    form.CoHostPlayerEdit->insert(QString::fromUtf8("Ren\xC3\xA9_the_long_name_x"));  // cut at 16
    QTest::mouseClick(form.StartButton, Qt::LeftButton);
    ASSERT_EQ(form.Result(), Result::Start);
    const TNewTourneyOptions& o = form.Options();
    EXPECT_EQ(o.FormatName, "Default");
    EXPECT_EQ(o.Path, dir.Path() + "Default 05Dec26 800 pm Tournament");
    EXPECT_TRUE(o.CapNames);
    EXPECT_FALSE(o.ShowPointsAtEnd);
    EXPECT_FALSE(o.UnscheduledHost);
    EXPECT_TRUE(o.UnscheduledCoHost);
    EXPECT_EQ(o.HostName, "Zed");
    EXPECT_EQ(o.CoHostPlayerName, "Ren\xE9_the_long_na");  // cp1252, 16 characters
    EXPECT_EQ(o.StartTime, "8:00 pm");
    EXPECT_EQ(o.RapidAssignChoice, 2);
    EXPECT_EQ(o.Lobby, "");
    EXPECT_EQ(o.StartTables, (TRoundList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_TRUE(world.Dialogs.Asked.empty());  // no file of that name: no question
}

TEST_F(NewTourneyFormTest, StartFieldAndFormatChoiceRecomputeTheName) {
    TNewTourneyForm form(s);
    std::vector<std::string> asked;
    TRoundList spadesTables{};
    spadesTables.fill(7);
    form.FormatFields = [&](const std::string& name) -> std::optional<TFormatHostFields> {
        asked.push_back(name);
        TFormatHostFields f;
        f.CoHostName = "Ivy";
        f.StartTime = "9.30 p.m.";  // host name empty: the field keeps "Zed"
        f.StartTables = spadesTables;
        return f;
    };
    form.show();
    QApplication::setActiveWindow(&form);  // focus changes need an active window
    form.StartEdit->setFocus();
    form.StartEdit->selectAll();
    QTest::keyClicks(form.StartEdit, "10:15 <late>");
    QTest::keyClick(form.StartEdit, Qt::Key_Tab);  // leaving the field
    EXPECT_EQ(form.FileEdit->text(), Path("Default 05Dec26 1015 late Tournament"));

    form.FormatCombo->setFocus();
    QTest::keyClick(form.FormatCombo, Qt::Key_Down);
    EXPECT_EQ(asked, std::vector<std::string>{"Spades Open"});
    EXPECT_EQ(form.HostEdit->text(), "Zed");
    EXPECT_EQ(form.CoHostEdit->text(), "Ivy");
    EXPECT_EQ(form.StartEdit->text(), "9.30 p.m.");
    EXPECT_EQ(form.StartTables(), spadesTables);
    EXPECT_EQ(form.FileEdit->text(), Path("Spades Open 05Dec26 930 pm Tournament"));
}

TEST_F(NewTourneyFormTest, OverwriteQuestionNoKeepsTheDialogOpen) {
    testing::WriteFileBytes(dir.File("Default 05Dec26 800 pm Tournament.kvb"), "old");
    TNewTourneyForm form(s);
    form.show();
    world.Dialogs.YesNoAnswers = {false, true};
    QTest::mouseClick(form.StartButton, Qt::LeftButton);
    ASSERT_EQ(world.Dialogs.Asked,
              std::vector<std::string>{
                  "A tourney file of that name already exists, do you want to overwrite it?"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Result(), Result::Cancel);
    EXPECT_EQ(form.HostEdit->text(), "Zed");  // fields intact
    QTest::mouseClick(form.StartButton, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Result(), Result::Start);
    EXPECT_EQ(testing::ReadFileBytes(dir.File("Default 05Dec26 800 pm Tournament.kvb")), "old");
    // Esc cancels and leaves nothing.
    TNewTourneyForm other(s);
    other.show();
    QTest::keyClicks(other.HostEdit, "X");
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_EQ(other.Result(), Result::Cancel);
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_EQ(s.Settings.HostName, "Zed");
    EXPECT_EQ(QDir(ToQ(dir.Path())).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(world.Settings.Saves, 0);
}

TEST_F(NewTourneyFormTest, BrowsePutsThePathBackWithoutExtension) {
    TNewTourneyForm form(s);
    QStringList args;
    form.AskSaveFileName = [&](const QString& title, const QString& start, const QString& filter) {
        args = {title, start, filter};
        return QString("/data/cups/Spring.Cup.kvb");
    };
    form.show();
    QTest::mouseClick(form.BrowseButton, Qt::LeftButton);
    EXPECT_EQ(args,
              (QStringList{"Enter Tourney File Name", Path("Default 05Dec26 800 pm Tournament.kvb"),
                           "Kestrova File (*.kvb)"}));
    EXPECT_EQ(form.FileEdit->text(), "/data/cups/Spring.Cup");
    // Cancelling the save dialog keeps the field.
    form.AskSaveFileName = [](const QString&, const QString&, const QString&) { return QString(); };
    QTest::mouseClick(form.BrowseButton, Qt::LeftButton);
    EXPECT_EQ(form.FileEdit->text(), "/data/cups/Spring.Cup");
}

TEST_F(NewTourneyFormTest, RestoreAndTheRecentList) {
    {
        TNewTourneyForm form(s);
        ASSERT_EQ(form.RecentMenu->actions().size(), 1);
        QAction* hint = form.RecentMenu->actions()[0];
        EXPECT_EQ(hint->text(), "This will show the most recent tourneys!");
        EXPECT_FALSE(hint->isEnabled());
        EXPECT_EQ(form.RecentMenu->title(), "Recent Tourneys");
        form.show();
        QTest::mouseClick(form.RestoreButton, Qt::LeftButton);
        EXPECT_EQ(form.Result(), Result::Restore);
        EXPECT_FALSE(form.isVisible());
    }
    s.Settings.RecentTourneys = {"/t/Cup one.kvb", "/t/old/Cup two.kvb"};
    TNewTourneyForm form(s);
    form.show();
    ASSERT_EQ(form.RecentMenu->actions().size(), 2);
    EXPECT_EQ(form.RecentMenu->actions()[0]->text(), "Cup one.kvb");
    EXPECT_EQ(form.RecentMenu->actions()[1]->text(), "Cup two.kvb");
    form.RecentMenu->actions()[1]->trigger();
    EXPECT_EQ(form.Result(), Result::OpenRecent);
    EXPECT_EQ(form.RecentPath(), "/t/old/Cup two.kvb");
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kestrova
