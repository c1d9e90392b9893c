// The macro file read and written: quoting, delay lines, macro kinds, hot-key
// texts (tests/data/lobby/macro_texts.txt), and hostile files that must load
// by the rules or not at all.
#include "lobby/macro_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/text.h"
#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "lobby/hot_key.h"
#include "lobby/script_steps.h"

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
            } else if (key == "player macro") {
                EXPECT_EQ(YesNo(IsPlayerMacro(Split(text, " / "))), want);
            } else if (key == "hot key") {
                const auto k = ParseHotKey(text);
                EXPECT_EQ(k ? FormatHotKey(*k) + (k->Pickable() ? ", pickable" : "") : "none",
                          want);
            } else {
                ADD_FAILURE() << "unknown field";
            }
        }
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
