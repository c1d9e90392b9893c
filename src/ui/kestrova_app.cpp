#include "ui/kestrova_app.h"

#include <QMessageBox>
#include <exception>

#include "kit/dialog_util.h"

namespace kestrova {

namespace {
void ShowErrorBox(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), ToQ(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
}  // namespace

TKestrovaApp::TKestrovaApp(int& argc, char** argv) : QApplication(argc, argv) {
    ShowError = ShowErrorBox;
}

TKestrovaApp* TKestrovaApp::Instance() {
    return qobject_cast<TKestrovaApp*>(instance());
}

bool TKestrovaApp::notify(QObject* receiver, QEvent* event) {
    std::string error;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "An unknown error has occurred.";
    }
    // Shown outside the catch block, so that a second error raised while the
    // box runs its own event loop is handled afresh rather than nested.
    if (ShowError) ShowError(error);
    return false;
}

}  // namespace kestrova
