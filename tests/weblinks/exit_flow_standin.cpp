// Runs the end of a session on a real display: a stand-in main window is closed in one of the
// user's ways, the exit screen must then be the only window, and closing it in one of its ways
// must end the process with exit code 0.
//
//   exit_flow_standin <close-box|exit-button|file-exit> <close-box|exit-button>
#include "weblinks/exit_screen.h"
#include "weblinks/program_end.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace augurlex;

namespace {

// What the main window does when it closes, by any way.
class StandInMainWindow : public QMainWindow {
public:
    StandInMainWindow() {
        setObjectName("MDI");
        setWindowTitle("Augurlex v1.95");
        QMenu* file = menuBar()->addMenu("&File");
        QAction* exit = file->addAction("E&xit");
        exit->setObjectName("mnuExit");
        connect(exit, &QAction::triggered, this, &QWidget::close);
        auto* button = new QPushButton("E&xit", this);
        button->setObjectName("cmdExit");
        connect(button, &QPushButton::clicked, this, &QWidget::close);
        setCentralWidget(button);
        resize(660, 472);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (!ProgramIsEnding())
            ShowExitScreen();
        event->accept();
    }
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "exit flow: %s\n", what);
    std::_Exit(3);
}

QStringList visibleWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            names.append(widget->objectName());
    }
    return names;
}

void closeByWay(QWidget& window, const QString& way) {
    if (way == "close-box") // as the window manager's close button does
        window.windowHandle()->close();
    else if (way == "exit-button")
        QTest::mouseClick(
            window.findChild<QPushButton*>(window.objectName() == "MDI" ? "cmdExit" : "cmdClose"),
            Qt::LeftButton);
    else if (way == "file-exit")
        window.findChild<QAction*>("mnuExit")->trigger();
    else
        fail("unknown way of closing");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The program ends only through the exit screen, never because a window was the last one.
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 3)
        fail("usage: exit_flow_standin <main way> <exit screen way>");
    const QString mainWay = argv[1];
    const QString exitWay = argv[2];

    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { fail("the process did not end"); });
    watchdog.start(60000);

    // Owned like the real frame: by main, deleted after the event loop has ended.
    auto owner = std::make_unique<StandInMainWindow>();
    StandInMainWindow* mainWindow = owner.get();
    mainWindow->show();
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitForWindowExposed(mainWindow))
            fail("the main window never appeared");
        closeByWay(*mainWindow, mainWay);
        QWidget* exitScreen = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "frmExitScreen")
                exitScreen = widget;
        }
        if (exitScreen == nullptr || !QTest::qWaitForWindowExposed(exitScreen))
            fail("no exit screen after the main window closed");
        if (visibleWindows() != QStringList{"frmExitScreen"})
            fail(qPrintable("other windows are open: " + visibleWindows().join(", ")));
        std::printf("after closing the main window: %s\n", qPrintable(visibleWindows().join(",")));
        std::fflush(stdout);
        closeByWay(*exitScreen, exitWay);
    });
    return QApplication::exec();
}
