#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "common/datetime.h"
#include "model/tourney_state.h"
#include "fakes/fake_ports.h"
#include "formats/format_defaults.h"
#include "ui/kestrova_app.h"
#include "ui/qt_ports.h"

namespace kestrova {
namespace {

using testing::TempDir;

TEST(QtLobbyPort, ClipboardCarriesPlainAndUnicodeTextOfACp1252Line) {
    TQtLobbyPort port;
    // 0x95 is the cp1252 bullet, U+2022; 0xE9 is e-acute.
    ASSERT_TRUE(port.SetClipboard("Table 3 \x95 Ren\xE9"));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), QString::fromUtf8("Table 3 \u2022 Ren\u00E9"));
    QByteArray wide = mime->data("text/plain;charset=utf-16");
    std::u16string expected = u"Table 3 \u2022 Ren\u00E9";
    ASSERT_EQ(wide.size(), static_cast<qsizetype>(expected.size() * 2));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(wide.constData()), expected.size()),
              expected);
    // Without Win32 windows there is no room to find: the clipboard is all.
    EXPECT_TRUE(ILobbyWindows().TopLevelWindows("ZoneLobbyClientWnd").empty());
}

// The built-in texts reach the clipboard with all seven bullets as U+2022.
TEST(QtLobbyPort, DefaultTextsReachTheClipboardAsUnicode) {
    TQtLobbyPort port;
    const QString b7(7, QChar(0x2022));
    const struct {
        const char* key;
        QString text;
    } rows[] = {
        {"Closed", b7 + " This tournament is now CLOSED"},
        {"3rd place announcement", b7 + " Congratulations go to %3 for THIRD PLACE " + b7},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(port.SetClipboard(DefaultFormatValue(row.key)));
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(mime, nullptr);
        EXPECT_EQ(mime->text(), row.text) << row.key;
        const QByteArray wide = mime->data("text/plain;charset=utf-16");
        EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(wide.constData()),
                                     wide.size() / 2),
                  row.text)
            << row.key;
    }
}

TEST(QtLobbyPort, WaitKeepsTheEventLoopRunning) {
    TQtLobbyPort port;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    port.Wait(0);
    EXPECT_TRUE(ran);
}

TEST(QtClock, NowIsLocalTimeOfToday) {
    TQtClock clock;
    TDateParts now = DecodeDateTime(clock.Now());
    QDate today = QDate::currentDate();
    // A run across midnight could see the next day; both are acceptable.
    EXPECT_TRUE(now.Year == today.year() || now.Year == today.year() + 1);
    EXPECT_GT(clock.UtcNow(), 40000.0);
}

TEST(QtLocale, QtPatternsBecomeCorePatterns) {
    EXPECT_EQ(QtPatternToCore("h:mm AP"), "h:nn AM/PM");
    EXPECT_EQ(QtPatternToCore("h:mm:ss ap t"), "h:nn:ss am/pm");
    EXPECT_EQ(QtPatternToCore("HH:mm:ss"), "hh:nn:ss");
    EXPECT_EQ(QtPatternToCore("M/d/yy"), "m/d/yy");
    EXPECT_EQ(QtPatternToCore("dddd d MMMM yyyy"), "dddd d mmmm yyyy");
    EXPECT_EQ(QtPatternToCore("d 'de' MMM"), "d \"de\" mmm");
    TLocaleInfo locale;
    FillLocaleFromSystem(locale);
    for (const auto& m : locale.ShortMonthNames)
        EXPECT_FALSE(m.empty());
    EXPECT_FALSE(FormatDateTime(locale.ShortTimePattern, EncodeDateTime(2026, 12, 5, 20, 0), locale)
                     .empty());
}

// ------------------------------------------------------------- settings

class QtSettingsStoreTest : public ::testing::Test {
  protected:
    TempDir dir;
    QString Ini() const { return QString::fromStdString(dir.File("kestrova.ini")); }
    TQtSettingsStore Store() const {
        return TQtSettingsStore(Ini(), QString::fromStdString(dir.Path() + "docs"));
    }
    void Put(const char* name, const QVariant& v) {
        QSettings q(Ini(), QSettings::IniFormat);
        q.setValue(name, v);
    }
};

