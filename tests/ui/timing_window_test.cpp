// The real window with a fixed clock: a 15-minute reminder box (with a tick
// behind it), the blink and the overdue row, a boot timed on its button and
// in "Active Boots" up to its time-out box (no lobby room chosen), the table and boot pop-ups,
// and a finished table in navy. Checks what the host sees.
#include <QClipboard>
#include <QMessageBox>
#include <QTreeWidget>

#include "ui/qt_ports.h"
#include "ui/timing_host.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

class TimingWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        // The system's message boxes and clipboard, as the host meets them.
        Make({}, [this](TFormPorts& ports) {
            auto d = std::make_unique<TQtDialogs>();
            qtDialogs = d.get();
            ports.Dialogs = std::move(d);
            ports.Lobby = std::make_unique<TQtLobbyPort>();
        });
        qtDialogs->SetParent(form.get());
        s().Settings.ConfirmNotifyFilter = confirm_bits::CloseSignups;
        s().SettingsLoaded = true;
        m().Single->trigger();
        for (int i = 1; i <= 16; ++i) {
            form->AddFind()->AddEdit()->setText(QString("Seat%1").arg(i, 2, 10, QChar('0')));
            emit form->AddFind()->AddEdit()->returnPressed();
        }
        m().Close->trigger();
        m().AllStart->trigger();
        s().MsgParams.TimeLimits.fill(45);
        s().Messages[static_cast<size_t>(TMessageKind::mkTimeWarning)] = "%p, %x minutes left";
        start = s().Winners[0].Tables[0].StartTime;
        // Only table 0 is near its reminder; the others started later.
        for (int k = 1; k < s().Winners[0].TableCount; ++k)
            s().Winners[0].Tables[k].StartTime = start + 1000 / SecondsPerDay;
    }
    void At(double seconds) { clock->Time = start + seconds / SecondsPerDay; }
    void Tick() { form->Timing().Tick(); }
    QTreeWidget* List(TStatusDocks::TPanel p) { return form->Docks().List(p); }

    TQtDialogs* qtDialogs = nullptr;
    TDateTime start = 0;
};

