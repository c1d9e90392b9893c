// The format dialogs driven as the host would, from tests/data/formats:
// the editor and "Host Details" (format_edit_form.txt: the fields of the
// lines and their limits, each field writing its key at once with the sample
// following, the sub-dialogs handed their values and writing back) and the
// manager with its editor, the merge dialog and its question
// (format_manager_form.txt, each scenario ending with the files' bytes), and
// the format and points commands of the main window with the dialogs they
// open (window_dialogs_form.txt).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <deque>
#include <filesystem>
#include <sstream>

#include "common/int_list.h"
#include "common/text.h"
#include "engine/format_store.h"
#include "engine/match_points_form.h"
#include "engine/play_helpers.h"
#include "engine/player_points_form.h"
#include "engine/reassign_form.h"
#include "engine/report_play.h"
#include "engine/results.h"
#include "engine/table_count.h"
#include "engine/team_properties_form.h"
#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "formats/format_defaults.h"
#include "formats/format_edit_form.h"
#include "formats/format_manager_form.h"
#include "formats/format_merge_form.h"
#include "formats/host_details_form.h"
#include "kit/dialog_util.h"
#include "lobby/script_steps.h"
#include "session/new_tourney_form.h"
#include "ui/kestrova_form.h"
#include "ui/status_docks.h"