TEST_F(QtSettingsStoreTest, FirstStartKeepsEveryDefault) {
    TAppSettings s;
    s.ShowPointsAtEnd = false;  // must be reset, not kept from the caller
    EXPECT_TRUE(Store().LoadAppSettings(s));
    EXPECT_TRUE(s.ShowPointsAtEnd);
    EXPECT_TRUE(s.ShowStatusSummary);
    EXPECT_TRUE(s.ResetBootOnAssign);
    EXPECT_FALSE(s.AlwaysOnTop);
    EXPECT_EQ(s.ConfirmNotifyFilter, 0u);
    EXPECT_EQ(s.FilesFolder, dir.Path() + "docs/Tarvex Kestrova Files/");
    EXPECT_EQ(s.MacroFileName, s.FilesFolder + "Macros.kvm");
    EXPECT_EQ(s.DefaultStartTables, "50,90,1,80,110,130,140,80,98,30,60,90,120,148,150");
}

TEST_F(QtSettingsStoreTest, EverythingWrittenIsReadBack) {
    TTourneyState a;
    TAppSettings& s = a.Settings;
    s.Left = -20, s.Top = 33, s.Height = 700, s.BracketArrangement = 1;
    s.HostName = "Ma\xEFt\xE9";
    s.MacroFileName = "/x/My Macros.kvm";
    s.FilesFolder = "/x/files/";
    s.ShowPointsAtEnd = false, s.AlwaysOnTop = true, s.ShowStatusSummary = false;
    s.RemindAt15 = true, s.RemindAt10 = false, s.RemindAt5 = true;
    s.ResetBootOnAssign = false, s.ShowMainMenuLobbies = true, s.AutoPostPreview = true;
    s.AutoPostLoss = true, s.HideCompletedMatches = true;
    s.MiddleTimeZone = "GMT Standard Time", s.MiddleTime24Hour = true;
    s.RightTimeZone = "Tokyo Standard Time", s.RightTime24Hour = true;
    s.ConfirmNotifyFilter = 0x80000000u | confirm_bits::BanPlayer | confirm_bits::MovedNotice;
    s.DefaultClearZfList = true;
    s.PostAssignmentsManually = true, s.DisplayMatchTimeRemaining = true;
    s.RecentTourneys = {"/t/a.kvb", "/t/b.kvb", "/t/c.kvb", "/t/d.kvb", "/t/e.kvb", "/t/f.kvb"};
    a.TeamMode = a.CapNames = a.AssignAllRound2Byes = a.RandomRound2Byes = true;
    TQtSettingsStore store = Store();
    store.Save(a);

    TTourneyState b;
    ASSERT_TRUE(store.LoadSettings(b));
    const TAppSettings& r = b.Settings;
    EXPECT_EQ(r.Left, -20);
    EXPECT_EQ(r.Top, 33);
    EXPECT_EQ(r.Height, 700);
    EXPECT_EQ(r.BracketArrangement, 1);
    EXPECT_EQ(r.HostName, "Ma\xEFt\xE9");
    EXPECT_EQ(r.MacroFileName, "/x/My Macros.kvm");
    EXPECT_EQ(r.FilesFolder, "/x/files/");
    EXPECT_FALSE(r.ShowPointsAtEnd);
    EXPECT_TRUE(r.AlwaysOnTop);
    EXPECT_FALSE(r.ShowStatusSummary);
    EXPECT_TRUE(r.RemindAt15 && !r.RemindAt10 && r.RemindAt5);
    EXPECT_FALSE(r.ResetBootOnAssign);
    EXPECT_TRUE(r.ShowMainMenuLobbies && r.AutoPostPreview && r.AutoPostLoss);
    EXPECT_TRUE(r.HideCompletedMatches);
    EXPECT_EQ(r.MiddleTimeZone, "GMT Standard Time");
    EXPECT_EQ(r.RightTimeZone, "Tokyo Standard Time");
    EXPECT_TRUE(r.MiddleTime24Hour && r.RightTime24Hour);
    EXPECT_EQ(r.ConfirmNotifyFilter, s.ConfirmNotifyFilter);
    EXPECT_TRUE(r.DefaultClearZfList);
    EXPECT_TRUE(r.PostAssignmentsManually && r.DisplayMatchTimeRemaining);
    EXPECT_TRUE(b.TeamMode && b.CapNames && b.AssignAllRound2Byes && b.RandomRound2Byes);
    // The recent list keeps five entries, newest first.
    EXPECT_EQ(r.RecentTourneys, (std::vector<std::string>{"/t/a.kvb", "/t/b.kvb", "/t/c.kvb",
                                                          "/t/d.kvb", "/t/e.kvb"}));

    // The value names are the program's established ones.
    QSettings q(Ini(), QSettings::IniFormat);
    EXPECT_EQ(q.value("Four Per Table").toInt(), 1);
    EXPECT_EQ(q.value("Show MainMenu Lobbies").toInt(), 1);
    EXPECT_EQ(q.value("RestoreMRU/F0").toString(), "/t/a.kvb");
    EXPECT_FALSE(q.contains("RestoreMRU/F5"));
    // Written by their own commands only.
    EXPECT_FALSE(q.contains("Default Start Tables"));
    EXPECT_FALSE(q.contains("Last Version Installed"));
}

