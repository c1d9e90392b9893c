// The character map inserting into the fields that opened it: characters,
// tokens and typed keys at the caret over the selection, undone whole,
// Escape and "Close".
#include "kit/char_map_popup.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "fakes/fake_ports.h"
#include "kit/dialog_util.h"
#include "lobby/macro_edit_form.h"
#include "lobby/macro_manager.h"

namespace kestrova {
namespace {

TEST(CharMap, HoldsTheCodePageCharactersAndTokens) {
    const auto& codes = TCharMapPopup::Codes();
    ASSERT_EQ(codes.size(), 56u);
    EXPECT_EQ(codes.front(), 0x80);
    EXPECT_EQ(codes[1], 0x82);
    EXPECT_EQ(codes.back(), 0xD7);
    for (unsigned char c : {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0xA0, 0xC0})
        EXPECT_EQ(std::count(codes.begin(), codes.end(), c), 0) << int(c);
    ASSERT_EQ(TCharMapPopup::TokenCaptions().size(), 12u);
    QLineEdit field;
    TCharMapPopup map(&field);
    EXPECT_EQ(map.CharButton(0)->text(), QString::fromUtf8("\u20ac"));
    EXPECT_EQ(map.TokenButton(11)->text(), "%w - US pacific time");
}

TEST(CharMap, InsertsIntoTheMacroEditorsTextAtTheCaret) {
    TMacroManager manager;
    testing::FakeDialogs dialogs;
    TMacroEditForm editor(manager, -1, {"M", {"ab"}, "", false, ""}, "H", dialogs);
    editor.show();
    QTextCursor c = editor.TextEdit->textCursor();
    c.setPosition(1);
    editor.TextEdit->setTextCursor(c);
    QTest::mouseClick(editor.SymbolsButton, Qt::LeftButton);
    auto* map = editor.findChild<TCharMapPopup*>();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->isVisible());
    QTest::mouseClick(map->CharButton(55), Qt::LeftButton);  // the multiplication sign
    QTest::mouseClick(map->TokenButton(0), Qt::LeftButton);  // "%p"
    QTest::keyClick(map, Qt::Key_Z, Qt::NoModifier);         // typed: inserted too
    EXPECT_EQ(editor.TextEdit->toPlainText(), QString::fromUtf8("a\u00d7%pzb"));
    EXPECT_TRUE(map->isVisible());  // stays open for more
    EXPECT_EQ(editor.Preview->toPlainText(), QString::fromUtf8("H> a\u00d7%pzb"));
    // A player token hides the hot-key field at once.
    EXPECT_FALSE(editor.HotKeyEdit->isVisible());
    // One choice over a selection is undone in one step.
    editor.TextEdit->setPlainText("keep THIS");
    c = editor.TextEdit->textCursor();
    c.setPosition(5);
    c.setPosition(9, QTextCursor::KeepAnchor);
    editor.TextEdit->setTextCursor(c);
    QTest::mouseClick(map->TokenButton(2), Qt::LeftButton);  // "%t"
    EXPECT_EQ(editor.TextEdit->toPlainText(), "keep %t");
    editor.TextEdit->undo();
    EXPECT_EQ(editor.TextEdit->toPlainText(), "keep THIS");
    QTest::keyClick(map, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(editor.findChild<TCharMapPopup*>(), nullptr);  // closed and gone
}

TEST(CharMap, ReplacesTheSelectionOfALineEditAsOneUndo) {
    QLineEdit field("Hello world");
    field.show();
    field.setSelection(6, 5);
    auto* map = new TCharMapPopup(&field);
    map->show();
    QTest::mouseClick(map->TokenButton(8), Qt::LeftButton);  // "%h"
    EXPECT_EQ(field.text(), "Hello %h");
    QTest::mouseClick(map->CharButton(0), Qt::LeftButton);
    EXPECT_EQ(FromQ(field.text()), "Hello %h\x80");
    // Keys outside 32..127 are not inserted.
    QTest::keyClick(map, Qt::Key_Return);
    EXPECT_EQ(FromQ(field.text()), "Hello %h\x80");
    field.undo();  // the selection comes back whole
    EXPECT_EQ(field.text(), "Hello world");
    QTest::mouseClick(map->CloseButton(), Qt::LeftButton);
    QApplication::processEvents();
}

}  // namespace
}  // namespace kestrova
