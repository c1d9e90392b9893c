// The host's scripts on the real main window, one per "== title" in
// tests/data/ui/window_scripts.txt, played in order. Before the first step:
//   templates          the real templates are posted (else postings are recorded)
//   no file            the tournament has no file yet;  path = NAME  its file
//   format = NAME      the format chosen;  one per table (else entries sit in pairs)
//   file NAME <<< >>>  bytes written into the files folder
//   banned = A B       recent players = A B       confirm filter = N
//   settings loaded    the settings were read (so changes are saved)
//   macro file = NAME  the macro file in use
//   played single = A B C ...   a single tournament played by the engine (seat 0 wins)
//   first start        the settings read and the window placed as at a start;
//   place = L T H      where the host left it (from the screen's corner);
//   new file = NAME    the start-up dialog's Start with that file
//   start time = T     not started    mail program = EXIT|none (a stand-in xdg-email
//                      writing its arguments to args.txt, the attachment to attached.txt)
// Steps:
//   add = A B C           names typed into the add field, each with Enter
//   menu = Top/Sub/Item   a menu item triggered (captions without '&')
//   open = Top/Sub        the menu is about to show
//   popup = name|win T S  a right click on seat S of table T of the shown round
//   pick = Caption        an item of the open pop-up;  forget (the records so far)
//   click = win T S       a win button;   play to the end (seat 0 wins each table,
//                         a lone entry is given its bye)
//   type = TEXT, find = TEXT   typed into the add or the find field (no Enter)
//   press = add button|undo|redo|down|copy T S   a strip button, Down in the add
//                         field, a seat's copy button;  suggestion = N  a row clicked
//   round = N             the winners' round shown;  clock = Y M D h m  the time
//   start up (the start-up dialog), fit = W H (the screen's area), move = X Y,
//   keys = A B C (typed into the focused field, which must be the add field)
//   answer = yes no       the next questions;   yesno = yes no
//   folder = NAME/        the next folder chosen (made first; "cancel" cancels)
//   room old|new = Title  a lobby room opens;  room closed = Title;  tick (a second)
//   save as = TYPE NAME   "Save as" answered with the file type (1 to 4) and name
//   close window
//   dialog <<< >>>        answers the next modal dialog of the next step, a line each:
//                         title X, click X, unchecked X, list NAME A|B, row NAME N,
//                         name X (file name field), folder (the files folder), save NAME,
//                         append NAME text, set NAME line|line (a text field),
//                         choose NAME (the points summary's file), accept, reject
//   expect PROBE = V, has PROBE = V (contains), lacks PROBE = V; in V $DIR/ is the
//   files folder and $clipboard the clipboard's last text
// Probes: title, visible, clipboard, clipboards, asked, notices, messages, result,
//   posted, count, files, file NAME, path, players, banned, recent players, folder,
//   lobby (the chosen room's name and whose input: "Name in Title"), room tables,
//   recent tourneys, confirm filter, saves, match points, bar, menu PATH, item PATH
//   and pop-up CAPTION (on/off, disabled, hidden, or ready), seat T S, win T S,
//   table T, next T S, colour T S, round (the shown names), shortcut PATH, find count,
//   status, find strip, suggestions, clock, least size, panels, tabs, postings,
//   invariants, grand final, reread (the file read back: invariants, grand final),
//   cut (labels and buttons narrower than their text), add field, size, tab row,
//   docks, brackets, focus, place, stored place, on screen.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>

#include <sys/stat.h>

#include <QPlainTextEdit>

#include "engine/format_store.h"
#include "engine/points_summary_form.h"
#include "engine/report_play.h"
#include "engine/tourney_file.h"
#include "fakes/case_file.h"
#include "fakes/state_dump.h"
#include "kit/dialog_util.h"
#include "session/lifecycle.h"
#include "session/new_tourney_form.h"
#include "ui/status_docks.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += (out.empty() ? "" : " | ") + l;
    return out;
}

