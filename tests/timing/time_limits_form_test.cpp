// The four timing dialogs driven through their widgets: what they open with,
// what OK saves (and Cancel does not), their ranges, and the start-table
// example's labels, greyed rounds, "Restore default" and "Set as default".
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "engine/table_count.h"
#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "model/tourney_state.h"
#include "timing/boot_time_form.h"
#include "timing/start_tables_form.h"
#include "timing/time_limits_form.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using testing::FindChildByText;

QGroupBox* GroupTitled(QWidget* w, const QString& title) {
    for (QGroupBox* g : w->findChildren<QGroupBox*>())
        if (g->title() == title) return g;
    return nullptr;
}

// Counts the settings saves and keeps every default row written.
class SettingsCounter : public testing::FakeSettingsStore {
  public:
    std::vector<std::string> Defaults;
    void Write(const std::string& subkey, const std::string& name, const TStoredValue& v) override {
        FakeSettingsStore::Write(subkey, name, v);
        if (name == "Default Start Tables") Defaults.push_back(v.Text);
    }
};

class TimingFormsTest : public ::testing::Test {
  protected:
    TTourneyState s;
    testing::FakeWorld world;
    testing::TempDir dir;
    SettingsCounter store;
    void SetUp() override {
        world.Wire(s);
        s.Ports.Settings = &store;
        s.SettingsLoaded = true;
        s.TourneyPath = dir.File("t.kvb");
        SetElimFormat(s, TElimFormat::Single);
    }
    bool Saved() { return !testing::ReadFileBytes(dir.File("t.kvb")).empty(); }
};

TEST_F(TimingFormsTest, MatchTimeLimits) {
    s.MsgParams.TimeLimits = {45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 45, 60};
    {
        TTimeLimitsForm form(s);
        form.show();
        EXPECT_EQ(form.windowTitle(), "Match Time Limits");
        EXPECT_NE(GroupTitled(&form, "Scheduled Time per Match (in minutes)"), nullptr);
        QLabel* note = FindChildByText<QLabel>(&form, "Entering zeros will ignore time-limits");
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->styleSheet(), "color: red");
        for (const char* c : {"Rnd 1:", "Rnd 13:", "Semis:", "Final:"})
            EXPECT_NE(FindChildByText<QLabel>(&form, c), nullptr) << c;
        EXPECT_EQ(form.Fields[14]->value(), 60);
        EXPECT_EQ(form.Fields[0]->maximum(), 300);
        form.Fields[0]->setValue(0);
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
        EXPECT_EQ(s.MsgParams.TimeLimits[0], 45);
        EXPECT_FALSE(Saved());
    }
    TTimeLimitsForm form(s);
    form.Fields[0]->setValue(0);
    form.Fields[13]->setValue(999);  // held at the range's end
    QTest::mouseClick(form.OkButton, Qt::LeftButton);
    EXPECT_EQ(s.MsgParams.TimeLimits[0], 0);
    EXPECT_EQ(s.MsgParams.TimeLimits[13], 300);
    EXPECT_TRUE(Saved());
}

TEST_F(TimingFormsTest, BootTimeAndReminders) {
    TBootTimeForm boot(s);
    EXPECT_EQ(boot.windowTitle(), "Boot Time");
    EXPECT_NE(FindChildByText<QLabel>(&boot, "Enter time for boots:"), nullptr);
    EXPECT_NE(FindChildByText<QLabel>(&boot, "minutes"), nullptr);
    EXPECT_EQ(boot.Minutes->value(), 7);
    EXPECT_EQ(boot.Minutes->minimum(), 1);
    EXPECT_EQ(boot.Minutes->maximum(), 100);
    boot.Minutes->setValue(12);
    QTest::mouseClick(boot.OkButton, Qt::LeftButton);
    EXPECT_EQ(s.BootTime, 12);
    EXPECT_TRUE(Saved());

    s.Settings.RemindAt10 = true;
    TMatchRemindersForm reminders(s);
    EXPECT_EQ(reminders.windowTitle(), "Configure Match Reminders");
    EXPECT_NE(FindChildByText<QLabel>(
                  &reminders, "Select when you would like a reminder when a match has less than:"),
              nullptr);
    EXPECT_EQ(reminders.At15->text(), "15 minutes to go");
    EXPECT_EQ(reminders.At10->text(), "10 minutes to go");
    EXPECT_EQ(reminders.At5->text(), "5 minutes to go");
    EXPECT_FALSE(reminders.At15->isChecked());
    EXPECT_TRUE(reminders.At10->isChecked());
    reminders.At15->click();
    reminders.At10->click();
    QTest::mouseClick(reminders.OkButton, Qt::LeftButton);
    EXPECT_TRUE(s.Settings.RemindAt15);
    EXPECT_FALSE(s.Settings.RemindAt10);
    EXPECT_FALSE(s.Settings.RemindAt5);
    EXPECT_EQ(store.Saves, 1);
}

