#include "ui/demo_tourney.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

#include "engine/signup.h"
#include "session/lifecycle.h"
#include "ui/kestrova_form.h"

namespace kestrova {

void BuildDemoTourney(TKestrovaForm& window, const QString& pngPath) {
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
    window.Menus().Double->trigger();
    if (window.AddFind()->OnePerTable()->isChecked()) window.AddFind()->OnePerTable()->click();
    for (const char* n : names) {
        window.AddFind()->AddEdit()->setText(n);
        emit window.AddFind()->AddEdit()->returnPressed();
    }
    window.Menus().Close->trigger();
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
