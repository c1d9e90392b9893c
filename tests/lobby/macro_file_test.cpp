// The macro file read and written: quoting, delay lines, macro kinds, hot-key
// texts, and hostile files that must load by the rules or not at all.
#include "lobby/macro_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "lobby/hot_key.h"
#include "lobby/macros.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(MacroFile, EachTextReadsAsItsCaseSays) {
    for (const TCase& c : ReadCases("lobby/macro_texts.txt"))
        for (const auto& [key, value] : c.Fields) {
            SCOPED_TRACE(c.Where() + ": " + key + " = " + value);
            const auto [text, want] = Arrow(value);
            if (key == "unquote") {
                EXPECT_EQ(UnquoteMacroLine(text), want);
            } else if (key == "quote") {
                EXPECT_EQ(QuoteMacroLine(text), want);
                EXPECT_EQ(UnquoteMacroLine(want), text);
            } else if (key == "delay") {
                const auto ms = DelayMilliseconds(text);
                EXPECT_EQ(ms ? std::to_string(*ms) : "none", want);
            } else if (key == "hot key") {
                const auto k = ParseHotKey(text);
                EXPECT_EQ(k ? FormatHotKey(*k) + (k->Pickable() ? ", pickable" : "") : "none", want);
            } else {
                ADD_FAILURE() << "unknown field";
            }
        }
}

TEST(MacroFile, PlayerTokensAreLowerCaseOnly) {
    EXPECT_TRUE(IsPlayerMacro({"hi", "table %t"}));
    for (const char* t : {"%p", "x%o", "%r!", "%t"}) EXPECT_TRUE(IsPlayerMacroText(t)) << t;
    for (const char* t : {"%P", "%O %R %T", "%h %n", "100%", "p o r t"}) EXPECT_FALSE(IsPlayerMacroText(t)) << t;
}

constexpr const char* kFile =
    "[_Toolbar_]\r\n"
    "Greet=Hi!\r\n"
    "Line0=Bye\r\n"        // older style: the caption is the macro's name
    "Ghost=Boo\r\n"        // no such macro: no button
    "[_HotKeys_]\r\n"
    "Greet=Ctrl+G\r\n"
    "Bye=Nonsense+Q\r\n"   // not a key: no shortcut
    "[Greet]\r\n"
    "Line00=\"Hello all\"\r\n"
    "Line01=\".<DELAY:1.00>\"\r\n"
    "Line02=\"Good luck, \"\"everyone\"\"\"\r\n"
    "[Seat]\r\n"
    "Line00=\"%p, please sit at table %t\"\r\n"
    "[Bye]\r\n"
    "Line00=\"See you\"\r\n"
    "[greet]\r\n"          // the same name in other letters: the first one stays
    "Line00=\"dropped\"\r\n";

TEST(MacroFile, MenusAndToolbarFromAFile) {
    TempDir dir;
    WriteFileBytes(dir.File("m.kvm"), kFile);
    const TMacroMenus menus = LoadMacros(dir.File("m.kvm"));
    ASSERT_EQ(menus.General.size(), 2u);
    EXPECT_EQ(menus.General[0].Name, "Greet");
    ASSERT_TRUE(menus.General[0].HotKey);
    EXPECT_EQ(FormatHotKey(*menus.General[0].HotKey), "Ctrl+G");
    EXPECT_EQ(menus.General[1].Name, "Bye");
    EXPECT_FALSE(menus.General[1].HotKey);
    EXPECT_EQ(menus.Player, Lines{"Seat"});
    ASSERT_EQ(menus.Toolbar.size(), 2u);
    EXPECT_EQ(menus.Toolbar[0].Caption, "Hi!");
    EXPECT_EQ(menus.Toolbar[0].Macro, "Greet");
    EXPECT_EQ(menus.Toolbar[1].Caption, "Bye");
    EXPECT_EQ(menus.Toolbar[1].Macro, "Bye");
    EXPECT_EQ(ReadMacroLines(dir.File("m.kvm"), "GREET"),
              (Lines{"Hello all", ".<DELAY:1.00>", "Good luck, \"everyone\""}));
    EXPECT_TRUE(ReadMacroLines(dir.File("m.kvm"), "Ghost").empty());
    EXPECT_TRUE(ReadMacroLines(dir.File("none.kvm"), "Greet").empty());
}

TEST(MacroFile, SavedWholeWithLinesQuotedAndABackup) {
    TempDir dir;
    const std::string path = dir.File("m.kvm");
    TMacroFile f;
    f.Macros = {{"Three", {"one", "two \"2\"", ""}}};
    f.Toolbar = {{"Three", "3"}};
    f.HotKeys = {{"Three", "Alt+3"}};
    f.Save(path);
    EXPECT_FALSE(std::filesystem::exists(dir.File("m.~kvm")));  // nothing to keep yet
    const std::string first = ReadFileBytes(path);
    EXPECT_EQ(first,
              "[_Toolbar_]\r\nThree=3\r\n\r\n[_HotKeys_]\r\nThree=Alt+3\r\n\r\n"
              "[Three]\r\nLine00=\"one\"\r\nLine01=\"two \"\"2\"\"\"\r\nLine02=\"\"\r\n\r\n");
    f.Macros[0].Lines.pop_back();
    f.Save(path);
    EXPECT_EQ(ReadFileBytes(dir.File("m.~kvm")), first);  // the previous file
    TMacroFile back;
    ASSERT_TRUE(back.Load(path));
    EXPECT_EQ(back.Macros[0].Lines, (Lines{"one", "two \"2\""}));
    EXPECT_EQ(back.SaveToText(), f.SaveToText());
}

TEST(MacroFile, HostileFilesLoadByTheRules) {
    TMacroFile f;
    // Binary bytes, NULs and lone CRs: sections by the header rules, no crash.
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131 + 7) % 256);
    f.LoadFromText(binary);
    const char raw[] = "[A]\0\0\0\r[B]\rLine00=\"x\0y\"";
    f.LoadFromText(std::string(raw, sizeof raw - 1));
    ASSERT_EQ(f.Macros.size(), 2u);
    EXPECT_EQ(f.Macros[1].Lines, Lines{std::string("x\0y", 3)});
    // Empty, headers only, lines before any header, a line without "=".
    f.LoadFromText("");
    EXPECT_TRUE(f.Macros.empty());
    f.LoadFromText("Line00=\"orphan\"\r\n[_HotKeys_]\r\n[M]\r\nno equals sign\r\n");
    ASSERT_EQ(f.Macros.size(), 1u);
    EXPECT_EQ(f.Macros[0].Lines, Lines{""});
    // A macro of 100 000 lines, one unbalanced.
    std::string big = "[Big]\r\n";
    for (int i = 0; i < 100000; ++i)
        big += Format("Line%.2d=\"line %d\"\r\n", i, i);
    big += "Line100000=\"unbalanced\r\n";
    f.LoadFromText(big);
    ASSERT_EQ(f.Macros[0].Lines.size(), 100001u);
    EXPECT_EQ(f.Macros[0].Lines[99999], "line 99999");
    EXPECT_EQ(f.Macros[0].Lines.back(), "unbalanced");
}

}  // namespace
}  // namespace kestrova::testing
