// The format dialogs driven as the host would, from tests/data/formats:
// the editor and "Host Details" (format_edit_form.txt: the fields of the
// lines and their limits, each field writing its key at once with the sample
// following, the sub-dialogs handed their values and writing back) and the
// manager with its editor, the merge dialog and its question
// (format_manager_form.txt, each scenario ending with the files' bytes).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <deque>
#include <filesystem>
#include <sstream>

#include "common/int_list.h"
#include "common/text.h"
#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "formats/format_defaults.h"
#include "formats/format_edit_form.h"
#include "formats/format_manager_form.h"
#include "formats/format_merge_form.h"
#include "formats/host_details_form.h"
#include "kit/dialog_util.h"

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
    return {};
}

#undef KESTROVA_NAMED

Lines Split(const std::string& v) {  // " | " between the lines
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
    Lines Handed;
    std::deque<std::string> ExportFiles;

    FormatDialogs() {
        World.Wire(S);
        S.Settings.FilesFolder = Dir.Path();
    }
    TFormatEditForm& Editor() { return dynamic_cast<TFormatEditForm&>(*Form); }
    TFormatManagerForm& Manager() { return dynamic_cast<TFormatManagerForm&>(*Form); }

    QWidget* Open(const std::string& kind) {
        Form.reset();
        const auto [what, text] =
            kind.find("->") == std::string::npos ? std::pair(kind, kind) : Arrow(kind);
        const Lines names = {"Default", "Spades"};
        if (what == "host details") {
            Form = std::make_unique<THostDetailsForm>(S);
        } else if (what == "editor" || what == "editor with services") {
            const TFormatEditorServices services =
                what == "editor" ? TFormatEditorServices{} : RecordingServices(Handed);
            Form = std::make_unique<TFormatEditForm>(S, TTourneyFormat{"Spades", Split(text)},
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
    void Select(const std::string& names) {
        QListWidget* list = Manager().List;
        list->clearSelection();
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setSelected(
                Has(" | " + names + " | ", " | " + FromQ(list->item(i)->text()) + " | "));
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
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

TEST(FormatDialogs, EachCaseAsWritten) {
    for (const char* file : {"formats/format_edit_form.txt", "formats/format_manager_form.txt"})
        for (const TCase& c : ReadCases(file)) {
            FormatDialogs d;
            TFormScript script;
            script.Names = Names;
            script.Open = [&](const std::string& kind) { return d.Open(kind); };
            script.Steps = {
                {"lines", [&](TArg, TArg v) { EXPECT_EQ(d.Editor().Lines(), Split(v)); }},
                {"last line", [&](TArg, TArg v) { EXPECT_EQ(d.Editor().Lines().back(), v); }},
                {"value", [&](TArg k, TArg v) { EXPECT_EQ(KeyValue(d.Editor().Lines(), k), v); }},
                {"no value",
                 [&](TArg, TArg v) { EXPECT_FALSE(FindKeyValue(d.Editor().Lines(), v)); }},
                {"handed", [&](TArg, TArg v) { EXPECT_EQ(d.Handed, Split(v)); }},
                {"rejected", [&](TArg, TArg) { EXPECT_EQ(d.Form->result(), QDialog::Rejected); }},
                {"host", [&](TArg, TArg v) { d.S.MsgParams.HostName = v; }},
                {"co-host player", [&](TArg, TArg v) { d.S.CoHostPlayerName = v; }},
                {"unscheduled co-host", [&](TArg, TArg) { d.S.UnscheduledCoHost = true; }},
                {"stored details", [&](TArg, TArg v) { EXPECT_EQ(d.Details(), v); }},
                {"formats file", [&](TArg, TArg v) { WriteFileBytes(d.Path, v); }},
                {"select", [&](TArg, TArg v) { d.Select(v); }},
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
            };
            script.Play(nullptr, c);
        }
}

}  // namespace
}  // namespace kestrova::testing
