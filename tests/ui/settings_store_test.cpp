// The platform side of the settings: the one-time import of the INI file
// earlier builds wrote, a folder that cannot be written, and the freedesktop
// file-type registration. The settings file itself is the core's
// (tests/records/settings_test.cpp).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
#include "records/settings.h"
#include "ui/file_types.h"
#include "ui/qt_ports.h"

namespace kestrova {
namespace {

using testing::FakeDialogs;
using testing::TempDir;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A start of the program: the settings read through these ports, the documents under `dir`.
struct Start {
    FakeDialogs dialogs;
    TTourneyState s;
    Start(const std::string& dir, ISettingsStore* store, IFileTypes* types = nullptr) {
        s.Ports.Dialogs = &dialogs;
        s.Ports.Settings = store;
        s.Ports.FileTypes = types;
        LoadSettings(s, {dir + "docs", dir});
    }
};

TEST(QtSettingsStore, TheIniFileOfEarlierBuildsIsCarriedOverOnce) {
    TempDir dir;
    TQtSettingsStore store(Q(dir.Path() + "cfg/Kestrova.settings"),
                           Q(dir.Path() + "cfg/Kestrova.conf"));
    {
        // As today's builds wrote it through QSettings.
        QSettings old(Q(dir.Path() + "cfg/Kestrova.conf"), QSettings::IniFormat);
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
    Start w(dir.Path(), &store);
    EXPECT_TRUE(w.dialogs.Messages.empty());
    EXPECT_EQ(w.s.Settings.Left, 15);
    EXPECT_EQ(w.s.Settings.HostName, "1234");
    EXPECT_TRUE(w.s.Settings.AlwaysOnTop);
    EXPECT_EQ(w.s.Settings.ConfirmNotifyFilter, 0x80000000u);
    EXPECT_EQ(w.s.Settings.MiddleTimeZone, "Europe/Berlin");
    EXPECT_TRUE(w.s.Settings.MiddleTime24Hour);
    EXPECT_TRUE(w.s.Settings.ShowPointsAtEnd);
    EXPECT_EQ(w.s.Settings.RecentTourneys, std::vector<std::string>{"/t/old.kvb"});
    ASSERT_TRUE(QFile::exists(Q(dir.Path() + "cfg/Kestrova.settings")));

    // Once the new file exists the old one is not read again.
    {
        QSettings old(Q(dir.Path() + "cfg/Kestrova.conf"), QSettings::IniFormat);
        old.setValue("Left", 99);
    }
    TQtSettingsStore later(Q(dir.Path() + "cfg/Kestrova.settings"),
                           Q(dir.Path() + "cfg/Kestrova.conf"));
    EXPECT_EQ(later.Read("", "Left").Int, 15);
}

TEST(QtSettingsStore, AFolderThatCannotBeWrittenIsToldOnce) {
    TempDir dir;
    testing::WriteFileBytes(dir.File("cfg"), "a file where the folder should be");
    TQtSettingsStore store(Q(dir.Path() + "cfg/Kestrova.settings"), "/nonexistent.conf");
    Start w(dir.Path(), &store);
    w.s.Settings.AlwaysOnTop = true;
    SaveSettings(w.s);
    SaveSettings(w.s);
    EXPECT_EQ(w.dialogs.Messages.size(), 1u);
    EXPECT_TRUE(w.s.Settings.AlwaysOnTop);
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
    EXPECT_TRUE(Start(env.dir.Path(), nullptr, &types).dialogs.Messages.empty());
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
    Start next(env.dir.Path(), nullptr, &types);
    EXPECT_EQ(testing::ReadFileBytes(types.DesktopFile().toStdString()),
              desktop + "NoDisplay=true\n");
}

TEST(XdgFileTypes, AFolderThatCannotBeMadeGivesTheWarning) {
    TempDir dir;
    testing::WriteFileBytes(dir.File("data"), "a file");
    TXdgFileTypes types(Q(dir.Path() + "data"), "/usr/bin/kestrova");
    Start w(dir.Path(), nullptr, &types);
    EXPECT_EQ(w.dialogs.Messages, std::vector<std::string>{"Error setting file associations"});
    EXPECT_TRUE(w.s.SettingsLoaded);
}

}  // namespace
}  // namespace kestrova
