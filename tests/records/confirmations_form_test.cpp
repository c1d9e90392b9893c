// "Confirmations and Notifications" driven through its boxes: each shows its
// bit inverted, a click rebuilds the filter, OK stores it (and the clear-ZF
// choice) and saves, OK without a click keeps the bits without boxes, Cancel
// changes nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
#include "records/confirmations_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

namespace cb = confirm_bits;

TEST(ConfirmationsForm, BoxesShowTheFilterInvertedAndOkStoresWhatTheyNowSay) {
    TTourneyState s;
    testing::FakeWorld world;
    world.Wire(s);
    const uint32_t start = cb::RemovePlayer | cb::BanPlayer | cb::MovedNotice;
    for (int mode : {0, 1, 2}) {  // Cancel, OK after clicks, OK at once
        const bool ok = mode != 0, clicked = mode != 2;
        s.Settings.ConfirmNotifyFilter = start;
        s.Settings.DefaultClearZfList = true;
        TConfirmationsForm form(s);
        form.show();
        EXPECT_EQ(form.windowTitle(), "Confirmations and Notifications");
        EXPECT_NE(testing::FindChildByText<QLabel>(&form, "Tick which questions are to be asked:"), nullptr);
        EXPECT_NE(testing::FindChildByText<QLabel>(&form, "Tick which comments are to be shown:"), nullptr);
        const std::pair<uint32_t, const char*> boxes[] = {
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
        for (const auto& [bit, caption] : boxes) {
            QCheckBox* box = form.BoxOf(bit);
            ASSERT_NE(box, nullptr) << caption;
            EXPECT_EQ(box->text(), caption);
            EXPECT_EQ(box->isChecked(), (start & bit) == 0) << caption;
        }
        EXPECT_EQ(form.BoxOf(cb::BanPlayer), nullptr);  // the ban question has no box
        EXPECT_EQ(form.findChildren<QCheckBox*>().size(), 13);
        EXPECT_TRUE(form.ClearZfYes->isChecked() && !form.ClearZfNo->isChecked());

        if (clicked) {
            QTest::mouseClick(form.BoxOf(cb::ForcedBye), Qt::LeftButton);    // off
            QTest::mouseClick(form.BoxOf(cb::MovedNotice), Qt::LeftButton);  // on again
            EXPECT_EQ(form.Filter(), cb::RemovePlayer | cb::ForcedBye);
            QTest::mouseClick(form.ClearZfNo, Qt::LeftButton);
        }
        EXPECT_EQ(s.Settings.ConfirmNotifyFilter, start);  // nothing is stored before OK
        if (ok) {
            QTest::mouseClick(form.OkButton, Qt::LeftButton);
        } else {
            QTest::keyClick(&form, Qt::Key_Escape);
        }
        EXPECT_EQ(form.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        // After clicks bit 10 is gone too: the ban question will be asked again.
        EXPECT_EQ(s.Settings.ConfirmNotifyFilter, mode == 1 ? cb::RemovePlayer | cb::ForcedBye : start);
        EXPECT_EQ(s.Settings.DefaultClearZfList, mode != 1);
        EXPECT_EQ(world.Settings.Saves, mode);
    }
}

}  // namespace
}  // namespace kestrova
