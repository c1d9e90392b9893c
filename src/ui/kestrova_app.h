#pragma once
// The application object. Its notify() is the general error handler: an
// exception that escapes a command (a file that cannot be written, a full
// disk) is shown with its text and the program goes on with the next event.
#include <QApplication>
#include <functional>
#include <string>

namespace kestrova {

class TKestrovaApp : public QApplication {
    Q_OBJECT
  public:
    TKestrovaApp(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the text of an escaped error; an error box unless replaced
    // (tests record the text instead of answering a box).
    std::function<void(const std::string& text)> ShowError;
    // The handler of the running application, or null.
    static TKestrovaApp* Instance();
};

}  // namespace kestrova
