#include "ui/demo_tourney.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

#include "engine/signup.h"
#include "session/lifecycle.h"
#include "ui/kestrova_form.h"

namespace kestrova {

namespace {
// Presses seat 0's win button of the first full open table, lowest round
// first; then, when nobody can arrive any more, a forced bye for the lowest
// entry waiting alone. False when no table is left to play.
bool PlayOneTable(TKestrovaForm& window) {
    TTourneyState& s = window.State();
    for (const bool full : {true, false})
        for (int r = 0; r < MaxRounds; ++r)
            for (int b = 0; b < s.BracketCount(); ++b) {
                const auto kind = static_cast<TBracketKind>(b);
                const TRoundRec& round = s.Bracket(kind)[r];
                for (int t = 0; t < round.TableCount; ++t) {
                    const TTableRec& table = round.Tables[t];
                    if (table.Result != 0 || table.Empty() || table.Full() != full) continue;
                    TBracketPanel* p = window.Panel(kind);
                    p->Tabs()->setCurrentIndex(r - b);
                    p->Box(t)->Seat(table.Seat[0] ? 0 : 1).Win->click();
                    if (table.Result != 0) return true;
                }
            }
    return false;
}
}  // namespace

void BuildDemoTourney(TKestrovaForm& window, const QString& pngPath, const QString& kind) {
    static const char* const names[16] = {"Alder",  "Birch",  "Cedar", "Dogwood", "Elm",   "Fir",
                                          "Ginkgo", "Hazel",  "Ivy",   "Juniper", "Kapok", "Larch",
                                          "Maple",  "Nutmeg", "Oak",   "Pine"};
    QTemporaryDir dir;
    TTourneyState& s = window.State();
    s.Settings.FilesFolder = QDir(dir.path()).filePath("").toStdString();
    s.TourneyPath = QDir(dir.path()).filePath("Demo.kvb").toStdString();
    // Nobody answers questions here, and the host's own settings stay untouched.
    s.Ports.Dialogs = nullptr;
    s.Ports.Settings = nullptr;
    if (kind == "first") {
        QApplication::processEvents();
        window.grab().save(pngPath);
        return;
    }
    (kind == "triple" ? window.Menus().Triple : window.Menus().Double)->trigger();
    if (window.AddFind()->OnePerTable()->isChecked()) window.AddFind()->OnePerTable()->click();
    for (const char* n : names) {
        window.AddFind()->AddEdit()->setText(n);
        emit window.AddFind()->AddEdit()->returnPressed();
    }
    window.Menus().Close->trigger();
    if (kind == "triple") {
        for (int guard = 0; guard < 200 && PlayOneTable(window); ++guard) {
        }
        window.Menus().TbWinners->trigger();
        QApplication::processEvents();
        window.grab().save(pngPath);
        return;
    }
    // Winners round 1 fully played, round 2 half: the middle of the event.
    TBracketPanel* w = window.Panel(TBracketKind::Winners);
    for (int t = 0; t < 8; ++t)
        w->Box(t)->Seat(t % 2).Win->click();
    w->Tabs()->setCurrentIndex(1);
    for (int t = 0; t < 2; ++t)
        w->Box(t)->Seat(0).Win->click();
    if (TBracketPanel* o = window.Panel(TBracketKind::OneLoss)) o->Tabs()->setCurrentIndex(0);
    window.resize(window.width(), 640);
    QApplication::processEvents();
    window.grab().save(pngPath);
}

}  // namespace kestrova
