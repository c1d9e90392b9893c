// "Select Time Zones to Display" driven through its widgets from
// tests/data/timing/time_zone_form.txt (the lists westernmost first, the
// defaults preselected, the preview under "Time:" and its timer, OK storing
// key names and 24-hour flags, Cancel changing nothing), and the status
// bar's pop-up opening it from the main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "common/datetime.h"
#include "common/text.h"
#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "model/tourney_state.h"
#include "timing/time_zone_form.h"
#include "ui/kestrova_form.h"

namespace kestrova::testing {
namespace {

TTimeZoneRecord Zone(const char* key, int bias, bool us, const char* std, const char* dlt) {
    TSystemTime standard,
        daylight;  // the US dates: the first Sunday of November, the second of March
    standard.Month = 11, standard.Day = 1, standard.Hour = 2;
    daylight.Month = 3, daylight.Day = 2, daylight.Hour = 2;
    const TTimeZoneRule r{bias, 0, us ? -60 : 0, us ? standard : TSystemTime{},
                          us ? daylight : TSystemTime{}};
    const std::string display = Format("(UTC%+03d:00) ", -bias / 60) + key;
    return {key, display, dlt, std, EncodeTzi(r), false};
}

void FillZones(FakeTimeZoneStore& z) {
    // Deliberately out of order: the dialog sorts them.
    z.Records = {
        Zone("Asia/Tokyo", -540, false, "Japan Standard Time", ""),
        Zone("America/New_York", 300, true, "Eastern Standard Time", "Eastern Daylight Time"),
        Zone("Pacific/Honolulu", 600, false, "Hawaii-Aleutian Standard Time", ""),
        Zone("America/Los_Angeles", 480, true, "Pacific Standard Time", "Pacific Daylight Time"),
        Zone("Europe/London", 0, false, "Greenwich Mean Time", "")};
    z.Records[4].FixedOffset = true;
    z.Local = {300, 0, -60, TLocalZoneInfo::TState::Standard};
}

TEST(SelectTimeZoneForm, EachCaseAsWritten) {
    for (const TCase& c : ReadCases("timing/time_zone_form.txt")) {
        FakeWorld world;
        FakeTimeZoneStore zones;
        TTourneyState s;
        TempDir dir;
        world.Wire(s);
        s.Ports.TimeZones = &zones;
        s.Settings.FilesFolder = dir.Path();
        FillZones(zones);
        world.Clock.Time = EncodeDateTime(2026, 1, 15, 17, 5);
        std::unique_ptr<TSelectTimeZoneForm> form;
        TFormScript script;
        script.Open = [&](const std::string&) {
            form = std::make_unique<TSelectTimeZoneForm>(s);
            form->SelectFromSettings();
            return form.get();
        };
        script.Names = [&](QWidget*) -> TWidgetNames {
            using F = TSelectTimeZoneForm;
            return {{"middle", form->List(F::Middle)},
                    {"right", form->List(F::Right)},
                    {"middle24", form->Hours24(F::Middle)},
                    {"right24", form->Hours24(F::Right)},
                    {"middleTime", form->Preview(F::Middle)},
                    {"rightTime", form->Preview(F::Right)},
                    {"note", form->Note()}};
        };
        script.Other = [&](const std::string& key, const std::string& v) {
            if (key == "middle zone")
                s.Settings.MiddleTimeZone = v;
            else if (key == "right zone")
                s.Settings.RightTimeZone = v;
            else if (key == "right 24 hour")
                s.Settings.RightTime24Hour = true;
            else if (key == "store")
                zones.Fail = true;
            else if (key == "a minute later") {
                world.Clock.AdvanceSeconds(60);
                QMetaObject::invokeMethod(&form->PreviewTimer(), "timeout");
            } else if (key == "timer") {
                EXPECT_EQ(form->PreviewTimer().isActive()
                              ? Format("every %d ms", form->PreviewTimer().interval())
                              : "stopped",
                          v);
            } else if (key == "stored") {
                const TAppSettings& set = s.Settings;
                EXPECT_EQ(set.MiddleTimeZone + " " + set.RightTimeZone +
                              Format(" %d %d", set.MiddleTime24Hour, set.RightTime24Hour),
                          v);
            } else if (key == "settings saves")
                EXPECT_EQ(std::to_string(world.Settings.Saves), v);
            else if (key.rfind("setting ", 0) == 0) {
                const TStoredValue stored = world.Settings.Get(key.substr(8));
                EXPECT_EQ(stored.Text.empty() ? std::to_string(stored.Int) : stored.Text, v);
            } else if (key == "clocks")
                EXPECT_EQ(Trim(Format("%.0f %.0f ", s.MiddleZoneBias, s.RightZoneBias) +
                               s.RightClockFormat),
                          v);
            else if (key == "accepted")
                EXPECT_EQ(form->result(), QDialog::Accepted);
            else
                return false;
            return true;
        };
        script.Play(nullptr, c);
    }
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
        form->OkButton->click();
    });
    window.Menus().SelectTimeZones->trigger();
    EXPECT_EQ(
        window.ClockPanel(0)->text() + window.ClockPanel(1)->text() + window.ClockPanel(2)->text(),
        " Local: 5:05 PM PST: 2:05 pm JST: 7:05 am");
    EXPECT_EQ(window.State().Settings.RightTimeZone, "Asia/Tokyo");
}

}  // namespace
}  // namespace kestrova::testing
