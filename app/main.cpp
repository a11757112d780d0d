// augurlex: the desktop reference of divination terms.
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/program_end.h"
#include "app/single_instance.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    // The program ends when its exit screen closes, not when the main window does.
    QApplication::setQuitOnLastWindowClosed(false);
    // The dictionaries ship beside the executable.
    const QString programFolder = QCoreApplication::applicationDirPath();
    app::SingleInstance instance(
        app::SingleInstanceLockPath(QCoreApplication::applicationFilePath()));
    std::unique_ptr<app::MainWindow> window =
        app::StartProgram(programFolder, instance, app::ProgramStartupHooks());
    if (!window) {
        app::CloseAllWindowsAndEnd();
        return 0;
    }
    return QApplication::exec();
}
