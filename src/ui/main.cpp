// Kestrova: the application object, the main window, then the tournament
// named on the command line or the new-tournament dialog.
#include <QTimer>

#include "engine/tourney_state.h"
#include "ui/demo_tourney.h"
#include "ui/kestrova_app.h"
#include "ui/kestrova_form.h"
#include "ui/qt_ports.h"

using namespace kestrova;

int main(int argc, char** argv) {
    TKestrovaApp app(argc, argv);
    QApplication::setApplicationName("Tarvex Kestrova");
    QApplication::setApplicationDisplayName("Tarvex Kestrova");

    auto settings = std::make_unique<TQtSettingsStore>();
    TQtSettingsStore* store = settings.get();
    auto dialogs = std::make_unique<TQtDialogs>();
    TQtDialogs* dialogPort = dialogs.get();
    TFormPorts ports;
    ports.Dialogs = std::move(dialogs);
    ports.Clock = std::make_unique<TQtClock>();
    ports.Lobby = std::make_unique<TQtLobbyPort>();
    ports.Settings = std::move(settings);
    TKestrovaForm window(std::move(ports));
    dialogPort->SetParent(&window);
    FillLocaleFromSystem(window.State().Locale);
    store->LoadSettings(window.State());
    window.State().SettingsLoaded = true;
    window.show();

    // A hidden hook for the screenshot script: a 16-entry double tournament
    // played to the middle, in a temporary folder.
    const QByteArray demo = qgetenv("KESTROVA_DEMO");
    if (!demo.isEmpty()) {
        BuildDemoTourney(window, QString::fromLocal8Bit(demo));
        return 0;
    }
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTimer::singleShot(0, &window, [&window, path] { window.StartUp(path); });
    return app.exec();
}
