// The player-list dialog driven through its buttons, list and keys, with the
// input box answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>

#include "fakes/fake_ports.h"
#include "records/player_list_form.h"

namespace kestrova {
namespace {

class PlayerListFormTest : public ::testing::Test {
  protected:
    void Open(TPlayerListKind kind, TNameList names) {
        form = std::make_unique<TPlayerListForm>(kind, std::move(names));
        form->SetAskName([this](QWidget*, const std::string& caption, const std::string& prompt,
                                const std::string& initial) -> std::optional<std::string> {
            asked.push_back(caption + "|" + prompt + "|" + initial);
            if (answers.empty()) return std::nullopt;
            auto a = answers.front();
            answers.pop_front();
            return a;
        });
        form->show();
        list = form->findChild<QListWidget*>("NameList");
    }
    void Click(const char* button) {
        QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> v;
        for (int i = 0; i < list->count(); ++i)
            v.push_back(list->item(i)->text().toStdString());
        return v;
    }
    std::string Current() const {
        return list->currentItem() ? list->currentItem()->text().toStdString() : "-";
    }
    std::unique_ptr<TPlayerListForm> form;
    QListWidget* list = nullptr;
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> asked;
};

TEST_F(PlayerListFormTest, AddNormalisesAndSelectsExisting) {
    Open(TPlayerListKind::Banned, {"Bob", "carl"});
    EXPECT_EQ(form->windowTitle(), "Banned Players");
    EXPECT_EQ(form->size(), QSize(264, 225));
    answers = {"Mr. Bob!", "BOB", "abcdefghijklmnopqrstu", std::nullopt, "!!!"};
    Click("AddButton");
    EXPECT_EQ(asked[0], "Banned Players|Enter name of player:|");
    EXPECT_EQ(Current(), "MrBob");
    Click("AddButton");
    EXPECT_EQ(Current(), "Bob");
    Click("AddButton");
    Click("AddButton");  // cancelled
    Click("AddButton");  // nothing left of the text: an empty entry
    EXPECT_EQ(form->Names(), (TNameList{"", "abcdefghijklmno", "Bob", "carl", "MrBob"}));
    EXPECT_EQ(Shown(), form->Names());
}

TEST_F(PlayerListFormTest, EditByButtonAndDoubleClickThenDelete) {
    Open(TPlayerListKind::Recent, {"amy", "Bob", "carl"});
    EXPECT_EQ(form->windowTitle(), "Recent Player History");
    Click("EditButton");  // nothing selected: no input box
    Click("DeleteButton");
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(form->Names().size(), 3u);

    list->setCurrentRow(2);
    answers = {"AMY"};
    Click("EditButton");  // amy exists: unchanged
    EXPECT_EQ(asked.back(), "Recent Player History|Enter name of player:|carl");
    EXPECT_EQ(form->Names(), (TNameList{"amy", "Bob", "carl"}));

    answers = {"Zed Z"};
    QListWidgetItem* bob = list->item(1);
    QPoint at = list->visualItemRect(bob).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);  // a double-click's first press
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(asked.back(), "Recent Player History|Enter name of player:|Bob");
    EXPECT_EQ(form->Names(), (TNameList{"amy", "carl", "ZedZ"}));
    EXPECT_EQ(Current(), "ZedZ");

    list->setCurrentRow(0);
    Click("DeleteButton");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"carl", "ZedZ"}));
}

TEST_F(PlayerListFormTest, EnterConfirmsEscapeCancels) {
    Open(TPlayerListKind::Banned, {"a"});
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    Open(TPlayerListKind::Banned, {"a"});
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

// The menu command: OK takes the copy and saves both files; Cancel keeps all.
TEST(PlayerListCommand, OkReplacesAndSavesCancelKeeps) {
    testing::TempDir dir;
    testing::FakeWorld world;
    TTourneyState s;
    world.Wire(s);
    s.Settings.FilesFolder = dir.Path();
    s.BannedPlayers = {"bob"};
    auto answer = [](QWidget*, const std::string&, const std::string&, const std::string&) {
        return std::optional<std::string>("zed");
    };
    auto press = [](const char* button) {
        QTimer::singleShot(0, [button] {
            QWidget* dlg = QApplication::activeModalWidget();
            ASSERT_NE(dlg, nullptr);
            QTest::mouseClick(dlg->findChild<QPushButton*>("AddButton"), Qt::LeftButton);
            QTest::mouseClick(dlg->findChild<QPushButton*>(button), Qt::LeftButton);
        });
    };
    press("CancelButton");
    EXPECT_FALSE(EditBannedPlayers(s, nullptr, answer));
    EXPECT_EQ(s.BannedPlayers, TNameList{"bob"});
    EXPECT_EQ(world.Settings.Saves, 0);
    press("OkButton");
    EXPECT_TRUE(EditBannedPlayers(s, nullptr, answer));
    EXPECT_EQ(s.BannedPlayers, (TNameList{"bob", "zed"}));
    EXPECT_EQ(world.Settings.Saves, 1);
    EXPECT_EQ(testing::ReadFileBytes(dir.File("BannedPlayers.txt")), "bob\r\nzed\r\n");
}

}  // namespace
}  // namespace kestrova
