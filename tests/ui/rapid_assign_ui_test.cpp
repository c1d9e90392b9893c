// The friends-list assistant in the main window, with the system's files and
// watcher on a temporary favourites folder and a scripted lobby window: a
// new tournament "added to ZF", names appearing in the bracket as the lobby
// writes the file, Close switching it off, the menu items and the search.
#include <QListWidget>
#include <filesystem>
#include <fstream>

#include "fakes/fake_friends.h"
#include "lobby/friends_restore_form.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

class RapidAssignUiTest : public WindowTest {
  protected:
    void SetUp() override {
        root = dir.Path() + "Favorites/";
        std::filesystem::create_directories(root + "Hoster");
        WriteFileBytes(FriendsFile(), "[Friends]\r\nOwn\r\n");
        Make({.Pairs = false}, [this](TFormPorts& ports) {
            auto platform = std::make_unique<TFriendsPlatform>(MakeDefaultFriendsPlatform(nullptr));
            auto favorites = std::make_unique<FakeFavorites>();
            favorites->Root = root;
            auto w = std::make_unique<FakeZoneWindow>();
            w->SetTitle("Zone - Hoster");
            window = w.get();
            platform->Favorites = std::move(favorites);
            platform->Window = std::move(w);
            ports.Friends = std::move(platform);
        });
        s().TourneyPath = dir.File("old.kvb");
        form->SetNewTourneyDialog([this](QWidget*) {
            TNewTourneyOptions o;
            o.Path = dir.File("t");
            o.RapidAssignChoice = choice;
            return std::optional<TNewTourneyOptions>(o);
        });
        form->show();
    }
    void TearDown() override { form.reset(); }
    std::string FriendsFile(const std::string& nick = "Hoster") {
        return root + nick + "/Friends.txt";
    }
    void LobbyAppends(const std::string& name) {
        std::ofstream(FriendsFile(), std::ios::binary | std::ios::app) << name << "\r\n";
    }
    // The names the bracket's first round shows, in sign-up order.
    std::vector<std::string> Shown() {
        std::vector<std::string> names;
        TBracketPanel* panel = form->Panel(TBracketKind::Winners);
        for (const auto& p : s().Players) {
            const int table = static_cast<int>(p->Tables[0] - &s().Winners[0].Tables[0]);
            if (table >= panel->BoxCount()) return names;
            names.push_back(panel->Box(table)->Seat(p->Seats[0]).Name->text().toStdString());
        }
        return names;
    }

    std::string root;
    FakeZoneWindow* window = nullptr;
    int choice = 1;
};

TEST_F(RapidAssignUiTest, NamesAddedToZfAppearInTheBracketUntilClose) {
    EXPECT_FALSE(m().RapidActive->isChecked());
    EXPECT_TRUE(m().RapidAdded->isChecked());
    dialogs->AnswerNo();  // keep the host's names in the list
    m().New->trigger();
    ASSERT_TRUE(m().RapidActive->isChecked());
    EXPECT_TRUE(m().RapidActive->isEnabled());
    EXPECT_FALSE(m().RapidSearch->isEnabled());
    ASSERT_EQ(dialogs->Asked.size(), 1u);

    std::vector<std::string> expected;
    for (const char* name : {"Anna", "Bob", "Carl", "Dora", "Emil", "Fay", "Gus", "Hal"}) {
        LobbyAppends(name);
        expected.push_back(name);
        QTRY_COMPARE_WITH_TIMEOUT(s().Players.size(), expected.size(), 5000);
        EXPECT_EQ(Shown(), expected);
    }
    EXPECT_EQ(form->AddFind()->AddCount()->text(), "Players: 8/8");

    m().Close->trigger();  // the close question is answered Yes
    ASSERT_TRUE(s().SignupClosed);
    EXPECT_FALSE(m().RapidActive->isChecked());
    EXPECT_FALSE(m().RapidActive->isEnabled());
    EXPECT_TRUE(m().RapidSearch->isEnabled());
    EXPECT_EQ(ReadFileBytes(FriendsFile()), "[Friends]\r\nOwn\r\n");
    EXPECT_FALSE(std::filesystem::exists(root + "Hoster/Friends.bak"));
    // The lobby goes on writing: nothing more is signed up.
    LobbyAppends("Late");
    QTest::qWait(0);
    EXPECT_EQ(s().Players.size(), 8u);
}

