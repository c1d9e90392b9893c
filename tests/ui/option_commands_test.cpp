// Every command that is built is reached from the menu a host uses: each
// test opens it there, answers its dialog and checks what changed.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include "engine/format_store.h"
#include "engine/reassign_form.h"
#include "fakes/fake_ports.h"
#include "model/app_settings.h"
#include "records/confirmations_form.h"
#include "records/player_list_form.h"
#include "ui/kestrova_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using namespace testing;

// Records the help pages the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> Urls;
  public slots:
    void Open(const QUrl& url) { Urls << url; }
};

class OptionCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TFormPorts ports;
        auto d = std::make_unique<FakeDialogs>();
        auto l = std::make_unique<FakeLobby>();
        dialogs = d.get();
        lobby = l.get();
        ports.Dialogs = std::move(d);
        ports.Lobby = std::move(l);
        ports.Clock = std::make_unique<FakeClock>();
        ports.Settings = std::make_unique<FakeSettingsStore>();
        form = std::make_unique<TKestrovaForm>(std::move(ports));
        s().TourneyPath = dir.File("t.kvb");
        s().Settings.FilesFolder = dir.Path();
        SelectFormat(s(), "Default");
        s().OnePerTable = false;
        form->OnePerTableChanged(false);
        form->show();
    }
    TTourneyState& s() { return form->State(); }
    void Add(const QString& name) {
        QTest::keyClicks(form->AddFind()->AddEdit(), name);
        QTest::keyClick(form->AddFind()->AddEdit(), Qt::Key_Return);
    }
    // A right click, as the host opens a pop-up.
    void RightClick(QWidget* w) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(w, &e);
        form->Menus().PlayerMenu->hide();
    }
    TTableBox* Box(int t) { return form->Panel(TBracketKind::Winners)->Box(t); }

    TempDir dir;
    FakeDialogs* dialogs;
    FakeLobby* lobby;
    std::unique_ptr<TKestrovaForm> form;
};

TEST_F(OptionCommandsTest, ConfirmPromptsTurnsAQuestionBackOn) {
    s().Settings.ConfirmNotifyFilter = confirm_bits::CloseSignups | confirm_bits::BanPlayer;
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TConfirmationsForm*>(w);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->windowTitle(), "Confirmations and Notifications");
        QCheckBox* close = f->BoxOf(confirm_bits::CloseSignups);
        ASSERT_NE(close, nullptr);
        EXPECT_FALSE(close->isChecked());
        QTest::mouseClick(close, Qt::LeftButton);
        QTest::mouseClick(f->OkButton, Qt::LeftButton);
    });
    form->Menus().ConfirmPrompts->trigger();
    EXPECT_EQ(s().Settings.ConfirmNotifyFilter, 0u);
}

TEST_F(OptionCommandsTest, BannedAndRecentListsOpenOnTheirNames) {
    s().BannedPlayers = {"Mallory"};
    s().RecentPlayers = {"Ann", "Bob"};
    const struct {
        QAction* item;
        const char* title;
        QStringList names;
        TNameList after;
    } rows[] = {
        {form->Menus().BannedList, "Banned Players", {"Mallory"}, {}},
        {form->Menus().RecentHistory, "Recent Player History", {"Ann", "Bob"}, {"Bob"}},
    };
    for (const auto& row : rows) {
        QString title;
        QStringList names;
        WhenModal([&](QWidget* w) {
            title = w->windowTitle();
            auto* list = w->findChild<QListWidget*>("NameList");
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
            list->setCurrentRow(0);
            QTest::mouseClick(w->findChild<QPushButton*>("DeleteButton"), Qt::LeftButton);
            QTest::mouseClick(w->findChild<QPushButton*>("OkButton"), Qt::LeftButton);
        });
        row.item->trigger();
        EXPECT_EQ(title, row.title);
        EXPECT_EQ(names, row.names);
    }
    EXPECT_TRUE(s().BannedPlayers.empty());
    EXPECT_EQ(s().RecentPlayers, TNameList{"Bob"});
}

TEST_F(OptionCommandsTest, FilesFolderMovesToTheChosenFolder) {
    TempDir other;
    WriteFileBytes(dir.File("Tourney Formats.ini"), "[Friday]\r\nElim=2\r\n\r\n");
    WriteFileBytes(dir.File("BannedPlayers.txt"), "Mallory\r\n");
    dialogs->Folders = {other.Path()};
    form->Menus().FilesFolder->trigger();
    EXPECT_EQ(s().Settings.FilesFolder, other.Path());
    EXPECT_EQ(ReadFileBytes(other.File("BannedPlayers.txt")), "Mallory\r\n");
    // Cancelled: the folder stays.
    dialogs->Folders = {std::nullopt};
    form->Menus().FilesFolder->trigger();
    EXPECT_EQ(s().Settings.FilesFolder, other.Path());
}

