// The timing dialogs driven through their widgets from tests/data/timing:
// Match Time Limits, Boot Time, the reminders and the start tables
// (timing_forms.txt: what they open with, what OK saves and Cancel does not,
// their ranges, the start-table example's labels and greyed rounds, "Restore
// default" and "Set as default"), "Select Time Zones to Display"
// (time_zone_form.txt: the lists westernmost first, the defaults, the preview
// and its timer, OK storing key names and 24-hour flags, and the status
// bar's pop-up opening it from the main window).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "common/datetime.h"
#include "common/int_list.h"
#include "common/text.h"
#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "formats/format_defaults.h"
#include "model/tourney_state.h"
#include "timing/boot_time_form.h"
#include "timing/start_tables_form.h"
#include "timing/time_limits_form.h"
#include "timing/time_zone_form.h"
#include "timing/zone_text.h"
#include "ui/kestrova_form.h"

namespace kestrova::testing {
namespace {

using TArg = TFormScript::TArg;

void FillZones(FakeTimeZoneStore& z) {
    // Deliberately out of order: the dialog sorts them.
    for (const char* zone :
         {"Asia/Tokyo | Japan Standard Time |  | -540 0 0 - -",
          "America/New_York | Eastern Standard Time | Eastern Daylight Time | 300 0 -60 "
          "11/0/1/2 3/0/2/2",
          "Pacific/Honolulu | Hawaii-Aleutian Standard Time |  | 600 0 0 - -",
          "America/Los_Angeles | Pacific Standard Time | Pacific Daylight Time | 480 0 -60 "
          "11/0/1/2 3/0/2/2",
          "Europe/London | Greenwich Mean Time |  | 0 0 0 - - | fixed"})
        z.Records.push_back(ZoneOf(zone));
    z.Local = {300, 0, -60, TLocalZoneInfo::TState::Standard};
}

// Counts the settings saves and keeps every default row written.
class SettingsCounter : public FakeSettingsStore {
  public:
    std::vector<std::string> Defaults;
    void Write(const std::string& subkey, const std::string& name, const TStoredValue& v) override {
        FakeSettingsStore::Write(subkey, name, v);
        if (name == "Default Start Tables") Defaults.push_back(v.Text);
    }
};

template <size_t N, class T>
void Number(TWidgetNames& names, const char* prefix, const std::array<T*, N>& widgets) {
    for (size_t i = 0; i < N; ++i)
        names[prefix + std::to_string(i)] = widgets[i];
}

TWidgetNames Names(QWidget* w) {
    using F = TSelectTimeZoneForm;
    TWidgetNames n;
    if (auto* f = dynamic_cast<TTimeLimitsForm*>(w)) {
        Number(n, "round", f->Fields);
        n["note"] = FindChildByText<QLabel>(w, "Entering zeros will ignore time-limits");
    }
    if (auto* f = dynamic_cast<TBootTimeForm*>(w)) n["minutes"] = f->Minutes;
    if (auto* f = dynamic_cast<TMatchRemindersForm*>(w))
        n = {{"at15", f->At15}, {"at10", f->At10}, {"at5", f->At5}};
    if (auto* f = dynamic_cast<TStartTablesForm*>(w)) {
        Number(n, "round", f->Fields);
        Number(n, "last", f->LastLabels);
        n.insert({{"players", f->Players}, {"elim", f->ElimType}});
    }
    if (auto* f = dynamic_cast<TSelectTimeZoneForm*>(w))
        n = {{"middle", f->List(F::Middle)},
             {"right", f->List(F::Right)},
             {"middle24", f->Hours24(F::Middle)},
             {"right24", f->Hours24(F::Right)},
             {"middleTime", f->Preview(F::Middle)},
             {"rightTime", f->Preview(F::Right)},
             {"note", f->Note()}};
    return n;
}

struct TimingDialogs {
    TTourneyState S;
    FakeWorld World;
    TempDir Dir;
    SettingsCounter Store;
    FakeTimeZoneStore Zones;
    std::unique_ptr<QDialog> Form;
    std::unique_ptr<TKestrovaForm> Window;  // saves into Dir when destroyed

