#include "ui/qt_ports.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "common/cp1252.h"
#include "model/tourney_state.h"
#include "records/confirm_dlg_form.h"
#include "records/notify_dlg_form.h"
#include "kit/dialog_util.h"

namespace kestrova {

// ---------------------------------------------------------------- dialogs

TConfirmAnswer TQtDialogs::ConfirmDlg(const std::string& text) {
    return RunConfirmDlg(text, parent_);
}

bool TQtDialogs::NotifyDlg(const std::string& text) {
    return RunNotifyDlg(text, parent_);
}

void TQtDialogs::MessageBox(TMessageBoxKind kind, const std::string& text) {
    QMessageBox box(parent_);
    switch (kind) {
        case TMessageBoxKind::Plain:
            box.setWindowTitle(QApplication::applicationDisplayName());
            box.setIcon(QMessageBox::NoIcon);
            break;
        case TMessageBoxKind::Information:
            box.setWindowTitle("Information");
            box.setIcon(QMessageBox::Information);
            break;
        case TMessageBoxKind::Warning:
            box.setWindowTitle("Warning");
            box.setIcon(QMessageBox::Warning);
            break;
        case TMessageBoxKind::Error:
            box.setWindowTitle("Error");
            box.setIcon(QMessageBox::Critical);
            break;
    }
    box.setText(ToQ(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool TQtDialogs::YesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, "Confirm", ToQ(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> TQtDialogs::InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parent_, ToQ(caption), ToQ(prompt), QLineEdit::Normal,
                                         ToQ(initial), &ok);
    if (!ok) return std::nullopt;
    return FromQ(text);
}

std::optional<std::string> TQtDialogs::ChooseFolder(const std::string& text,
                                                    const std::string& start) {
    QString dir = QFileDialog::getExistingDirectory(parent_, ToQ(text), ToQ(start));
    if (dir.isEmpty()) return std::nullopt;
    return FromQ(dir);
}

// ---------------------------------------------------------------- clock

namespace {
TDateTime FromQDateTime(const QDateTime& dt) {
    QDate d = dt.date();
    QTime t = dt.time();
    return EncodeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
}
}  // namespace

TDateTime TQtClock::Now() {
    return FromQDateTime(QDateTime::currentDateTime());
}

TDateTime TQtClock::UtcNow() {
    return FromQDateTime(QDateTime::currentDateTimeUtc());
}

// ---------------------------------------------------------------- lobby port

bool TQtLobbyPort::SetClipboard(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    auto* mime = new QMimeData;
    mime->setText(ToQ(text));
    // The Unicode form as well, for programs that look for UTF-16 text.
    std::u16string wide = Cp1252ToUtf16(text);
    mime->setData("text/plain;charset=utf-16",
                  QByteArray(reinterpret_cast<const char*>(wide.data()),
                             static_cast<qsizetype>(wide.size() * sizeof(char16_t))));
    clipboard->setMimeData(mime);
    return true;
}

void TQtLobbyPort::Wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(std::max(0, milliseconds), &loop, &QEventLoop::quit);
    loop.exec();
}

// ---------------------------------------------------------------- locale

std::string QtPatternToCore(const QString& qtPattern) {
    // Qt: M month, m minute, H/h hour, AP/ap meridiem, 't' zone, z/zzz ms.
    // Core: m month, n minute, h hour (12-hour when AM/PM is present).
    std::string out;
    const QString& p = qtPattern;
    for (qsizetype i = 0; i < p.size();) {
        QChar c = p[i];
        qsizetype run = 1;
        while (i + run < p.size() && p[i + run] == c)
            ++run;
        if (c == '\'') {
            qsizetype end = p.indexOf('\'', i + 1);
            if (end < 0) end = p.size() - 1;
            out += '"' + FromQ(p.mid(i + 1, end - i - 1)) + '"';
            i = end + 1;
            continue;
        }
        if (c == 'M') {
            out += std::string(static_cast<size_t>(std::min<qsizetype>(run, 4)), 'm');
        } else if (c == 'm') {
            out += run >= 2 ? "nn" : "n";
        } else if (c == 'H' || c == 'h') {
            out += run >= 2 ? "hh" : "h";
        } else if ((c == 'A' || c == 'a') && i + 1 < p.size() && p[i + 1].toLower() == QChar('p')) {
            out += c == 'A' ? "AM/PM" : "am/pm";
            run = 2;
        } else if (c == 'A' || c == 'a') {
            out += c == 'A' ? "AM/PM" : "am/pm";
        } else if (c == 't') {
            // The core has no zone letter; drop it and the blank before it.
            if (!out.empty() && out.back() == ' ') out.pop_back();
        } else if (c == 'z') {
            out += "z";
        } else {
            out += FromQ(QString(run, c));
        }
        i += run;
    }
    return out;
}

void FillLocaleFromSystem(TLocaleInfo& locale) {
    QLocale sys = QLocale::system();
    locale.ShortTimePattern = QtPatternToCore(sys.timeFormat(QLocale::ShortFormat));
    locale.LongTimePattern = QtPatternToCore(sys.timeFormat(QLocale::LongFormat));
    locale.ShortDatePattern = QtPatternToCore(sys.dateFormat(QLocale::ShortFormat));
    for (int m = 1; m <= 12; ++m)
        locale.ShortMonthNames[m - 1] = FromQ(sys.monthName(m, QLocale::ShortFormat));
    // Qt counts Monday as 1 and Sunday as 7; the core starts at Sunday.
    for (int d = 1; d <= 7; ++d)
        locale.LongDayNames[d % 7] = FromQ(sys.dayName(d));
}

}  // namespace kestrova
