// The points commands through the main window's real menus and dialogs:
// "Edit and send points..." with a stand-in mail program, the "Save as"
// file types, "Match points/Other...", "Player points..."
// and the two points panels.
#include <sys/stat.h>

#include <QLineEdit>

#include "engine/match_points_form.h"
#include "engine/player_points_form.h"
#include "engine/points_summary_form.h"
#include "engine/report_play.h"
#include "engine/reports.h"
#include "records/event_log.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

class PointsCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        Make({.Pairs = false});
        form->show();
        path_ = qgetenv("PATH");
    }
    void TearDown() override { qputenv("PATH", path_); }
    // Single, 8 entries played by the engine (P001 wins, P005 second).
    void PlaySingle8() {
        std::vector<std::string> names;
        for (int i = 1; i <= 8; ++i)
            names.push_back("P00" + std::to_string(i));
        PlayKnownTourney(s(), world, TElimFormat::Single, names, 0);
        s().MsgParams.StartTime = "8:00 PM ET";
        dialogs->Messages.clear();
        dialogs->Asked.clear();
    }
    // A stand-in xdg-email in its own folder, first on PATH: it records its
    // arguments, one a line, and the attachment's bytes.
    std::string InstallMailStandIn(int exitCode) {
        const std::string bin = dir.File("bin");
        ::mkdir(bin.c_str(), 0755);
        const std::string script = bin + "/xdg-email";
        WriteFileBytes(script,
                       "#!/bin/sh\n"
                       "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                           dir.File("args.txt") +
                           "\"\n"
                           "cat \"$5\" > \"" +
                           dir.File("attached.txt") +
                           "\"\n"
                           "exit " +
                           std::to_string(exitCode) + "\n");
        ::chmod(script.c_str(), 0755);
        qputenv("PATH", QByteArray::fromStdString(bin) + ":" + path_);
        return bin;
    }
    FakeWorld world;  // only its clock drives PlayKnownTourney
    QByteArray path_;
};

TEST_F(PointsCommandsTest, EmailHandsTheFileWithItsSubjectToTheMailProgram) {
    PlaySingle8();
    InstallMailStandIn(0);
    std::string shown;
    WhenModal([&](QWidget* w) {
        auto* summary = qobject_cast<TPointsSummaryForm*>(w);
        ASSERT_TRUE(summary);
        EXPECT_EQ(w->windowTitle(), "Points Summary");
        summary->Text()->appendPlainText("edited by the host");
        shown = summary->FileText();
        ClickButton(w, "Copy");
        ClickButton(w, "E-mail");
        ClickButton(w, "Close");
    });
    form->Menus().EditPoints->trigger();
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.find("START POINTS\r\n7 P003\r\n7 P007\r\n14 P005\r\n21 P001\r\n"),
              std::string::npos);
    EXPECT_NE(shown.find("\r\nedited by the host"), std::string::npos);
    EXPECT_EQ(lobby->Clipboard.back(), shown);
    const std::string attached = dir.File("t.txt");
    EXPECT_EQ(ReadFileBytes(dir.File("args.txt")),
              "--utf8\n--subject\nResults for Default Tournament at 8:00 PM ET on 05 Dec 26\n"
              "--attach\n" +
                  attached + "\n");
    EXPECT_EQ(ReadFileBytes(dir.File("attached.txt")), shown);
    EXPECT_EQ(ReadFileBytes(attached), shown);
    EXPECT_TRUE(dialogs->Messages.empty());
    EXPECT_NE(
        ReadFileBytes(LogPathFor(s().TourneyPath)).find("Menu: File/Edit and send points\r\n"),
        std::string::npos);
}

TEST_F(PointsCommandsTest, WithoutAMailProgramTheHostIsToldAndTheFileStays) {
    PlaySingle8();
    for (int exitCode : {-1, 3}) {  // none on PATH; one that finds no mail client
        if (exitCode < 0)
            qputenv("PATH", QByteArray::fromStdString(dir.Path() + "empty"));
        else
            InstallMailStandIn(exitCode);
        dialogs->Messages.clear();
        WhenModal([&](QWidget* w) {
            ClickButton(w, "E-mail");
            ClickButton(w, "Close");
        });
        form->Menus().EditPoints->trigger();
        ASSERT_EQ(dialogs->Messages.size(), 1u) << exitCode;
        EXPECT_EQ(dialogs->Messages[0],
                  "No mail program could be started. The points were written to this file, "
                  "which you can attach to a message yourself:\n" +
                      dir.File("t.txt"));
        EXPECT_NE(ReadFileBytes(dir.File("t.txt")).find("START POINTS\r\n"), std::string::npos);
    }
}

TEST_F(PointsCommandsTest, SaveWritesTheEditedTextAndNothingShowsBeforeTheStart) {
    PlaySingle8();
    const std::string saved = dir.File("sent.txt");
    WhenModal([&](QWidget* w) {
        auto* summary = qobject_cast<TPointsSummaryForm*>(w);
        summary->SetChooseFile([&](QWidget*, const QString& start) {
            EXPECT_EQ(start.toStdString(), dir.File("t.txt"));
            return QString::fromStdString(saved);
        });
        summary->Text()->setPlainText("one\ntwo");
        ClickButton(w, "Save");
        ClickButton(w, "Close");
    });
    form->Menus().EditPoints->trigger();
    EXPECT_EQ(ReadFileBytes(saved), "one\r\ntwo");

    s().Started = false;
    bool opened = false;
    WhenModal(
        [&](QWidget* w) {
            opened = true;
            w->close();
        },
        nullptr, 20);
    form->Menus().EditPoints->trigger();
    // Let the watcher run out of tries here, not in a later test.
    for (int i = 0; i < 40; ++i)
        QApplication::processEvents();
    EXPECT_FALSE(opened);
    EXPECT_EQ(
        dialogs->Messages,
        std::vector<std::string>{"Points cannot be generated until the tourney has been started"});
}

