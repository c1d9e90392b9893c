// The format manager, its editor, the merge dialog and its question driven as
// the host would; each scenario ends with the formats file's bytes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <filesystem>

#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "formats/format_manager_form.h"
#include "formats/format_merge_form.h"
#include "kit/dialog_util.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using testing::FindChildByText;
using testing::ReadFileBytes;
using testing::WhenModal;
using testing::WriteFileBytes;

std::string Section(const std::string& name, const std::vector<std::string>& lines) {
    std::string out = "[" + name + "]\r\n";
    for (const auto& l : lines) out += l + "\r\n";
    return out + "\r\n";
}

template <class T>
void When(std::function<void(T*)> act, QWidget* besides = nullptr) {
    WhenModal([act](QWidget* w) {
        T* t = qobject_cast<T*>(w);
        ASSERT_NE(t, nullptr) << w->metaObject()->className();
        act(t);
    }, besides);
}

// Answers the next message box with the button of that caption, noting its text.
void AnswerBox(QString* text, const QString& button, QWidget* besides = nullptr) {
    When<QMessageBox>([text, button](QMessageBox* box) {
        if (text) *text = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button) return b->click();
        FAIL() << "no button " << button.toStdString();
    }, besides);
}

class FormatManagerTest : public ::testing::Test {
  protected:
    TTourneyState s;
    testing::FakeWorld world;
    testing::TempDir dir;
    std::string path = dir.File("Tourney Formats.ini");
    std::string bak = dir.File("Tourney Formats.bak");
    std::unique_ptr<TFormatManagerForm> form;

    void SetUp() override {
        world.Wire(s);
        s.Settings.FilesFolder = dir.Path();
    }
    void Open(const std::string& current = "") {
        form = std::make_unique<TFormatManagerForm>(s, path, current);
        form->show();
    }
    void Select(const QStringList& names) {
        form->List->clearSelection();
        for (int i = 0; i < form->List->count(); ++i)
            if (names.contains(form->List->item(i)->text())) form->List->item(i)->setSelected(true);
    }
    QString Names() const {
        QStringList n;
        for (int i = 0; i < form->List->count(); ++i) n << form->List->item(i)->text();
        return n.join("|");
    }
    std::string Buttons() const {
        return {form->EditButton->isEnabled() ? 'E' : '-', form->DeleteButton->isEnabled() ? 'D' : '-',
                form->CopyButton->isEnabled() ? 'C' : '-', form->ExportButton->isEnabled() ? 'X' : '-'};
    }
    void ImportFrom(const std::string& file) {
        form->AskImportFiles = [file](QWidget*, const QString&) { return QStringList{ToQ(file)}; };
    }
};

TEST_F(FormatManagerTest, DefaultWithAnotherExportsTwiceAndTheSecondCopyIsImported) {
    WriteFileBytes(path, "[Spades]\r\nElim=2\r\n");
    Open();
    EXPECT_EQ(form->windowTitle(), "Format Manager");
    EXPECT_EQ(Names(), "Default|Spades");
    EXPECT_EQ(Buttons(), "----");
    Select({"Default"});
    EXPECT_EQ(Buttons(), "--CX");
    Select({"Default", "Spades"});
    EXPECT_EQ(Buttons(), "---X");

    const std::string out = dir.File("mine.kvbf");
    int asked = 0;
    form->AskExportFile = [&](QWidget*, const QString& folder) {
        EXPECT_EQ(folder.toStdString() + "/", dir.Path());
        return ++asked == 3 ? QString() : ToQ(out);
    };
    form->ExportButton->click();
    const std::string once = Section("Default", DefaultFormatLines()) + Section("Spades", {"Elim=2"});
    EXPECT_EQ(ReadFileBytes(out), once);
    // The file exists now: Cancel goes back to the file dialog, which is cancelled.
    QString question;
    AnswerBox(&question, "Cancel");
    form->ExportButton->click();
    EXPECT_EQ(question, "The file already exists, do you want to add to it or overwrite it?");
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(ReadFileBytes(out), once);
    asked = 0;
    AnswerBox(nullptr, "Add");
    form->ExportButton->click();
    EXPECT_EQ(ReadFileBytes(out), once + once);

    // Import only the second copy of Spades: it asks, and takes the proposal.
    ImportFrom(out);
    QStringList rows;
    QString heading, proposal;
    When<TFormatMergeForm>([&](TFormatMergeForm* merge) {
        EXPECT_EQ(merge->windowTitle(), "Tarvex Kestrova Format Merger");
        EXPECT_EQ(merge->List->headerItem()->text(1), "File name");
        for (int i = 0; i < merge->List->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = merge->List->topLevelItem(i);
            rows << item->text(0) + "/" + item->text(1);
            item->setCheckState(0, Qt::Unchecked);
        }
        EXPECT_FALSE(merge->AddButton->isEnabled());  // nothing ticked
        merge->List->topLevelItem(3)->setCheckState(0, Qt::Checked);
        EXPECT_TRUE(merge->AddButton->isEnabled());
        // Cancel in the question keeps the merge dialog; the second Add renames.
        When<TFormatExistsForm>([](TFormatExistsForm* q) { q->CancelButton->click(); }, merge);
        merge->AddButton->click();
        EXPECT_TRUE(merge->isVisible());
        When<TFormatExistsForm>([&](TFormatExistsForm* q) {
            heading = q->Heading->text();
            proposal = q->NameEdit->text();
            EXPECT_TRUE(q->RenameButton->isDefault());
            q->RenameButton->click();
        }, merge);
        merge->AddButton->click();
    });
    form->ImportButton->click();
    EXPECT_EQ(rows, (QStringList{"Default/mine", "Spades/mine", "Default/mine", "Spades/mine"}));
    EXPECT_EQ(heading, "\"Spades\" already exists!");
    EXPECT_EQ(proposal, "Spades (2)");
    EXPECT_EQ(Names(), "Default|Spades|Spades (2)");
    form->OkButton->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ReadFileBytes(path), Section("Spades", {"Elim=2"}) + Section("Spades (2)", {"Elim=2"}));
    EXPECT_EQ(ReadFileBytes(bak), ReadFileBytes(path));  // the merge had written it already
}

