// Kestrova: the application object, the main window, then the tournament
// named on the command line or the new-tournament dialog.
#include <QTimer>

#include "model/tourney_state.h"
#include "engine/format_store.h"
#include "common/int_list.h"
#include "formats/message_file.h"
#include "formats/tourney_format.h"
#include "session/lifecycle.h"
#include "session/new_tourney_form.h"
#include "engine/tourney_file.h"
#include "ui/demo_tourney.h"
#include "ui/kestrova_app.h"
#include "lobby/lobby_link.h"
#include "ui/kestrova_form.h"
#include "records/settings.h"
#include "timing/world_clock.h"
#include "ui/file_types.h"
#include "ui/qt_ports.h"
#include "ui/qt_time_zone_store.h"
#include "ui/registry_settings_store.h"
#ifdef Q_OS_WIN
#include "lobby/win32_lobby.h"
#include "timing/registry_time_zones.h"
#endif

using namespace kestrova;

namespace {
// The host fields a stored format proposes to the new-tournament dialog.
std::optional<TFormatHostFields> FormatHostFields(TTourneyState& state, const std::string& name) {
    TMessageFile file(FormatsFilePath(state));
    file.Load();
    const std::vector<std::string>* lines = file.Find(name);
    if (!lines) return std::nullopt;
    TFormatHostFields f;
    f.HostName = KeyValue(*lines, "Host name");
    f.CoHostName = KeyValue(*lines, "Co-host name");
    f.HostPlayerName = KeyValue(*lines, "Host player name");
    f.CoHostPlayerName = KeyValue(*lines, "Co-host player Name");
    f.StartTime = KeyValue(*lines, "Start time");
    f.RulesTime = KeyValue(*lines, "Rules time");
    if (auto tables = FindKeyValue(*lines, "Starting tables"); tables && !tables->empty())
        f.StartTables = ParseIntList(*tables);
    return f;
}

void WireNewTourneyDialog(TKestrovaForm& window) {
    window.SetNewTourneyDialog([&window](QWidget* parent) -> std::optional<TNewTourneyOptions> {
        TTourneyState& state = window.State();
        TNewTourneyForm form(state, parent);
        form.FormatFields = [&state](const std::string& name) { return FormatHostFields(state, name); };
        form.LobbyTitles = [&state] {
            std::vector<std::string> titles;
            for (const TLobbyRoom& room : ListLobbyWindows(state))
                titles.push_back(room.Title);
            return titles;
        };
        form.exec();
        switch (form.Result()) {
            case TNewTourneyForm::TResult::Start: return form.Options();
            case TNewTourneyForm::TResult::Restore: window.OpenFileCommand(); break;
            case TNewTourneyForm::TResult::OpenRecent: OpenTourney(state, form.RecentPath()); break;
            case TNewTourneyForm::TResult::Cancel: break;
        }
        return std::nullopt;
    });
}
}  // namespace

int main(int argc, char** argv) {
    TKestrovaApp app(argc, argv);
    // No display name: the platform would add it to every window's title.
    QApplication::setApplicationName("Tarvex Kestrova");

    auto dialogs = std::make_unique<TQtDialogs>();
    TQtDialogs* dialogPort = dialogs.get();
    TFormPorts ports;
    ports.Dialogs = std::move(dialogs);
    ports.Clock = std::make_unique<TQtClock>();
#ifdef Q_OS_WIN
    // The lobby client's windows, the clipboard in both text formats and the
    // pause that handles window messages, and the registry's zones.
    ports.Lobby = MakeWin32LobbyPort();
    ports.LobbyWindows = MakeWin32LobbyWindows();
    ports.Settings = std::make_unique<TRegistrySettingsStore>();
    ports.TimeZones = MakeRegistryTimeZoneStore();
#else
    // No lobby windows here: lines stay on the clipboard for the host.
    ports.Lobby = std::make_unique<TQtLobbyPort>();
    ports.Settings = std::make_unique<TQtSettingsStore>();
    ports.TimeZones = std::make_unique<TQtTimeZoneStore>();
#endif
    ports.FileTypes = MakePlatformFileTypes();
    TKestrovaForm window(std::move(ports));
    dialogPort->SetParent(&window);
    FillLocaleFromSystem(window.State().Locale);
    LoadSettings(window.State(), QtSettingsPlaces());
    window.ApplySettings();
    LoadZoneClocks(window.State());
    PrepareStartUp(window.State());
    WireNewTourneyDialog(window);
    window.show();

    // A hidden hook for the screenshot script: a 16-entry double tournament
    // played to the middle, in a temporary folder.
    const QByteArray demo = qgetenv("KESTROVA_DEMO");
    if (!demo.isEmpty()) {
        BuildDemoTourney(window, QString::fromLocal8Bit(demo),
                         QString::fromLocal8Bit(qgetenv("KESTROVA_DEMO_KIND")));
        return 0;
    }
    // "--show-link" shows the hidden co-host link submenu; any other
    // argument is the tournament file to open.
    QStringList args = QApplication::arguments().mid(1);
    window.ShowLinkMenu(args.removeAll("--show-link") > 0);
    const QString path = args.value(0);
    QTimer::singleShot(0, &window, [&window, path] { window.StartUp(path); });
    return app.exec();
}
