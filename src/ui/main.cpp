#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarvex Kestrova");
    QApplication::setApplicationDisplayName("Tarvex Kestrova");
    QMainWindow window;
    window.setWindowTitle("Tarvex Kestrova");
    window.menuBar();
    window.resize(600, 524);
    window.show();
    return app.exec();
}
