// The character map's characters and tokens, and inserting into a line edit
// over its selection, undone whole. Inserting into the macro editor's text
// is a case of tests/data/lobby/macro_forms.txt.
#include "kit/char_map_popup.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "kit/dialog_util.h"

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
