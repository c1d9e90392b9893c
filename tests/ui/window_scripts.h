#pragma once
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
//   system dialogs     the system's message boxes and clipboard;  hidden (not shown yet)
//   time limits = MIN  template KEY = TEXT (a posting's template)  remind at 15
//   start time = T     not started    mail program = EXIT|none (a stand-in xdg-email
//                      writing its arguments to args.txt, the attachment to attached.txt)
//   zone window = Zone - NICK  the lobby client's window (friends lists in Favorites/NICK/);
//   new rapid = N      the start-up or New dialog's Rapid-assign choice (with new file)
// Steps:
//   add = A B C           names typed into the add field, each with Enter
//   menu = Top/Sub/Item   a menu item triggered (captions without '&')
//   open = Top/Sub        the menu is about to show
//   popup = name|win|boot T S  a right click on seat S of table T of the shown round;
//                         popup = time T  the table's time label's pop-up
//   pick = Caption        an item of the open pop-up;  forget (the records so far)
//   click = win T S       a win button;   play to the end (seat 0 wins each table,
//                         a lone entry is given its bye)
//   type = TEXT, find = TEXT   typed into the add or the (emptied) find field, no Enter
//   press = add button|undo|redo|down|copy T S|boot T S   a strip button, Down in
//                         the add field, a seat's button;  suggestion = N  a row clicked
//   macro answer = NAME   the macro file dialogs' answer from now on (empty: cancelled)
//   round = N             the winners' round shown;  clock = Y M D h m  the time
//   start up (the start-up dialog), fit = W H (the screen's area), move = X Y,
//   keys = A B C (typed into the focused field, which must be the add field)
//   show, later tables = S (all but table 0 started S seconds after the start),
//   at = S (the clock S seconds after the start), tick timing (the timing's second)
//   play a round (seat 0 wins the lowest round's tables), scroll to = T (the winners'
//   table T on top), double click brackets
//   answer = yes no       the next questions;   yesno = yes no
//   folder = NAME/        the next folder chosen (made first; "cancel" cancels)
//   room old|new = Title  a lobby room opens;  room closed = Title;  tick (a second)
//   save as = TYPE NAME   "Save as" answered with the file type (1 to 4) and name
//   show link menu (as started with --show-link), load macros (from the macro file),
//   toolbar = N (a macro toolbar button), stop in pause = N (the running macro's Stop
//   pressed in its Nth pause, the menus seen then kept for the probe "during pause"),
//   close window, destroy window (then only expect file lines) lobby appends = NAME  the
//   lobby client adds a friend (and the entry is signed up);
//                         lobby appends late = NAME (nothing is signed up)
//   zone title = TITLE|none  the client window's title changes (the nick checked) or it goes
//   dialog <<< >>>        answers the next modal dialog of the next step, a line each:
//                         title X, click X, unchecked X, list NAME A|B, row NAME N,
//                         name X (file name field), folder (the files folder), save NAME,
//                         append NAME text, set NAME line|line (a text field),
//                         choose NAME (the points summary's file), accept, reject,
//                         text X (a message box's), alone (no other box above it),
//                         select X (the item X of the dialog's list box),
//                         ticks A+|B- (its list's items, ticked or not), untick N,
//                         and any step written KEY = VALUE (or tick timing)
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
//   docks, brackets, focus, place, stored place, on screen, macro file, macro titles,
//   last posting (its key and player), macro bar, run macro (the player's submenu), sent ROOM
//   (what a room's input was sent), macro menus (Stop and Macro shown or not), during pause, system
//   clipboard, timer, blinking (tables), overdue, active boots (the docks' rows), time T (text |
//   tip | style), boot T S, box T ("at Y" or hidden), height T, scroll, embossed (complete round
//   tabs), minimised.
#include <sys/stat.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTreeWidget>

#include "engine/format_store.h"
#include "engine/points_summary_form.h"
#include "engine/report_play.h"
#include "engine/tourney_file.h"
#include "fakes/case_file.h"
#include "fakes/fake_friends.h"
#include "fakes/state_dump.h"
#include "kit/dialog_util.h"
#include "session/lifecycle.h"
#include "session/new_tourney_form.h"
#include "ui/lobby_commands.h"
#include "ui/qt_ports.h"
#include "ui/status_docks.h"
#include "ui/timing_host.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {

inline std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += (out.empty() ? "" : " | ") + l;
    return out;
}

inline std::string Joined(const QStringList& lines) {
    return lines.join(" | ").toStdString();
}

inline std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> out;
    for (const QString& w : QString::fromStdString(text).split(' ', Qt::SkipEmptyParts))
        out.push_back(w.toStdString());
    return out;
}

class WindowScripts : public WindowTest {
  protected:
    void Play(const TCase& c);

    void Step(const std::string& key, const std::string& value);

    // Plays the dialog block's lines on the modal dialog `w`.
    void Answer(QWidget* w, const std::string& block);

    std::string Relative(const std::string& path) {
        return path.rfind(dir.Path(), 0) == 0 ? path.substr(dir.Path().size()) : path;
    }

    std::string Probe(const std::string& probe);

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

    std::string MacroMenus() {
        const bool stop = form->LobbyCommands().StopMenu()->menuAction()->isVisible();
        return std::string(stop ? "Stop shown" : "no Stop") +
               (m().Macro->menuAction()->isVisible() ? ", Macro shown" : "");
    }

    // The friends lists under Favorites/ and the lobby client's window titled `title`.
    std::unique_ptr<TFriendsPlatform> FriendsPlatform(const std::string& title) {
        nick = title.substr(title.find(" - ") + 3);
        QDir().mkpath(QString::fromStdString(dir.File("Favorites/" + nick)));
        auto platform = std::make_unique<TFriendsPlatform>(MakeDefaultFriendsPlatform(nullptr));
        auto favorites = std::make_unique<FakeFavorites>();
        favorites->Root = dir.File("Favorites/");
        auto window = std::make_unique<FakeZoneWindow>();
        window->SetTitle(title);
        zone = window.get();
        platform->Favorites = std::move(favorites);
        platform->Window = std::move(window);
        return platform;
    }
    std::string FriendsFile() { return dir.File("Favorites/" + nick + "/Friends.txt"); }

    std::string where;
    std::string nick;
    std::string duringPause;
    FakeZoneWindow* zone = nullptr;
    bool dialogPending = false;
    std::map<std::string, TWindowHandle> rooms;
    std::vector<std::string> macroTitles;  // of the macro file dialogs
    FakeWorld world;                       // its clock drives PlayKnownTourney
    const QByteArray path = qgetenv("PATH");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
};

}  // namespace kestrova::testing
