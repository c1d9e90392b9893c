#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "common/datetime.h"
#include "fakes/fake_ports.h"
#include "model/tourney_state.h"
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
