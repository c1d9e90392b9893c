#pragma once
// Dialogs driven from case files through their real widgets, for the format
// and timing dialogs. A step names a widget the test lists for its dialog
// ("form" is the dialog itself; a widget may also be named by its object
// name, a button by its caption):
//   NAME.PROPERTY = VALUE      checks a Qt property as text (text, value,
//                              checked, enabled, visible, maximum, currentText,
//                              windowTitle, ...; "~TEXT" for a text that
//                              holds TEXT); NAME.items the rows of a
//                              list, combo or tree (" | " between; a tree's
//                              row is its first two columns, "/" between)
//   set NAME.PROPERTY = VALUE  writes a property, as an edit by the host would
//   click = NAME, keys NAME = TEXT (typed; \n for Enter, \x1b for Esc),
//   clear = NAME, call NAME = METHOD (a slot or signal without arguments),
//   choose NAME = INDEX        a combo's item picked (and activated)
//   select NAME = A | B        only the rows of a list with those texts selected
//   caret NAME = AT[-TO]       a text field's caret put at AT (TO: selected up to)
//   menu = Top/Sub/Item        an item of the window's menu bar triggered
//   label = TEXT, group = TITLE  a label with that text, a group box so titled
//   dialog ... end             the steps between run inside the next modal
//                              dialog to open; the steps after "end" go on
//                              outside (the one that opens it comes next)
//   open = KIND                the test opens a dialog; the next steps drive it
// Any other step is one of the test's own: an action, or a check whose text
// must be the value ("~TEXT": hold TEXT).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <map>

#include "fakes/case_file.h"
#include "ui/modal_helper.h"

namespace kestrova::testing {

using TWidgetNames = std::map<std::string, QWidget*>;
// A dialog's widget under its member's name: {KESTROVA_NAMED(OkButton), ...}
// in a function that has the dialog as `f`.
#define KESTROVA_NAMED(member) \
    { #member, f->member }

struct TFormScript {
    std::function<TWidgetNames(QWidget*)> Names;
    // The test's own steps and checks: "KEY = VALUE" by its key, or "NAME ARG
    // = VALUE" by the longest name that begins the key, the rest as ARG.
    using TArg = const std::string&;
    std::map<std::string, std::function<void(TArg arg, TArg value)>> Steps;
    std::map<std::string, std::function<std::string(TArg arg)>> Checks;
    std::function<QWidget*(const std::string& kind)> Open;

    void Play(QWidget* form, const TCase& c) {
        Run(form, c, 0, c.Fields.size());
        EXPECT_EQ(pending_, 0) << c.Where() << ": a dialog never opened";
    }

  private:
    int pending_ = 0;

    static size_t EndOf(const TCase& c, size_t from) {
        for (int depth = 0; from < c.Fields.size(); ++from) {
            if (c.Fields[from].first == "dialog") ++depth;
            if (c.Fields[from].first == "end" && depth-- == 0) break;
        }
        return from;
    }

    void Run(QWidget* w, const TCase& c, size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            const auto& [key, value] = c.Fields[i];
            SCOPED_TRACE(c.Where() + ": " + key + " = " + value);
            if (key == "open") {
                w = Open(value);
            } else if (key != "dialog") {
                Step(w, key, value);
            } else {
                const size_t end = EndOf(c, i + 1);
                ++pending_;
                WhenModal(
                    [this, &c, i, end](QWidget* modal) {
                        --pending_;
                        Run(modal, c, i + 1, end);
                    },
                    w);
                i = end;
            }
        }
    }

    QWidget* Find(QWidget* w, const std::string& name) {
        if (name == "form") return w;
        const TWidgetNames names = Names(w);
        if (auto it = names.find(name); it != names.end()) return it->second;
        if (auto* child = w->findChild<QWidget*>(QString::fromStdString(name))) return child;
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->text().remove('&').toStdString() == name) return b;
        ADD_FAILURE() << "no widget " << name;
        return w;
    }

    // The entry named KEY, or the longest whose name and a blank begin KEY
    // (the rest is its argument).
    template <class F>
    static const F* Lookup(const std::map<std::string, F>& table, const std::string& key,
                           std::string& arg) {
        const F* found = nullptr;
        for (const auto& [name, f] : table)
            if (key == name || key.rfind(name + " ", 0) == 0) {
                found = &f;
                arg = key.substr(std::min(key.size(), name.size() + 1));
            }
        return found;
    }

