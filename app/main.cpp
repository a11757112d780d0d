// augurlex: the desktop reference of divination terms.
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/program_end.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "store/dictionary_folder_choice.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    // Lets the desktop match the window with its entry (name and icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.augurlex.Augurlex"));
    // The program ends when its exit screen closes, not when the main window does.
    QApplication::setQuitOnLastWindowClosed(false);
    // Beside the executable in a build tree or a portable copy; otherwise the user's data
    // folder, filled from the installed files (augurlex-dict decides the same way).
    const store::DictionaryFolderChoice dictionaries = store::chooseDictionaryFolder(
        store::runningExecutableFolder(), store::UserEnvironment::fromProcess());
    for (const std::string& problem : dictionaries.problems)
        qWarning("augurlex: %s", problem.c_str());
    const QString programFolder = QString::fromStdString(dictionaries.folder);
    app::SingleInstance instance(
        app::singleInstanceLockPath(QCoreApplication::applicationFilePath()));
    std::unique_ptr<app::MainWindow> window =
        app::startProgram(programFolder, instance, app::programStartupHooks());
    if (!window) {
        app::closeAllWindowsAndEnd();
        return 0;
    }
    return QApplication::exec();
}
