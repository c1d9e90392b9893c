// "Select Time Zones to Display" driven through its widgets: the lists sorted
// westernmost first, the defaults preselected, the preview under "Time:",
// OK storing key names and 24-hour flags, Cancel changing nothing, and the
// status bar's pop-up opening it from the main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "common/datetime.h"
#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
#include "timing/time_zone_form.h"
#include "ui/kestrova_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using namespace testing;

TSystemTime Date(int month, int occurrence, int hour) {
    TSystemTime d;
    d.Month = static_cast<uint16_t>(month);
    d.Day = static_cast<uint16_t>(occurrence);
    d.Hour = static_cast<uint16_t>(hour);
    return d;
}

TTimeZoneRecord Zone(const char* key, const char* display, int bias, bool us, const char* std,
                     const char* dlt) {
    TTimeZoneRule r{bias, 0, us ? -60 : 0, us ? Date(11, 1, 2) : TSystemTime{},
                    us ? Date(3, 2, 2) : TSystemTime{}};
    return {key, display, dlt, std, EncodeTzi(r), false};
}

void FillZones(FakeTimeZoneStore& z) {
    // Deliberately out of order: the dialog sorts them.
    z.Records = {
        Zone("Asia/Tokyo", "(UTC+09:00) Asia/Tokyo", -540, false, "Japan Standard Time", ""),
        Zone("America/New_York", "(UTC-05:00) America/New_York", 300, true,
             "Eastern Standard Time", "Eastern Daylight Time"),
        Zone("Pacific/Honolulu", "(UTC-10:00) Pacific/Honolulu", 600, false,
             "Hawaii-Aleutian Standard Time", ""),
        Zone("America/Los_Angeles", "(UTC-08:00) America/Los_Angeles", 480, true,
             "Pacific Standard Time", "Pacific Daylight Time"),
        Zone("Europe/London", "(UTC+00:00) Europe/London", 0, false, "Greenwich Mean Time", ""),
    };
    z.Records[4].FixedOffset = true;
    z.Local = {300, 0, -60, TLocalZoneInfo::TState::Standard};
}

struct FormWorld {
    FakeWorld world;
    FakeTimeZoneStore zones;
    TTourneyState s;
    TempDir dir;
    FormWorld() {
        world.Wire(s);
        s.Ports.TimeZones = &zones;
        s.Settings.FilesFolder = dir.Path();
        FillZones(zones);
        world.Clock.Time = EncodeDateTime(2026, 1, 15, 17, 5);
    }
};

