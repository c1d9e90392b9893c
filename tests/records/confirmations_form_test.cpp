#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "model/tourney_state.h"
#include "fakes/fake_ports.h"
#include "records/confirmations_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

namespace cb = confirm_bits;
using testing::FindChildByText;

class ConfirmationsFormTest : public ::testing::Test {
  protected:
    TTourneyState s;
    testing::FakeWorld world;
    void SetUp() override {
        world.Wire(s);
        s.SettingsLoaded = true;
        s.Settings.ConfirmNotifyFilter = cb::RemovePlayer | cb::BanPlayer | cb::MovedNotice;
        s.Settings.DefaultClearZfList = true;
    }
};

TEST_F(ConfirmationsFormTest, BoxesShowTheFilterInverted) {
    TConfirmationsForm form(s);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Confirmations and Notifications");
    EXPECT_NE(FindChildByText<QLabel>(&form, "Tick which questions are to be asked:"), nullptr);
    EXPECT_NE(FindChildByText<QLabel>(&form, "Tick which comments are to be shown:"), nullptr);
    const std::pair<uint32_t, const char*> expected[] = {
        {cb::BootTimedOutPost, "Booted player has timed, post in lobby?"},
        {cb::CloseSignups, "Close signups confirmation"},
        {cb::RemovePlayer, "Remove player confirmation"},
        {cb::BothQuit, "Both players have quit confirmation"},
        {cb::Disqualify, "Disqualification confirmation"},
        {cb::ClearZoneFriends, "Clear ZoneFriends list:"},
        {cb::ForcedBye, "Forced bye confirmation"},
        {cb::BootedWinner, "Assign win to booted player confirmation"},
        {cb::DisqualifiedWinner, "Assign win to DQed player confirmation"},
        {cb::PostOnBye, "Post assign for player on a bye confirmation"},
        {cb::ByeTableNotice, "Player has a bye in the next round"},
        {cb::MovedNotice, "Player has been automatically moved"},
        {cb::ZoneFriendsRenamedNotice, "ZF name has changed, Rapid-Assign disabled"},
    };
    for (const auto& [bit, caption] : expected) {
        QCheckBox* box = form.BoxOf(bit);
        ASSERT_NE(box, nullptr) << caption;
        EXPECT_EQ(box->text(), caption);
        EXPECT_EQ(box->isChecked(), (s.Settings.ConfirmNotifyFilter & bit) == 0) << caption;
    }
    EXPECT_EQ(form.BoxOf(cb::BanPlayer), nullptr);  // the ban question has no box
    EXPECT_EQ(form.findChildren<QCheckBox*>().size(), 13);
    EXPECT_TRUE(form.ClearZfYes->isChecked());
    EXPECT_FALSE(form.ClearZfNo->isChecked());
}

TEST_F(ConfirmationsFormTest, ClickingABoxRebuildsTheWholeFilter) {
    TConfirmationsForm form(s);
    form.show();
    QTest::mouseClick(form.BoxOf(cb::ForcedBye), Qt::LeftButton);    // off
    QTest::mouseClick(form.BoxOf(cb::MovedNotice), Qt::LeftButton);  // on again
    EXPECT_EQ(form.Filter(), cb::RemovePlayer | cb::ForcedBye);
    QTest::mouseClick(form.ClearZfNo, Qt::LeftButton);
    // Nothing is stored before OK.
    EXPECT_EQ(s.Settings.ConfirmNotifyFilter, cb::RemovePlayer | cb::BanPlayer | cb::MovedNotice);
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    // Bit 10 is gone: the ban question will be asked again.
    EXPECT_EQ(s.Settings.ConfirmNotifyFilter, cb::RemovePlayer | cb::ForcedBye);
    EXPECT_FALSE(s.Settings.DefaultClearZfList);
    EXPECT_EQ(world.Settings.Saves, 1);
}

TEST_F(ConfirmationsFormTest, OkWithoutClicksKeepsBitsWithoutBoxes) {
    TConfirmationsForm form(s);
    form.show();
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(s.Settings.ConfirmNotifyFilter, cb::RemovePlayer | cb::BanPlayer | cb::MovedNotice);
    EXPECT_TRUE(s.Settings.DefaultClearZfList);
}

TEST_F(ConfirmationsFormTest, CancelChangesNothing) {
    TConfirmationsForm form(s);
    form.show();
    QTest::mouseClick(form.BoxOf(cb::CloseSignups), Qt::LeftButton);
    QTest::mouseClick(form.ClearZfNo, Qt::LeftButton);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(s.Settings.ConfirmNotifyFilter, cb::RemovePlayer | cb::BanPlayer | cb::MovedNotice);
    EXPECT_TRUE(s.Settings.DefaultClearZfList);
    EXPECT_EQ(world.Settings.Saves, 0);
}

}  // namespace
}  // namespace kestrova
