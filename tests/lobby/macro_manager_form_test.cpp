// The "Macro Manager" and "Macro Editor" driven through their widgets: add,
// edit, copy, delete, up/down, sort, the editor's refusals, the fields a
// player macro hides, the preview, and the file written on OK (not on Cancel).
#include "lobby/macro_manager_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "fakes/fake_ports.h"
#include "lobby/macro_edit_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using namespace testing;

QStringList Items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

constexpr const char* kFile =
    "[_Toolbar_]\r\nHello=Hi\r\n[_HotKeys_]\r\nHello=Ctrl+H\r\n"
    "[Hello]\r\nLine00=\"Hello all\"\r\n[Seat]\r\nLine00=\"%p sit at %t\"\r\n";

class MacroFormsTest : public ::testing::Test {
  protected:
    TempDir dir;
    FakeDialogs dialogs;
    std::string path = dir.File("m.kvm");
    MacroFormsTest() { WriteFileBytes(path, kFile); }
    // Runs `fill` on the editor the next modal opens, then presses OK.
    void OnEditor(std::function<void(TMacroEditForm*)> fill, QWidget* besides) {
        WhenModal(
            [fill](QWidget* w) {
                auto* editor = qobject_cast<TMacroEditForm*>(w);
                ASSERT_NE(editor, nullptr);
                fill(editor);
            },
            besides);
    }
};

TEST_F(MacroFormsTest, AddEditCopyDeleteMoveSortAndSave) {
    TMacroManagerForm form(path, "Hostess", dialogs);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Macro Manager");
    EXPECT_EQ(Items(form.List), (QStringList{"Hello", "Seat"}));

    // Add: name, two lines, Ctrl+B picked, a caption typed ticks the box.
    OnEditor(
        [](TMacroEditForm* e) {
            EXPECT_EQ(e->windowTitle(), "Macro Editor");
            QTest::keyClicks(e->NameEdit, "Bye");
            e->TextEdit->setPlainText("Bye now\n.<DELAY:1.00>");
            QTest::keyClick(e->HotKeyEdit, Qt::Key_B);  // a plain key is refused
            EXPECT_EQ(e->HotKeyEdit->KeyText(), "");
            QTest::keyClick(e->HotKeyEdit, Qt::Key_B, Qt::ShiftModifier);  // Shift alone too
            EXPECT_EQ(e->HotKeyEdit->KeyText(), "");
            QTest::keyClick(e->HotKeyEdit, Qt::Key_B, Qt::ControlModifier);
            EXPECT_EQ(e->HotKeyEdit->KeyText(), "Ctrl+B");
            EXPECT_FALSE(e->ToolbarBox->isChecked());
            QTest::keyClicks(e->CaptionEdit, "Bb");
            EXPECT_TRUE(e->ToolbarBox->isChecked());
            EXPECT_EQ(e->Preview->toPlainText(), "Hostess> Bye now\nHostess> .<DELAY:1.00>");
            e->accept();
        },
        &form);
    QTest::mouseClick(form.AddButton, Qt::LeftButton);
    EXPECT_EQ(Items(form.List), (QStringList{"Hello", "Seat", "Bye"}));

    // Edit by double-click: renamed; its key and button follow the new name.
    form.List->setCurrentRow(2);
    OnEditor(
        [](TMacroEditForm* e) {
            EXPECT_EQ(e->NameEdit->text(), "Bye");
            EXPECT_EQ(e->HotKeyEdit->KeyText(), "Ctrl+B");
            EXPECT_TRUE(e->ToolbarBox->isChecked());
            e->NameEdit->setText(" Farewell ");
            e->accept();
        },
        &form);
    emit form.List->itemDoubleClicked(form.List->item(2));
    EXPECT_EQ(Items(form.List), (QStringList{"Hello", "Seat", "Farewell"}));

    form.List->setCurrentRow(0);
    QTest::mouseClick(form.CopyButton, Qt::LeftButton);
    form.List->setCurrentRow(0);
    QTest::mouseClick(form.CopyButton, Qt::LeftButton);
    EXPECT_EQ(Items(form.List),
              (QStringList{"Hello", "Seat", "Farewell", "Copy of Hello", "Copy of Hello 1"}));
    QTest::mouseClick(form.UpButton, Qt::LeftButton);  // the copy just made is selected
    EXPECT_EQ(form.List->currentRow(), 3);
    EXPECT_EQ(Items(form.List)[3], "Copy of Hello 1");
    form.List->setCurrentRow(1);
    QTest::mouseClick(form.DeleteButton, Qt::LeftButton);
    QTest::mouseClick(form.SortButton, Qt::LeftButton);
    EXPECT_EQ(Items(form.List),
              (QStringList{"Copy of Hello", "Copy of Hello 1", "Farewell", "Hello"}));
    form.List->setCurrentRow(3);
    QTest::mouseClick(form.DownButton, Qt::LeftButton);  // already last: nothing
    EXPECT_EQ(form.List->currentRow(), 3);
    form.accept();

    EXPECT_EQ(ReadFileBytes(dir.File("m.~kvm")), kFile);
    EXPECT_EQ(ReadFileBytes(path),
              "[_Toolbar_]\r\nFarewell=Bb\r\nHello=Hi\r\n\r\n"
              "[_HotKeys_]\r\nHello=Ctrl+H\r\nFarewell=Ctrl+B\r\n\r\n"
              "[Copy of Hello]\r\nLine00=\"Hello all\"\r\n\r\n"
              "[Copy of Hello 1]\r\nLine00=\"Hello all\"\r\n\r\n"
              "[Farewell]\r\nLine00=\"Bye now\"\r\nLine01=\".<DELAY:1.00>\"\r\n\r\n"
              "[Hello]\r\nLine00=\"Hello all\"\r\n\r\n");
}

