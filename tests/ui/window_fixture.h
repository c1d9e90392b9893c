#pragma once
// The main window over scripted fakes, as every window test builds it, and
// the host's gestures on it: names typed with Enter, win buttons clicked,
// pop-ups opened with a right click, items found by their menu captions.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QMenuBar>
#include <QTest>

#include "fakes/fake_ports.h"
#include "ui/kestrova_form.h"
#include "ui/modal_helper.h"

namespace kestrova::testing {

struct TWindowOptions {
    bool RecordPostings = true;  // false: the real templates are posted
    bool Pairs = true;           // entries 2k and 2k+1 meet at table k
    bool Path = true;            // a tournament file "t.kvb" in the folder
};

class WindowTest : public ::testing::Test {
  protected:
    void Make(TWindowOptions o = {}, std::function<void(TFormPorts&)> change = {}) {
        TFormPorts ports;
        dialogs = Own<FakeDialogs>(ports.Dialogs);
        lobby = Own<FakeLobby>(ports.Lobby);
        clock = Own<FakeClock>(ports.Clock);
        store = Own<FakeSettingsStore>(ports.Settings);
        windows = Own<FakeWindowTree>(ports.LobbyWindows);
        windows->Clipboard = [this] { return lobby ? lobby->Latest() : std::string(); };
        if (o.RecordPostings) announcer = Own<RecordingAnnouncer>(ports.Announcer);
        if (change) change(ports);  // a fake it replaces is forgotten
        if (ports.Dialogs.get() != dialogs) dialogs = nullptr;
        if (ports.Lobby.get() != lobby) lobby = nullptr;
        form = std::make_unique<TKestrovaForm>(std::move(ports));
        form->SetNewTourneyDialog([](QWidget*) { return std::optional<TNewTourneyOptions>(); });
        if (o.Path) s().TourneyPath = dir.File("t.kvb");
        s().Settings.FilesFolder = dir.Path();
        if (o.Pairs) {
            s().OnePerTable = false;
            form->OnePerTableChanged(false);
        }
    }
    TTourneyState& s() { return form->State(); }
    TMainMenus& m() { return form->Menus(); }
    TTableBox* Box(int table, TBracketKind b = TBracketKind::Winners) {
        return form->Panel(b)->Box(table);
    }
    void Add(const QString& name) {
        QTest::keyClicks(form->AddFind()->AddEdit(), name);
        QTest::keyClick(form->AddFind()->AddEdit(), Qt::Key_Return);
    }
    void ClickWin(TBracketKind b, int round, int table, int seat) {
        form->Panel(b)->Tabs()->setCurrentIndex(round - static_cast<int>(b));
        QTest::mouseClick(Box(table, b)->Seat(seat).Win, Qt::LeftButton);
    }
    // Clicks seat 0 of the lowest open, full tables of one round; false when none.
    bool PlayOneRound() {
        for (int r = 0; r < MaxRounds; ++r)
            for (int b = 0; b < s().BracketCount(); ++b) {
                const auto kind = static_cast<TBracketKind>(b);
                const TRoundRec& round = s().Bracket(kind)[r];
                bool played = false;
                for (int t = 0; t < round.TableCount; ++t)
                    if (round.Tables[t].Full() && round.Tables[t].Result == 0) {
                        ClickWin(kind, r, t, 0);
                        played = true;
                    }
                if (played) return true;
            }
        return false;
    }
    // A right click, as the host opens a pop-up; the menu is closed again.
    void RightClick(QWidget* w) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(w, &e);
        for (QMenu* popup : {m().PlayerMenu, m().BootMenu, m().TableMenu})
            popup->hide();
    }
    QAction* Item(const QString& path) { return MenuItem(form.get(), path); }
    static QStringList Captions(const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* a : actions)
            out << (a->isSeparator() ? QString("-") : a->text());
        return out;
    }
    static void ClickButton(QWidget* w, const QString& caption) {
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (Plain(b->text()) == caption) return QTest::mouseClick(b, Qt::LeftButton);
        ADD_FAILURE() << "no button " << caption.toStdString() << " in "
                      << w->windowTitle().toStdString();
    }

    TempDir dir;
    FakeDialogs* dialogs = nullptr;
    FakeLobby* lobby = nullptr;
    FakeClock* clock = nullptr;
    FakeSettingsStore* store = nullptr;
    FakeWindowTree* windows = nullptr;
    RecordingAnnouncer* announcer = nullptr;
    std::unique_ptr<TKestrovaForm> form;

  private:
    template <class Fake, class Port>
    static Fake* Own(std::unique_ptr<Port>& slot) {
        auto fake = std::make_unique<Fake>();
        Fake* raw = fake.get();
        slot = std::move(fake);
        return raw;
    }
};

}  // namespace kestrova::testing
