// The question and notice boxes driven through the dialogs port: their looks,
// Enter, Esc and the ticked box, and their place inside the work area.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "fakes/fake_ports.h"
#include "kit/dialog_util.h"
#include "model/tourney_state.h"
#include "records/confirm.h"
#include "records/confirm_dlg_form.h"
#include "records/notify_dlg_form.h"
#include "ui/modal_helper.h"
#include "ui/qt_ports.h"

namespace kestrova {
namespace {

using testing::WhenModal;

template <class T>
void WhenForm(std::function<void(T*)> act) {
    WhenModal([act](QWidget* w) {
        auto* form = qobject_cast<T*>(w);
        ASSERT_NE(form, nullptr);
        act(form);
    });
}

TEST(ConfirmDlgForm, AnswersThroughTheDialogsPortAndATickedBoxIsKept) {
    TTourneyState s;
    TQtDialogs dialogs;
    testing::FakeSettingsStore store;
    s.Ports.Dialogs = &dialogs;
    s.Ports.Settings = &store;
    s.SettingsLoaded = true;
    WhenForm<TConfirmDlgForm>([](TConfirmDlgForm* f) {
        EXPECT_EQ(f->windowTitle(), "Confirmation");
        EXPECT_EQ(f->MessageLabel->text(), "Are you sure you want to disqualify \"Bob\"?");
        EXPECT_TRUE(f->MessageLabel->wordWrap());
        EXPECT_TRUE(f->MessageLabel->alignment() & Qt::AlignHCenter);
        EXPECT_EQ(f->YesButton->text() + f->NoButton->text() + f->DontAskBox->text(),
                  "&Yes&NoDon't ask me again");
        EXPECT_FALSE(f->DontAskBox->isChecked());
        // Bottom left: left of the buttons and below the message.
        EXPECT_LT(f->DontAskBox->x(), f->YesButton->x());
        EXPECT_GT(f->DontAskBox->y(), f->MessageLabel->y());
        QTest::keyClick(f, Qt::Key_Return);  // Yes is the default button
    });
    TConfirmAnswer a = dialogs.ConfirmDlg("Are you sure you want to disqualify \"Bob\"?");
    EXPECT_TRUE(a.Yes && !a.DontAskAgain);
    WhenForm<TConfirmDlgForm>([](TConfirmDlgForm* f) {
        QTest::mouseClick(f->DontAskBox, Qt::LeftButton);
        QTest::keyClick(f, Qt::Key_Escape);  // No, and the box is reported even then
    });
    a = dialogs.ConfirmDlg("Close?");
    EXPECT_TRUE(!a.Yes && a.DontAskAgain);
    WhenForm<TConfirmDlgForm>([](TConfirmDlgForm* f) {
        QTest::mouseClick(f->DontAskBox, Qt::LeftButton);
        QTest::mouseClick(f->YesButton, Qt::LeftButton);
    });
    EXPECT_TRUE(AskConfirm(s, confirm_bits::CloseSignups, "Close?"));
    EXPECT_EQ(s.Settings.ConfirmNotifyFilter, confirm_bits::CloseSignups);
    EXPECT_EQ(store.Saves, 1);
    EXPECT_TRUE(AskConfirm(s, confirm_bits::CloseSignups, "Close?"));  // no dialog now

    QString texts;
    WhenForm<TNotifyDlgForm>([&](TNotifyDlgForm* f) {
        texts = f->windowTitle() + "|" + f->OkButton->text() + "|" + f->DontTellBox->text() + "|" +
                f->MessageLabel->text();
        EXPECT_TRUE(f->OkButton->isDefault());
        QTest::mouseClick(f->DontTellBox, Qt::LeftButton);
        QTest::keyClick(f, Qt::Key_Return);
    });
    EXPECT_TRUE(dialogs.NotifyDlg("Player \"Ann\" has been moved to table 7"));
    EXPECT_EQ(texts, "Information|OK|Don't tell me again|Player \"Ann\" has been moved to table 7");
    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_FALSE(dialogs.NotifyDlg("Again"));
}

TEST(ConfirmDlgForm, StaysInsideTheWorkArea) {
    TConfirmDlgForm form("A question");
    form.show();
    const QRect area = form.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(form.frameGeometry()));
    for (QPoint at : {QPoint(area.right() - 10, area.bottom() - 10), QPoint(area.left() - 500, area.top() - 500)}) {
        form.move(at);
        KeepInsideWorkArea(&form);
        EXPECT_TRUE(area.contains(form.frameGeometry()));
    }
}

}  // namespace
}  // namespace kestrova
