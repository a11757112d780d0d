// augurlex: the desktop reference of divination terms.
#include "mdi.h"
#include "single_instance.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    // The dictionaries ship beside the executable.
    const QString programFolder = QCoreApplication::applicationDirPath();
    augurlex::SingleInstance instance(
        augurlex::SingleInstanceLockPath(QCoreApplication::applicationFilePath()));
    std::unique_ptr<augurlex::MDI> frame = augurlex::StartProgram(programFolder, instance);
    if (!frame)
        return 0;
    return QApplication::exec();
}
