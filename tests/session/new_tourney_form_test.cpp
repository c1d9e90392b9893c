// "New Tournament" driven through its widgets by the cases in
// tests/data/session/new_tourney_form.txt: the steps of formats/form_script.h
// and "given X = V" (the state before "open"), "expect X = V" (see Probe; $DIR/
// is the files folder), press NAME = Tab|Down|Escape ("form": the dialog),
// focus = EDIT (its text selected), lobby list (opened), pick recent = N.
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

TWidgetNames Names(QWidget* w) {
    auto* f = qobject_cast<TNewTourneyForm*>(w);
    if (!f) return {};
    return {KESTROVA_NAMED(FormatCombo),      KESTROVA_NAMED(EditButton),
            KESTROVA_NAMED(TeamBox),          KESTROVA_NAMED(PointsBox),
            KESTROVA_NAMED(CapBox),           KESTROVA_NAMED(SpareOptionBox),
            KESTROVA_NAMED(HostEdit),         KESTROVA_NAMED(CoHostEdit),
            KESTROVA_NAMED(CoHostPlayerEdit), KESTROVA_NAMED(UnscheduledCoHostBox),
            KESTROVA_NAMED(RulesEdit),        KESTROVA_NAMED(StartEdit),
            KESTROVA_NAMED(RapidNotUsed),     KESTROVA_NAMED(RapidAdded),
            KESTROVA_NAMED(RapidRemoved),     KESTROVA_NAMED(LobbyCombo),
            KESTROVA_NAMED(FileEdit),         KESTROVA_NAMED(BrowseButton),
            KESTROVA_NAMED(RestoreButton),    KESTROVA_NAMED(SeatingButton),
            KESTROVA_NAMED(StartButton)};
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
    void Given(const std::string& what, const std::string& v) {
        if (what == "team mode") s.TeamMode = true;
        if (what == "start tables") s.Settings.DefaultStartTables = v;
        if (what == "recent tourneys") s.Settings.RecentTourneys = Split(v, "|");
        if (what == "browse answer") browseAnswer = QString::fromStdString(v);
        if (what.rfind("file ", 0) == 0) WriteFileBytes(dir.File(what.substr(5)), v);
        for (const std::string& a : what == "yesno" ? Split(v, " ") : std::vector<std::string>{})
            world.Dialogs.YesNoAnswers.push_back(a == "yes");
        if (what == "format fields") {
            const auto f = Split(v, "|");
            offered.emplace();
            offered->CoHostName = f[0];
            offered->StartTime = f[1];
            offered->StartTables.emplace().fill(std::stoi(f[2]));
        }
    }
    std::string Probe(const std::string& what) {
        const char* results[] = {"Cancel", "Start", "Restore", "OpenRecent"};
        QStringList recent;
        for (QAction* a : form->RecentMenu->actions())
            recent << a->text() + (a->isEnabled() ? "" : " (disabled)");
        if (what == "options") return Options(form->Options());
        if (what == "result")
            return results[static_cast<int>(form->Result())] +
                   std::string(form->result() == QDialog::Accepted ? " accepted" : " rejected");
        if (what == "asked") return Joined(world.Dialogs.Asked);
        if (what == "formats asked") return Joined(formatsAsked);
        if (what == "browse asked") return Joined(browseAsked);
        if (what == "recent") return FromQ(form->RecentMenu->title() + ": " + recent.join(" | "));
        if (what == "recent path") return form->RecentPath();
        if (what == "start tables") return Tables(form->StartTables());
        if (what == "host setting") return s.Settings.HostName;
        if (what == "files") return FromQ(QDir(ToQ(dir.Path())).entryList(QDir::Files).join(" | "));
        if (what == "saves") return std::to_string(world.Settings.Saves);
        if (what.rfind("file ", 0) == 0) return ReadFileBytes(dir.File(what.substr(5)));
        if (what == "size")
            return form->width() >= 385 && form->height() >= 433 ? "designed" : "small";
        ADD_FAILURE() << "unknown probe " << what;
        return "";
    }
    void Play(const TCase& c) {
        TFormScript script;
        script.Names = Names;
        script.Open = [this](const std::string&) { return Open(); };
        script.Steps = {
            {"given", [&](TArg what, TArg v) { Given(what, v); }},
            {"expect", [&](TArg what, TArg v) { EXPECT_EQ(Probe(what), Here(v)); }},
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
