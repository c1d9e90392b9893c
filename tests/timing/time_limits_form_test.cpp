// The four timing dialogs driven through their widgets from
// tests/data/timing/timing_forms.txt: what they open with, what OK saves
// (and Cancel does not), their ranges, and the start-table example's labels,
// greyed rounds, "Restore default" and "Set as default".
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "common/int_list.h"
#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "formats/form_script.h"
#include "formats/format_defaults.h"
#include "model/tourney_state.h"
#include "timing/boot_time_form.h"
#include "timing/start_tables_form.h"
#include "timing/time_limits_form.h"

namespace kestrova::testing {
namespace {

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
        n.insert(
            {{"players", f->Players}, {"elim", f->ElimType}, {"default", f->SetDefaultButton}});
    }
    return n;
}

TEST(TimingForms, EachCaseAsWritten) {
    for (const TCase& c : ReadCases("timing/timing_forms.txt")) {
        TTourneyState s;
        FakeWorld world;
        TempDir dir;
        SettingsCounter store;
        world.Wire(s);
        s.Ports.Settings = &store;
        s.SettingsLoaded = true;
        s.TourneyPath = dir.File("t.kvb");
        SetElimFormat(s, TElimFormat::Single);
        std::unique_ptr<QDialog> form;
        TFormScript script;
        script.Names = Names;
        script.Open = [&](const std::string& kind) {
            form.reset();  // the one before is closed first
            if (kind == "limits") form = std::make_unique<TTimeLimitsForm>(s);
            if (kind == "boot time") form = std::make_unique<TBootTimeForm>(s);
            if (kind == "reminders") form = std::make_unique<TMatchRemindersForm>(s);
            if (kind == "start tables")
                form = std::make_unique<TStartTablesForm>(s, DefaultStartTables);
            form->show();
            return form.get();
        };
        script.Other = [&](const std::string& key, const std::string& v) {
            if (key == "limits")
                s.MsgParams.TimeLimits = ParseIntList(v);
            else if (key == "remind at 10")
                s.Settings.RemindAt10 = true;
            else if (key == "answers")
                world.Dialogs.YesNoAnswers = {v == "yes"};
            else if (key == "stored limits")
                EXPECT_EQ(FormatIntList(s.MsgParams.TimeLimits), v);
            else if (key == "stored boot time")
                EXPECT_EQ(std::to_string(s.BootTime), v);
            else if (key == "stored reminders")
                EXPECT_EQ(std::to_string(s.Settings.RemindAt15) +
                              std::to_string(s.Settings.RemindAt10) +
                              std::to_string(s.Settings.RemindAt5),
                          v);
            else if (key == "settings saves")
                EXPECT_EQ(std::to_string(store.Saves), v);
            else if (key == "saved")
                EXPECT_EQ(ReadFileBytes(dir.File("t.kvb")).empty() ? "no" : "yes", v);
            else if (key == "asked")
                EXPECT_EQ(world.Dialogs.Asked.empty() ? "(none)" : world.Dialogs.Asked.back(), v);
            else if (key == "default rows")
                EXPECT_EQ(JoinLines(store.Defaults, "|"), v);
            else if (key == "shown row")
                EXPECT_EQ(FormatIntList(dynamic_cast<TStartTablesForm&>(*form).Tables()), v);
            else if (key == "start tables command")
                EXPECT_EQ(RunDefaultStartTables(s, nullptr) ? "run" : "refused", v);
            else if (key == "sign-ups closed")
                s.SignupClosed = true;
            else if (key == "first table")
                EXPECT_EQ(std::to_string(s.Winners[0].Tables[0].TableNo), v);
            else if (key == "log")
                EXPECT_NE(ReadFileBytes(dir.File("t.log")).find(v), std::string::npos);
            else
                return false;
            return true;
        };
        script.Play(nullptr, c);
    }
}

}  // namespace
}  // namespace kestrova::testing