namespace kestrova::testing {
namespace {

using Lines = std::vector<std::string>;
using TArg = TFormScript::TArg;

// The widgets of the format dialogs under their members' names.
TWidgetNames Names(QWidget* w) {
    if (auto* f = dynamic_cast<TFormatEditForm*>(w))
        return {KESTROVA_NAMED(NameEdit),           KESTROVA_NAMED(PointsCombo),
                KESTROVA_NAMED(StartEdit),          KESTROVA_NAMED(RulesEdit),
                KESTROVA_NAMED(HostEdit),           KESTROVA_NAMED(CoHostEdit),
                KESTROVA_NAMED(HostPlayerEdit),     KESTROVA_NAMED(CoHostPlayerEdit),
                KESTROVA_NAMED(BootSpin),           KESTROVA_NAMED(TimeLimitsButton),
                KESTROVA_NAMED(PlayerPointsButton), KESTROVA_NAMED(SeatingButton),
                KESTROVA_NAMED(MessageList),        KESTROVA_NAMED(MessageEdit),
                KESTROVA_NAMED(NoAutoPostBox),      KESTROVA_NAMED(DefaultMessageButton),
                KESTROVA_NAMED(SymbolsButton),      KESTROVA_NAMED(SampleBox)};
    if (auto* f = dynamic_cast<THostDetailsForm*>(w))
        return {KESTROVA_NAMED(HostEdit),           KESTROVA_NAMED(CoHostEdit),
                KESTROVA_NAMED(HostPlayerEdit),     KESTROVA_NAMED(CoHostPlayerEdit),
                KESTROVA_NAMED(UnscheduledHostBox), KESTROVA_NAMED(UnscheduledCoHostBox)};
    if (auto* f = dynamic_cast<TFormatManagerForm*>(w))
        return {KESTROVA_NAMED(List),        KESTROVA_NAMED(AddButton),
                KESTROVA_NAMED(EditButton),  KESTROVA_NAMED(DeleteButton),
                KESTROVA_NAMED(CopyButton),  KESTROVA_NAMED(ExportButton),
                KESTROVA_NAMED(ImportButton)};
    if (auto* f = dynamic_cast<TFormatExistsForm*>(w))
        return {KESTROVA_NAMED(Heading), KESTROVA_NAMED(NameEdit), KESTROVA_NAMED(RenameButton)};
    if (auto* f = dynamic_cast<TFormatMergeForm*>(w))
        return {KESTROVA_NAMED(List), KESTROVA_NAMED(AddButton)};
    if (auto* f = dynamic_cast<TMatchPointsForm*>(w))
        return {{"SameBox", f->SameBox()}, {"TierList", f->TierList()}};
    if (auto* f = dynamic_cast<TPlayerPointsForm*>(w))
        return {{"ExactlyButton", f->ExactlyButton()}};
    if (auto* f = dynamic_cast<TNewTourneyForm*>(w))
        return {KESTROVA_NAMED(TeamBox), KESTROVA_NAMED(HostEdit), KESTROVA_NAMED(StartEdit)};
    if (auto* f = dynamic_cast<TReassignForm*>(w))
        return {KESTROVA_NAMED(CurrentLabel),    KESTROVA_NAMED(OpponentLabel),
                KESTROVA_NAMED(AssignWinChoice), KESTROVA_NAMED(MoveChoice),
                KESTROVA_NAMED(TableList),       KESTROVA_NAMED(LegendLabel)};
    return {};
}

#undef KESTROVA_NAMED

Lines LinesOf(const std::string& v) {  // " | " between the lines
    Lines out;
    for (size_t from = 0, bar = 0; !v.empty() && bar != std::string::npos; from = bar + 3)
        out.push_back(v.substr(from, (bar = v.find(" | ", from)) - from));
    return out;
}

// "{Default}" stands for the built-in format's section as a file holds it.
std::string Bytes(std::string text) {
    std::string section = "[Default]\r\n";
    for (const auto& l : DefaultFormatLines())
        section += l + "\r\n";
    for (size_t at; (at = text.find("{Default}")) != std::string::npos;)
        text.replace(at, 9, section + "\r\n");
    return text;
}

// Sub-dialogs that note what they are handed and answer as a host would.
TFormatEditorServices RecordingServices(Lines& handed) {
    TFormatEditorServices sv;
    sv.EditCustomPoints = [&](QWidget*, const TCustomPoints& p) -> std::optional<TCustomPoints> {
        handed.push_back("custom " + FormatIntList(p.Tiers[4]));
        TCustomPoints out = p;
        out.SameForAll = false;
        out.Tiers[4] = ParseIntList("9");
        out.Elim = TCustomElim::Fourth;
        return out;
    };
    sv.EditTimeLimits = [&](QWidget*, const std::optional<TRoundList>& given) {
        handed.push_back(given ? "limits " + FormatIntList(*given) : "limits none");
        return std::optional<TRoundList>(ParseIntList("30,60"));
    };
    sv.EditStartTables = [&](QWidget*, const TRoundList& t) {
        handed.push_back("tables " + FormatIntList(t));
        return std::optional<TRoundList>();  // Cancel
    };
    sv.EditPlayerPoints = [&](QWidget*, const TPlayerPointsFields& p) {
        handed.push_back("points " + std::to_string(p.Place[0]) +
                         (p.PlaceExactly[0] ? " exactly" : ""));
        TPlayerPointsFields out = p;
        out.Place[1] = 4;
        out.PlaceExactly[1] = true;
        return std::optional<TPlayerPointsFields>(out);
    };
    sv.PickSymbol = [](QWidget*) { return std::optional<QString>(QString::fromUtf8("\u2022")); };
    return sv;
}

struct FormatDialogs {
    TTourneyState S;
    FakeWorld World;
    TempDir Dir;
    std::string Path = Dir.File("Tourney Formats.ini");
    std::unique_ptr<QDialog> Form;
    std::unique_ptr<TKestrovaForm> Window;  // saves into Dir when destroyed
    std::unique_ptr<TTeamPropertiesForm> Team = std::make_unique<TTeamPropertiesForm>();
    Lines Handed;
    std::deque<std::string> ExportFiles;
    QString Typed;                            // in the last cell edited, before Enter
    RecordingAnnouncer* Announcer = nullptr;  // the window's

    FormatDialogs() {
        World.Wire(S);
        S.Settings.FilesFolder = Dir.Path();
    }
    // The editor open as a modal dialog of the window, else the one opened.
    TFormatEditForm& Editor() {
        auto* modal = dynamic_cast<TFormatEditForm*>(QApplication::activeModalWidget());
        return modal ? *modal : dynamic_cast<TFormatEditForm&>(*Form);
    }
    TFormatManagerForm& Manager() { return dynamic_cast<TFormatManagerForm&>(*Form); }
    TTourneyState& W() { return Window->State(); }

