// The format editor driven through its widgets: the fields of the lines and
// their limits, each field writing its key at once with the sample following,
// the sub-dialogs handed their values and writing back; and "Host Details".
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

struct FormatEditFormTest : ::testing::Test {
    TTourneyState s;
    testing::FakeWorld world;
    void SetUp() override { world.Wire(s); }
    std::unique_ptr<TFormatEditForm> Open(const Lines& lines, TFormatEditorServices services = {}) {
        auto f = std::make_unique<TFormatEditForm>(s, TTourneyFormat{"Spades", lines},
                                                   std::vector<std::string>{"Default", "Spades"}, std::move(services));
        f->show();
        return f;
    }
    static std::vector<QWidget*> SubDialogButtons(TFormatEditForm& f) {
        return {f.TimeLimitsButton, f.PlayerPointsButton, f.SeatingButton, f.SymbolsButton};
    }
};

TEST_F(FormatEditFormTest, FieldsShowTheLinesAndWriteTheirKeysAtOnce) {
    auto f = Open({"Start time=8 pm", "Boot time=x", "Elim=2", "Points=2,2,2,2,2,2,2,2,2,2,2,2,2,2,5",
                   "Welcome=%!Hi%cthere"});
    EXPECT_EQ(f->NameEdit->text(), "Spades");
    EXPECT_EQ(f->StartEdit->text(), "8 pm");
    EXPECT_EQ(f->BootSpin->value(), 7);
    EXPECT_EQ(std::make_pair(f->BootSpin->minimum(), f->BootSpin->maximum()), std::make_pair(1, 100));
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
    EXPECT_EQ(f->StartEdit->maxLength() + f->RulesEdit->maxLength(), 30);
    for (QWidget* b : SubDialogButtons(*f)) EXPECT_FALSE(b->isEnabled());  // without their dialogs
    EXPECT_EQ(f->SymbolsButton->toolTip(), "Enter special symbols");
    // "]" would end the section header early; the name field does not take it.
    f->NameEdit->clear();
    QTest::keyClicks(f->NameEdit, "a]b");
    EXPECT_EQ(f->NameEdit->text(), "ab");
    EXPECT_EQ(f->Lines().size(), 5u);  // nothing was written by opening

    f = Open({});
    QTest::keyClicks(f->HostEdit, "Zed");
    QTest::keyClicks(f->CoHostPlayerEdit, "amy_2");
    QTest::keyClicks(f->RulesEdit, "7:45");
    f->BootSpin->setValue(3);
    f->MessageList->setCurrentRow(static_cast<int>(TMessageKind::mkBoot));
    QTest::keyClicks(f->MessageEdit, "%p has %b, host %h");
    EXPECT_EQ(f->SampleBox->toPlainText(), "<Player> has 3:00, host Zed");
    f->HostEdit->clear();  // trimmed before expansion: the emptied token leaves its blank
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
    EXPECT_EQ(f->Lines().back(), "Closed=" + closed);
    f->MessageEdit->clear();
    EXPECT_EQ(f->Lines().size(), 4u);  // the emptied message is no key
    f->PointsCombo->setCurrentIndex(1);
    emit f->PointsCombo->activated(1);
    f->MessageList->setCurrentRow(static_cast<int>(TMessageKind::mkNextAssign2));
    f->DefaultMessageButton->click();
    EXPECT_EQ(f->SampleBox->toPlainText(), ToQ(closed.substr(0, 7) + " <Player> and <Opp> are assigned to Table #50 "
                                                                     "for Round 2 (Set match to 2 points, Time:00)"));
    f->CancelButton->click();
    EXPECT_EQ(f->result(), QDialog::Rejected);
}

TEST_F(FormatEditFormTest, OtherPointsAndTheSubDialogsAreHandedTheLinesAndWriteBack) {
    // Without the custom points dialog "Other..." changes nothing.
    auto plain = Open({"Points=1,1,1,1,1,1,1,1,1,1,1,1,1,1,3", "Elim=3"});
    emit plain->PointsCombo->activated(8);
    EXPECT_EQ(plain->PointsCombo->currentText(), "1 pt triple elim");
    EXPECT_EQ(plain->Lines().size(), 2u);

    Lines handed;
    TFormatEditorServices sv;
    sv.EditCustomPoints = [&](QWidget*, const TCustomPoints& p) -> std::optional<TCustomPoints> {
        handed.push_back("custom " + FormatIntList(p.Tiers[4]));
        TCustomPoints out = p;
        out.SameForAll = false;
        out.Tiers[4] = ParseIntList("9");
        out.Elim = TCustomElim::Fourth;
        return out;
    };
    sv.EditTimeLimits = [&](QWidget*, const std::optional<TRoundList>& given) {
        handed.push_back(given ? "limits " + FormatIntList(*given) : "limits none");
        return std::optional<TRoundList>(ParseIntList("30,60"));
    };
    sv.EditStartTables = [&](QWidget*, const TRoundList& t) {
        handed.push_back("tables " + FormatIntList(t));
        return std::optional<TRoundList>();  // Cancel
    };
    sv.EditPlayerPoints = [&](QWidget*, const TPlayerPointsFields& p) {
        handed.push_back("points " + std::to_string(p.Place[0]) + (p.PlaceExactly[0] ? " exactly" : ""));
        TPlayerPointsFields out = p;
        out.Place[1] = 4;
        out.PlaceExactly[1] = true;
        return std::optional<TPlayerPointsFields>(out);
    };
    sv.PickSymbol = [](QWidget*) { return std::optional<QString>(QString::fromUtf8("\u2022")); };
    auto f = Open({"Points=2,3,5", "Elim=1", "1st place points=-6"}, sv);
    for (QWidget* b : SubDialogButtons(*f)) EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(f->PointsCombo->currentText(), "Other...");
    emit f->PointsCombo->activated(8);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{f->TimeLimitsButton, f->TimeLimitsButton,
                                                                      f->SeatingButton, f->PlayerPointsButton,
                                                                      f->SymbolsButton})
        b->click();
    EXPECT_EQ(handed, (Lines{"custom 2,2,2,2,2,2,2,2,2,2,2,2,2,3,5", "limits none",
                             "limits 30,60,0,0,0,0,0,0,0,0,0,0,0,0,0",
                             "tables " + FormatIntList(DefaultStartTables), "points 6 exactly"}));
    const Lines& l = f->Lines();
    EXPECT_EQ(KeyValue(l, "Points"), "");
    EXPECT_EQ(KeyValue(l, "Points129to256"), "9,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(KeyValue(l, "Elim"), "R");
    EXPECT_EQ(KeyValue(l, "Match time limits"), "30,60,0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_FALSE(FindKeyValue(l, "Starting tables"));
    EXPECT_EQ(KeyValue(l, "1st place points") + " " + KeyValue(l, "2nd place points"), "-6 -4");
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
        EXPECT_EQ(form.HostEdit->text() + "|" + form.CoHostPlayerEdit->text(), "Zed|amy");
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
    EXPECT_EQ(s.MsgParams.HostName + "|" + s.MsgParams.CoHostName + "|" + s.HostPlayerName + "|" + s.CoHostPlayerName,
              "Ann|Bob|ann_p|");
    EXPECT_TRUE(s.UnscheduledHost && !s.UnscheduledCoHost);
}

}  // namespace
}  // namespace kestrova
