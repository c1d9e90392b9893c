// The player-list dialog driven through its buttons, list and keys, with the
// input box answered by the test, and the menu command around it.
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

struct PlayerListFormTest : ::testing::Test {
    std::unique_ptr<TPlayerListForm> form;
    QListWidget* list = nullptr;
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> asked;
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
    void Click(const char* button) { QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton); }
    std::string Current() const { return list->currentItem() ? list->currentItem()->text().toStdString() : "-"; }
    TNameList Shown() const {
        TNameList v;
        for (int i = 0; i < list->count(); ++i) v.push_back(list->item(i)->text().toStdString());
        return v;
    }
};

TEST_F(PlayerListFormTest, AddNormalisesAndSelectsWhatIsAlreadyThere) {
    Open(TPlayerListKind::Banned, {"Bob", "carl"});
    EXPECT_EQ(form->windowTitle(), "Banned Players");
    EXPECT_EQ(form->size(), QSize(264, 225));
    answers = {"Mr. Bob!", "BOB", "abcdefghijklmnopqrstu", std::nullopt, "!!!"};
    for (const char* want : {"MrBob", "Bob", "abcdefghijklmno"}) {
        Click("AddButton");
        EXPECT_EQ(Current(), want);
    }
    EXPECT_EQ(asked[0], "Banned Players|Enter name of player:|");
    Click("AddButton");  // cancelled
    Click("AddButton");  // nothing left of the text: an empty entry
    EXPECT_EQ(form->Names(), (TNameList{"", "abcdefghijklmno", "Bob", "carl", "MrBob"}));
    EXPECT_EQ(Shown(), form->Names());
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(PlayerListFormTest, EditByButtonAndDoubleClickThenDelete) {
    Open(TPlayerListKind::Recent, {"amy", "Bob", "carl"});
    EXPECT_EQ(form->windowTitle(), "Recent Player History");
    Click("EditButton");  // nothing selected: no input box
    Click("DeleteButton");
    EXPECT_TRUE(asked.empty());
    list->setCurrentRow(2);
    answers = {"AMY", "Zed Z"};
    Click("EditButton");  // amy exists: unchanged
    EXPECT_EQ(asked.back(), "Recent Player History|Enter name of player:|carl");
    EXPECT_EQ(form->Names(), (TNameList{"amy", "Bob", "carl"}));
    const QPoint at = list->visualItemRect(list->item(1)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);  // a double-click's first press
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(asked.back(), "Recent Player History|Enter name of player:|Bob");
    EXPECT_EQ(Current(), "ZedZ");
    list->setCurrentRow(0);
    Click("DeleteButton");
    EXPECT_EQ(Shown(), (TNameList{"carl", "ZedZ"}));
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
    for (const char* button : {"CancelButton", "OkButton"}) {
        QTimer::singleShot(0, [button] {
            QWidget* dlg = QApplication::activeModalWidget();
            ASSERT_NE(dlg, nullptr);
            QTest::mouseClick(dlg->findChild<QPushButton*>("AddButton"), Qt::LeftButton);
            QTest::mouseClick(dlg->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        const bool ok = std::string(button) == "OkButton";
        EXPECT_EQ(EditBannedPlayers(s, nullptr, answer), ok);
        EXPECT_EQ(s.BannedPlayers, ok ? (TNameList{"bob", "zed"}) : (TNameList{"bob"}));
        EXPECT_EQ(world.Settings.Saves, ok ? 1 : 0);
    }
    EXPECT_EQ(testing::ReadFileBytes(dir.File("BannedPlayers.txt")), "bob\r\nzed\r\n");
}

}  // namespace
}  // namespace kestrova
