// The end of a session of the assembled program on a real (virtual) display: the frame built by
// start-up with the program's hooks (the update reminder left out) is closed in one of the user's
// ways; the exit screen must then be the only window, and closing it in one of its ways must end
// the process with exit code 0. It owns the frame the way the program's main does.
//
//   program_exit_flow <close-box|exit-button|file-exit> <close-box|exit-button>
#include "dictionary_folder.h"
#include "mdi.h"
#include "program_assembly.h"
#include "single_instance.h"
#include "startup.h"
#include "weblinks/program_end.h"
#include "weblinks/web_page.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace augurlex;

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "program exit flow: %s\n", what);
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
    if (way == "close-box") { // as the window manager's close button does
        window.windowHandle()->close();
    } else if (way == "exit-button") {
        auto* button =
            window.findChild<QPushButton*>(window.objectName() == "MDI" ? "cmdExit" : "cmdClose");
        if (button == nullptr)
            fail("no exit button");
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (way == "file-exit") {
        auto* exit = window.findChild<QAction*>("mnuExit");
        if (exit == nullptr)
            fail("no File > Exit");
        exit->trigger();
    } else {
        fail("unknown way of closing");
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 3)
        fail("usage: program_exit_flow <frame way> <exit screen way>");
    const QString frameWay = argv[1];
    const QString exitWay = argv[2];
    // Pages the exit screen or the frame would open go nowhere.
    SetWebPageOpenerForTesting([](const QString&) {});

    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { fail("the process did not end"); });
    watchdog.start(90000);

    testing_support::DictionaryFolder folder;
    folder.writeCatalogue({"Omens"});
    folder.writeDictionary("Omens", {{"Crow", "http://omens.example/crow"}});
    QTemporaryDir lockFolder;
    SingleInstance instance(lockFolder.filePath("copy.lock"));
    StartupHooks hooks = ProgramStartupHooks();
    hooks.runUpdateReminder = {};
    std::unique_ptr<MDI> frame =
        StartProgram(QString::fromStdString(folder.path()), instance, hooks);
    if (!frame)
        fail("start-up refused to run");

    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitForWindowExposed(frame.get()))
            fail("the main window never appeared");
        closeByWay(*frame, frameWay);
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
