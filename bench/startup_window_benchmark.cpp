// The whole program's start over a program folder, as a user meets it: from the process's start
// to the main window shown with its keyword list painted, under a real (virtual) display. Prints
// the start-up work (the program's own steps, from QApplication made to the window shown), the
// time from the process's start to the painted list, and the program's own memory then
// (anonymous, /proc/self/status), then ends. Time the whole process from outside with farm-bench.
//   xvfb-run -a startup_window_benchmark FOLDER      (QTWEBENGINE_DISABLE_SANDBOX=1 as root)
//   startup_window_benchmark --make FOLDER           (writes the 20 x 50,000 keywords there)
#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "generated_folder.h"
#include "lookup/dictionary_cache.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// Milliseconds since the process started (the kernel's start time, in clock ticks since boot).
double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    const double startedS = std::stod(field) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - startedS) *
           1000.0;
}

QString statusLine(const char* key) {
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return QString::fromLatin1(line).simplified();
    return {};
}

// Stops at the first paint of the list's rows.
class FirstPaint : public QObject {
public:
    FirstPaint(QTableView& list, double startupWorkMs) : list_(list), workMs_(startupWorkMs) {
        list.viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == list_.viewport() &&
            list_.model()->rowCount() > 0) {
            const bool handled = QObject::eventFilter(watched, event);
            std::printf("start-up work %.0f ms; list painted %.0f ms after the process started; "
                        "%d keywords; %s (decoded dictionaries %.1f MiB), %s\n",
                        workMs_, msSinceProcessStart(), list_.model()->rowCount(),
                        qPrintable(statusLine("RssAnon")),
                        static_cast<double>(lookup::sharedDictionaryCache().bytes()) / (1 << 20),
                        qPrintable(statusLine("VmHWM")));
            std::fflush(stdout);
            std::_Exit(0);
            return handled;
        }
        return false;
    }

private:
    QTableView& list_;
    double workMs_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--make") {
        const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
        std::filesystem::copy(folder.path(), argv[2],
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_window_benchmark FOLDER | --make FOLDER\n");
        return 2;
    }
    QApplication application(argc, argv);
    QElapsedTimer work;
    work.start();
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir user; // a first run's options: all off
    app::SingleInstance instance(user.filePath("copy.lock"));
    app::ProgramOptions options;
    options.userStore = app::UserStore{user.filePath("augurlex.conf"), user.path()};
    app::StartupHooks hooks = app::programStartupHooks(options);
    hooks.runUpdateReminder = {};
    const auto window = app::startProgram(QString::fromLocal8Bit(argv[1]), instance, hooks);
    if (!window)
        return 1;
    FirstPaint watch(*window->keywordList(), static_cast<double>(work.nsecsElapsed()) / 1e6);
    return QApplication::exec();
}