TEST_F(QtSettingsStoreTest, DependentValuesAndWrongTypes) {
    Put("Left", 10);
    Put("Top", 20);
    Put("Remind at 10", 1);                // without "Remind at 15": not read
    Put("Show Points At End", "perhaps");  // not a number: default kept
    Put("Default Clear ZF List", 1);       // without the filter: not read
    Put("Height", 999);                    // without the arrangement: not read
    TAppSettings s;
    EXPECT_TRUE(Store().LoadAppSettings(s));
    EXPECT_EQ(s.Left, 10);
    EXPECT_FALSE(s.RemindAt15 || s.RemindAt10 || s.RemindAt5);
    EXPECT_TRUE(s.ShowPointsAtEnd);
    EXPECT_FALSE(s.DefaultClearZfList);
    EXPECT_EQ(s.Height, TAppSettings{}.Height);
}

TEST_F(QtSettingsStoreTest, MissingRequiredValueIsAReadErrorThatKeepsDefaults) {
    Put("Top", 20);
    Put("Always On Top", 1);
    TAppSettings s;
    EXPECT_FALSE(Store().LoadAppSettings(s));
    EXPECT_EQ(s.Top, TAppSettings{}.Top);
    EXPECT_FALSE(s.AlwaysOnTop);

    // A reminder group without its 5-minute value stops reading there.
    Put("Left", 1);
    Put("Remind at 15", 1);
    Put("Remind at 10", 1);
    Put("Auto-Post Loss", 1);
    EXPECT_FALSE(Store().LoadAppSettings(s));
    EXPECT_TRUE(s.AlwaysOnTop);  // read before the failure
    EXPECT_TRUE(s.RemindAt10);
    EXPECT_FALSE(s.AutoPostLoss);  // after it: default
}

TEST_F(QtSettingsStoreTest, StartTablesAndVersionHaveTheirOwnWriters) {
    TQtSettingsStore store = Store();
    store.SaveDefaultStartTables("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    store.SaveLastVersionInstalled(44);
    Put("Left", 1);
    Put("Top", 1);
    TAppSettings s;
    ASSERT_TRUE(store.LoadAppSettings(s));
    EXPECT_EQ(s.DefaultStartTables, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    EXPECT_EQ(s.LastVersionInstalled, 44);
}

// ------------------------------------------------------------- error handler

TEST(KestrovaApp, ExceptionInASlotIsShownAndTheProgramGoesOn) {
    TKestrovaApp* app = TKestrovaApp::Instance();
    ASSERT_NE(app, nullptr);
    std::vector<std::string> shown;
    auto saved = app->ShowError;
    app->ShowError = [&](const std::string& text) { shown.push_back(text); };

    QPushButton button("Save");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        if (++clicks == 1) throw std::runtime_error("Cannot create file \"x.kvb\".");
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(shown, std::vector<std::string>{"Cannot create file \"x.kvb\"."});
    // The next command runs normally.
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(shown.size(), 1u);

    bool later = false;
    QTimer::singleShot(0, [] { throw 42; });
    QTimer::singleShot(0, [&] { later = true; });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(later);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], "An unknown error has occurred.");
    app->ShowError = saved;
}

}  // namespace
}  // namespace kestrova
