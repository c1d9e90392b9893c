// The main window end to end: sign-up through the add strip, Close, a double
// tournament played to its grand final by clicking the real win buttons, with
// a forced bye, undo and redo, a withdrawn win and a removal from the pop-up.
#include "engine/status.h"
#include "engine/tourney_file.h"
#include "fakes/state_dump.h"
#include "session/new_tourney_form.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

class KestrovaFormTest : public WindowTest {
  protected:
    void SetUp() override {
        Make();
        s().RecentPlayers = {"Quince", "Quartz", "Rowan"};
        form->show();
    }
    TBracketPanel* Panel(TBracketKind b) { return form->Panel(b); }
    // A round played, or else the lowest lone entry given its forced bye.
    bool PlayOrGiveABye() {
        if (PlayOneRound()) return true;
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
};

TEST_F(KestrovaFormTest, SignUpCloseAndPlayADoubleTournamentToTheGrandFinal) {
    form->Menus().Double->trigger();
    ASSERT_EQ(s().ElimFormat, TElimFormat::Double);
    ASSERT_NE(Panel(TBracketKind::OneLoss), nullptr);
    EXPECT_EQ(Panel(TBracketKind::TwoLoss), nullptr);

    // Fourteen by Enter, one by the button, one picked from the suggestions.
    for (int i = 0; i < 14; ++i)
        Add(QString("Player%1").arg(i));
    QTest::keyClicks(form->AddFind()->AddEdit(), "Button");
    QTest::mouseClick(form->AddFind()->AddButton(), Qt::LeftButton);
    QTest::keyClicks(form->AddFind()->AddEdit(), "qu");
    QTest::keyClick(form->AddFind()->AddEdit(), Qt::Key_Down);
    TSuggestList* list = form->AddFind()->Suggestions();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->List()->count(), 2);
    QListWidget* rows = list->List();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                      rows->visualItemRect(rows->item(1)).center());
    EXPECT_FALSE(list->isVisible());
    ASSERT_EQ(s().Players.size(), 16u);
    EXPECT_EQ(s().Players.back()->Name, "Quartz");
    EXPECT_EQ(form->AddFind()->AddCount()->text(), "Players: 16/16");
    TTableBox* first = Panel(TBracketKind::Winners)->Box(0);
    EXPECT_EQ(first->Seat(0).Name->text(), "Player0");
    EXPECT_EQ(first->Seat(1).Name->text(), "Player1");
    EXPECT_EQ(first->TableNo()->text(), QString::number(s().Winners[0].Tables[0].TableNo));

    form->Menus().TbClose->trigger();
    ASSERT_TRUE(s().SignupClosed);
    EXPECT_TRUE(form->AddFind()->FindEdit()->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Menus().Double->isEnabled());

    // A wrong result, withdrawn by releasing the button.
    ClickWin(TBracketKind::Winners, 0, 0, 1);
    EXPECT_EQ(s().Winners[0].Tables[0].Result, 2);
    EXPECT_TRUE(first->Seat(1).Win->isChecked());
    EXPECT_EQ(first->Seat(1).Next->text(), QString::number(s().Players[1]->Tables[1]->TableNo));
    ClickWin(TBracketKind::Winners, 0, 0, 1);
    EXPECT_EQ(s().Winners[0].Tables[0].Result, 0);
    EXPECT_FALSE(first->Seat(1).Win->isChecked());
    EXPECT_EQ(first->Seat(1).Next->text(), "");

    // Undo and redo from the find strip's buttons.
    ClickWin(TBracketKind::Winners, 0, 0, 0);
    const std::string after = DumpState(s());
    ASSERT_TRUE(form->AddFind()->UndoButton()->isEnabled());
    QTest::mouseClick(form->AddFind()->UndoButton(), Qt::LeftButton);
    EXPECT_EQ(s().Winners[0].Tables[0].Result, 0);
    EXPECT_FALSE(first->Seat(0).Win->isChecked());
    ASSERT_TRUE(form->Menus().Redo->isEnabled());
    QTest::mouseClick(form->AddFind()->RedoButton(), Qt::LeftButton);
    EXPECT_EQ(DumpState(s()), after);
    EXPECT_TRUE(first->Seat(0).Win->isChecked());

    // The copy button announces the entry's next table.
    const size_t posted = announcer->Postings.size();
    QTest::mouseClick(first->Seat(0).Copy, Qt::LeftButton);
    EXPECT_EQ(announcer->Postings.size(), posted + 1);

    // A forced bye: the winner of table 0 waits alone in round 2; the host
    // gives the bye and the question comes through the dialogs port.
    TPlayer* waiting = s().Players[0].get();
    TTableRec* next = waiting->Tables[1];
    ASSERT_NE(next, nullptr);
    ASSERT_FALSE(next->Full());
    dialogs->AnswerYes();
    ClickWin(TBracketKind::Winners, 1, TableIndexOf(*next), SeatOf(*next, waiting));
    ASSERT_FALSE(dialogs->Asked.empty());
    EXPECT_NE(dialogs->Asked.back().find("are you sure you want to assign a bye to Player0"),
              std::string::npos);
    EXPECT_EQ(next->Winner(), waiting);

    // A player removed from the pop-up menu.
    TTableBox* box = Panel(TBracketKind::Winners)->Box(1);
    Panel(TBracketKind::Winners)->Tabs()->setCurrentIndex(0);
    const std::string leaving = s().Winners[0].Tables[1].Seat[1]->Name;
    emit box->Seat(1).Name->menuRequested(QPoint());
    ASSERT_TRUE(form->Menus().PmRemove->isEnabled());
    dialogs->AnswerYes();
    form->Menus().PmRemove->trigger();
    // The engine may fill the gap from the last table; the box shows what it holds now.
    const TPlayer* now = s().Winners[0].Tables[1].Seat[1];
    EXPECT_EQ(box->Seat(1).Name->text().toStdString(), now ? now->Name : "");
    for (int t = 0; t < s().Winners[0].TableCount; ++t)
        for (const TPlayer* p : s().Winners[0].Tables[t].Seat)
            EXPECT_TRUE(!p || p->Name != leaving);
    EXPECT_EQ(CheckInvariants(s()), "");

    int rounds = 0;
    while (PlayOrGiveABye() && rounds < 40)
        ++rounds;
    EXPECT_EQ(CheckInvariants(s()), "");
    const TTableRec& gf = s().Winners[s().GrandFinalRound].Tables[0];
    EXPECT_TRUE(gf.Full());
    EXPECT_NE(gf.Result, 0);
    EXPECT_EQ(Panel(TBracketKind::Winners)
                  ->Tabs()
                  ->tabText(Panel(TBracketKind::Winners)->Tabs()->count() - 1),
              "GF");
    EXPECT_EQ(form->AddFind()->FindCount()->text().toStdString(), CountLabelText(s()));

    // The file on disk, saved after the last click, reads back to what the host sees.
    TTourneyState reread;
    FakeWorld readWorld;
    readWorld.Wire(reread);
    reread.LogToFile = false;
    ASSERT_TRUE(ReadTourney(reread, s().TourneyPath));
    EXPECT_EQ(CheckInvariants(reread), "");
    EXPECT_EQ(reread.Winners[reread.GrandFinalRound].Tables[0].Result, gf.Result);
}

