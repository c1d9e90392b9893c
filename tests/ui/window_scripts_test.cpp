// The window scripts played (vocabulary in window_scripts.h).
#include <fstream>
#include <set>

#include "lobby/rapid_assign_control.h"
#include "ui/window_scripts.h"

namespace kestrova::testing {

namespace {

// The keys Play reads before the first step; every other key is a step.
bool IsSetup(const std::string& key) {
    static const std::set<std::string> keys = {
        "templates",     "no file",        "path",           "format",          "one per table",
        "banned",        "recent players", "confirm filter", "settings loaded", "macro file",
        "played single", "first start",    "place",          "new file",        "system dialogs",
        "hidden",        "time limits",    "remind at 15",   "start time",      "not started",
        "mail program",  "zone window",    "new rapid"};
    return keys.count(key) || key.rfind("file ", 0) == 0 || key.rfind("template ", 0) == 0;
}

}  // namespace

void WindowScripts::Play(const TCase& c) {
    where = c.Where();
    QDir(QString::fromStdString(dir.Path())).removeRecursively();
    QDir().mkpath(QString::fromStdString(dir.Path()));
    Make({.RecordPostings = !c.Has("templates"),
          .Pairs = !c.Has("one per table"),
          .Path = !c.Has("no file")},
         [&](TFormPorts& ports) {
             if (c.Has("zone window")) ports.Friends = FriendsPlatform(c.Get("zone window"));
             if (!c.Has("system dialogs")) return;  // the message boxes and clipboard
             ports.Dialogs = std::make_unique<TQtDialogs>();
             ports.Lobby = std::make_unique<TQtLobbyPort>();
         });
    if (c.Has("system dialogs")) static_cast<TQtDialogs*>(s().Ports.Dialogs)->SetParent(form.get());
    for (int k = 0; k < MessageKindCount; ++k)
        if (const std::string key = std::string("template ") + MessageKey(TMessageKind(k));
            c.Has(key))
            s().Messages[k] = c.Get(key);
    s().Settings.RemindAt15 = c.Has("remind at 15");
    if (c.Has("time limits")) s().MsgParams.TimeLimits.fill(std::stoi(c.Get("time limits")));
    if (c.Has("path")) s().TourneyPath = dir.File(c.Get("path"));
    if (c.Has("format")) SelectFormat(s(), c.Get("format"));
    for (const auto& [key, value] : c.Fields)
        if (key.rfind("file ", 0) == 0) {
            QDir().mkpath(QFileInfo(QString::fromStdString(dir.File(key.substr(5)))).path());
            WriteFileBytes(dir.File(key.substr(5)), value);
        }
    if (c.Has("banned")) s().BannedPlayers = Words(c.Get("banned"));
    if (c.Has("recent players")) s().RecentPlayers = Words(c.Get("recent players"));
    if (c.Has("confirm filter"))
        s().Settings.ConfirmNotifyFilter =
            static_cast<uint32_t>(std::stoul(c.Get("confirm filter", "0")));
    s().SettingsLoaded = c.Has("settings loaded");
    if (c.Has("macro file")) s().Settings.MacroFileName = dir.File(c.Get("macro file"));
    if (c.Has("played single")) {
        PlayKnownTourney(s(), world, TElimFormat::Single, Words(c.Get("played single")), 0);
        dialogs->Asked.clear();
        dialogs->Messages.clear();
    }
    s().MsgParams.StartTime = c.Get("start time", s().MsgParams.StartTime);
    if (c.Has("not started")) s().Started = false;
    if (c.Has("mail program")) MailProgram(c.Get("mail program"));
    if (c.Has("place")) {
        const auto w = Words(c.Get("place"));
        s().Settings.Left = area.left() + std::stoi(w[0]);
        s().Settings.Top = area.top() + std::stoi(w[1]);
        s().Settings.Height = std::stoi(w[2]);
    }
    if (c.Has("new file"))
        form->SetNewTourneyDialog([path = dir.File(c.Get("new file")),
                                   rapid = std::stoi(c.Get("new rapid", "0"))](QWidget*) {
            TNewTourneyOptions o;
            o.Path = path;
            o.RapidAssignChoice = rapid;
            return std::optional(o);
        });
    if (c.Has("first start")) {
        PrepareStartUp(s());
        form->RestoreGeometry();
    }
    if (!c.Has("hidden")) form->show();
    QApplication::setActiveWindow(form.get());
    for (const auto& [key, given] : c.Fields) {
        std::string value = given;
        for (size_t at; (at = value.find("$DIR/")) != std::string::npos;)
            value.replace(at, 5, dir.Path());
        if (IsSetup(key)) continue;
        Step(key, value);
        if (key == "dialog") continue;
        EXPECT_FALSE(dialogPending) << where << ": no dialog opened at " << key << " = " << value;
        dialogPending = false;
    }
}

void WindowScripts::Step(const std::string& key, const std::string& value) {
    SCOPED_TRACE(where + ": " + key + " = " + value);
    const QString v = QString::fromStdString(value);
    if (key == "destroy window") return form.reset();
    if (!form) {  // the window gone, only the files are looked at
        ASSERT_EQ(key.rfind("expect file ", 0), 0u) << key;
        EXPECT_EQ(Probe(key.substr(7)), value);
        return;
    }
    TAddFindStrip* strip = form->AddFind();
    const auto w = Words(value);
    const auto n = [&w](size_t i) { return std::stoi(w.at(i)); };
    const std::map<std::string, std::function<void()>> simple = {
        // the others below
        {"click", [&] { ClickWin(TBracketKind::Winners, s().SelectedTab[0], n(1), n(2)); }},
        {"start up", [&] { form->StartUp({}); }},
        {"move", [&] { form->move(area.left() + n(0), area.top() + n(1)); }},
        {"play a round", [&] { PlayOneRound(); }},
        {"scroll to", [&] { form->Panel(TBracketKind::Winners)->ScrollToTable(n(0)); }},
        {"round", [&] { form->Panel(TBracketKind::Winners)->Tabs()->setCurrentIndex(n(0)); }},
        {"clock", [&] { clock->Time = EncodeDateTime(n(0), n(1), n(2), n(3), n(4), 0); }},
        {"room closed", [&] { windows->Close(rooms[value]); }},
        {"show", [&] { form->show(); }},
        {"at", [&] { clock->Time = s().StartedAt + n(0) / SecondsPerDay; }},
        {"tick timing", [&] { form->Timing().Tick(); }},
        {"tick", [&] { form->TickClock(); }},
        {"close window", [&] { form->close(); }},
        {"load macros", [&] { form->LobbyCommands().LoadMacros(); }},
        {"show link menu", [&] { form->ShowLinkMenu(true); }},  // as --show-link starts it
    };
    if (auto verb = simple.find(key); verb != simple.end()) return verb->second();
    if (key == "add") {
        for (const auto& name : w)
            Add(QString::fromStdString(name));
    } else if (key == "menu" || key == "open") {
        QAction* item = Item(v);
        ASSERT_NE(item, nullptr) << value;
        if (key == "open")
            emit item->menu()->aboutToShow();
        else
            item->trigger();
    } else if (key == "popup") {
        const auto& seat = Box(n(1))->Seat(w[0] == "time" ? 0 : n(2));
        if (w[0] == "time")
            emit static_cast<TClickLabel*>(Box(n(1))->TimeLabel())->menuRequested({});
        if (w[0] != "time")
            RightClick(w[0] == "win"    ? seat.Win
                       : w[0] == "boot" ? seat.Boot
                                        : static_cast<QWidget*>(seat.Name));
    } else if (key == "pick") {
        QAction* a = PopupItem(v);
        ASSERT_NE(a, nullptr);
        a->trigger();
    } else if (key == "forget") {
        lobby->Clipboard.clear();
        dialogs->Asked.clear();
        store->Saves = 0;
    } else if (key == "play to the end") {
        for (int guard = 0; guard < 60 && (PlayOneRound() || GiveAForcedBye()); ++guard) {
        }
    } else if (key == "fit") {
        const QSize size(n(0), n(1));
        form->FitToArea(size);
        EXPECT_LE(form->minimumWidth(), size.width());
        EXPECT_LE(form->minimumHeight(), size.height());
        form->resize(size - QSize(8, 32));
    } else if (key == "keys") {
        for (const auto& name : w) {
            ASSERT_EQ(QApplication::focusWidget(), strip->AddEdit()) << name;
            QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(name));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
    } else if (key == "type" || key == "find") {
        if (key == "find") strip->FindEdit()->clear();
        QTest::keyClicks(key == "type" ? strip->AddEdit() : strip->FindEdit(), v);
    } else if (key == "double click brackets") {
        QTest::mouseDClick(form->Panel(TBracketKind::Winners), Qt::LeftButton, {}, QPoint(5, 5));
    } else if (key == "press") {
        if (w[0] == "down") QTest::keyClick(strip->AddEdit(), Qt::Key_Down);
        QWidget* button = w[0] == "add"    ? strip->AddButton()
                          : w[0] == "undo" ? strip->UndoButton()
                          : w[0] == "redo" ? static_cast<QWidget*>(strip->RedoButton())
                          : w[0] == "copy" ? Box(n(1))->Seat(n(2)).Copy
                          : w[0] == "boot" ? Box(n(1))->Seat(n(2)).Boot
                                           : nullptr;
        if (button) QTest::mouseClick(button, Qt::LeftButton);
    } else if (key == "suggestion") {
        QListWidget* rows = strip->Suggestions()->List();
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                          rows->visualItemRect(rows->item(std::stoi(value))).center());
    } else if (key == "answer" || key == "yesno") {
        for (const auto& a : w)
            key == "answer" ? (a == "yes" ? dialogs->AnswerYes() : dialogs->AnswerNo())
                            : dialogs->YesNoAnswers.push_back(a == "yes");
    } else if (key == "folder") {
        if (value != "cancel") QDir().mkpath(QString::fromStdString(dir.File(value)));
        dialogs->Folders.push_back(value == "cancel" ? std::nullopt
                                                     : std::optional(dir.File(value)));
    } else if (key == "room old" || key == "room new") {
        rooms[value] = key == "room old" ? windows->AddOldRoom(value) : windows->AddNewRoom(value);
    } else if (key == "save as") {
        form->SetSaveAsDialog([&](QWidget*, const QString& start) {
            EXPECT_EQ(start.toStdString(), s().TourneyPath);
            return std::make_optional(std::make_pair(QString::fromStdString(dir.File(w[1])), n(0)));
        });
        m().SaveAs->trigger();
    } else if (key == "later tables") {
        for (int k = 1; k < s().Winners[0].TableCount; ++k)
            s().Winners[0].Tables[k].StartTime = s().StartedAt + n(0) / SecondsPerDay;
    } else if (key == "macro answer") {
        const QString answer = value.empty() ? QString() : QString::fromStdString(dir.File(value));
        form->LobbyCommands().SetChooseFile([this, answer](auto, const QString& title, auto) {
            macroTitles.push_back(title.toStdString());
            return answer;
        });
    } else if (key == "lobby appends") {  // the lobby client adds a friend; the watcher sees it
        const size_t before = s().Players.size();
        std::ofstream(FriendsFile(), std::ios::binary | std::ios::app) << value << "\r\n";
        for (int guard = 0; guard < 500 && s().Players.size() == before; ++guard)
            QTest::qWait(10);
        EXPECT_GT(s().Players.size(), before) << value << " is not signed up";
    } else if (key == "lobby appends late") {  // and nothing more is signed up
        const size_t before = s().Players.size();
        std::ofstream(FriendsFile(), std::ios::binary | std::ios::app) << value << "\r\n";
        QTest::qWait(0);
        EXPECT_EQ(s().Players.size(), before);
    } else if (key == "zone title" && value == "none") {
        zone->Window = {TClientWindow::TKind::NoWindow, {}};
    } else if (key == "zone title") {  // the nick check (its 2-second timer) sees it
        zone->SetTitle(value);
        form->RapidAssign().Assistant().CheckNick();
    } else if (key == "stop in pause") {  // "&Stop" pressed in the Nth pause of a running macro
        lobby->DuringWait = [this, n = std::stoi(value)](int) {
            duringPause = MacroMenus();
            if (lobby->Waits.size() >= size_t(n)) form->LobbyCommands().StopAction()->trigger();
        };
    } else if (key == "toolbar") {
        m().MacrosBar->actions().at(std::stoi(value))->trigger();
        lobby->DuringWait = nullptr;
    } else if (key == "dialog") {
        dialogPending = true;
        WhenModal([this, value](QWidget* w) {
            dialogPending = false;
            Answer(w, value);
        });
    } else if (key.rfind("expect ", 0) == 0) {
        EXPECT_EQ(Probe(key.substr(7)), value == "$clipboard" ? lobby->Latest() : value);
    } else if (key.rfind("has ", 0) == 0) {
        EXPECT_NE(Probe(key.substr(4)).find(value), std::string::npos) << Probe(key.substr(4));
    } else if (key.rfind("lacks ", 0) == 0) {
        EXPECT_EQ(Probe(key.substr(6)).find(value), std::string::npos) << Probe(key.substr(6));
    } else {
        ADD_FAILURE() << where << ": unknown step \"" << key << "\" in the line \"" << key
                      << (value.empty() ? "" : " = " + value) << "\"";
    }
}