std::string Joined(const QStringList& lines) {
    return lines.join(" | ").toStdString();
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> out;
    for (const QString& w : QString::fromStdString(text).split(' ', Qt::SkipEmptyParts))
        out.push_back(w.toStdString());
    return out;
}

class WindowScripts : public WindowTest {
  protected:
    void Play(const TCase& c) {
        where = c.Where();
        QDir(QString::fromStdString(dir.Path())).removeRecursively();
        QDir().mkpath(QString::fromStdString(dir.Path()));
        Make({.RecordPostings = !c.Has("templates"),
              .Pairs = !c.Has("one per table"),
              .Path = !c.Has("no file")});
        if (c.Has("path")) s().TourneyPath = dir.File(c.Get("path"));
        if (c.Has("format")) SelectFormat(s(), c.Get("format"));
        for (const auto& [key, value] : c.Fields)
            if (key.rfind("file ", 0) == 0) WriteFileBytes(dir.File(key.substr(5)), value);
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
            form->SetNewTourneyDialog([this, path = dir.File(c.Get("new file"))](QWidget*) {
                TNewTourneyOptions o;
                o.Path = path;
                return std::optional(o);
            });
        if (c.Has("first start")) {
            PrepareStartUp(s());
            form->RestoreGeometry();
        }
        form->show();
        QApplication::setActiveWindow(form.get());
        for (const auto& [key, given] : c.Fields) {
            std::string value = given;
            for (size_t at; (at = value.find("$DIR/")) != std::string::npos;)
                value.replace(at, 5, dir.Path());
            Step(key, value);
            if (key == "dialog") continue;
            EXPECT_FALSE(dialogPending)
                << where << ": no dialog opened at " << key << " = " << value;
            dialogPending = false;
        }
    }