    // The main window over fakes, its file t.kvb, the current format named.
    QWidget* OpenWindow(const std::string& format) {
        TFormPorts ports;
        ports.Dialogs = std::make_unique<FakeDialogs>();
        ports.Clock = std::make_unique<FakeClock>(World.Clock);
        ports.Settings = std::make_unique<FakeSettingsStore>();
        auto announcer = std::make_unique<RecordingAnnouncer>();
        Announcer = announcer.get();
        ports.Announcer = std::move(announcer);
        Window = std::make_unique<TKestrovaForm>(std::move(ports));
        W().TourneyPath = Dir.File("t.kvb");
        W().Settings.FilesFolder = Dir.Path();
        if (format != "window") RebuildFormatMenu(W(), format);
        Window->show();
        return Window.get();
    }
    // "File/New..." opens the real dialog, as the program's start wires it.
    void RealNewDialog() {
        Window->SetNewTourneyDialog([this](QWidget* parent) -> std::optional<TNewTourneyOptions> {
            TNewTourneyForm dialog(W(), parent);
            dialog.exec();
            if (dialog.Result() != TNewTourneyForm::TResult::Start) return std::nullopt;
            return dialog.Options();
        });
    }
    std::string NewTourney() {
        const TTourneyState& s = W();
        return s.TourneyPath.substr(Dir.Path().size()) + " | " +
               (ReadFileBytes(s.TourneyPath).empty() ? "not saved" : "saved") + " | " +
               (s.TeamMode ? "team | " : "") + s.MsgParams.HostName + " | " +
               s.MsgParams.StartTime + " | " + FromQ(Window->windowTitle()) + " | recent " +
               s.Settings.RecentTourneys.front().substr(Dir.Path().size());
    }
    // Keys typed into a cell of the player points grid, then Enter.
    void EditCell(const std::string& at, const std::string& keys) {
        auto* grid = QApplication::activeModalWidget()->findChild<QTableWidget*>("PointsGrid");
        const int row = std::stoi(at), column = std::stoi(at.substr(at.find(' ')));
        grid->setCurrentCell(row, column);
        grid->editItem(grid->item(row, column));
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, ToQ(keys));
        Typed = editor->text();
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the delegate commits on the next turn
    }
    std::string Cell(const std::string& at) {
        auto* grid = QApplication::activeModalWidget()->findChild<QTableWidget*>("PointsGrid");
        const int row = std::stoi(at), column = std::stoi(at.substr(at.find(' ')));
        return FromQ(grid->verticalHeaderItem(row)->text() + " " +
                     grid->horizontalHeaderItem(column)->text() + ": " +
                     grid->item(row, column)->text());
    }
    // Where NAME sits in Winners round R: table index, seat and table number.
    std::string Place(const std::string& name, int round) {
        for (const auto& p : W().Players)
            if (p->Name == name && p->Tables[round])
                return Format("%d %d (table %d)", TableIndexOf(*p->Tables[round]),
                              SeatOf(*p->Tables[round], p.get()), p->Tables[round]->TableNo);
        return "none";
    }
    std::string PlayerPoints() {
        QTreeWidget* list = Window->Docks().List(TStatusDocks::PlayerPoints);
        Lines rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.push_back(
                FromQ(list->topLevelItem(i)->text(0) + " " + list->topLevelItem(i)->text(1)));
        return Joined(rows);
    }

    QWidget* Open(const std::string& kind) {
        Form.reset();
        const auto [what, text] =
            kind.find("->") == std::string::npos ? std::pair(kind, kind) : Arrow(kind);
        const Lines names = {"Default", "Spades"};
        if (what == "window") return OpenWindow(text);
        if (what == "team properties") {  // on its own, over the names Old, a, b
            Team->Load("Old", "a", "b");
            Team->show();
            return Team.get();
        }
        if (what == "host details") {
            Form = std::make_unique<THostDetailsForm>(S);
        } else if (what == "editor" || what == "editor with services") {
            const TFormatEditorServices services =
                what == "editor" ? TFormatEditorServices{} : RecordingServices(Handed);
            Form = std::make_unique<TFormatEditForm>(S, TTourneyFormat{"Spades", LinesOf(text)},
                                                     names, services);
        } else {  // the manager, the current format named
            auto manager = std::make_unique<TFormatManagerForm>(S, Path, kind);
            manager->AskExportFile = [this](QWidget*, const QString& folder) {
                EXPECT_EQ(FromQ(folder) + "/", Dir.Path());
                const std::string name = ExportFiles.empty() ? "" : ExportFiles.front();
                if (!ExportFiles.empty()) ExportFiles.pop_front();
                return name.empty() ? QString() : ToQ(Dir.File(name));
            };
            Form = std::move(manager);
        }
        Form->show();
        return Form.get();
    }

