// The macro manager's editing played from tests/data/lobby/macro_manager.txt:
// a script of edits against one file and the file it writes, and the
// editor's refusals in their order.
#include "lobby/macro_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/case_file.h"
#include "fakes/fake_ports.h"
#include "lobby/script_steps.h"

namespace kestrova::testing {
namespace {

TMacroEdit EditOf(const std::string& v) {  // "NAME | LINES | KEY | CAPTION or -"
    const auto f = Split(v);
    TMacroEdit e{f.at(0), f.at(1).empty() ? std::vector<std::string>{} : Split(f.at(1), " / "),
                 f.at(2), f.at(3) != "-", f.at(3) == "-" ? "" : f.at(3)};
    return e;
}

std::string Shown(const TMacroEdit& e) {
    std::string lines;
    for (const auto& l : e.Lines)
        lines += (lines.empty() ? "" : " / ") + l;
    return e.Name + " | " + lines + " | " + e.HotKey + " | " + (e.Toolbar ? e.Caption : "-");
}

TEST(MacroManager, EachScriptEditsAsWritten) {
    for (const TCase& c : ReadCases("lobby/macro_manager.txt")) {
        SCOPED_TRACE(c.Where());
        TempDir dir;
        const std::string path = dir.File("m.kvm");
        if (c.Has("file")) WriteFileBytes(path, CrLf(c.Get("file")));
        TMacroManager m;
        m.Open(c.Has("file") ? path : dir.File("none.kvm"));
        TMacroEdit checked;
        for (const auto& [key, v] : c.Fields) {
            SCOPED_TRACE(key + " = " + v);
            const auto [in, want] =
                v.find(" -> ") != std::string::npos ? Arrow(v) : std::pair(v, std::string());
            const int n =
                key.find(' ') != std::string::npos && key.substr(key.find(' ') + 1) != "new"
                    ? std::stoi(key.substr(key.find(' ') + 1))
                    : -1;
            const std::string verb = key.substr(0, key.find(' '));
            if (verb == "file" || verb == "saved") {
                continue;
            } else if (verb == "names") {
                std::string names;
                for (int i = 0; i < m.Count(); ++i)
                    names += (i ? " | " : "") + m.Name(i);
                EXPECT_EQ(names, v);
            } else if (verb == "toolbar") {
                std::string bar;
                for (const auto& b : m.File().Toolbar)
                    bar += (bar.empty() ? "" : " | ") + b.Macro + "=" + b.Text;
                EXPECT_EQ(bar, v);
            } else if (verb == "edit") {
                EXPECT_EQ(Shown(n < 0 ? checked : m.EditOf(n)), v);
            } else if (verb == "check") {
                checked = EditOf(in);
                const auto refusal = m.Check(n, checked);
                const char* fields[] = {"Name", "HotKey", "Caption"};
                EXPECT_EQ(refusal ? std::string(fields[static_cast<int>(refusal->Field)]) + ": " +
                                        refusal->Message
                                  : "ok",
                          want);
            } else if (verb == "add") {
                m.Add(v.empty() ? checked : EditOf(v));
            } else if (verb == "replace") {
                m.Replace(std::stoi(v), checked);
            } else if (verb == "copy") {
                EXPECT_EQ(m.Name(m.Copy(std::stoi(in))), want);
            } else if (verb == "delete") {
                m.Delete(std::stoi(v));
            } else if (verb == "move") {
                const auto ends = Split(in, " ");
                EXPECT_EQ(YesNo(m.Move(std::stoi(ends.at(0)), std::stoi(ends.at(1)))), want);
            } else if (verb == "sort") {
                m.Sort();
            } else if (verb == "save") {
                m.Save(path);
                EXPECT_EQ(ReadFileBytes(path), CrLf(c.Get("saved")));
            } else if (verb == "backup") {
                EXPECT_EQ(FileOrNone(dir.File("m.~kvm")), v == "none" ? v : CrLf(c.Get("file")));
            } else {
                ADD_FAILURE() << "unknown step";
            }
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
