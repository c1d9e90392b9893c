#include "ui/file_types.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <stdexcept>

#include "common/file_util.h"

namespace kestrova {

namespace {

constexpr int ToolTimeoutMs = 20000;

QString ProgramPath(const QString& given) {
    return given.isEmpty() ? QCoreApplication::applicationFilePath() : given;
}

// An argument of a desktop entry's Exec line: quoted, with the characters
// the freedesktop desktop-entry format reserves escaped, and '%' doubled.
QString ExecArgument(const QString& path) {
    QString out = "\"";
    for (QChar c : path) {
        if (c == '\\') {
            out += "\\\\\\\\";  // escaped for the argument, then for the string
            continue;
        }
        if (c == '"' || c == '`' || c == '$') out += "\\\\";
        if (c == '%') out += '%';
        out += c;
    }
    return out + "\"";
}

QString DesktopEntry(const QString& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tarvex Kestrova\n"
           "Comment=Run an online elimination tournament\n"
           "Exec=" + ExecArgument(program) + " %f\n"
           "MimeType=" + QString(TXdgFileTypes::MimeType) + ";\n"
           "Terminal=false\n"
           "Categories=Game;\n";
}

QString MimeInfo() {
    return QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                   "  <mime-type type=\"%1\">\n"
                   "    <comment>Kestrova File</comment>\n"
                   "    <glob pattern=\"*.kvb\"/>\n"
                   "  </mime-type>\n"
                   "</mime-info>\n")
        .arg(TXdgFileTypes::MimeType);
}

// Runs a tool when it is installed; false when it ran and failed.
bool RunIfPresent(const QString& tool, const QStringList& args) {
    const QString path = QStandardPaths::findExecutable(tool);
    if (path.isEmpty()) return true;
    QProcess p;
    p.start(path, args);
    if (!p.waitForFinished(ToolTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void WriteText(const QString& path, const QString& text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw std::runtime_error("cannot make the folder of " + path.toStdString());
    WriteFileAtomically(path.toStdString(), text.toStdString());
}

}  // namespace

TXdgFileTypes::TXdgFileTypes(QString dataHome, QString program)
    : dataHome_(dataHome.isEmpty()
                    ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                    : dataHome),
      program_(ProgramPath(program)) {}

QString TXdgFileTypes::DesktopFile() const {
    return dataHome_ + "/applications/" + DesktopName;
}

QString TXdgFileTypes::MimePackage() const {
    return dataHome_ + "/mime/packages/kestrova-tournament.xml";
}

bool TXdgFileTypes::Registered() {
    return QFileInfo::exists(DesktopFile()) && QFileInfo::exists(MimePackage());
}

bool TXdgFileTypes::Register() {
    try {
        if (!QFileInfo::exists(DesktopFile())) WriteText(DesktopFile(), DesktopEntry(program_));
        if (!QFileInfo::exists(MimePackage())) WriteText(MimePackage(), MimeInfo());
    } catch (const std::exception&) {
        return false;
    }
    bool ok = RunIfPresent("update-mime-database", {dataHome_ + "/mime"});
    ok = RunIfPresent("update-desktop-database", {dataHome_ + "/applications"}) && ok;
    ok = RunIfPresent("xdg-mime", {"default", DesktopName, MimeType}) && ok;
    return ok;
}

// ---- Windows: the per-user file classes (HKEY_CLASSES_ROOT shows them).

TWindowsFileTypes::TWindowsFileTypes(QString program) : program_(ProgramPath(program)) {}

bool TWindowsFileTypes::Registered() {
    QSettings classes("HKEY_CURRENT_USER\\Software\\Classes", QSettings::NativeFormat);
    return classes.childGroups().contains("KestrovaFile", Qt::CaseInsensitive);
}

bool TWindowsFileTypes::Register() {
    const QString program = QDir::toNativeSeparators(program_);
    QSettings classes("HKEY_CURRENT_USER\\Software\\Classes", QSettings::NativeFormat);
    classes.setValue(".kvb/Default", "KestrovaFile");
    classes.setValue("KestrovaFile/Default", "Kestrova File");
    classes.setValue("KestrovaFile/DefaultIcon/Default", program);
    classes.setValue("KestrovaFile/shell/open/command/Default",
                     "\"" + program + "\" \"%1\"");
    classes.sync();
    return classes.status() == QSettings::NoError;
}

std::unique_ptr<IFileTypes> MakePlatformFileTypes() {
#ifdef Q_OS_WIN
    return std::make_unique<TWindowsFileTypes>();
#else
    return std::make_unique<TXdgFileTypes>();
#endif
}

}  // namespace kestrova
