// The "Team Properties" panel: its limits, keys, and what OK does to a seat.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/table_count.h"
#include "engine/team_properties_form.h"
#include "fakes/fake_ports.h"

namespace kestrova {
namespace {

QLineEdit* Edit(QWidget* form, const char* name) {
    return form->findChild<QLineEdit*>(name);
}

TEST(TeamPropertiesForm, LimitsAndKeys) {
    TTeamPropertiesForm form;
    EXPECT_EQ(form.windowTitle(), "Team Properties");
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    form.Load("Old", "a", "b");
    form.show();
    QLineEdit* team = Edit(&form, "TeamNameEdit");
    team->clear();
    QTest::keyClicks(team, QString(40, 'T'));
    Edit(&form, "FirstNameEdit")->clear();
    QTest::keyClicks(Edit(&form, "FirstNameEdit"), "Ann Marie Smith-Jones");
    // A key that types a non-ASCII letter, as a keyboard layout would.
    QTest::sendKeyEvent(QTest::Click, Edit(&form, "SecondNameEdit"), Qt::Key_unknown,
                        QString::fromUtf8("\u00e9"), Qt::NoModifier);
    QTest::keyClicks(Edit(&form, "SecondNameEdit"), "tienne");
    QTest::keyClick(Edit(&form, "SecondNameEdit"), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.TeamName(), std::string(31, 'T'));
    EXPECT_EQ(form.First(), "Ann Marie Smith");
    EXPECT_EQ(form.Second(), "b\xE9tienne");  // cp1252 in the core

    form.show();
    QTest::keyClick(team, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

// OK on an empty spot signs up a team, its names filtered as a sign-up's;
// on an entry the panel shows its names, Escape keeps them and OK stores
// them as typed.
TEST(TeamPropertiesForm, OkSignsUpOrRenamesTheSeat) {
    testing::TempDir dir;
    testing::FakeWorld world;
    testing::RecordingAnnouncer announcer;
    TTourneyState s;
    TTeamPropertiesForm form;
    world.Wire(s, &announcer);
    s.TourneyPath = dir.File("t.kvb");
    SetElimFormat(s, TElimFormat::Single);
    s.TeamMode = true;
    struct Case {
        const char *Team, *First, *Second;
        Qt::Key Key;
        const char *Shown, *Seated;
    } const cases[] = {
        {"Night Owls", "ann", "bo b", Qt::Key_Return, "|||", "Night Owls|ann|bob"},
        {"x", "y", "z", Qt::Key_Escape, "Night Owls|ann|bob|", "Night Owls|ann|bob"},
        {"Owls & Co", "Ann B", "bob", Qt::Key_Return, "Night Owls|ann|bob|", "Owls & Co|Ann B|bob"},
    };
    for (const Case& c : cases) {
        std::string shown;
        QTimer::singleShot(0, [&] {
            QWidget* dlg = QApplication::activeModalWidget();
            ASSERT_NE(dlg, nullptr);
            for (auto [name, text] : {std::pair{"TeamNameEdit", c.Team},
                                      {"FirstNameEdit", c.First},
                                      {"SecondNameEdit", c.Second}}) {
                shown += Edit(dlg, name)->text().toStdString() + "|";
                Edit(dlg, name)->clear();
                QTest::keyClicks(Edit(dlg, name), text);
            }
            QTest::keyClick(Edit(dlg, "TeamNameEdit"), c.Key);
        });
        RunTeamProperties(s, form, TBracketKind::Winners, 0, 4, 1, QPoint(10, 10));
        const TPlayer* p = s.Winners[0].Tables[4].Seat[1];
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(shown, c.Shown);
        EXPECT_EQ(p->Name + "|" + p->Player1 + "|" + p->Player2, c.Seated);
    }
    EXPECT_EQ(s.Players.size(), 1u);
    ASSERT_EQ(announcer.Postings.size(), 1u);
    EXPECT_EQ(announcer.Postings[0].Kind, TMessageKind::mkSignup);
    EXPECT_EQ(announcer.Postings[0].Params.PlayerName, "Night Owls");
}

}  // namespace
}  // namespace kestrova