    void Step(const std::string& key, const std::string& value) {
        SCOPED_TRACE(where + ": " + key + " = " + value);
        const QString v = QString::fromStdString(value);
        TAddFindStrip* strip = form->AddFind();
        const auto w = Words(value);
        const auto n = [&w](size_t i) { return std::stoi(w.at(i)); };
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
            auto& seat = Box(n(1))->Seat(n(2));
            RightClick(w[0] == "win" ? static_cast<QWidget*>(seat.Win) : seat.Name);
        } else if (key == "pick") {
            QAction* a = PopupItem(v);
            ASSERT_NE(a, nullptr);
            a->trigger();
        } else if (key == "forget") {
            lobby->Clipboard.clear();
            dialogs->Asked.clear();
            store->Saves = 0;
        } else if (key == "click") {
            ClickWin(TBracketKind::Winners, s().SelectedTab[0], n(1), n(2));
        } else if (key == "play to the end") {
            for (int guard = 0; guard < 60 && (PlayOneRound() || GiveAForcedBye()); ++guard) {
            }
        } else if (key == "start up") {
            form->StartUp({});
        } else if (key == "fit") {
            const QSize size(n(0), n(1));
            form->FitToArea(size);
            EXPECT_LE(form->minimumWidth(), size.width());
            EXPECT_LE(form->minimumHeight(), size.height());
            form->resize(size - QSize(8, 32));
        } else if (key == "move") {
            form->move(area.left() + n(0), area.top() + n(1));
        } else if (key == "keys") {
            for (const auto& name : w) {
                ASSERT_EQ(QApplication::focusWidget(), strip->AddEdit()) << name;
                QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(name));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
        } else if (key == "type" || key == "find") {
            QTest::keyClicks(key == "type" ? strip->AddEdit() : strip->FindEdit(), v);
        } else if (key == "press") {
            if (w[0] == "down") QTest::keyClick(strip->AddEdit(), Qt::Key_Down);
            QWidget* button = w[0] == "add"    ? strip->AddButton()
                              : w[0] == "undo" ? strip->UndoButton()
                              : w[0] == "redo" ? static_cast<QWidget*>(strip->RedoButton())
                              : w[0] == "copy" ? Box(n(1))->Seat(n(2)).Copy
                                               : nullptr;
            if (button) QTest::mouseClick(button, Qt::LeftButton);
        } else if (key == "suggestion") {
            QListWidget* rows = strip->Suggestions()->List();
            QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                              rows->visualItemRect(rows->item(std::stoi(value))).center());
        } else if (key == "round") {
            form->Panel(TBracketKind::Winners)->Tabs()->setCurrentIndex(std::stoi(value));
        } else if (key == "clock") {
            clock->Time = EncodeDateTime(n(0), n(1), n(2), n(3), n(4), 0);
        } else if (key == "answer" || key == "yesno") {
            for (const auto& a : w)
                key == "answer" ? (a == "yes" ? dialogs->AnswerYes() : dialogs->AnswerNo())
                                : dialogs->YesNoAnswers.push_back(a == "yes");
        } else if (key == "folder") {
            if (value != "cancel") QDir().mkpath(QString::fromStdString(dir.File(value)));
            dialogs->Folders.push_back(value == "cancel" ? std::nullopt
                                                         : std::optional(dir.File(value)));
        } else if (key == "room old" || key == "room new") {
            rooms[value] =
                key == "room old" ? windows->AddOldRoom(value) : windows->AddNewRoom(value);
        } else if (key == "room closed") {
            windows->Close(rooms[value]);
        } else if (key == "save as") {
            form->SetSaveAsDialog([&](QWidget*, const QString& start) {
                EXPECT_EQ(start.toStdString(), s().TourneyPath);
                return std::make_optional(
                    std::make_pair(QString::fromStdString(dir.File(w[1])), n(0)));
            });
            m().SaveAs->trigger();
        } else if (key == "tick") {
            form->TickClock();
        } else if (key == "close window") {
            form->close();
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
        }
    }

    // Plays the dialog block's lines on the modal dialog `w`.
    void Answer(QWidget* w, const std::string& block) {
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
                EXPECT_EQ(files->directory().absolutePath() + "/",
                          QString::fromStdString(dir.Path()));
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
            } else {
                ADD_FAILURE() << "unknown dialog step " << line;
            }
        }
    }

    std::string Relative(const std::string& path) {
        return path.rfind(dir.Path(), 0) == 0 ? path.substr(dir.Path().size()) : path;
    }

    std::string Probe(const std::string& probe) {
        const auto w = Words(probe);
        const auto seat = [&w, this] { return Box(std::stoi(w.at(1)))->Seat(std::stoi(w.at(2))); };
        TAddFindStrip* strip = form->AddFind();
        const QString rest = QString::fromStdString(probe.substr(probe.find(' ') + 1));
        const auto text = [](QWidget* l) {
            return l->isVisible() ? FromQ(static_cast<QLabel*>(l)->text()) : "(hidden)";
        };
        if (probe == "title") return form->windowTitle().toStdString();
        if (probe == "visible") return form->isVisible() ? "yes" : "no";
        if (probe == "clipboard") return lobby->Latest();
        if (probe == "clipboards") return std::to_string(lobby->Clipboard.size());
        if (probe == "asked") return Joined(dialogs->Asked);
        if (probe == "notices") return Joined(dialogs->Notices);
        if (probe == "messages") return Joined(dialogs->Messages);
        if (probe == "result") return text(form->ResultLabel());
        if (probe == "posted") return text(form->PostedLabel());
        if (probe == "count") return FromQ(strip->AddCount()->text());
        if (probe == "find count") return FromQ(strip->FindCount()->text());
        if (probe == "status") return FromQ(strip->StatusEdit()->text());
        if (probe == "find strip")
            return strip->FindEdit()->isVisibleTo(form.get()) ? "shown" : "hidden";
        if (probe == "suggestions") {
            QStringList rows;
            for (int i = 0; i < strip->Suggestions()->List()->count(); ++i)
                rows << strip->Suggestions()->List()->item(i)->text();
            return strip->Suggestions()->isVisible() ? Joined(rows) : "(hidden)";
        }
        if (probe == "clock") {
            QLabel* panel = form->ClockPanel(0);
            const bool whole = panel->width() >=
                               std::max(90, panel->fontMetrics().horizontalAdvance(panel->text()));
            return FromQ(panel->text()) + (whole ? "" : " (cut)");
        }
        if (probe == "least size") {
            const QSize least = form->minimumSize();
            const bool designed = least.width() >= 290 && least.height() >= 300 &&
                                  least == least.expandedTo(form->minimumSizeHint());
            return designed ? "designed" : "too small";
        }
        if (probe == "panels") {
            std::string out = "Winners";
            for (TBracketKind b : {TBracketKind::OneLoss, TBracketKind::TwoLoss})
                out += form->Panel(b) ? b == TBracketKind::OneLoss ? " OneLoss" : " TwoLoss" : "";
            return out;
        }
        if (probe == "tabs") {
            QStringList tabs;
            for (int i = 0; i < form->Panel(TBracketKind::Winners)->Tabs()->count(); ++i)
                tabs << form->Panel(TBracketKind::Winners)->Tabs()->tabText(i);
            return Joined(tabs);
        }
        if (probe == "round") {
            QStringList names;
            for (int k = 0; k < form->Panel(TBracketKind::Winners)->BoxCount(); ++k)
                for (int side = 0; side < 2 && !Box(k)->isHidden(); ++side)
                    names << Box(k)->Seat(side).Name->text();
            return Joined(names);
        }
        if (probe == "cut") return Joined(CutWidgets());
        if (probe == "add field")
            return strip->AddEdit()->width() >=
                           strip->AddEdit()->fontMetrics().horizontalAdvance("Abcdefghijklmno")
                       ? "holds 15 letters"
                       : "too narrow";
        if (probe == "size")
            return form->width() >= 290 && form->height() >= 300 ? "designed" : "small";
        if (probe == "tab row") {
            QTabBar* tabs = form->Panel(TBracketKind::Winners)->Tabs();
            return tabs->isVisible() && tabs->height() > 0 ? FromQ(tabs->tabText(0)) : "(hidden)";
        }
        if (probe == "docks") {
            QDockWidget* overdue = form->Docks().Dock(TStatusDocks::Overdue);
            return (form->dockWidgetArea(overdue) == Qt::RightDockWidgetArea ? "right, "
                                                                             : "below, ") +
                   std::to_string(form->tabifiedDockWidgets(overdue).size()) + " tabbed beside";
        }
        if (probe == "brackets")
            return form->Panel(TBracketKind::Winners)->height() > form->height() / 3
                       ? "a third or more"
                       : "less";
        if (probe == "focus")
            return QApplication::focusWidget() == strip->AddEdit() ? "add field" : "elsewhere";
        if (probe == "place")
            return std::to_string(form->x() - area.left()) + " " +
                   std::to_string(form->y() - area.top()) + " " + std::to_string(form->height());
        if (probe == "stored place")
            return std::to_string(s().Settings.Left - area.left()) + " " +
                   std::to_string(s().Settings.Top - area.top());
        if (probe == "on screen")  // at the default height, or as high as the window must be
            return area.contains(form->geometry().center()) &&
                           form->height() ==
                               std::min(std::max(TAppSettings{}.Height, form->minimumHeight()),
                                        area.height())
                       ? "yes, at the default height"
                       : "no";
        if (probe == "invariants") return CheckInvariants(s());
        if (probe == "grand final") return GrandFinal(s());
        if (probe == "reread") {
            TTourneyState reread;
            FakeWorld readWorld;
            readWorld.Wire(reread);
            reread.LogToFile = false;
            if (!ReadTourney(reread, s().TourneyPath)) return "(unreadable)";
            return CheckInvariants(reread) + GrandFinal(reread);
        }
        if (probe == "postings") return std::to_string(announcer->Postings.size());
        if (probe == "files")
            return Joined(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files));
        if (w[0] == "file")
            return QFileInfo::exists(QString::fromStdString(dir.File(w[1])))
                       ? ReadFileBytes(dir.File(w[1]))
                       : "(none)";
        if (probe == "path") return Relative(s().TourneyPath);
        if (probe == "room tables") return std::to_string(s().RoomTableCount);
        if (probe == "lobby") {
            for (const auto& [title, room] : rooms)
                if (s().FLobbyEditWnd == windows->InputOf(room))
                    return s().LobbyName + " in " + title;
            return s().LobbyName + (s().FLobbyEditWnd ? " in another" : "");
        }
        if (probe == "players") {
            std::vector<std::string> names;
            for (const auto& p : s().Players)
                names.push_back(p->Name);
            return Joined(names);
        }
        if (probe == "banned") return Joined(s().BannedPlayers);
        if (probe == "recent players") return Joined(s().RecentPlayers);
        if (probe == "folder") return Relative(s().Settings.FilesFolder);
        if (probe == "recent tourneys") return Relative(s().Settings.RecentTourneys.front());
        if (probe == "confirm filter") return std::to_string(s().Settings.ConfirmNotifyFilter);
        if (probe == "saves") return std::to_string(store->Saves);
        if (probe == "bar") return Joined(Captions(form->menuBar()->actions()));
        if (w[0] == "menu") return Joined(Captions(Item(rest)->menu()->actions()));
        if (w[0] == "item") return Flags(Item(rest));
        if (w[0] == "pop-up") return Flags(PopupItem(rest));
        if (probe == "match points") {
            std::string out;
            for (int points : s().MsgParams.MatchPoints)
                out += (out.empty() ? "" : ",") + std::to_string(points);
            return out;
        }
        if (w[0] == "table") return FromQ(Box(std::stoi(w[1]))->TableNo()->text());
        if (w[0] == "next") return FromQ(seat().Next->text());
        if (w[0] == "colour") return FromQ(seat().Name->palette().color(QPalette::Window).name());
        if (w[0] == "shortcut") return FromQ(Item(rest)->shortcut().toString());
        if (w[0] == "seat") return FromQ(seat().Name->text());
        if (w[0] == "win") return seat().Win->isChecked() ? "down" : "up";
        ADD_FAILURE() << "unknown probe " << probe;
        return "";
    }

    // Cut text shows as a widget narrower than it asks to be.
    QStringList CutWidgets() {
        QApplication::processEvents();
        QStringList cut;
        for (QLabel* l : form->findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty() && !l->wordWrap() &&
                l->width() < l->minimumSizeHint().width() && l->objectName() != "PostedLabel")
                cut << l->text();
        for (QAbstractButton* b : form->findChildren<QAbstractButton*>())
            if (b->isVisible() && !b->text().isEmpty() && b->width() < b->sizeHint().width())
                cut << b->text();
        return cut;
    }

    // The lowest lone entry of an open table given its forced bye.
    bool GiveAForcedBye() {
        for (int r = 0; r < MaxRounds; ++r)
            for (int b = 0; b < s().BracketCount(); ++b) {
                const auto kind = static_cast<TBracketKind>(b);
                const TRoundRec& round = s().Bracket(kind)[r];
                for (int t = 0; t < round.TableCount; ++t) {
                    const TTableRec& table = round.Tables[t];
                    if (table.Result != 0 || table.Empty()) continue;
                    dialogs->AnswerYes();
                    ClickWin(kind, r, t, table.Seat[0] ? 0 : 1);
                    return table.Result != 0;
                }
            }
        return false;
    }

    static std::string GrandFinal(const TTourneyState& st) {
        const TTableRec& gf = st.Winners[st.GrandFinalRound].Tables[0];
        return std::string(gf.Full() ? "full" : "not full") +
               (gf.Result ? ", won by seat " + std::to_string(gf.Result - 1) : ", open");
    }

    QAction* PopupItem(const QString& caption) {
        for (QMenu* popup : {m().PlayerMenu, m().BootMenu, m().TableMenu})
            if (QAction* a = FindChildByText<QAction>(popup, caption)) return a;
        return nullptr;
    }

    static std::string Flags(QAction* a) {
        if (!a) return "(none)";
        std::string out = a->isCheckable() ? (a->isChecked() ? "on" : "off") : "";
        if (!a->isEnabled()) out += " disabled";
        if (!a->isVisible()) out += " hidden";
        out = QString::fromStdString(out).trimmed().toStdString();
        return out.empty() ? "ready" : out;
    }

    // A stand-in xdg-email first on PATH, or none at all.
    void MailProgram(const std::string& exitCode) {
        const std::string bin = dir.File("bin");
        QDir().mkpath(QString::fromStdString(bin));
        if (exitCode != "none")
            WriteFileBytes(bin + "/xdg-email",
                           "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                               dir.File("args.txt") + "\"\ncat \"$5\" > \"" +
                               dir.File("attached.txt") + "\"\nexit " + exitCode + "\n");
        ::chmod((bin + "/xdg-email").c_str(), 0755);
        qputenv("PATH", QByteArray::fromStdString(bin) + (exitCode == "none" ? "" : ":" + path));
    }

    std::string where;
    bool dialogPending = false;
    std::map<std::string, TWindowHandle> rooms;
    FakeWorld world;  // its clock drives PlayKnownTourney
    const QByteArray path = qgetenv("PATH");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
};