    TimingDialogs() {
        World.Wire(S);
        S.Ports.Settings = &Store;
        S.Ports.TimeZones = &Zones;
        S.SettingsLoaded = true;
        S.TourneyPath = Dir.File("t.kvb");
        S.Settings.FilesFolder = Dir.Path();
        SetElimFormat(S, TElimFormat::Single);
        FillZones(Zones);
        World.Clock.Time = EncodeDateTime(2026, 1, 15, 17, 5);
    }
    QWidget* Open(const std::string& kind) {
        Form.reset();  // the one before is closed first
        if (kind == "limits") Form = std::make_unique<TTimeLimitsForm>(S);
        if (kind == "boot time") Form = std::make_unique<TBootTimeForm>(S);
        if (kind == "reminders") Form = std::make_unique<TMatchRemindersForm>(S);
        if (kind == "start tables")
            Form = std::make_unique<TStartTablesForm>(S, DefaultStartTables);
        if (kind == "window") {
            TFormPorts ports;
            ports.Clock = std::make_unique<FakeClock>(World.Clock);
            ports.Dialogs = std::make_unique<FakeDialogs>();
            ports.Settings = std::make_unique<FakeSettingsStore>();
            ports.TimeZones = std::make_unique<FakeTimeZoneStore>(Zones);
            Window = std::make_unique<TKestrovaForm>(std::move(ports));
            Window->State().Settings.FilesFolder = Dir.Path();
            Window->State().Settings.MiddleTimeZone = S.Settings.MiddleTimeZone;
            Window->State().SettingsLoaded = true;
            Window->show();
            return Window.get();
        }
        if (kind == "time zones") {
            auto zones = std::make_unique<TSelectTimeZoneForm>(S);
            zones->SelectFromSettings();
            Form = std::move(zones);
            return Form.get();
        }
        Form->show();
        return Form.get();
    }
    QTimer& Timer() { return dynamic_cast<TSelectTimeZoneForm&>(*Form).PreviewTimer(); }
};

TEST(TimingDialogs, EachCaseAsWritten) {
    for (const char* file : {"timing/timing_forms.txt", "timing/time_zone_form.txt"})
        for (const TCase& c : ReadCases(file)) {
            TimingDialogs d;
            TAppSettings& set = d.S.Settings;
            TFormScript script;
            script.Names = Names;
            script.Open = [&](const std::string& kind) { return d.Open(kind); };
            script.Steps = {
                {"limits", [&](TArg, TArg v) { d.S.MsgParams.TimeLimits = ParseIntList(v); }},
                {"remind at 10", [&](TArg, TArg) { set.RemindAt10 = true; }},
                {"answers", [&](TArg, TArg v) { d.World.Dialogs.YesNoAnswers = {v == "yes"}; }},
                {"sign-ups closed", [&](TArg, TArg) { d.S.SignupClosed = true; }},
                {"middle zone", [&](TArg, TArg v) { set.MiddleTimeZone = v; }},
                {"right zone", [&](TArg, TArg v) { set.RightTimeZone = v; }},
                {"right 24 hour", [&](TArg, TArg) { set.RightTime24Hour = true; }},
                {"store", [&](TArg, TArg) { d.Zones.Fail = true; }},
                {"a minute later",
                 [&](TArg, TArg) {
                     d.World.Clock.AdvanceSeconds(60);
                     QMetaObject::invokeMethod(&d.Timer(), "timeout");
                 }},
                {"pick select time zones",
                 [&](TArg, TArg) { d.Window->Menus().SelectTimeZones->trigger(); }},
            };
            script.Checks = {
                {"setting",
                 [&](TArg name) {
                     const TStoredValue stored = d.Store.Get(name);
                     return stored.Text.empty() ? std::to_string(stored.Int) : stored.Text;
                 }},
                {"log", [&](TArg) { return ReadFileBytes(d.Dir.File("t.log")); }},
                {"stored limits", [&](TArg) { return FormatIntList(d.S.MsgParams.TimeLimits); }},
                {"stored boot time", [&](TArg) { return std::to_string(d.S.BootTime); }},
                {"stored reminders",
                 [&](TArg) {
                     return Format("%d%d%d", set.RemindAt15, set.RemindAt10, set.RemindAt5);
                 }},
                {"settings saves", [&](TArg) { return std::to_string(d.Store.Saves); }},
                {"saved",
                 [&](TArg) { return ReadFileBytes(d.Dir.File("t.kvb")).empty() ? "no" : "yes"; }},
                {"asked", [&](TArg) { return d.World.Dialogs.Asked.back(); }},
                {"default rows", [&](TArg) { return JoinLines(d.Store.Defaults, "|"); }},
                {"shown row",
                 [&](TArg) {
                     return FormatIntList(dynamic_cast<TStartTablesForm&>(*d.Form).Tables());
                 }},
                {"start tables command",
                 [&](TArg) { return RunDefaultStartTables(d.S, nullptr) ? "run" : "refused"; }},
                {"first table",
                 [&](TArg) { return std::to_string(d.S.Winners[0].Tables[0].TableNo); }},
                {"timer",
                 [&](TArg) {
                     const QTimer& t = d.Timer();
                     return t.isActive() ? Format("every %d ms", t.interval()) : "stopped";
                 }},
                {"stored",
                 [&](TArg) {
                     return set.MiddleTimeZone + " " + set.RightTimeZone +
                            Format(" %d %d", set.MiddleTime24Hour, set.RightTime24Hour);
                 }},
                {"time zones menu",
                 [&](TArg) {
                     const QAction* item = d.Window->Menus().SelectTimeZones;
                     return item->text().toStdString() + (item->isEnabled() ? "" : " (greyed)");
                 }},
                {"panels",
                 [&](TArg) {
                     return (d.Window->ClockPanel(0)->text() + d.Window->ClockPanel(1)->text() +
                             d.Window->ClockPanel(2)->text())
                         .toStdString();
                 }},
                {"window right zone",
                 [&](TArg) { return d.Window->State().Settings.RightTimeZone; }},
                {"accepted",
                 [&](TArg) { return d.Form->result() == QDialog::Accepted ? "" : "no"; }},
                {"clocks",
                 [&](TArg) {
                     return Trim(Format("%.0f %.0f ", d.S.MiddleZoneBias, d.S.RightZoneBias) +
                                 d.S.RightClockFormat);
                 }},
            };
            script.Play(nullptr, c);
        }
}

}  // namespace
}  // namespace kestrova::testing