    static void Expect(const std::string& shown, const std::string& value) {
        if (value.rfind('~', 0) == 0)
            EXPECT_NE(shown.find(value.substr(1)), std::string::npos) << shown;
        else
            EXPECT_EQ(shown, value);
    }

    static std::string Items(QWidget* w) {
        QStringList out;
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                out << list->item(i)->text();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                out << combo->itemText(i);
        if (auto* tree = qobject_cast<QTreeWidget*>(w))
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                out << tree->topLevelItem(i)->text(0) + "/" + tree->topLevelItem(i)->text(1);
        return out.join(" | ").toStdString();
    }

    void Step(QWidget* w, const std::string& key, const std::string& value) {
        const size_t dot = key.find('.'), blank = key.find(' ');
        const std::string verb = key.substr(0, blank);
        const QString text = QString::fromStdString(value);
        if (key == "click") {
            qobject_cast<QAbstractButton*>(Find(w, value))->click();
        } else if (key == "clear") {
            QMetaObject::invokeMethod(Find(w, value), "clear");
        } else if (key == "label") {
            EXPECT_NE(FindChildByText<QLabel>(w, text), nullptr);
        } else if (key == "group") {
            bool found = false;
            for (QGroupBox* g : w->findChildren<QGroupBox*>())
                found = found || g->title().trimmed() == text;
            EXPECT_TRUE(found);
        } else if (verb == "keys") {
            QWidget* target = Find(w, key.substr(blank + 1));
            const QStringList lines = text.split('\n');  // Enter between them
            for (int i = 0; i < lines.size(); ++i) {
                if (i > 0) QTest::keyClick(target, Qt::Key_Return);
                const QStringList parts = lines[i].split('\x1b');  // Esc between them
                for (int j = 0; j < parts.size(); ++j) {
                    if (j > 0) QTest::keyClick(target, Qt::Key_Escape);
                    for (QChar ch :
                         parts[j])  // a letter beyond ASCII as a keyboard layout types it
                        ch.unicode() < 128
                            ? QTest::keyClick(target, ch.toLatin1())
                            : QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown,
                                                  QString(ch), Qt::NoModifier);
                }
            }
        } else if (verb == "choose") {
            auto* combo = qobject_cast<QComboBox*>(Find(w, key.substr(blank + 1)));
            combo->setCurrentIndex(std::stoi(value));
            emit combo->activated(std::stoi(value));
        } else if (verb == "call") {
            EXPECT_TRUE(QMetaObject::invokeMethod(Find(w, key.substr(blank + 1)), value.c_str()));
        } else if (verb == "caret") {
            const QStringList at = text.split('-');
            QWidget* field = Find(w, key.substr(blank + 1));
            if (auto* line = qobject_cast<QLineEdit*>(field))
                return line->setSelection(at[0].toInt(), at.back().toInt() - at[0].toInt());
            auto* plain = qobject_cast<QPlainTextEdit*>(field);
            QTextCursor c = plain->textCursor();
            c.setPosition(at[0].toInt());
            c.setPosition(at.back().toInt(), QTextCursor::KeepAnchor);
            plain->setTextCursor(c);
        } else if (verb == "select") {
            auto* list = qobject_cast<QListWidget*>(Find(w, key.substr(blank + 1)));
            const QStringList rows = text.split(" | ");
            list->clearSelection();
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setSelected(rows.contains(list->item(i)->text()));
        } else if (key == "menu") {
            QAction* item = MenuItem(qobject_cast<QMainWindow*>(w->window()), text);
            ASSERT_NE(item, nullptr);
            item->trigger();
        } else if (verb == "set" && dot != std::string::npos) {
            QWidget* target = Find(w, key.substr(blank + 1, dot - blank - 1));
            EXPECT_TRUE(target->setProperty(key.substr(dot + 1).c_str(), text));
        } else if (dot != std::string::npos && blank == std::string::npos) {
            QWidget* target = Find(w, key.substr(0, dot));
            const std::string property = key.substr(dot + 1);
            Expect(property == "items"
                       ? Items(target)
                       : target->property(property.c_str()).toString().toStdString(),
                   value);
        } else if (std::string arg; auto own = Lookup(Steps, key, arg)) {
            (*own)(arg, value);
        } else if (auto check = Lookup(Checks, key, arg)) {
            Expect((*check)(arg), value);
        } else {
            ADD_FAILURE() << "unknown step";
        }
    }
};

}  // namespace kestrova::testing
