// The "Macro Manager" and "Macro Editor" driven through their widgets from
// tests/data/lobby/macro_forms.txt: add, edit, copy, delete, up/down, sort,
// the editor's refusals, the fields a player macro hides, the preview, the
// character map, and the file written on OK (not on Cancel).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>

#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "kit/char_map_popup.h"
#include "lobby/macro_edit_form.h"
#include "lobby/macro_manager_form.h"
#include "lobby/script_steps.h"

namespace kestrova::testing {
namespace {

using TArg = TFormScript::TArg;

constexpr const char* kFile =
    "[_Toolbar_]\r\nHello=Hi\r\n[_HotKeys_]\r\nHello=Ctrl+H\r\n"
    "[Hello]\r\nLine00=\"Hello all\"\r\n[Seat]\r\nLine00=\"%p sit at %t\"\r\n";

TWidgetNames Names(QWidget* w) {
    if (auto* f = dynamic_cast<TMacroManagerForm*>(w))
        return {KESTROVA_NAMED(List),       KESTROVA_NAMED(AddButton),
                KESTROVA_NAMED(EditButton), KESTROVA_NAMED(DeleteButton),
                KESTROVA_NAMED(CopyButton), KESTROVA_NAMED(UpButton),
                KESTROVA_NAMED(DownButton), KESTROVA_NAMED(SortButton)};
    if (auto* f = dynamic_cast<TMacroEditForm*>(w))
        return {KESTROVA_NAMED(NameEdit),     KESTROVA_NAMED(TextEdit),
                KESTROVA_NAMED(HotKeyEdit),   KESTROVA_NAMED(ToolbarBox),
                KESTROVA_NAMED(CaptionEdit),  KESTROVA_NAMED(Preview),
                KESTROVA_NAMED(SymbolsButton)};
    return {};
}

#undef KESTROVA_NAMED

// "Ctrl+Shift+B" pressed on `target`.
void Press(QWidget* target, const std::string& keys) {
    const QKeyCombination key = QKeySequence(QString::fromStdString(keys))[0];
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

std::string Shown(const TMacroEdit& e) {
    std::string lines;
    for (size_t i = 0; i < e.Lines.size(); ++i)
        lines += (i ? " / " : "") + e.Lines[i];
    return e.Name + " | " + lines + " | " + e.HotKey + " | " + (e.Toolbar ? e.Caption : "-");
}

struct MacroForms {
    TempDir dir;
    FakeDialogs dialogs;
    TMacroManager manager;
    std::unique_ptr<QDialog> form;
    TSinceLast since;

    MacroForms() { WriteFileBytes(dir.File("m.kvm"), kFile); }
    QWidget* Open(const std::string& kind) {
        if (kind == "manager") {
            form = std::make_unique<TMacroManagerForm>(dir.File("m.kvm"), "Hostess", dialogs);
        } else {
            manager.Open(dir.File("m.kvm"));
            const int n = kind == "editor new" ? -1 : std::stoi(kind.substr(7));
            form = std::make_unique<TMacroEditForm>(
                manager, n, n < 0 ? TMacroEdit{} : manager.EditOf(n), "Hostess", dialogs);
        }
        form->show();
        QApplication::setActiveWindow(form.get());
        return form.get();
    }
    // The dialog the steps drive: a modal one opened by the form, or the form.
    QWidget* Current() const {
        QWidget* modal = QApplication::activeModalWidget();
        return modal ? modal : form.get();
    }
    THotKeyPicker* Picker() const { return dynamic_cast<TMacroEditForm&>(*Current()).HotKeyEdit; }
    TMacroEditForm& Editor() const { return dynamic_cast<TMacroEditForm&>(*form); }
};

TEST(MacroForms, EachCaseAsWritten) {
    for (const TCase& c : ReadCases("lobby/macro_forms.txt")) {
        MacroForms d;
        TFormScript script;
        script.Names = Names;
        script.Open = [&](const std::string& kind) { return d.Open(kind); };
        script.Steps = {
            {"press", [&](TArg name, TArg v) { Press(Names(d.Current()).at(name), v); }},
            {"set hot key", [&](TArg, TArg v) { d.Picker()->SetKeyText(v); }},
            {"hot key", [&](TArg, TArg v) { EXPECT_EQ(d.Picker()->KeyText(), v); }},
            {"double click",
             [&](TArg, TArg v) {
                 QListWidget* list = dynamic_cast<TMacroManagerForm&>(*d.form).List;
                 emit list->itemDoubleClicked(list->item(std::stoi(v)));
             }},
            {"focus",
             [&](TArg, TArg v) {
                 EXPECT_EQ(QApplication::focusWidget(), Names(d.Current()).at(v));
             }},
            {"result",
             [&](TArg, TArg v) {
                 EXPECT_EQ(d.form->result() == QDialog::Accepted ? "accepted" : "refused", v);
             }},
            {"edit", [&](TArg, TArg v) { EXPECT_EQ(Shown(d.Editor().Result()), v); }},
            {"char map",
             [&](TArg, TArg v) {
                 QApplication::processEvents();  // a closed map is deleted on the next turn
                 EXPECT_EQ(d.form->findChild<TCharMapPopup*>() ? "open" : "closed", v);
             }},
            {"messages",
             [&](TArg, TArg v) { EXPECT_EQ(d.since("messages", d.dialogs.Messages), v); }},
            {"file",
             [&](TArg name, TArg v) {
                 EXPECT_EQ(FileOrNone(d.dir.File(name)), v == "the file opened" ? kFile
                                                         : v == "none"          ? v
                                                                                : CrLf(v));
             }},
        };
        script.Play(nullptr, c);
    }
}

}  // namespace
}  // namespace kestrova::testing