TEST_F(MacroFormsTest, CancelDiscardsEverything) {
    TMacroManagerForm form(path, "H", dialogs);
    form.show();
    form.List->setCurrentRow(0);
    QTest::mouseClick(form.DeleteButton, Qt::LeftButton);
    form.reject();
    EXPECT_EQ(ReadFileBytes(path), kFile);
}

TEST_F(MacroFormsTest, EditorRefusesInOrderAndFocusesTheField) {
    TMacroManager manager;
    manager.Open(path);
    TMacroEditForm e(manager, -1, {}, "H", dialogs);
    e.show();
    QApplication::setActiveWindow(&e);
    struct Step {
        const char* Name;
        const char* Key;
        const char* Caption;
        const char* Message;
        QWidget* Focus;
    };
    const Step steps[] = {
        {"  ", "", "", "No name has been entered for the macro. Please enter a name for the macro.",
         e.NameEdit},
        {"hello", "", "", "A macro with that name already exists, please alter the name.",
         e.NameEdit},
        {"New", "Ctrl+H", "",
         "A macro is already assigned to that hot-key. Please select another hot-key.",
         e.HotKeyEdit},
        {"New", "Ctrl+N", " hi ",
         "A macro with that toolbar name already exists. Please enter another name.",
         e.CaptionEdit},
    };
    for (const Step& st : steps) {
        dialogs.Messages.clear();
        e.NameEdit->setText(st.Name);
        e.HotKeyEdit->SetKeyText(st.Key);
        e.CaptionEdit->setText(st.Caption);
        e.ToolbarBox->setChecked(*st.Caption != 0);
        e.accept();
        EXPECT_EQ(dialogs.Messages, std::vector<std::string>{st.Message});
        EXPECT_EQ(QApplication::focusWidget(), st.Focus) << st.Message;
        EXPECT_EQ(e.result(), 0);
    }
    EXPECT_EQ(e.NameEdit->text(), "New");  // trimmed and written back
    e.CaptionEdit->setText("");
    e.accept();
    EXPECT_EQ(e.result(), QDialog::Accepted);
    EXPECT_EQ(e.Result().Caption, "New");  // an empty caption is the name
}

TEST_F(MacroFormsTest, PlayerMacroHidesHotKeyAndToolbar) {
    TMacroManager manager;
    manager.Open(path);
    TMacroEditForm e(manager, 1, manager.EditOf(1), "H", dialogs);
    e.show();
    EXPECT_FALSE(e.HotKeyEdit->isVisible());
    EXPECT_FALSE(e.ToolbarBox->isVisible());
    EXPECT_FALSE(e.CaptionEdit->isVisible());
    e.TextEdit->setPlainText("no tokens now");
    EXPECT_TRUE(e.HotKeyEdit->isVisible());
    EXPECT_TRUE(e.ToolbarBox->isVisible());
    e.TextEdit->setPlainText("%o next");
    EXPECT_FALSE(e.ToolbarBox->isVisible());
    EXPECT_EQ(e.Preview->toPlainText(), "H> %o next");
    // Hidden fields count as empty even when they hold something.
    e.HotKeyEdit->SetKeyText("Ctrl+H");
    e.ToolbarBox->setChecked(true);
    e.CaptionEdit->setText("Hi");
    e.accept();
    EXPECT_EQ(e.result(), QDialog::Accepted);
    EXPECT_EQ(e.Result().HotKey, "");
    EXPECT_FALSE(e.Result().Toolbar);
    EXPECT_TRUE(dialogs.Messages.empty());
}

}  // namespace
}  // namespace kestrova