TEST_F(TimingWindowTest, ReminderBlinkOverdueBootAndTheirMenus) {
    EXPECT_FALSE(form->Timing().Timer().isActive());
    At(0);
    form->show();  // the first show starts the timer and ticks once
    EXPECT_TRUE(form->Timing().Timer().isActive());
    EXPECT_EQ(form->Timing().Timer().interval(), 1000);
    QLabel* time = Box(0)->TimeLabel();
    EXPECT_EQ(time->text(), "0:00");
    EXPECT_EQ(time->toolTip(), "Started at 8:00 PM");
    EXPECT_EQ(time->styleSheet(), "color: maroon");

    // The 15-minute reminder: clipboard, then the box; a tick behind it asks nothing.
    s().Settings.RemindAt15 = true;
    At(1800);
    QString shown;
    bool secondBox = true;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        At(1861);
        Tick();
        secondBox = QApplication::activeModalWidget() != w;
        EXPECT_EQ(time->text(), "0:31");  // the clock moved on behind the box
        box->button(QMessageBox::Ok)->click();
    });
    Tick();
    const QString tableNo = QString::number(s().Winners[0].Tables[0].TableNo);
    EXPECT_EQ(shown, "Table " + tableNo +
                         " in round 1 has 15 minutes left. You may Ctrl+V into the table.");
    EXPECT_FALSE(secondBox);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Seat01, 15 minutes left");

    // Overdue: the box blinks on odd seconds and the dock lists it.
    At(2701);
    Tick();
    EXPECT_TRUE(Box(0)->Blinking());
    ASSERT_EQ(List(TStatusDocks::Overdue)->topLevelItemCount(), 1);
    QTreeWidgetItem* row = List(TStatusDocks::Overdue)->topLevelItem(0);
    EXPECT_EQ(row->text(0), tableNo);
    EXPECT_EQ(row->text(1), "1");
    EXPECT_EQ(row->text(2), "0:45");
    At(2702);
    Tick();
    EXPECT_FALSE(Box(0)->Blinking());
    EXPECT_FALSE(Box(1)->Blinking());

    // The remaining-time display from the hosting options.
    form->Menus().TableMenu->hide();
    QAction* remaining = nullptr;
    for (QAction* a : form->findChildren<QAction*>())
        if (a->text() == "&Display match time remaining") remaining = a;
    ASSERT_NE(remaining, nullptr);
    ASSERT_TRUE(remaining->isEnabled());
    remaining->trigger();
    EXPECT_TRUE(s().Settings.DisplayMatchTimeRemaining);
    EXPECT_EQ(Box(1)->TimeLabel()->text(), "0:17");  // 1702 s of 45 minutes gone

    // The table pop-up: both timer items for a running table with a limit.
    auto* timeLabel = static_cast<TClickLabel*>(Box(0)->TimeLabel());
    emit timeLabel->menuRequested(QPoint());
    EXPECT_TRUE(form->Menus().TmResetTimer->isEnabled());
    EXPECT_TRUE(form->Menus().TmCopyTime->isEnabled());
    form->Menus().TmCopyTime->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Seat01, 0 minutes left");

    // A boot: the running caption, "Active Boots", then the time-out question.
    QToolButton* boot = Box(1)->Seat(0).Boot;
    const QString table1 = QString::number(s().Winners[0].Tables[1].TableNo);
    At(3000);
    QTest::mouseClick(boot, Qt::LeftButton);
    ASSERT_EQ(s().ActiveBoots.size(), 1u);
    EXPECT_EQ(announcer->Postings.back().Kind, TMessageKind::mkBoot);
    At(3420);
    Tick();
    EXPECT_EQ(boot->text(), "7:00");
    EXPECT_TRUE(boot->icon().isNull());
    ASSERT_EQ(List(TStatusDocks::ActiveBoots)->topLevelItemCount(), 1);
    row = List(TStatusDocks::ActiveBoots)->topLevelItem(0);
    EXPECT_EQ(row->text(0), "Seat03");
    EXPECT_EQ(row->text(1), "7:00");
    EXPECT_EQ(row->text(2), table1);
    QString timedOut;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        timedOut = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    At(3421);
    Tick();
    EXPECT_EQ(timedOut,
              "Seat03 has timed out at table " + table1 + ", you may inform the opp Seat04");
    EXPECT_EQ(announcer->Postings.back().Kind, TMessageKind::mkBootTimedOut);
    EXPECT_EQ(announcer->Postings.back().Params.PlayerName, "Seat04");
    EXPECT_EQ(boot->text(), "1");
    EXPECT_FALSE(boot->icon().isNull());
    EXPECT_EQ(Box(1)->Seat(0).Name->palette().color(QPalette::Window), QColor(255, 222, 185));
    Tick();
    EXPECT_EQ(List(TStatusDocks::ActiveBoots)->topLevelItemCount(), 0);

    // The boot pop-up of that seat, then "Cancel booted state".
    emit boot->customContextMenuRequested(QPoint(2, 2));
    QMenu* bootMenu = form->Menus().BootMenu;
    QAction* cancelBooted = FindChildByText<QAction>(bootMenu, "Cancel booted state");
    ASSERT_NE(cancelBooted, nullptr);
    EXPECT_TRUE(cancelBooted->isEnabled());
    EXPECT_FALSE(FindChildByText<QAction>(bootMenu, "Silently cancel timing") &&
                 FindChildByText<QAction>(bootMenu, "Silently cancel timing")->isEnabled());
    bootMenu->hide();
    cancelBooted->trigger();
    EXPECT_FALSE(s().Players[2]->BootedOut);
    EXPECT_NE(Box(1)->Seat(0).Name->palette().color(QPalette::Window), QColor(255, 222, 185));

    // Table 0 finished: its length in navy, no blink, and the list empties.
    At(3601);
    QTest::mouseClick(Box(0)->Seat(0).Win, Qt::LeftButton);
    Tick();
    EXPECT_EQ(time->text(), "1:00");
    EXPECT_EQ(time->styleSheet(), "color: navy");
    EXPECT_FALSE(Box(0)->Blinking());
    EXPECT_EQ(List(TStatusDocks::Overdue)->topLevelItemCount(), 0);
    // The later tables run over in their turn.
    At(3702);
    Tick();
    EXPECT_EQ(List(TStatusDocks::Overdue)->topLevelItemCount(), s().Winners[0].TableCount - 1);
    EXPECT_TRUE(Box(2)->Blinking() == false && Box(0)->Blinking() == false);
    At(3703);
    Tick();
    EXPECT_TRUE(Box(2)->Blinking());
}

}  // namespace
}  // namespace kestrova::testing
