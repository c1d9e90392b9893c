// The platform side of the settings: the typed settings file round trip of
// every value, the one-time import of the INI file earlier builds wrote, a
// damaged file, a folder that cannot be written, the window placed on a
// screen that exists, and the freedesktop file-type registration.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
#include "records/settings.h"
#include "ui/file_types.h"
#include "ui/kestrova_form.h"
#include "ui/qt_ports.h"

namespace kestrova {
namespace {

using testing::FakeDialogs;
using testing::TempDir;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

struct StoreWorld {
    TempDir dir;
    FakeDialogs dialogs;
    TQtSettingsStore store;
    TTourneyState s;
    StoreWorld()
        : store(Q(dir.Path() + "cfg/Kestrova.settings"), Q(dir.Path() + "cfg/Kestrova.conf")) {
        s.Ports.Dialogs = &dialogs;
        s.Ports.Settings = &store;
    }
    TSettingsPlaces Places() const { return {dir.Path() + "docs", dir.Path()}; }
};

TEST(QtSettingsStore, EveryValueRoundTripsThroughTheFileWithItsType) {
    StoreWorld w;
    LoadSettings(w.s, w.Places());
    TAppSettings& a = w.s.Settings;
    a.Left = -20, a.Top = 33, a.Height = 700, a.BracketArrangement = 1;
    a.HostName = "Ma\xEFt\xE9 \"Q\"", a.MacroFileName = w.dir.Path() + "m.kvm";
    a.ShowPointsAtEnd = false, a.AlwaysOnTop = true, a.ShowStatusSummary = false;
    a.RemindAt15 = a.RemindAt5 = true, a.ResetBootOnAssign = false;
    a.ShowMainMenuLobbies = a.AutoPostPreview = a.AutoPostLoss = a.HideCompletedMatches = true;
    a.MiddleTimeZone = "Europe/Paris", a.MiddleTime24Hour = true;
    a.RightTimeZone = "Asia/Tokyo", a.RightTime24Hour = true;
    a.ConfirmNotifyFilter = 0x80000000u | confirm_bits::MovedNotice;
    a.DefaultClearZfList = a.PostAssignmentsManually = a.DisplayMatchTimeRemaining = true;
    a.RecentTourneys = {"/t/a.kvb", "/t/b b.kvb"};
    w.s.TeamMode = w.s.CapNames = w.s.AssignAllRound2Byes = w.s.RandomRound2Byes = true;
    SaveSettings(w.s);
    SaveDefaultStartTables(w.s, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    SaveLastVersionInstalled(w.s, 44);
    EXPECT_TRUE(w.dialogs.Messages.empty());

    TQtSettingsStore again(Q(w.dir.Path() + "cfg/Kestrova.settings"), "/nonexistent.conf");
    TTourneyState b;
    b.Ports.Settings = &again;
    ASSERT_TRUE(ReadSettings(b, w.Places()));
    const TAppSettings& r = b.Settings;
    EXPECT_EQ(r.Left, -20);
    EXPECT_EQ(r.Top, 33);
    EXPECT_EQ(r.Height, 700);
    EXPECT_EQ(r.BracketArrangement, 1);
    EXPECT_EQ(r.HostName, a.HostName);
    EXPECT_EQ(r.MacroFileName, a.MacroFileName);
    EXPECT_EQ(r.FilesFolder, a.FilesFolder);
    EXPECT_FALSE(r.ShowPointsAtEnd || !r.AlwaysOnTop || r.ShowStatusSummary);
    EXPECT_TRUE(r.RemindAt15 && !r.RemindAt10 && r.RemindAt5 && !r.ResetBootOnAssign);
    EXPECT_TRUE(r.ShowMainMenuLobbies && r.AutoPostPreview && r.AutoPostLoss);
    EXPECT_TRUE(r.HideCompletedMatches && r.MiddleTime24Hour && r.RightTime24Hour);
    EXPECT_EQ(r.MiddleTimeZone, "Europe/Paris");
    EXPECT_EQ(r.RightTimeZone, "Asia/Tokyo");
    EXPECT_EQ(r.ConfirmNotifyFilter, a.ConfirmNotifyFilter);
    EXPECT_TRUE(r.DefaultClearZfList && r.PostAssignmentsManually && r.DisplayMatchTimeRemaining);
    EXPECT_TRUE(b.TeamMode && b.CapNames && b.AssignAllRound2Byes && b.RandomRound2Byes);
    EXPECT_EQ(r.DefaultStartTables, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    EXPECT_EQ(r.LastVersionInstalled, 44);
    EXPECT_EQ(r.RecentTourneys, a.RecentTourneys);
    EXPECT_TRUE(again.Read("", "Left").IsInteger());
    EXPECT_TRUE(again.Read("", "Host name").IsString());
}

TEST(QtSettingsStore, TheIniFileOfEarlierBuildsIsCarriedOverOnce) {
    StoreWorld w;
    {
        // As today's builds wrote it through QSettings.
        QSettings old(Q(w.dir.Path() + "cfg/Kestrova.conf"), QSettings::IniFormat);
        old.setValue("Left", 15);
        old.setValue("Top", 25);
        old.setValue("Host name", "1234");  // a name of digits stays a string
        old.setValue("Always On Top", 1);
        old.setValue("Confirm Notify Filter", -2147483647 - 1);
        old.setValue("Default Clear ZF List", 0);  // needed once the filter is there
        old.setValue("Middle Time Zone", "Europe/Berlin");
        old.setValue("Middle Time 24 Hour", 1);
        old.setValue("Show Points At End", "perhaps");
        old.setValue("RestoreMRU/F0", "/t/old.kvb");
    }
    LoadSettings(w.s, w.Places());
    EXPECT_TRUE(w.dialogs.Messages.empty());
    EXPECT_EQ(w.s.Settings.Left, 15);
    EXPECT_EQ(w.s.Settings.HostName, "1234");
    EXPECT_TRUE(w.s.Settings.AlwaysOnTop);
    EXPECT_EQ(w.s.Settings.ConfirmNotifyFilter, 0x80000000u);
    EXPECT_EQ(w.s.Settings.MiddleTimeZone, "Europe/Berlin");
    EXPECT_TRUE(w.s.Settings.MiddleTime24Hour);
    EXPECT_TRUE(w.s.Settings.ShowPointsAtEnd);
    EXPECT_EQ(w.s.Settings.RecentTourneys, std::vector<std::string>{"/t/old.kvb"});
    ASSERT_TRUE(QFile::exists(Q(w.dir.Path() + "cfg/Kestrova.settings")));

    // Once the new file exists the old one is not read again.
    {
        QSettings old(Q(w.dir.Path() + "cfg/Kestrova.conf"), QSettings::IniFormat);
        old.setValue("Left", 99);
    }
    TQtSettingsStore later(Q(w.dir.Path() + "cfg/Kestrova.settings"),
                           Q(w.dir.Path() + "cfg/Kestrova.conf"));
    EXPECT_EQ(later.Read("", "Left").Int, 15);
}

TEST(QtSettingsStore, ADamagedFileStartsWithDefaultsAndTheWarning) {
    StoreWorld w;
    QDir().mkpath(Q(w.dir.Path() + "cfg"));
    testing::WriteFileBytes(w.dir.Path() + "cfg/Kestrova.settings",
                            "[Kestrova]\n\"Left\"=\"-5\"\n\"Top\"=dword:\n\x00\xff\xfe garbage");
    LoadSettings(w.s, w.Places());
    EXPECT_EQ(w.dialogs.Messages, std::vector<std::string>{"Error reading configuration"});
    EXPECT_EQ(w.s.Settings.Left, TAppSettings{}.Left);
    EXPECT_TRUE(w.s.SettingsLoaded);
}

TEST(QtSettingsStore, AFolderThatCannotBeWrittenIsToldOnce) {
    TempDir dir;
    testing::WriteFileBytes(dir.File("cfg"), "a file where the folder should be");
    FakeDialogs dialogs;
    TQtSettingsStore store(Q(dir.Path() + "cfg/Kestrova.settings"), "/nonexistent.conf");
    TTourneyState s;
    s.Ports.Dialogs = &dialogs;
    s.Ports.Settings = &store;
    LoadSettings(s, {dir.Path() + "docs", dir.Path()});
    s.Settings.AlwaysOnTop = true;
    SaveSettings(s);
    SaveSettings(s);
    EXPECT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_TRUE(s.Settings.AlwaysOnTop);
}

TEST(KestrovaFormSettings, AWindowOffEveryScreenOpensOnThePrimaryScreen) {
    TempDir dir;
    TFormPorts ports;
    ports.Dialogs = std::make_unique<FakeDialogs>();
    ports.Settings = std::make_unique<testing::FakeSettingsStore>();
    TKestrovaForm window(std::move(ports));
    window.State().Settings.FilesFolder = dir.Path();
    window.State().Settings.Left = 40000;
    window.State().Settings.Top = -30000;
    window.ApplySettings();
    window.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(window.frameGeometry().topLeft()))
        << window.frameGeometry().x() << "," << window.frameGeometry().y();
    // The designed height, or more when the strips' labels need it.
    EXPECT_EQ(window.height(), std::max(TAppSettings{}.Height, window.minimumHeight()));

    window.State().Settings.Left = area.left() + 10;
    window.State().Settings.Top = area.top() + 10;
    window.State().Settings.Height = 400;
    window.ApplySettings();
    EXPECT_EQ(window.y(), area.top() + 10);
    EXPECT_EQ(window.height(), std::max(400, window.minimumHeight()));
}

// ---- freedesktop registration

struct XdgEnvironment {
    TempDir dir;
    QByteArray oldData = qgetenv("XDG_DATA_HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    XdgEnvironment() {
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.Path() + "data"));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.Path() + "config"));
        QDir().mkpath(Q(dir.Path() + "data"));
        QDir().mkpath(Q(dir.Path() + "config"));
    }
    ~XdgEnvironment() {
        qputenv("XDG_DATA_HOME", oldData);
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    static QString Run(const QStringList& args) {
        QProcess p;
        p.start("xdg-mime", args);
        p.waitForFinished(20000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
};

TEST(XdgFileTypes, AfterTheFirstStartAKvbFileIsOursAndOpensInTheProgram) {
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed (xdg-utils)";
    XdgEnvironment env;
    TXdgFileTypes types(Q(env.dir.Path() + "data"), "/opt/Tarvex Kestrova/kestrova");
    EXPECT_FALSE(types.Registered());
    FakeDialogs dialogs;
    TTourneyState s;
    s.Ports.Dialogs = &dialogs;
    s.Ports.FileTypes = &types;
    LoadSettings(s, {env.dir.Path() + "docs", env.dir.Path()});
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_TRUE(types.Registered());
    const std::string desktop = testing::ReadFileBytes(types.DesktopFile().toStdString());
    EXPECT_NE(desktop.find("Exec=\"/opt/Tarvex Kestrova/kestrova\" %f\n"), std::string::npos);
    EXPECT_NE(desktop.find("MimeType=application/x-kestrova-tournament;"), std::string::npos);

    testing::WriteFileBytes(env.dir.Path() + "Cup.kvb", "KVB-not-really");
    EXPECT_EQ(XdgEnvironment::Run({"query", "filetype", Q(env.dir.Path() + "Cup.kvb")}),
              "application/x-kestrova-tournament");
    EXPECT_EQ(XdgEnvironment::Run({"query", "default", "application/x-kestrova-tournament"}),
              "kestrova.desktop");

    // The next start finds the registration and changes nothing, even one the host edited.
    testing::WriteFileBytes(types.DesktopFile().toStdString(), desktop + "NoDisplay=true\n");
    TTourneyState next;
    next.Ports.Dialogs = &dialogs;
    next.Ports.FileTypes = &types;
    LoadSettings(next, {env.dir.Path() + "docs", env.dir.Path()});
    EXPECT_EQ(testing::ReadFileBytes(types.DesktopFile().toStdString()), desktop + "NoDisplay=true\n");
}

TEST(XdgFileTypes, AFolderThatCannotBeMadeGivesTheWarning) {
    TempDir dir;
    testing::WriteFileBytes(dir.File("data"), "a file");
    TXdgFileTypes types(Q(dir.Path() + "data"), "/usr/bin/kestrova");
    FakeDialogs dialogs;
    TTourneyState s;
    s.Ports.Dialogs = &dialogs;
    s.Ports.FileTypes = &types;
    LoadSettings(s, {dir.Path() + "docs", dir.Path()});
    EXPECT_EQ(dialogs.Messages, std::vector<std::string>{"Error setting file associations"});
    EXPECT_TRUE(s.SettingsLoaded);
}

}  // namespace
}  // namespace kestrova