TEST_F(PointsCommandsTest, SaveAsWritesTheChosenFileType) {
    PlaySingle8();
    struct Case {
        int Type;
        const char* File;
        const char* Starts;
    };
    const Case cases[] = {{1, "r.txt", "Tarvex's Kestrova Tool Version "},
                          {2, "copy.kvb", "Morlun's Tourney File"},
                          {3, "x.txt", "KVB Version "},
                          {4, "x.csv", "KVB Version,"}};
    for (const Case& c : cases) {
        form->SetSaveAsDialog([&](QWidget*, const QString& start) {
            EXPECT_EQ(start.toStdString(), s().TourneyPath);
            return std::make_optional(
                std::make_pair(QString::fromStdString(dir.File(c.File)), c.Type));
        });
        form->Menus().SaveAs->trigger();
        EXPECT_EQ(ReadFileBytes(dir.File(c.File)).rfind(c.Starts, 0), 0u) << c.Type;
    }
    EXPECT_EQ(s().TourneyPath, dir.File("copy.kvb"));  // only the tournament type moves it
}

TEST_F(PointsCommandsTest, MatchPointsOtherSetsOneTier) {
    form->Menus().MatchPointsItems[0]->trigger();  // every tier 1 point
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TMatchPointsForm*>(w);
        ASSERT_TRUE(f);
        EXPECT_EQ(w->windowTitle(), "Match Points Arrangement");
        EXPECT_TRUE(f->SameBox()->isChecked());
        EXPECT_FALSE(f->TierList()->isEnabled());
        EXPECT_FALSE(f->Field(6)->isEnabled());  // Single: six round fields
        QTest::mouseClick(f->ElimButton(TElimFormat::Double), Qt::LeftButton);
        EXPECT_TRUE(f->Field(9)->isEnabled());
        f->SameBox()->click();
        EXPECT_TRUE(f->TierList()->isEnabled());
        f->TierList()->setCurrentRow(1);
        EXPECT_FALSE(f->Field(7)->isEnabled());  // 10 - (4 - 1)
        EXPECT_TRUE(f->Field(13)->isEnabled());
        f->Field(0)->selectAll();
        QTest::keyClicks(f->Field(0), "4");
        QTest::keyClick(f->Field(0), Qt::Key_Tab);
        ClickButton(w, "OK");
    });
    form->Menus().MatchPointsItems[MatchPointsOther]->trigger();
    EXPECT_TRUE(form->Menus().MatchPointsItems[MatchPointsOther]->isChecked());
    EXPECT_EQ(s().MatchPointsTiers[1][0], 4);
    EXPECT_EQ(s().MatchPointsTiers[0][0], 1);
    EXPECT_EQ(s().ElimFormat, TElimFormat::Double);
}

TEST_F(PointsCommandsTest, PlayerPointsDialogStoresAndThePanelsFollow) {
    PlaySingle8();
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TPlayerPointsForm*>(w);
        ASSERT_TRUE(f);
        EXPECT_EQ(w->windowTitle(), "Point Allocations for Players");
        QTableWidget* grid = f->Grid();
        EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Win");
        EXPECT_EQ(grid->verticalHeaderItem(13)->text(), "Semis:");
        // The semi-final win (row "Semis:", column "Win"): digits only.
        grid->setCurrentCell(13, 0);
        grid->editItem(grid->item(13, 0));
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        if (!editor) {
            ADD_FAILURE() << "no cell editor";
            w->close();
            return;
        }
        editor->selectAll();
        QTest::keyClicks(editor, "-1x2");  // the sign and the letter are refused
        EXPECT_EQ(editor->text(), "12");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();  // the delegate commits on the next turn
        EXPECT_EQ(grid->item(13, 0)->text(), "12");
        QTest::mouseClick(f->ExactlyButton(), Qt::LeftButton);
        f->Spin("SecondSpin")->setValue(3);
        EXPECT_EQ(f->Spin("FirstSpin")->maximum(), 200);
        EXPECT_EQ(f->Spin("ThirdSpin")->maximum(), 100);
        ClickButton(w, "OK");
    });
    form->Menus().PlayerPoints->trigger();
    EXPECT_EQ(s().WinPoints[13], 12);
    EXPECT_EQ(s().SecondPlacePoints, -3);
    // P1 2+12+17, P5 exactly 3, P3 and P7 2+5.
    QTreeWidget* points = form->Docks().List(TStatusDocks::PlayerPoints);
    ASSERT_EQ(points->topLevelItemCount(), 4);
    EXPECT_EQ(points->topLevelItem(0)->text(0), "P005");
    EXPECT_EQ(points->topLevelItem(0)->text(1), "3");
    EXPECT_EQ(points->topLevelItem(3)->text(0), "P001");
    EXPECT_EQ(points->topLevelItem(3)->text(1), "31");

    form->Menus().DoublePoints->trigger();
    EXPECT_TRUE(s().DoublePlayerPoints);
    EXPECT_EQ(points->topLevelItem(3)->text(1), "62");
    EXPECT_EQ(form->Docks().List(TStatusDocks::HadBye)->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace kestrova::testing
