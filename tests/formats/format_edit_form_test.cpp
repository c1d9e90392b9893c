// The format editor: each field writes its key at once, the messages, the
// sample, the match-points choice and the sub-dialogs it hands values to.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "common/int_list.h"
#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "formats/format_edit_form.h"
#include "formats/host_details_form.h"
#include "kit/dialog_util.h"
#include "ui/modal_helper.h"

namespace kestrova {
namespace {

using Lines = std::vector<std::string>;

class FormatEditFormTest : public ::testing::Test {
  protected:
    TTourneyState s;
    testing::FakeWorld world;
    void SetUp() override { world.Wire(s); }
    std::unique_ptr<TFormatEditForm> Open(const Lines& lines, TFormatEditorServices services = {}) {
        auto f = std::make_unique<TFormatEditForm>(s, TTourneyFormat{"Spades", lines},
                                                   std::vector<std::string>{"Default", "Spades"},
                                                   std::move(services));
        f->show();
        return f;
    }
};

TEST_F(FormatEditFormTest, OpensWithTheFieldsOfTheLinesAndTheirLimits) {
    auto f = Open({"Host name=Zed", "Start time=8 pm", "Boot time=x", "Elim=2",
                   "Points=2,2,2,2,2,2,2,2,2,2,2,2,2,2,5", "Welcome=%!Hi%cthere"});
    EXPECT_EQ(f->NameEdit->text(), "Spades");
    EXPECT_EQ(f->HostEdit->text(), "Zed");
    EXPECT_EQ(f->StartEdit->text(), "8 pm");
    EXPECT_EQ(f->BootSpin->value(), 7);
    EXPECT_EQ(f->BootSpin->minimum(), 1);
    EXPECT_EQ(f->BootSpin->maximum(), 100);
    EXPECT_EQ(f->PointsCombo->currentText(), "2 pt double elim");
    EXPECT_EQ(f->PointsCombo->count(), 9);
    EXPECT_EQ(f->MessageList->count(), 20);
    EXPECT_EQ(f->MessageList->currentItem()->text(), "Welcome");
    EXPECT_EQ(f->MessageList->item(19)->text(), "Announce winners");
    EXPECT_EQ(f->MessageEdit->toPlainText(), "Hi\nthere");
    EXPECT_TRUE(f->NoAutoPostBox->isChecked());
    EXPECT_EQ(f->SampleBox->toPlainText(), "Hi\nthere");
    for (QLineEdit* e : {f->HostEdit, f->CoHostEdit, f->HostPlayerEdit, f->CoHostPlayerEdit})
        EXPECT_EQ(e->maxLength(), 16);
    EXPECT_EQ(f->StartEdit->maxLength(), 15);
    EXPECT_EQ(f->RulesEdit->maxLength(), 15);
    // "]" would end the section header early; the name field does not take it.
    f->NameEdit->clear();
    QTest::keyClicks(f->NameEdit, "a]b");
    EXPECT_EQ(f->NameEdit->text(), "ab");
    // Nothing was written by opening.
    EXPECT_EQ(f->Lines().size(), 6u);
    // Without their dialogs the sub-dialog buttons and the symbols stay disabled.
    for (QWidget* b : std::initializer_list<QWidget*>{f->TimeLimitsButton, f->PlayerPointsButton,
                                                      f->SeatingButton, f->SymbolsButton})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(f->SymbolsButton->toolTip(), "Enter special symbols");
}

TEST_F(FormatEditFormTest, EveryFieldWritesItsKeyAtOnceAndTheSampleFollows) {
    auto f = Open({});
    QTest::keyClicks(f->HostEdit, "Zed");
    QTest::keyClicks(f->CoHostPlayerEdit, "amy_2");
    QTest::keyClicks(f->RulesEdit, "7:45");
    f->BootSpin->setValue(3);
    f->MessageList->setCurrentRow(static_cast<int>(TMessageKind::mkBoot));
    QTest::keyClicks(f->MessageEdit, "%p has %b, host %h");
    EXPECT_EQ(f->SampleBox->toPlainText(), "<Player> has 3:00, host Zed");
    f->HostEdit->clear();
    // Trimmed before expansion, so the emptied token leaves its blank.
    EXPECT_EQ(f->SampleBox->toPlainText(), "<Player> has 3:00, host ");
    f->MessageEdit->appendPlainText("again");
    f->NoAutoPostBox->setChecked(true);
    EXPECT_EQ(f->Lines(), (Lines{"Co-host player Name=amy_2", "Rules time=7:45", "Boot time=3",
                                 "Boot=%!%p has %b, host %h%cagain"}));
    // Another message shows its own text; the first is kept.
    f->MessageList->setCurrentRow(static_cast<int>(TMessageKind::mkClosed));
    EXPECT_EQ(f->MessageEdit->toPlainText(), "");
    EXPECT_FALSE(f->NoAutoPostBox->isChecked());
    f->DefaultMessageButton->click();
    const std::string closed = DefaultFormatValue("Closed");
    EXPECT_EQ(f->MessageEdit->toPlainText(), ToQ(closed));
    EXPECT_EQ(f->Lines().back(), "Closed=" + closed);
    f->MessageEdit->clear();
    EXPECT_EQ(f->Lines().size(), 4u);  // the emptied message is no key
    f->PointsCombo->setCurrentIndex(1);
    emit f->PointsCombo->activated(1);
    f->MessageList->setCurrentRow(static_cast<int>(TMessageKind::mkNextAssign2));
    f->DefaultMessageButton->click();
    const std::string bullets = DefaultFormatValue("Closed").substr(0, 7);
    EXPECT_EQ(f->SampleBox->toPlainText(),
              ToQ(bullets + " <Player> and <Opp> are assigned to Table #50 for Round 2 "
                            "(Set match to 2 points, Time:00)"));
    f->CancelButton->click();
    EXPECT_EQ(f->result(), QDialog::Rejected);
}

TEST_F(FormatEditFormTest, OtherPointsAndTheSubDialogsAreHandedTheLinesAndWriteBack) {
    // Without the custom points dialog "Other..." changes nothing and shows what is stored.
    auto plain = Open({"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=3"});
    plain->PointsCombo->setCurrentIndex(8);
    emit plain->PointsCombo->activated(8);
    EXPECT_EQ(plain->PointsCombo->currentText(), "1 pt triple elim");
    EXPECT_EQ(plain->Lines(), (Lines{"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=3"}));

    std::vector<std::string> handed;
    TFormatEditorServices services;
    services.EditCustomPoints = [&](QWidget*, const TCustomPoints& p) -> std::optional<TCustomPoints> {
        handed.push_back("custom " + FormatIntList(p.Tiers[4]));
        TCustomPoints out = p;
        out.SameForAll = false;
        out.Tiers[4] = ParseIntList("9");
        out.Elim = TCustomElim::Fourth;
        return out;
    };
    services.EditTimeLimits = [&](QWidget*, const std::optional<TRoundList>& given) {
        handed.push_back(given ? "limits " + FormatIntList(*given) : "limits none");
        return std::optional<TRoundList>(ParseIntList("30,60"));
    };
    services.EditStartTables = [&](QWidget*, const TRoundList& t) {
        handed.push_back("tables " + FormatIntList(t));
        return std::optional<TRoundList>();  // Cancel
    };
    services.EditPlayerPoints = [&](QWidget*, const TPlayerPointsFields& p) {
        handed.push_back("points " + std::to_string(p.Place[0]) + (p.PlaceExactly[0] ? " exactly" : ""));
        TPlayerPointsFields out = p;
        out.Place[1] = 4;
        out.PlaceExactly[1] = true;
        return std::optional<TPlayerPointsFields>(out);
    };
    services.PickSymbol = [](QWidget*) { return std::optional<QString>(QString::fromUtf8("\u2022")); };
    auto f = Open({"Points=2,3,5", "Elim=1", "1st place points=-6"}, services);
    for (QWidget* b : std::initializer_list<QWidget*>{f->TimeLimitsButton, f->PlayerPointsButton,
                                                      f->SeatingButton, f->SymbolsButton})
        EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(f->PointsCombo->currentText(), "Other...");
    emit f->PointsCombo->activated(8);
    f->TimeLimitsButton->click();
    f->TimeLimitsButton->click();
    f->SeatingButton->click();
    f->PlayerPointsButton->click();
    f->SymbolsButton->click();
    EXPECT_EQ(handed, (Lines{"custom 2,2,2,2,2,2,2,2,2,2,2,2,2,3,5", "limits none",
                             "limits 30,60,0,0,0,0,0,0,0,0,0,0,0,0,0",
                             "tables " + FormatIntList(DefaultStartTables), "points 6 exactly"}));
    const Lines& l = f->Lines();
    EXPECT_EQ(KeyValue(l, "Points"), "");
    EXPECT_EQ(KeyValue(l, "Points129to256"), "9,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(KeyValue(l, "Elim"), "R");
    EXPECT_EQ(KeyValue(l, "Match time limits"), "30,60,0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_FALSE(FindKeyValue(l, "Starting tables"));
    EXPECT_EQ(KeyValue(l, "1st place points"), "-6");
    EXPECT_EQ(KeyValue(l, "2nd place points"), "-4");
    EXPECT_EQ(KeyValue(l, "Win points"), "2,2,2,2,2,2,2,2,2,2,2,2,2,2,17");
    EXPECT_EQ(KeyValue(l, "Welcome"), "\x95");
    EXPECT_EQ(f->MessageEdit->toPlainText(), QString::fromUtf8("\u2022"));
}

TEST_F(FormatEditFormTest, HostDetailsStoreAllSixOnOkAndNothingOnCancel) {
    s.MsgParams.HostName = "Zed";
    s.CoHostPlayerName = "amy";
    s.UnscheduledCoHost = true;
    {
        THostDetailsForm form(s);
        form.show();
        EXPECT_EQ(form.windowTitle(), "Host Details");
        EXPECT_EQ(form.HostEdit->text(), "Zed");
        EXPECT_EQ(form.CoHostPlayerEdit->text(), "amy");
        EXPECT_TRUE(form.UnscheduledCoHostBox->isChecked());
        EXPECT_EQ(form.HostPlayerEdit->maxLength(), 16);
        form.HostEdit->setText("Other");
        form.CancelButton->click();
    }
    EXPECT_EQ(s.MsgParams.HostName, "Zed");
    THostDetailsForm form(s);
    form.show();
    form.HostEdit->setText("Ann");
    form.CoHostEdit->setText("Bob");
    form.HostPlayerEdit->setText("ann_p");
    form.CoHostPlayerEdit->clear();
    form.UnscheduledHostBox->setChecked(true);
    form.UnscheduledCoHostBox->setChecked(false);
    form.OkButton->click();
    EXPECT_EQ(s.MsgParams.HostName, "Ann");
    EXPECT_EQ(s.MsgParams.CoHostName, "Bob");
    EXPECT_EQ(s.HostPlayerName, "ann_p");
    EXPECT_EQ(s.CoHostPlayerName, "");
    EXPECT_TRUE(s.UnscheduledHost);
    EXPECT_FALSE(s.UnscheduledCoHost);
}

}  // namespace
}  // namespace kestrova
