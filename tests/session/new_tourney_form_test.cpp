// "New Tournament" driven through its widgets by the cases in
// tests/data/session/new_tourney_form.txt (steps as in formats/form_script.h;
// "$DIR/" is the files folder). Before "open": team mode, start tables = LIST,
// file NAME = BYTES, recent tourneys = A|B, format fields = CO-HOST|START|TABLE
// (what every other format offers), browse answer = PATH (empty: cancelled),
// yesno = no yes. Then: press NAME = Tab|Down|Escape (with the focus there;
// "form" is the dialog), focus = EDIT (its text selected),
// lobby list (opened and closed), pick recent = N, and the checks options,
// result, dialog result, asked, formats asked, browse asked, recent, recent path,
// start tables, host setting, files, file NAME, saves, at least = W H.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "kit/dialog_util.h"
#include "lobby/script_steps.h"
#include "model/tourney_state.h"
#include "session/new_tourney_form.h"

namespace kestrova::testing {
namespace {

using TArg = TFormScript::TArg;

#define KESTROVA_NAMED(member) \
    { #member, f->member }

TWidgetNames Names(QWidget* w) {
    auto* f = qobject_cast<TNewTourneyForm*>(w);
    if (!f) return {};
    return {KESTROVA_NAMED(FormatCombo),
            KESTROVA_NAMED(EditButton),
            KESTROVA_NAMED(TeamBox),
            KESTROVA_NAMED(PointsBox),
            KESTROVA_NAMED(CapBox),
            KESTROVA_NAMED(SpareOptionBox),
            KESTROVA_NAMED(HostEdit),
            KESTROVA_NAMED(CoHostEdit),
            KESTROVA_NAMED(HostPlayerEdit),
            KESTROVA_NAMED(CoHostPlayerEdit),
            KESTROVA_NAMED(UnscheduledHostBox),
            KESTROVA_NAMED(UnscheduledCoHostBox),
            KESTROVA_NAMED(RulesEdit),
            KESTROVA_NAMED(StartEdit),
            KESTROVA_NAMED(RapidNotUsed),
            KESTROVA_NAMED(RapidAdded),
            KESTROVA_NAMED(RapidRemoved),
            KESTROVA_NAMED(LobbyCombo),
            KESTROVA_NAMED(FileEdit),
            KESTROVA_NAMED(BrowseButton),
            KESTROVA_NAMED(RestoreButton),
            KESTROVA_NAMED(SeatingButton),
            KESTROVA_NAMED(StartButton),
            KESTROVA_NAMED(CancelButton)};
}

std::string Tables(const TRoundList& tables) {
    std::string out;
    for (int t : tables)
        out += (out.empty() ? "" : ",") + std::to_string(t);
    return out;
}

std::string Options(const TNewTourneyOptions& o) {
    const auto flag = [](bool on, const char* name) { return on ? std::string(" ") + name : ""; };
    return o.FormatName + " | " + o.Path + " |" + flag(o.TeamMode, "team") +
           flag(o.ShowPointsAtEnd, "points") + flag(o.CapNames, "caps") +
           flag(o.UnscheduledHost, "unscheduled-host") +
           flag(o.UnscheduledCoHost, "unscheduled-co-host") + " | " + o.HostName + " | " +
           o.CoHostName + " | " + o.HostPlayerName + " | " + o.CoHostPlayerName + " | " +
           o.RulesTime + " | " + o.StartTime + " | rapid " + std::to_string(o.RapidAssignChoice) +
           " | " + o.Lobby + " | " + Tables(o.StartTables);
}

struct TNewTourneyCase {
    TTourneyState s;
    FakeWorld world;
    TempDir dir;
    std::unique_ptr<TNewTourneyForm> form;
    std::optional<TFormatHostFields> offered;
    std::vector<std::string> formatsAsked, browseAsked;
    QString browseAnswer;

    TNewTourneyCase() {
        world.Wire(s);  // the clock says 5 December 2026, 8 pm
        s.Settings.FilesFolder = dir.Path();
        s.Settings.HostName = "Zed";
        s.MsgParams.StartTime = "8:00 pm";
        s.MsgParams.RulesTime = "7:45 pm";
        s.FormatNames = {"Spades Open", "Hearts"};
    }
    std::string Here(std::string v) const {
        for (size_t at; (at = v.find("$DIR/")) != std::string::npos;)
            v.replace(at, 5, dir.Path());
        return v;
    }
    QWidget* Open() {
        form = std::make_unique<TNewTourneyForm>(s);
        form->FormatFields = [this](const std::string& name) {
            formatsAsked.push_back(name);
            return offered;
        };
        form->AskSaveFileName = [this](const QString& t, const QString& at, const QString& f) {
            browseAsked = {t.toStdString(), at.toStdString(), f.toStdString()};
            return browseAnswer;
        };
        form->show();
        QApplication::setActiveWindow(form.get());  // focus changes need an active window
        return form.get();
    }
    void Press(const std::string& name, const std::string& key) {
        QWidget* w = name == "form" ? form.get() : Names(form.get()).at(name);
        w->setFocus();
        const std::map<std::string, Qt::Key> keys{
            {"Tab", Qt::Key_Tab}, {"Down", Qt::Key_Down}, {"Escape", Qt::Key_Escape}};
        QTest::keyClick(w, keys.at(key));
    }
    void Play(const TCase& c) {
        TFormScript script;
        script.Names = Names;
        script.Open = [this](const std::string&) { return Open(); };
        script.Steps = {
            {"team mode", [&](TArg, TArg) { s.TeamMode = true; }},
            {"start tables", [&](TArg, TArg v) { s.Settings.DefaultStartTables = v; }},
            {"file",
             [&](TArg name, TArg v) {
                 if (!form) return WriteFileBytes(dir.File(name), v);
                 EXPECT_EQ(ReadFileBytes(dir.File(name)), v);
             }},
            {"recent tourneys", [&](TArg, TArg v) { s.Settings.RecentTourneys = Split(v, "|"); }},
            {"format fields",
             [&](TArg, TArg v) {
                 const auto f = Split(v, "|");
                 offered.emplace();
                 offered->CoHostName = f[0];
                 offered->StartTime = f[1];
                 offered->StartTables.emplace().fill(std::stoi(f[2]));
             }},
            {"browse answer", [&](TArg, TArg v) { browseAnswer = QString::fromStdString(v); }},
            {"yesno",
             [&](TArg, TArg v) {
                 for (const std::string& a : Split(v, " "))
                     world.Dialogs.YesNoAnswers.push_back(a == "yes");
             }},
            {"press", [&](TArg name, TArg v) { Press(name, v); }},
            {"focus",
             [&](TArg, TArg v) {
                 auto* edit = qobject_cast<QLineEdit*>(Names(form.get()).at(v));
                 edit->setFocus();
                 edit->selectAll();
             }},
            {"lobby list",
             [&](TArg, TArg) {
                 form->LobbyCombo->showPopup();
                 form->LobbyCombo->hidePopup();
             }},
            {"pick recent",
             [&](TArg, TArg v) { form->RecentMenu->actions()[std::stoi(v)]->trigger(); }},
            {"options", [&](TArg, TArg v) { EXPECT_EQ(Options(form->Options()), Here(v)); }},
            {"result",
             [&](TArg, TArg v) {
                 const char* names[] = {"Cancel", "Start", "Restore", "OpenRecent"};
                 EXPECT_EQ(names[static_cast<int>(form->Result())], v);
             }},
            {"dialog result",
             [&](TArg, TArg v) {
                 EXPECT_EQ(form->result() == QDialog::Accepted ? "accepted" : "rejected", v);
             }},
            {"asked", [&](TArg, TArg v) { EXPECT_EQ(Joined(world.Dialogs.Asked), v); }},
            {"formats asked", [&](TArg, TArg v) { EXPECT_EQ(Joined(formatsAsked), v); }},
            {"browse asked", [&](TArg, TArg v) { EXPECT_EQ(Joined(browseAsked), Here(v)); }},
            {"recent",
             [&](TArg, TArg v) {
                 QStringList items;
                 for (QAction* a : form->RecentMenu->actions())
                     items << a->text() + (a->isEnabled() ? "" : " (disabled)");
                 EXPECT_EQ(form->RecentMenu->title() + ": " + items.join(" | "), ToQ(v));
             }},
            {"recent path", [&](TArg, TArg v) { EXPECT_EQ(form->RecentPath(), v); }},
            {"start tables now", [&](TArg, TArg v) { EXPECT_EQ(Tables(form->StartTables()), v); }},
            {"host setting", [&](TArg, TArg v) { EXPECT_EQ(s.Settings.HostName, v); }},
            {"files",
             [&](TArg, TArg v) {
                 EXPECT_EQ(QDir(ToQ(dir.Path())).entryList(QDir::Files).join(" | "), ToQ(v));
             }},
            {"saves", [&](TArg, TArg v) { EXPECT_EQ(world.Settings.Saves, std::stoi(v)); }},
            {"at least",
             [&](TArg, TArg v) {
                 const auto wh = Split(v, " ");
                 EXPECT_GE(form->width(), std::stoi(wh[0]));
                 EXPECT_GE(form->height(), std::stoi(wh[1]));
             }},
        };
        script.Play(nullptr, c);
    }
};

TEST(NewTourneyForm, EveryCaseShowsAndHandsOverWhatItExpects) {
    const std::vector<TCase> cases = ReadCases("session/new_tourney_form.txt");
    ASSERT_FALSE(cases.empty());
    for (const TCase& c : cases)
        TNewTourneyCase().Play(c);
}

}  // namespace
}  // namespace kestrova::testing