TEST_F(FormatManagerTest, CopyAddWithRefusedNamesRenameAndDelete) {
    const std::string before = "[Spades]\r\nElim=2\r\n[Hearts]\r\n";
    WriteFileBytes(path, before);
    Open("spades");
    Select({"Default"});
    form->CopyButton->click();
    EXPECT_EQ(Names(), "Copy of Default|Default|Hearts|Spades");
    EXPECT_EQ(form->List->currentItem()->text(), "Copy of Default");
    EXPECT_EQ(Buttons(), "EDCX");  // a normal format
    std::vector<QString> refusals;
    When<TFormatEditForm>([&](TFormatEditForm* e) {
        EXPECT_EQ(e->windowTitle(), "Format Editor");
        EXPECT_EQ(e->NameEdit->text(), "");
        EXPECT_EQ(e->NameEdit->maxLength(), 63);
        for (const char* name : {"default", ""}) {
            e->NameEdit->setText(name);
            refusals.emplace_back();
            AnswerBox(&refusals.back(), "OK", e);
            e->OkButton->click();
            EXPECT_TRUE(e->isVisible());
        }
        e->NameEdit->setText("Bridge");
        e->PointsCombo->setCurrentIndex(5);
        emit e->PointsCombo->activated(5);
        e->OkButton->click();
    });
    form->AddButton->click();
    EXPECT_EQ(refusals, (std::vector<QString>{"A format of that name already exists, please select another name",
                                              "Please enter a name for the format"}));
    // Renamed in other letter case: accepted, and the current name follows.
    Select({"Spades"});
    When<TFormatEditForm>([&](TFormatEditForm* e) {
        e->NameEdit->setText("SPADES");
        e->BootSpin->setValue(9);
        e->OkButton->click();
    });
    form->EditButton->click();
    EXPECT_EQ(form->CurrentName(), "SPADES");
    Select({"Hearts", "Copy of Default"});
    form->DeleteButton->click();
    EXPECT_EQ(Names(), "Bridge|Default|SPADES");
    form->OkButton->click();
    EXPECT_EQ(ReadFileBytes(path), Section("Bridge", {"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=2"}) +
                                       Section("SPADES", {"Elim=2", "Boot time=9"}));
    EXPECT_EQ(ReadFileBytes(bak), before);
    // Deleting the current format empties the name the window selects; Cancel writes nothing.
    Open("SPADES");
    Select({"SPADES"});
    form->DeleteButton->click();
    EXPECT_EQ(form->CurrentName(), "");
    const std::string written = ReadFileBytes(path);
    form->CancelButton->click();
    EXPECT_EQ(ReadFileBytes(path), written);
}

TEST_F(FormatManagerTest, AFileThatCannotBeWrittenIsToldAndTheListStays) {
    const std::string before = "[A]\r\nElim=2\r\n";
    WriteFileBytes(path, before);
    std::filesystem::create_directories(bak + "/keep");  // the backup cannot be made
    Open();
    Select({"A"});
    form->CopyButton->click();
    QString error;
    AnswerBox(&error, "OK");
    form->OkButton->click();
    EXPECT_TRUE(error.contains("Tourney Formats.bak")) << error.toStdString();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Names(), "A|Copy of A|Default");
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_TRUE(std::filesystem::is_directory(bak + "/keep"));
    // Freed, the same OK goes through.
    std::filesystem::remove_all(bak);
    form->OkButton->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(ReadFileBytes(path), Section("A", {"Elim=2"}) + Section("Copy of A", {"Elim=2"}));
}

}  // namespace
}  // namespace kestrova