TEST_F(RapidAssignUiTest, TheMenuItemTheModeAndANickChange) {
    m().RapidActive->trigger();
    ASSERT_TRUE(m().RapidActive->isChecked());
    ASSERT_EQ(dialogs->Asked.size(), 1u);  // answered Yes: the list is cleared
    EXPECT_EQ(ReadFileBytes(FriendsFile()), "[Friends]\r\n");
    m().RapidRemoved->trigger();
    EXPECT_TRUE(m().RapidRemoved->isChecked());
    EXPECT_FALSE(m().RapidAdded->isChecked());

    // The nick check (the 2-second timer) finds another nick.
    window->SetTitle("Zone - Somebody");
    form->RapidAssign().Assistant().CheckNick();
    EXPECT_FALSE(m().RapidActive->isChecked());
    EXPECT_TRUE(m().RapidSearch->isEnabled());
    EXPECT_EQ(dialogs->Notices,
              std::vector<std::string>{"The ZoneFriends name has changed. Restoring the original "
                                       "names and deactivating Rapid-Assign."});
    EXPECT_EQ(ReadFileBytes(FriendsFile()), "[Friends]\r\nOwn\r\n");

    // No lobby window: the item springs back unchecked.
    window->Window = {TClientWindow::TKind::NoWindow, {}};
    m().RapidActive->trigger();
    EXPECT_FALSE(m().RapidActive->isChecked());
}

TEST_F(RapidAssignUiTest, TheSearchDialogRestoresTheTickedLists) {
    m().RapidSearch->trigger();
    EXPECT_EQ(dialogs->Messages,
              std::vector<std::string>{"No ZoneFriends backup files where found to be restored"});
    for (const char* nick : {"Ann", "Ben"}) {
        std::filesystem::create_directories(root + nick);
        WriteFileBytes(FriendsFile(nick), "[Friends]\r\nscratch\r\n");
        WriteFileBytes(root + nick + "/Friends.bak", std::string("[Friends]\r\n") + nick + "\r\n");
    }
    QStringList seen;
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TFriendsRestoreForm*>(w);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->windowTitle(), "Unrestored ZoneFriends Lists");
        for (int i = 0; i < f->List()->count(); ++i) {
            QListWidgetItem* item = f->List()->item(i);
            seen << item->text() + (item->checkState() == Qt::Checked ? "+" : "-");
        }
        f->List()->item(1)->setCheckState(Qt::Unchecked);  // keep Ben's for later
        QTest::mouseClick(f->RestoreButton(), Qt::LeftButton);
    });
    m().RapidSearch->trigger();
    EXPECT_EQ(seen, (QStringList{"Ann+", "Ben+"}));
    EXPECT_EQ(ReadFileBytes(FriendsFile("Ann")), "[Friends]\r\nAnn\r\n");
    EXPECT_EQ(ReadFileBytes(FriendsFile("Ben")), "[Friends]\r\nscratch\r\n");

    WhenModal([&](QWidget* w) {
        QTest::mouseClick(qobject_cast<TFriendsRestoreForm*>(w)->CloseButton(), Qt::LeftButton);
    });
    m().RapidSearch->trigger();  // Close restores nothing
    EXPECT_TRUE(std::filesystem::exists(root + "Ben/Friends.bak"));
}

TEST_F(RapidAssignUiTest, ClosingTheWindowPutsTheListBack) {
    dialogs->AnswerNo();
    m().RapidActive->trigger();
    WriteFileBytes(FriendsFile(), "[Friends]\r\nScratch\r\n");
    form.reset();
    EXPECT_EQ(ReadFileBytes(FriendsFile()), "[Friends]\r\nOwn\r\n");
}

}  // namespace
}  // namespace kestrova::testing
