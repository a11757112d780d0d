// augurlex: the desktop reference of divination terms.
#include "mdi.h"
#include "program_assembly.h"
#include "single_instance.h"
#include "startup.h"
#include "weblinks/program_end.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    // The program ends when its exit screen closes, not when the main frame does.
    QApplication::setQuitOnLastWindowClosed(false);
    // The dictionaries ship beside the executable.
    const QString programFolder = QCoreApplication::applicationDirPath();
    augurlex::SingleInstance instance(
        augurlex::SingleInstanceLockPath(QCoreApplication::applicationFilePath()));
    std::unique_ptr<augurlex::MDI> frame =
        augurlex::StartProgram(programFolder, instance, augurlex::ProgramStartupHooks());
    if (!frame) {
        augurlex::UnloadAllFormsAndEnd();
        return 0;
    }
    return QApplication::exec();
}