TEST_F(KestrovaFormTest, CaptionClockPanelGeometryAndTheFindBox) {
    // The designed 290 by 300 at least, more where the strips' labels need it.
    EXPECT_GE(form->minimumWidth(), 290);
    EXPECT_GE(form->minimumHeight(), 300);
    EXPECT_EQ(form->minimumSize(), form->minimumSize().expandedTo(form->minimumSizeHint()));
    clock->Time = EncodeDateTime(2026, 12, 5, 20, 7, 0);
    form->TickClock();
    EXPECT_EQ(form->ClockPanel(0)->text(), " Local: 8:07 PM");
    // At least the designed 90 pixels, and wide enough for the whole text.
    EXPECT_GE(form->ClockPanel(0)->width(), 90);
    EXPECT_GE(form->ClockPanel(0)->width(),
              form->ClockPanel(0)->fontMetrics().horizontalAdvance(form->ClockPanel(0)->text()));
    form->TitleChanged("Tarvex Kestrova - Friday");
    EXPECT_EQ(form->windowTitle(), "Tarvex Kestrova - Friday");
    EXPECT_FALSE(form->Menus().InternetLink->menuAction()->isVisible());
    EXPECT_TRUE(form->Menus().EditPoints->isEnabled());
    EXPECT_EQ(form->Menus().Undo->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));

    form->Menus().Double->trigger();
    for (int i = 0; i < 8; ++i)
        Add(QString("Finder%1").arg(i));
    Add("Target");
    form->Menus().Close->trigger();
    QTest::keyClicks(form->AddFind()->FindEdit(), "targ");
    EXPECT_EQ(s().FindText, "TARG");
    EXPECT_FALSE(form->AddFind()->StatusEdit()->text().isEmpty());
    TPlayer* target = s().Players.back().get();
    TTableRec* t = target->CurrentTable();
    TTableBox* box = Panel(TBracketKind::Winners)->Box(TableIndexOf(*t));
    EXPECT_EQ(box->Seat(SeatOf(*t, target)).Name->palette().color(QPalette::Window),
              QColor(128, 255, 128));
}

// File, "&New...": the dialog's choices make the tournament, its file and its caption.
TEST_F(KestrovaFormTest, ANewTournamentIsMadeThroughTheDialog) {
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
