#include "app/program_end.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <cstdlib>

namespace app {
namespace {

bool ending = false;

std::function<void()>& testHandler() {
    static std::function<void()> handler;
    return handler;
}

void unloadWindow(QWidget* window) {
    try {
        // Windows are closed, not deleted: their owners delete them as the program winds up,
        // and a window that deletes itself on closing does so now.
        window->close();
        window->hide(); // in case its close handler declined
    } catch (...) {
        // One window that fails to unload must not keep the program alive.
    }
}

} // namespace

bool programIsEnding() {
    return ending;
}

void setProgramEndForTesting(std::function<void()> handler) {
    testHandler() = std::move(handler);
}

void closeAllWindowsAndEnd() {
    if (testHandler()) {
        testHandler()();
        return;
    }
    if (ending)
        return;
    ending = true;

    // Closing one window may delete others, so each is held by a guarded pointer.
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->parentWidget() == nullptr && widget->isVisible())
            windows.append(widget);
    }
    for (const QPointer<QWidget>& window : windows) {
        if (window)
            unloadWindow(window);
    }

    if (QThread::currentThread()->loopLevel() > 0) {
        // Stops every running loop, nested modal ones too.
        QCoreApplication::exit(0);
        return;
    }
    std::exit(0);
}

} // namespace app
