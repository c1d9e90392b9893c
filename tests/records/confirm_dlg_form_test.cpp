#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "model/tourney_state.h"
#include "fakes/fake_ports.h"
#include "records/confirm.h"
#include "records/confirm_dlg_form.h"
#include "records/notify_dlg_form.h"
#include "kit/dialog_util.h"
#include "ui/modal_helper.h"
#include "ui/qt_ports.h"

namespace kestrova {
namespace {

using testing::FindChildByText;
using testing::WhenModal;

TEST(ConfirmDlgForm, LooksAsTheHostExpects) {
    TConfirmDlgForm form("Are you sure you want to disqualify \"Bob\"?");
    form.show();
    EXPECT_EQ(form.windowTitle(), "Confirmation");
    EXPECT_EQ(form.MessageLabel->text(), "Are you sure you want to disqualify \"Bob\"?");
    EXPECT_TRUE(form.MessageLabel->wordWrap());
    EXPECT_TRUE(form.MessageLabel->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(form.YesButton->text(), "&Yes");
    EXPECT_EQ(form.NoButton->text(), "&No");
    EXPECT_TRUE(form.YesButton->isDefault());
    EXPECT_EQ(form.DontAskBox->text(), "Don't ask me again");
    EXPECT_FALSE(form.DontAskBox->isChecked());
    // Bottom left: left of the buttons and below the message.
    EXPECT_LT(form.DontAskBox->x(), form.YesButton->x());
    EXPECT_GT(form.DontAskBox->y(), form.MessageLabel->y());
}

TEST(ConfirmDlgForm, AnswersThroughTheDialogsPort) {
    TQtDialogs dialogs;
    // Enter answers Yes (the default button).
    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    TConfirmAnswer a = dialogs.ConfirmDlg("Close?");
    EXPECT_TRUE(a.Yes);
    EXPECT_FALSE(a.DontAskAgain);

    // Esc answers No, and the box is reported even then.
    WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TConfirmDlgForm*>(w);
        ASSERT_NE(form, nullptr);
        QTest::mouseClick(form->DontAskBox, Qt::LeftButton);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    a = dialogs.ConfirmDlg("Close?");
    EXPECT_FALSE(a.Yes);
    EXPECT_TRUE(a.DontAskAgain);
}

TEST(ConfirmDlgForm, TickedBoxSuppressesTheQuestionForGood) {
    TTourneyState s;
    TQtDialogs dialogs;
    testing::FakeSettingsStore store;
    s.Ports.Dialogs = &dialogs;
    s.Ports.Settings = &store;
    s.SettingsLoaded = true;
    WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TConfirmDlgForm*>(w);
        ASSERT_NE(form, nullptr);
        QTest::mouseClick(form->DontAskBox, Qt::LeftButton);
        QTest::mouseClick(form->YesButton, Qt::LeftButton);
    });
    EXPECT_TRUE(AskConfirm(s, confirm_bits::CloseSignups, "Close?"));
    EXPECT_EQ(s.Settings.ConfirmNotifyFilter, confirm_bits::CloseSignups);
    EXPECT_EQ(store.Saves, 1);
    // No dialog now: a modal one would block this test.
    EXPECT_TRUE(AskConfirm(s, confirm_bits::CloseSignups, "Close?"));
}

TEST(NotifyDlgForm, ShowsTheNoticeAndReportsItsBox) {
    TQtDialogs dialogs;
    QString title, ok, box;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TNotifyDlgForm*>(w);
        ASSERT_NE(form, nullptr);
        title = form->windowTitle();
        ok = form->OkButton->text();
        box = form->DontTellBox->text();
        EXPECT_TRUE(form->OkButton->isDefault());
        EXPECT_EQ(form->MessageLabel->text(), "Player \"Ann\" has been moved to table 7");
        QTest::mouseClick(form->DontTellBox, Qt::LeftButton);
        QTest::keyClick(w, Qt::Key_Return);
    });
    EXPECT_TRUE(dialogs.NotifyDlg("Player \"Ann\" has been moved to table 7"));
    EXPECT_EQ(title, "Information");
    EXPECT_EQ(ok, "OK");
    EXPECT_EQ(box, "Don't tell me again");

    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_FALSE(dialogs.NotifyDlg("Again"));
}

TEST(ConfirmDlgForm, StaysInsideTheWorkArea) {
    TConfirmDlgForm form("A question");
    form.show();
    QRect area = form.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(form.frameGeometry()));
    form.move(area.right() - 10, area.bottom() - 10);
    KeepInsideWorkArea(&form);
    EXPECT_TRUE(area.contains(form.frameGeometry()));
    form.move(area.left() - 500, area.top() - 500);
    KeepInsideWorkArea(&form);
    EXPECT_TRUE(area.contains(form.frameGeometry()));
}

}  // namespace
}  // namespace kestrova
