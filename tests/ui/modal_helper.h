#pragma once
// Answers a modal dialog from inside its own event loop: the action runs as
// soon as a modal widget other than the ones already open is active.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace kestrova::testing {

inline void WhenModal(std::function<void(QWidget*)> action, QWidget* besides = nullptr,
                      int triesLeft = 1000) {
    QTimer::singleShot(0, [action = std::move(action), besides, triesLeft]() mutable {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w != besides) return action(w);
        if (triesLeft > 0) WhenModal(std::move(action), besides, triesLeft - 1);
    });
}

template <class T>
T* FindChildByText(QWidget* w, const QString& text) {
    for (T* c : w->findChildren<T*>())
        if (c->text() == text) return c;
    return nullptr;
}

// A caption as the host reads it: "&&" is a '&', a lone '&' marks the key.
inline QString Plain(QString caption) {
    return caption.replace("&&", "\x01").remove('&').replace('\x01', '&');
}

// "Options/View options/Hide completed matches" in the window's menu bar.
inline QAction* MenuItem(QMainWindow* window, const QString& path) {
    QList<QAction*> level = window->menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& caption : path.split('/')) {
        found = nullptr;
        for (QAction* a : level)
            if (Plain(a->text()) == caption) found = a;
        if (!found) return nullptr;
        if (found->menu()) level = found->menu()->actions();
    }
    return found;
}

}  // namespace kestrova::testing

// Readable QString values in test failures.
#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