// A click on the box's indicator (the middle of a wide box is no hit).
void Tick(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QStringList Items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

TEST(SelectTimeZoneForm, ListsWesternmostFirstAndThePreviewFollowsTheChoicesAndTheTimer) {
    FormWorld w;
    TSelectTimeZoneForm form(w.s);
    EXPECT_EQ(form.windowTitle(), "Select Time Zones to Display");
    for (const char* label : {"Middle time-zone (%e token):", "Right time-zone (%w token):", "Time:"})
        EXPECT_NE(FindChildByText<QLabel>(&form, label), nullptr) << label;
    const QStringList expected = {"(UTC-10:00) Pacific/Honolulu", "(UTC-08:00) America/Los_Angeles",
                                  "(UTC-05:00) America/New_York", "(UTC+00:00) Europe/London",
                                  "(UTC+09:00) Asia/Tokyo"};
    EXPECT_EQ(Items(form.List(TSelectTimeZoneForm::Middle)), expected);
    EXPECT_EQ(Items(form.List(TSelectTimeZoneForm::Right)), expected);
    // The defaults: New York and Los Angeles.
    EXPECT_EQ(form.List(TSelectTimeZoneForm::Middle)->currentRow() * 10 +
                  form.List(TSelectTimeZoneForm::Right)->currentRow(), 21);
    EXPECT_EQ(form.Note()->text(), "Left time is always local");
    EXPECT_EQ(form.Preview(TSelectTimeZoneForm::Middle)->text(), " EST: 5:05 pm");
    EXPECT_EQ(form.Preview(TSelectTimeZoneForm::Right)->text(), " PST: 2:05 pm");

    w.s.Settings.MiddleTimeZone = "Asia/Tokyo";
    w.s.Settings.RightTimeZone = "Pacific/Honolulu";
    w.s.Settings.RightTime24Hour = true;
    form.SelectFromSettings();
    form.show();
    EXPECT_TRUE(form.PreviewTimer().isActive());
    EXPECT_EQ(form.PreviewTimer().interval(), 1000);
    EXPECT_TRUE(form.Hours24(TSelectTimeZoneForm::Right)->isChecked());
    EXPECT_EQ(form.Preview(TSelectTimeZoneForm::Middle)->text(), " JST: 7:05 am");
    EXPECT_EQ(form.Preview(TSelectTimeZoneForm::Right)->text(), " HST: 12:05");
    Tick(form.Hours24(TSelectTimeZoneForm::Middle));
    EXPECT_EQ(form.Preview(TSelectTimeZoneForm::Middle)->text(), " JST: 07:05");
    // A click on London: its offset is fixed, and the note says so.
    QListWidget* right = form.List(TSelectTimeZoneForm::Right);
    QTest::mouseClick(right->viewport(), Qt::LeftButton, {}, right->visualItemRect(right->item(3)).center());
    EXPECT_EQ(form.Preview(TSelectTimeZoneForm::Right)->text(), " GMT: 22:05");
    EXPECT_TRUE(form.Note()->text().startsWith("Left time is always local\nEurope/London:"));
    // A timer tick a minute later moves both clocks on.
    w.world.Clock.AdvanceSeconds(60);
    QMetaObject::invokeMethod(&form.PreviewTimer(), "timeout");
    EXPECT_EQ(form.Preview(TSelectTimeZoneForm::Middle)->text() + form.Preview(TSelectTimeZoneForm::Right)->text(),
              " JST: 07:06 GMT: 22:06");
    form.hide();
    EXPECT_FALSE(form.PreviewTimer().isActive());
}

TEST(SelectTimeZoneForm, OkStoresKeyNamesAndFlagsAndSavesCancelChangesNothing) {
    FormWorld w;
    {
        TSelectTimeZoneForm form(w.s);
        form.SelectFromSettings();
        form.List(TSelectTimeZoneForm::Middle)->setCurrentRow(4);  // Tokyo
        Tick(form.Hours24(TSelectTimeZoneForm::Right));
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    }
    EXPECT_EQ(w.s.Settings.MiddleTimeZone, "");
    EXPECT_EQ(w.world.Settings.Saves, 0);

    TSelectTimeZoneForm form(w.s);
    form.SelectFromSettings();
    form.List(TSelectTimeZoneForm::Middle)->setCurrentRow(4);
    Tick(form.Hours24(TSelectTimeZoneForm::Right));
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(w.s.Settings.MiddleTimeZone, "Asia/Tokyo");
    EXPECT_EQ(w.s.Settings.RightTimeZone, "America/Los_Angeles");
    EXPECT_FALSE(w.s.Settings.MiddleTime24Hour);
    EXPECT_TRUE(w.s.Settings.RightTime24Hour);
    EXPECT_EQ(w.world.Settings.Saves, 1);
    EXPECT_EQ(w.world.Settings.Get("Middle Time Zone").Text, "Asia/Tokyo");
    EXPECT_EQ(w.world.Settings.Get("Right Time 24 Hour").Int, 1);
    EXPECT_EQ(w.s.RightClockFormat, "\" PST: \"hh:nn");  // LoadZoneClocks ran
    EXPECT_DOUBLE_EQ(w.s.MiddleZoneBias, -840);

    // Without a store the lists are empty and OK stores empty names.
    w.zones.Fail = true;
    TSelectTimeZoneForm none(w.s);
    none.SelectFromSettings();
    EXPECT_EQ(none.List(TSelectTimeZoneForm::Middle)->count(), 0);
    EXPECT_EQ(none.Preview(TSelectTimeZoneForm::Middle)->text(), "");
    QTest::mouseClick(none.OkButton, Qt::LeftButton);
    EXPECT_EQ(w.s.Settings.MiddleTimeZone + w.s.Settings.RightTimeZone + w.s.RightClockFormat, "");
    EXPECT_EQ(w.s.MiddleZoneBias, 0);
}

TEST(SelectTimeZoneForm, TheStatusBarPopUpOpensItAndThePanelsFollow) {
    TempDir dir;  // outlives the window, which saves into it when destroyed
    TFormPorts ports;
    auto zones = std::make_unique<FakeTimeZoneStore>();
    FillZones(*zones);
    auto clock = std::make_unique<FakeClock>();
    clock->Time = EncodeDateTime(2026, 1, 15, 17, 5);
    ports.Clock = std::move(clock);
    ports.Dialogs = std::make_unique<FakeDialogs>();
    ports.Settings = std::make_unique<FakeSettingsStore>();
    ports.TimeZones = std::move(zones);
    TKestrovaForm window(std::move(ports));
    window.State().Settings.FilesFolder = dir.Path();
    window.State().Settings.MiddleTimeZone = "America/Los_Angeles";
    window.State().SettingsLoaded = true;
    window.show();
    EXPECT_EQ(window.Menus().SelectTimeZones->text(), "&Select time zones...");
    EXPECT_TRUE(window.Menus().SelectTimeZones->isEnabled());
    WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TSelectTimeZoneForm*>(w);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->List(TSelectTimeZoneForm::Middle)->currentRow(), 1);
        form->List(TSelectTimeZoneForm::Right)->setCurrentRow(4);
        QTest::mouseClick(form->OkButton, Qt::LeftButton);
    });
    window.Menus().SelectTimeZones->trigger();
    EXPECT_EQ(window.ClockPanel(0)->text(), " Local: 5:05 PM");
    EXPECT_EQ(window.ClockPanel(1)->text(), " PST: 2:05 pm");
    EXPECT_EQ(window.ClockPanel(2)->text(), " JST: 7:05 am");
    EXPECT_EQ(window.State().Settings.RightTimeZone, "Asia/Tokyo");
}

}  // namespace
}  // namespace kestrova
