// The macro manager's editing as a script of steps played against one file,
// the editor's four refusals in order, and the file it writes.
#include "lobby/macro_manager.h"

#include <gtest/gtest.h>

#include "fakes/fake_ports.h"

namespace kestrova {
namespace {

using namespace testing;
using Lines = std::vector<std::string>;

Lines Names(const TMacroManager& m) {
    Lines out;
    for (int i = 0; i < m.Count(); ++i)
        out.push_back(m.Name(i));
    return out;
}

constexpr const char* kStart =
    "[_Toolbar_]\r\nLine0=B\r\nGhost=G\r\nA=Ay\r\n"
    "[_HotKeys_]\r\nA=Ctrl+A\r\nGhost=Ctrl+G\r\n"
    "[A]\r\nLine00=\"a\"\r\n[B]\r\nLine00=\"b\"\r\n[C]\r\nLine00=\"c %p\"\r\n";

TEST(MacroManager, EditingScriptAndTheFileItWrites) {
    TempDir dir;
    const std::string path = dir.File("m.kvm");
    WriteFileBytes(path, kStart);
    TMacroManager m;
    m.Open(path);
    EXPECT_EQ(Names(m), (Lines{"A", "B", "C"}));
    ASSERT_EQ(m.File().Toolbar.size(), 2u);  // the ghost's button is gone
    EXPECT_EQ(m.File().Toolbar[0].Macro, "B");
    EXPECT_EQ(m.File().Toolbar[0].Text, "B");

    TMacroEdit a = m.EditOf(0);
    EXPECT_EQ(a.HotKey, "Ctrl+A");
    EXPECT_TRUE(a.Toolbar);
    EXPECT_EQ(a.Caption, "Ay");
    EXPECT_FALSE(m.EditOf(2).Toolbar);

    // Edit: renamed, its lines rewritten under the new name.
    a.Name = "  Alpha ";
    a.Lines = {"one", "two", "three"};
    a.Caption = "";
    ASSERT_FALSE(m.Check(0, a));
    EXPECT_EQ(a.Name, "Alpha");
    EXPECT_EQ(a.Caption, "Alpha");  // an empty caption is the name
    m.Replace(0, a);
    // Copies: "Copy of", then numbered.
    EXPECT_EQ(m.Name(m.Copy(1)), "Copy of B");
    EXPECT_EQ(m.Name(m.Copy(1)), "Copy of B 1");
    EXPECT_EQ(m.Name(m.Copy(1)), "Copy of B 2");
    EXPECT_FALSE(m.EditOf(3).Toolbar);  // a copy has no button or key
    m.Delete(4);
    EXPECT_TRUE(m.Move(3, 0));   // up to the top
    EXPECT_FALSE(m.Move(0, -1));
    EXPECT_FALSE(m.Move(4, 5));
    EXPECT_EQ(Names(m), (Lines{"Copy of B", "Alpha", "B", "C", "Copy of B 2"}));
    m.Sort();
    EXPECT_EQ(Names(m), (Lines{"Alpha", "B", "C", "Copy of B", "Copy of B 2"}));
    TMacroEdit fresh{"Zed", {"z"}, "Alt+Z", true, "Zz"};
    ASSERT_FALSE(m.Check(-1, fresh));
    m.Add(fresh);
    m.Delete(1);  // B with its button
    m.Save(path);

    EXPECT_EQ(ReadFileBytes(dir.File("m.~kvm")), kStart);
    EXPECT_EQ(ReadFileBytes(path),
              "[_Toolbar_]\r\nAlpha=Alpha\r\nZed=Zz\r\n\r\n"
              "[_HotKeys_]\r\nGhost=Ctrl+G\r\nAlpha=Ctrl+A\r\nZed=Alt+Z\r\n\r\n"
              "[Alpha]\r\nLine00=\"one\"\r\nLine01=\"two\"\r\nLine02=\"three\"\r\n\r\n"
              "[C]\r\nLine00=\"c %p\"\r\n\r\n"
              "[Copy of B]\r\nLine00=\"b\"\r\n\r\n[Copy of B 2]\r\nLine00=\"b\"\r\n\r\n"
              "[Zed]\r\nLine00=\"z\"\r\n\r\n");
}

TEST(MacroManager, EditorRefusalsInTheirOrder) {
    TMacroManager m;
    m.Open("/nonexistent/m.kvm");
    EXPECT_EQ(m.Count(), 0);
    m.Add({"Hello", {"hi"}, "Ctrl+H", true, "Hi"});
    m.Add({"Bye", {"bye"}, "", false, ""});
    struct Case {
        int Editing;
        TMacroEdit Edit;
        std::optional<TMacroField> Field;
        const char* Message;
    };
    const Case cases[] = {
        {-1, {"   ", {}, "Ctrl+H", true, "Hi"}, TMacroField::Name,
         "No name has been entered for the macro. Please enter a name for the macro."},
        {-1, {"hello", {}, "Ctrl+H", true, "Hi"}, TMacroField::Name,
         "A macro with that name already exists, please alter the name."},
        {-1, {"_hotkeys_", {}, "", false, ""}, TMacroField::Name,
         "A macro with that name already exists, please alter the name."},
        {-1, {"New", {}, "ctrl+h", true, "Hi"}, TMacroField::HotKey,
         "A macro is already assigned to that hot-key. Please select another hot-key."},
        {-1, {"New", {}, "Ctrl+N", true, " hi "}, TMacroField::Caption,
         "A macro with that toolbar name already exists. Please enter another name."},
        {-1, {"New", {}, "Ctrl+N", true, "Hi2"}, std::nullopt, ""},
        // Editing a macro never clashes with itself.
        {0, {"HELLO", {}, "Ctrl+H", true, "Hi"}, std::nullopt, ""},
        {1, {"Bye", {}, "", true, "  "}, std::nullopt, ""},
        // A player macro's hidden fields count as empty.
        {-1, {"Seat", {"%t"}, "Ctrl+H", true, "Hi"}, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        TMacroEdit e = c.Edit;
        const auto refusal = m.Check(c.Editing, e);
        EXPECT_EQ(refusal.has_value(), c.Field.has_value()) << c.Edit.Name;
        if (refusal && c.Field) {
            EXPECT_EQ(refusal->Field, *c.Field) << c.Edit.Name;
            EXPECT_EQ(refusal->Message, c.Message);
        }
        if (!refusal && c.Edit.Name == "Seat") {
            EXPECT_EQ(e.HotKey, "");
            EXPECT_FALSE(e.Toolbar);
        }
    }
}

}  // namespace
}  // namespace kestrova