TEST_F(WindowScripts, EveryScriptShowsTheHostWhatItExpects) {
    const std::vector<TCase> cases = ReadCases("ui/window_scripts.txt");
    ASSERT_FALSE(cases.empty());
    for (const TCase& c : cases) {
        Play(c);
        form.reset();
        rooms.clear();
        qputenv("PATH", path);
    }
}

// File, "&New...": the dialog's choices make the tournament, its file and its caption.
TEST_F(WindowTest, ANewTournamentIsMadeThroughTheDialog) {
    Make();
    form->show();
    form->SetNewTourneyDialog([this](QWidget* parent) -> std::optional<TNewTourneyOptions> {
        TNewTourneyForm dialog(s(), parent);
        WhenModal([](QWidget* w) {
            auto* d = qobject_cast<TNewTourneyForm*>(w);
            ASSERT_NE(d, nullptr);
            d->TeamBox->setChecked(true);
            d->HostEdit->setText("Ann");
            d->StartEdit->setText("9:30 pm");
            emit d->StartEdit->editingFinished();  // leaving the field renames the file
            QTest::mouseClick(d->StartButton, Qt::LeftButton);
        });
        dialog.exec();
        if (dialog.Result() != TNewTourneyForm::TResult::Start) return std::nullopt;
        return dialog.Options();
    });
    form->NewTourney();
    EXPECT_EQ(s().TourneyPath, dir.Path() + "Default 05Dec26 930 pm Tournament.kvb");
    EXPECT_FALSE(ReadFileBytes(s().TourneyPath).empty());
    EXPECT_TRUE(s().TeamMode);
    EXPECT_EQ(s().MsgParams.HostName, "Ann");
    EXPECT_EQ(s().MsgParams.StartTime, "9:30 pm");
    EXPECT_TRUE(s().Players.empty());
    EXPECT_EQ(form->windowTitle(), "Tarvex Kestrova - Default");
    EXPECT_EQ(s().Settings.RecentTourneys.front(), s().TourneyPath);
}

}  // namespace
}  // namespace kestrova::testing
