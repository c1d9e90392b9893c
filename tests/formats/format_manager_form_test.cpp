// The format manager, its editor, the merge dialog and its question driven
// as the host would, from tests/data/formats/format_manager_form.txt; each
// scenario ends with the formats file's bytes.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <deque>
#include <filesystem>
#include <sstream>

#include "common/text.h"
#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "formats/format_forms.h"
#include "kit/dialog_util.h"

namespace kestrova::testing {
namespace {

// "{Default}" stands for the built-in format's section as a file holds it.
std::string Bytes(std::string text) {
    std::string section = "[Default]\r\n";
    for (const auto& l : DefaultFormatLines())
        section += l + "\r\n";
    for (size_t at; (at = text.find("{Default}")) != std::string::npos;)
        text.replace(at, 9, section + "\r\n");
    return text;
}

TEST(FormatManagerForm, EachCaseAsWritten) {
    for (const TCase& c : ReadCases("formats/format_manager_form.txt")) {
        TTourneyState s;
        FakeWorld world;
        TempDir dir;
        world.Wire(s);
        s.Settings.FilesFolder = dir.Path();
        const std::string path = dir.File("Tourney Formats.ini");
        std::unique_ptr<TFormatManagerForm> form;
        std::deque<std::string> exportFiles;
        TFormScript script;
        script.Names = FormatFormNames;
        script.Open = [&](const std::string& current) {
            form = std::make_unique<TFormatManagerForm>(s, path, current);
            form->AskExportFile = [&](QWidget*, const QString& folder) {
                EXPECT_EQ(folder.toStdString() + "/", dir.Path());
                const std::string name = exportFiles.empty() ? "" : exportFiles.front();
                if (!exportFiles.empty()) exportFiles.pop_front();
                return name.empty() ? QString() : ToQ(dir.File(name));
            };
            form->show();
            return form.get();
        };
        script.Other = [&](const std::string& key, const std::string& v) {
            QListWidget* list = form ? form->List : nullptr;
            if (key == "formats file")
                WriteFileBytes(path, v);
            else if (key == "select") {
                list->clearSelection();
                for (int i = 0; i < list->count(); ++i)
                    list->item(i)->setSelected(
                        (" | " + v + " | ").find(" | " + FromQ(list->item(i)->text()) + " | ") !=
                        std::string::npos);
            } else if (key == "buttons") {
                const std::string shown = {form->EditButton->isEnabled() ? 'E' : '-',
                                           form->DeleteButton->isEnabled() ? 'D' : '-',
                                           form->CopyButton->isEnabled() ? 'C' : '-',
                                           form->ExportButton->isEnabled() ? 'X' : '-'};
                EXPECT_EQ(shown, v);
            } else if (key == "export files") {
                std::istringstream names(v);
                for (std::string name; std::getline(names, name, ',');)
                    exportFiles.push_back(Trim(name));
            } else if (key == "import from") {
                form->AskImportFiles = [&, v](QWidget*, const QString&) {
                    return QStringList{ToQ(dir.File(v))};
                };
            } else if (key == "tick") {
                auto* merge = dynamic_cast<TFormatMergeForm*>(QApplication::activeModalWidget());
                for (int i = 0; i < merge->List->topLevelItemCount(); ++i)
                    merge->List->topLevelItem(i)->setCheckState(
                        0, std::to_string(i) == v ? Qt::Checked : Qt::Unchecked);
                EXPECT_EQ(merge->List->headerItem()->text(1), "File name");
            } else if (key == "current")
                EXPECT_EQ(form->CurrentName(), v);
            else if (key == "backup blocked")
                std::filesystem::create_directories(dir.File("Tourney Formats.bak/keep"));
            else if (key == "backup freed")
                std::filesystem::remove_all(dir.File("Tourney Formats.bak"));
            else if (key.rfind("file ", 0) == 0)
                EXPECT_EQ(ReadFileBytes(dir.File(key.substr(5))), Bytes(v));
            else
                return false;
            return true;
        };
        script.Play(nullptr, c);
    }
}

}  // namespace
}  // namespace kestrova::testing
