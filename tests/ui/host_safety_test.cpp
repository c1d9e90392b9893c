// Nothing of the host's is lost on the way: the save question before an
// unsaved tournament is discarded, "Save as", every line of a posting on the
// clipboard with its note in the status bar, and the result of a finished
// tournament shown in the window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include "common/cp1252.h"
#include "engine/format_store.h"
#include "fakes/fake_ports.h"
#include "ui/kestrova_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using namespace testing;

class HostSafetyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TFormPorts ports;
        auto d = std::make_unique<FakeDialogs>();
        auto l = std::make_unique<FakeLobby>();
        auto c = std::make_unique<FakeClock>();
        dialogs = d.get();
        lobby = l.get();
        ports.Dialogs = std::move(d);
        ports.Lobby = std::move(l);
        ports.Clock = std::move(c);
        ports.Settings = std::make_unique<FakeSettingsStore>();
        // No announcer: the real templates are posted.
        form = std::make_unique<TKestrovaForm>(std::move(ports));
        form->SetNewTourneyDialog([](QWidget*) { return std::optional<TNewTourneyOptions>(); });
        s().Settings.FilesFolder = dir.Path();
        s().OnePerTable = false;
        form->OnePerTableChanged(false);
        form->show();
    }
    TTourneyState& s() { return form->State(); }
    void Add(const QString& name) {
        QTest::keyClicks(form->AddFind()->AddEdit(), name);
        QTest::keyClick(form->AddFind()->AddEdit(), Qt::Key_Return);
    }
    // Clicks seat 0's win button of every full open table until none is left.
    void PlayToTheEnd() {
        for (int guard = 0; guard < 200; ++guard) {
            bool played = false;
            for (int r = 0; r < MaxRounds && !played; ++r)
                for (int b = 0; b < s().BracketCount() && !played; ++b) {
                    const auto kind = static_cast<TBracketKind>(b);
                    const TRoundRec& round = s().Bracket(kind)[r];
                    for (int t = 0; t < round.TableCount && !played; ++t) {
                        if (!round.Tables[t].Full() || round.Tables[t].Result != 0) continue;
                        TBracketPanel* p = form->Panel(kind);
                        p->Tabs()->setCurrentIndex(r - b);
                        QTest::mouseClick(p->Box(t)->Seat(0).Win, Qt::LeftButton);
                        played = true;
                    }
                }
            if (!played) return;
        }
    }
    QStringList FilesInDir() { return QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files); }

    TempDir dir;
    FakeDialogs* dialogs;
    FakeLobby* lobby;
    std::unique_ptr<TKestrovaForm> form;
};

const char* const SaveQuestion =
    "This tournament has not been saved to a file.\r\n\r\nDo you want to save it?";

// The start-up dialog was cancelled: entries signed up have no file yet.
TEST_F(HostSafetyTest, ExitAsksBeforeAnUnsavedTournamentIsDiscarded) {
    ASSERT_TRUE(s().TourneyPath.empty());
    // Without entries nothing can be lost: no question.
    form->close();
    EXPECT_TRUE(dialogs->Asked.empty());
    form->show();

    Add("Ann");
    Add("Bob");
    ASSERT_EQ(s().Players.size(), 2u);
    // "No": the window closes and nothing is written.
    dialogs->YesNoAnswers = {false};
    form->Menus().Exit->trigger();
    EXPECT_EQ(dialogs->Asked, std::vector<std::string>{SaveQuestion});
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(FilesInDir().isEmpty()) << FilesInDir().join(",").toStdString();
}

TEST_F(HostSafetyTest, YesOpensSaveAsAndCancellingItKeepsTheTournament) {
    Add("Ann");
    Add("Bob");
    // "Yes", then the save dialog is cancelled: the window stays open.
    dialogs->YesNoAnswers = {true};
    QString title;
    WhenModal([&](QWidget* w) {
        title = w->windowTitle();
        static_cast<QDialog*>(w)->reject();
    });
    form->Menus().New->trigger();
    EXPECT_EQ(title, "Save Tournament");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(s().Players.size(), 2u);

    // "Yes" and a name: the tournament is saved there, then the window closes.
    dialogs->YesNoAnswers = {true};
    const QString path = QString::fromStdString(dir.File("Kept"));
    WhenModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        d->selectFile(path);
        static_cast<QDialog*>(d)->accept();
    });
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(s().TourneyPath, dir.File("Kept.kvb"));
    EXPECT_TRUE(QFileInfo::exists(path + ".kvb"));
    EXPECT_EQ(dialogs->Asked.size(), 2u);
}

TEST_F(HostSafetyTest, SaveAsProposesTheBareNameInTheFilesFolder) {
    s().TourneyPath = dir.File("Friday 05Dec26 Tournament.kvb");
    Add("Ann");
    QString title, name, folder;
    WhenModal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        title = d->windowTitle();
        folder = d->directory().absolutePath();
        if (auto* edit = d->findChild<QLineEdit*>("fileNameEdit")) name = edit->text();
        d->selectFile(QString::fromStdString(dir.File("Copy")));
        static_cast<QDialog*>(d)->accept();
    });
    form->Menus().SaveAs->trigger();
    EXPECT_EQ(title, "Save Tournament");
    EXPECT_EQ(name, "Friday 05Dec26 Tournament");
    EXPECT_EQ(folder + "/", QString::fromStdString(dir.Path()));
    EXPECT_EQ(s().TourneyPath, dir.File("Copy.kvb"));
    EXPECT_EQ(s().Settings.RecentTourneys.front(), dir.File("Copy.kvb"));
    // A tournament with a file is saved after every change: no question.
    form->close();
    EXPECT_TRUE(dialogs->Asked.empty());
}

// Without a lobby "Winners!" puts all three lines on the clipboard, the status
// bar says so, and the window shows the places.
TEST_F(HostSafetyTest, FinishedTournamentShowsItsResultAndWinnersPostsEveryLine) {
    s().TourneyPath = dir.File("t.kvb");
    SelectFormat(s(), "Default");
    for (const char* n : {"Ann", "Bob", "Cat", "Dan", "Eve", "Fay", "Gus", "Hal"})
        Add(n);
    form->Menus().Close->trigger();
    ASSERT_TRUE(s().SignupClosed);
    EXPECT_FALSE(form->ResultLabel()->isVisible());
    PlayToTheEnd();
    ASSERT_TRUE(form->ResultLabel()->isVisible());
    EXPECT_EQ(form->ResultLabel()->text(), "Champion: Ann     Second: Eve     Third: Cat and Gus");

    form->Menus().TbWinners->trigger();
    const std::string b7(7, '\x95');
    EXPECT_EQ(lobby->Clipboard.back(),
              b7 + " Congratulations go to Ann for FIRST PLACE " + b7 + "\r\n" + b7 +
                  "   and to Eve for SECOND PLACE   " + b7 + "\r\n" + b7 +
                  "   and to Cat and Gus for THIRD PLACE   " + b7);
    EXPECT_EQ(form->PostedLabel()->text(),
              QString::fromStdString(Cp1252ToUtf8("On the clipboard (3 lines): " + b7 +
                                                  " Congratulations go to Ann for FIRST PLACE " +
                                                  b7)));
    // Undoing the final takes the result away again.
    form->Menus().Undo->trigger();
    EXPECT_FALSE(form->ResultLabel()->isVisible());
}

}  // namespace
}  // namespace kestrova