TEST_F(TimingFormsTest, StartingTablesExampleAndDefaults) {
    TStartTablesForm form(s, DefaultStartTables);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Starting Tables For Each Round");
    EXPECT_NE(GroupTitled(&form, "Example Last Table Calculator "), nullptr);
    EXPECT_EQ(form.Players->value(), 64);
    EXPECT_EQ(form.ElimType->currentText(), "Single");
    EXPECT_EQ(form.LastLabels[0]->text(), "to 81");
    EXPECT_EQ(form.LastLabels[3]->text(), "to 83");
    EXPECT_FALSE(form.Fields[4]->isEnabled());
    EXPECT_TRUE(form.LastLabels[4]->isHidden());
    EXPECT_EQ(form.LastLabels[13]->text(), "to 149");
    EXPECT_TRUE(form.LastLabels[14]->isHidden());
    form.ElimType->setCurrentIndex(1);  // Double reaches round 8
    EXPECT_EQ(form.LastLabels[7]->text(), "to 81");
    EXPECT_TRUE(form.Fields[7]->isEnabled());
    EXPECT_FALSE(form.Fields[8]->isEnabled());
    EXPECT_TRUE(form.LastLabels[13]->isHidden());
    form.Fields[0]->setValue(120);
    EXPECT_EQ(form.LastLabels[0]->text(), "to 1");  // the room's 150 tables wrap round

    // "Set as default": No keeps the old row, Yes saves the shown one.
    world.Dialogs.YesNoAnswers = {false, true};
    QTest::mouseClick(form.SetDefaultButton, Qt::LeftButton);
    EXPECT_EQ(world.Dialogs.Asked.back(),
              "Are you sure you want to set these as the default starting tables?");
    EXPECT_TRUE(store.Defaults.empty());
    QTest::mouseClick(form.SetDefaultButton, Qt::LeftButton);
    ASSERT_EQ(store.Defaults.size(), 1u);
    EXPECT_EQ(store.Defaults[0], "120,90,1,80,110,130,140,80,98,30,60,90,120,148,150");
    form.Fields[0]->setValue(7);
    QTest::mouseClick(form.RestoreButton, Qt::LeftButton);
    EXPECT_EQ(form.Tables()[0], 120);
}

TEST_F(TimingFormsTest, DefaultStartTablesCommand) {
    testing::WhenModal([](QWidget* w) {
        auto* form = static_cast<TStartTablesForm*>(w);
        form->Fields[0]->setValue(5);
        form->OkButton->click();
    });
    EXPECT_TRUE(RunDefaultStartTables(s, nullptr));
    EXPECT_EQ(s.StartTable[0], 5);
    EXPECT_EQ(s.Winners[0].Tables[0].TableNo, 5);
    const std::string log = testing::ReadFileBytes(dir.File("t.log"));
    EXPECT_NE(log.find("Menu: Format/Options/Default start tables\r\n    -> Starting tables are: 5,"),
              std::string::npos);
    EXPECT_TRUE(Saved());
    s.SignupClosed = true;
    EXPECT_FALSE(RunDefaultStartTables(s, nullptr));  // no dialog at all
}

}  // namespace
}  // namespace kestrova