    void SetExportFiles(const std::string& answers) {  // nothing between commas: Cancel
        std::istringstream in(answers);
        for (std::string name; std::getline(in, name, ',');)
            ExportFiles.push_back(Trim(name));
    }
    // In the merge dialog: only that row ticked.
    static void Tick(const std::string& row) {
        auto* merge = dynamic_cast<TFormatMergeForm*>(QApplication::activeModalWidget());
        EXPECT_EQ(merge->List->headerItem()->text(1), "File name");
        for (int i = 0; i < merge->List->topLevelItemCount(); ++i)
            merge->List->topLevelItem(i)->setCheckState(
                0, std::to_string(i) == row ? Qt::Checked : Qt::Unchecked);
    }
    std::string Details() const {
        return S.MsgParams.HostName + "|" + S.MsgParams.CoHostName + "|" + S.HostPlayerName + "|" +
               S.CoHostPlayerName + Format("|%d|%d", S.UnscheduledHost, S.UnscheduledCoHost);
    }
};

TEST(FormatDialogs, EachCaseAsWritten) {
    for (const char* file : {"formats/format_edit_form.txt", "formats/format_manager_form.txt",
                             "formats/window_dialogs_form.txt"})
        for (const TCase& c : ReadCases(file)) {
            FormatDialogs d;
            TFormScript script;
            script.Names = Names;
            script.Open = [&](const std::string& kind) { return d.Open(kind); };
            script.Steps = {
                {"lines", [&](TArg, TArg v) { EXPECT_EQ(d.Editor().Lines(), LinesOf(v)); }},
                {"last line", [&](TArg, TArg v) { EXPECT_EQ(d.Editor().Lines().back(), v); }},
                {"value", [&](TArg k, TArg v) { EXPECT_EQ(KeyValue(d.Editor().Lines(), k), v); }},
                {"no value",
                 [&](TArg, TArg v) { EXPECT_FALSE(FindKeyValue(d.Editor().Lines(), v)); }},
                {"handed", [&](TArg, TArg v) { EXPECT_EQ(d.Handed, LinesOf(v)); }},
                {"rejected", [&](TArg, TArg) { EXPECT_EQ(d.Form->result(), QDialog::Rejected); }},
                {"host", [&](TArg, TArg v) { d.S.MsgParams.HostName = v; }},
                {"co-host player", [&](TArg, TArg v) { d.S.CoHostPlayerName = v; }},
                {"unscheduled co-host", [&](TArg, TArg) { d.S.UnscheduledCoHost = true; }},
                {"stored details", [&](TArg, TArg v) { EXPECT_EQ(d.Details(), v); }},
                {"formats file", [&](TArg, TArg v) { WriteFileBytes(d.Path, v); }},
                {"export files", [&](TArg, TArg v) { d.SetExportFiles(v); }},
                {"import from",
                 [&](TArg, TArg v) {
                     d.Manager().AskImportFiles = [&d, v](QWidget*, const QString&) {
                         return QStringList{ToQ(d.Dir.File(v))};
                     };
                 }},
                {"tick", [&](TArg, TArg v) { FormatDialogs::Tick(v); }},
                {"current", [&](TArg, TArg v) { EXPECT_EQ(d.Manager().CurrentName(), v); }},
                {"backup blocked",
                 [&](TArg, TArg) {
                     std::filesystem::create_directories(d.Dir.File("Tourney Formats.bak/keep"));
                 }},
                {"backup freed",
                 [&](TArg, TArg) {
                     std::filesystem::remove_all(d.Dir.File("Tourney Formats.bak"));
                 }},
                {"file",
                 [&](TArg name, TArg v) { EXPECT_EQ(ReadFileBytes(d.Dir.File(name)), Bytes(v)); }},
                {"played single",
                 [&](TArg, TArg v) {
                     PlayKnownTourney(d.W(), d.World, TElimFormat::Single, Split(v, " "), 0);
                 }},
                {"cell", [&](TArg at, TArg v) { d.EditCell(at, v); }},
                {"hosts", [&](TArg, TArg) { d.Window->StartStrip()->HostsButton()->click(); }},
                {"new dialog", [&](TArg, TArg) { d.RealNewDialog(); }},
                {"started double",
                 [&](TArg, TArg v) { StartTourney(d.W(), TElimFormat::Double, std::stoi(v)); }},
                {"team mode",
                 [&](TArg, TArg) {
                     SetElimFormat(d.W(), TElimFormat::Single);
                     d.W().TeamMode = true;
                 }},
                {"win",
                 [&](TArg at, TArg) {
                     const auto n = Split(at, " ");
                     AssignWin(d.W(), TBracketKind::Winners, std::stoi(n[0]), std::stoi(n[1]),
                               std::stoi(n[2]), true, true);
                 }},
                {"reassign",
                 [&](TArg at, TArg) {
                     const auto n = Split(at, " ");
                     RunReassign(
                         d.W(),
                         {TBracketKind::Winners, std::stoi(n[0]), std::stoi(n[1]), std::stoi(n[2])},
                         d.Window.get());
                 }},
                {"team properties",
                 [&](TArg at, TArg) {
                     const auto n = Split(at, " ");
                     RunTeamProperties(d.W(), *d.Team, TBracketKind::Winners, 0, std::stoi(n[0]),
                                       std::stoi(n[1]), QPoint(10, 10));
                 }},
            };
            script.Checks = {
                {"typed", [&](TArg) { return FromQ(d.Typed); }},
                {"shown cell", [&](TArg at) { return d.Cell(at); }},
                {"window format", [&](TArg) { return d.W().CurrentFormat; }},
                {"window formats", [&](TArg) { return Joined(d.W().FormatNames); }},
                {"window boot time", [&](TArg) { return std::to_string(d.W().BootTime); }},
                {"window co-host", [&](TArg) { return d.W().MsgParams.CoHostName; }},
                {"window elim", [&](TArg) { return std::to_string(int(d.W().ElimFormat)); }},
                {"window tier",
                 [&](TArg n) { return FormatIntList(d.W().MatchPointsTiers[std::stoi(n)]); }},
                {"window win points", [&](TArg) { return FormatIntList(d.W().WinPoints); }},
                {"window second place",
                 [&](TArg) { return std::to_string(d.W().SecondPlacePoints); }},
                {"window double points", [&](TArg) { return YesNo(d.W().DoublePlayerPoints); }},
                {"window player points", [&](TArg) { return d.PlayerPoints(); }},
                {"window had bye",
                 [&](TArg) {
                     return std::to_string(
                         d.Window->Docks().List(TStatusDocks::HadBye)->topLevelItemCount());
                 }},
                {"item",
                 [&](TArg path) {
                     QAction* a = MenuItem(d.Window.get(), ToQ(path));
                     return a->isChecked() ? "checked" : "clear";
                 }},
                {"log", [&](TArg) { return ReadFileBytes(d.Dir.File("t.log")); }},
                {"frameless",
                 [&](TArg) { return YesNo(d.Team->windowFlags() & Qt::FramelessWindowHint); }},
                {"team",
                 [&](TArg) {
                     return d.Team->TeamName() + "|" + d.Team->First() + "|" + d.Team->Second();
                 }},
                {"team result",
                 [&](TArg) {
                     return d.Team->result() == QDialog::Accepted ? "accepted" : "rejected";
                 }},
                {"place",
                 [&](TArg at) { return d.Place(at.substr(at.find(' ') + 1), std::stoi(at)); }},
                {"result",
                 [&](TArg at) {
                     const auto n = Split(at, " ");
                     return std::to_string(
                         d.W().Winners[std::stoi(n[0])].Tables[std::stoi(n[1])].Result);
                 }},
                {"seat",
                 [&](TArg at) {
                     const auto n = Split(at, " ");
                     const TPlayer* p =
                         d.W().Winners[0].Tables[std::stoi(n[0])].Seat[std::stoi(n[1])];
                     return p ? p->Name + "|" + p->Player1 + "|" + p->Player2 : "(empty)";
                 }},
                {"new tournament", [&](TArg) { return d.NewTourney(); }},
                {"entries", [&](TArg) { return std::to_string(d.W().Players.size()); }},
                {"undo steps", [&](TArg) { return std::to_string(d.W().UndoList.size()); }},
                {"postings",
                 [&](TArg) {
                     Lines out;
                     for (const auto& p : d.Announcer->Postings)
                         out.push_back(std::string(MessageKey(p.Kind)) + " " + p.Params.PlayerName);
                     return Joined(out);
                 }},
            };
            script.Play(nullptr, c);
        }
}

}  // namespace
}  // namespace kestrova::testing