TEST_F(OptionCommandsTest, CapitaliseNamesChangesTheAnnouncements) {
    EXPECT_FALSE(form->Menus().CapNames->isChecked());
    form->Menus().CapNames->trigger();
    EXPECT_TRUE(s().CapNames);
    Add("Ann");
    EXPECT_NE(lobby->Clipboard.back().find(" ANN, Welcome"), std::string::npos)
        << lobby->Clipboard.back();
    form->Menus().CapNames->trigger();
    EXPECT_FALSE(s().CapNames);
}

TEST_F(OptionCommandsTest, RoundTwoByeOptionsAreFixedOnceSignupsClose) {
    form->Menus().AllByes->trigger();
    form->Menus().RandomByes->trigger();
    EXPECT_TRUE(s().AssignAllRound2Byes);
    EXPECT_TRUE(s().RandomRound2Byes);
    for (int i = 0; i < 9; ++i) Add(QString("P%1").arg(i));
    form->Menus().Close->trigger();
    ASSERT_TRUE(s().SignupClosed);
    emit form->Menus().Options->aboutToShow();
    EXPECT_FALSE(form->Menus().AllByes->isEnabled());
    EXPECT_TRUE(form->Menus().AllByes->isChecked());
    EXPECT_TRUE(form->Menus().RandomByes->isEnabled());
}

TEST_F(OptionCommandsTest, ReassignFromThePlayerMenuMovesThePlayer) {
    for (const char* n : {"Ann", "Bob", "Cat"}) Add(n);
    // Cat sits alone at the second table; Ann is moved there.
    RightClick(Box(0)->Seat(0).Name);
    ASSERT_TRUE(form->Menus().PmReassign->isEnabled());
    QString title;
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TReassignForm*>(w);
        ASSERT_NE(f, nullptr);
        title = f->windowTitle();
        QTest::mouseClick(f->MoveChoice, Qt::LeftButton);
        const int other = f->TableList->findText(QString::number(s().Winners[0].Tables[1].TableNo));
        ASSERT_GE(other, 0);
        f->TableList->setCurrentIndex(other);
        QTest::mouseClick(f->OkButton, Qt::LeftButton);
    });
    form->Menus().PmReassign->trigger();
    EXPECT_EQ(title, "Reassign Player to Different Table");
    const TTableRec& second = s().Winners[0].Tables[1];
    ASSERT_TRUE(second.Full());
    EXPECT_TRUE(second.Seat[0]->Name == "Ann" || second.Seat[1]->Name == "Ann");
    EXPECT_EQ(Box(1)->Seat(0).Name->text() + Box(1)->Seat(1).Name->text(),
              QString::fromStdString(second.Seat[0]->Name + second.Seat[1]->Name));
}

TEST_F(OptionCommandsTest, BanFromThePlayerMenuAsksAndBans) {
    Add("Mallory");
    RightClick(Box(0)->Seat(0).Name);
    ASSERT_TRUE(form->Menus().PmBan->isEnabled());
    dialogs->AnswerYes();
    form->Menus().PmBan->trigger();
    EXPECT_EQ(dialogs->Asked.back(),
              "Are you sure you want to ban \"Mallory\" from future tournaments?");
    EXPECT_EQ(s().BannedPlayers, TNameList{"Mallory"});
    // Seated players stay in this tournament.
    EXPECT_EQ(s().Players.size(), 1u);
}

TEST_F(OptionCommandsTest, AssignWinSilentlyIsOfferedOnAWinButton) {
    for (const char* n : {"Ann", "Bob"}) Add(n);
    RightClick(Box(0)->Seat(0).Name);
    EXPECT_FALSE(form->Menus().PmAssignSilently->isEnabled());
    RightClick(Box(0)->Seat(1).Win);
    ASSERT_TRUE(form->Menus().PmAssignSilently->isEnabled());
    form->Menus().AllStart->trigger();  // the first result would post it
    const size_t posted = lobby->Clipboard.size();
    form->Menus().PmAssignSilently->trigger();
    EXPECT_EQ(s().Winners[0].Tables[0].Winner()->Name, "Bob");
    EXPECT_TRUE(Box(0)->Seat(1).Win->isChecked());
    EXPECT_EQ(lobby->Clipboard.size(), posted) << lobby->Clipboard.back();  // nothing announced
}

TEST_F(OptionCommandsTest, HelpItemsOpenTheGuidePagesAndTheAboutBox) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    form->Menus().HelpGuide->trigger();
    form->Menus().HelpFaq->trigger();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.Urls.size(), 2);
    EXPECT_TRUE(catcher.Urls[0].toLocalFile().endsWith("/how-to-use.md"));
    EXPECT_TRUE(catcher.Urls[1].toLocalFile().endsWith("/faq.md"));
    EXPECT_TRUE(QFileInfo::exists(catcher.Urls[0].toLocalFile()));
    QString title;
    WhenModal([&](QWidget* w) {
        title = w->windowTitle();
        static_cast<QDialog*>(w)->accept();
    });
    form->Menus().HelpAbout->trigger();
    EXPECT_EQ(title, "About Tarvex Kestrova");
}

}  // namespace
}  // namespace kestrova

#include "option_commands_test.moc"