// Plays the dialog block's lines on the modal dialog `w`.
void WindowScripts::Answer(QWidget* w, const std::string& block) {
    auto* files = qobject_cast<QFileDialog*>(w);
    for (const std::string& line : SplitLines(block)) {
        SCOPED_TRACE(where + ": dialog " + line);
        const size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        const QString arg =
            space == std::string::npos ? "" : QString::fromStdString(line.substr(space + 1));
        if (verb == "title") {
            EXPECT_EQ(w->windowTitle(), arg);
        } else if (verb == "click") {
            ClickButton(w, arg);
        } else if (verb == "unchecked") {
            auto* box = FindChildByText<QCheckBox>(w, arg);
            ASSERT_NE(box, nullptr);
            EXPECT_FALSE(box->isChecked());
        } else if (verb == "list" || verb == "row") {
            auto* list = w->findChild<QListWidget*>(arg.section(' ', 0, 0));
            ASSERT_NE(list, nullptr);
            if (verb == "row") list->setCurrentRow(arg.section(' ', 1).toInt());
            QStringList names;
            for (int i = 0; i < list->count(); ++i)
                names << list->item(i)->text();
            if (verb == "list") {
                EXPECT_EQ(names.join('|'), arg.section(' ', 1));
            }
        } else if (verb == "name" && files) {
            auto* edit = files->findChild<QLineEdit*>("fileNameEdit");
            EXPECT_EQ(edit ? edit->text() : "", arg);
        } else if (verb == "folder" && files) {
            EXPECT_EQ(files->directory().absolutePath() + "/", QString::fromStdString(dir.Path()));
        } else if (verb == "save" && files) {
            files->selectFile(QString::fromStdString(dir.File(arg.toStdString())));
            static_cast<QDialog*>(files)->accept();
        } else if (verb == "append" || verb == "set") {
            auto* edit = w->findChild<QPlainTextEdit*>(arg.section(' ', 0, 0));
            ASSERT_NE(edit, nullptr);
            const QString text = arg.section(' ', 1).replace('|', '\n');
            verb == "set" ? edit->setPlainText(text) : edit->appendPlainText(text);
        } else if (verb == "choose") {
            auto* summary = qobject_cast<TPointsSummaryForm*>(w);
            ASSERT_NE(summary, nullptr);
            summary->SetChooseFile([this, arg](QWidget*, const QString&) {
                return QString::fromStdString(dir.File(arg.toStdString()));
            });
        } else if (verb == "accept" || verb == "reject") {
            verb == "accept" ? static_cast<QDialog*>(w)->accept()
                             : static_cast<QDialog*>(w)->reject();
        } else if (verb == "select") {
            auto* combo = w->findChild<QComboBox*>();
            ASSERT_NE(combo, nullptr);
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            ASSERT_GE(combo->findText(arg), 0) << Joined(items);
            combo->setCurrentIndex(combo->findText(arg));
        } else if (verb == "ticks" || verb == "untick") {  // the first list's items ticked
            auto* list = w->findChild<QListWidget*>();
            ASSERT_NE(list, nullptr);
            if (verb == "untick") list->item(arg.toInt())->setCheckState(Qt::Unchecked);
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text() + (list->item(i)->checkState() ? "+" : "-");
            if (verb == "ticks") {
                EXPECT_EQ(items.join('|'), arg);
            }
        } else if (verb == "text") {
            EXPECT_EQ(qobject_cast<QMessageBox*>(w)->text(), arg);
        } else if (verb == "alone") {
            EXPECT_EQ(QApplication::activeModalWidget(), w);
        } else if (const size_t eq = line.find(" = "); eq != std::string::npos || verb == "tick") {
            Step(line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 3));
        } else {
            ADD_FAILURE() << where << ": unknown dialog step \"" << verb << "\" in the line \""
                          << line << "\"";
        }
    }
}

namespace {

TEST_F(WindowScripts, EveryScriptShowsTheHostWhatItExpects) {
    const std::vector<TCase> cases = ReadCases("ui/window_scripts.txt");
    ASSERT_FALSE(cases.empty());
    for (const TCase& c : cases) {
        Play(c);
        form.reset();
        rooms.clear();
        macroTitles.clear();
        qputenv("PATH", path);
    }
}

}  // namespace
}  // namespace kestrova::testing
