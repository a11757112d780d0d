// The assembled program on a real (virtual) display, online, over a program folder holding one
// dictionary of one keyword; the update reminder is left out and pages for the default browser
// are dropped.
//   program_on_display exit <close-box|exit-button|file-exit> <close-box|exit-button>
// closes the main window in one of the user's ways; the exit screen must then be the only window,
// and closing it in one of its ways must end the process with exit code 0.
//   program_on_display definition <term> <link> <out.png>
// types the term, presses Enter and double-clicks the keyword, as a user does, and photographs
// the main window once the link's page has loaded (scripts/screenshot-definition.sh).
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/single_instance.h"
#include "dictionary_folder.h"
#include "ui/web_page.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWebEngineView>
#include <QWindow>

namespace {

[[noreturn]] void fail(const QString& what) {
    qCritical("program on display: %s", qPrintable(what));
    std::_Exit(3);
}

template <class T> T* control(const QWidget& window, const QString& name) {
    if (T* found = window.findChild<T*>(name))
        return found;
    fail("no control " + name);
}

void closeByWay(QWidget& window, const QString& way) {
    if (way == "close-box") // as the window manager's close button does
        window.windowHandle()->close();
    else if (way == "exit-button")
        QTest::mouseClick(
            control<QPushButton>(window, window.objectName() == "MDI" ? "cmdExit" : "cmdClose"),
            Qt::LeftButton);
    else if (way == "file-exit")
        control<QAction>(window, "mnuExit")->trigger();
    else
        fail("unknown way of closing: " + way);
}

void closeThenCloseTheExitScreen(app::MainWindow& window, const QString& windowWay,
                                 const QString& exitWay) {
    closeByWay(window, windowWay);
    QStringList visible;
    QWidget* exitScreen = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmExitScreen")
            exitScreen = widget;
        if (widget->isVisible())
            visible << widget->objectName();
    }
    if (exitScreen == nullptr || !QTest::qWaitForWindowExposed(exitScreen))
        fail("no exit screen after the main window closed");
    if (visible != QStringList{"frmExitScreen"})
        fail("other windows are open: " + visible.join(", "));
    closeByWay(*exitScreen, exitWay);
}

void showDefinition(app::MainWindow& window, const QString& term, const QUrl& link,
                    const QString& out) {
    auto* view = control<QWebEngineView>(window, "WB");
    QObject::connect(view, &QWebEngineView::loadFinished, [&window, view, link, out](bool ok) {
        if (!ok || view->url() != link)
            return;
        // Let the page's first paint reach the screen before the photograph.
        QTimer::singleShot(1500, [&window, out] {
            if (!window.screen()->grabWindow(window.winId()).save(out, "PNG"))
                fail("cannot write " + out);
            QApplication::exit(0);
        });
    });
    auto* searchBox = control<QLineEdit>(window, "txtKey");
    auto* list = control<QTreeView>(window, "lstKeys");
    QTest::keyClicks(searchBox, term);
    QTest::keyClick(searchBox, Qt::Key_Return);
    if (list->model()->rowCount() != 1)
        fail("the search did not list the term");
    const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QApplication::arguments().mid(1);
    const bool exitFlow = args.size() == 3 && args[0] == "exit";
    if (!exitFlow && !(args.size() == 4 && args[0] == "definition"))
        fail("usage: program_on_display exit <way> <way> | definition <term> <link> <out.png>");
    ui::SetWebPageOpenerForTesting([](const QString&) {});
    QTimer::singleShot(90000, [] { fail("the process did not end"); });

    testing_support::DictionaryFolder folder;
    folder.writeCatalogue({"Omens"});
    folder.writeDictionary("Omens", {{exitFlow ? "Crow" : args[1].toStdString(),
                                      exitFlow ? "http://o/crow" : args[2].toStdString()}});
    QTemporaryDir lockFolder;
    app::SingleInstance instance(lockFolder.filePath("copy.lock"));
    app::StartupHooks hooks = app::ProgramStartupHooks();
    hooks.runUpdateReminder = {};
    hooks.checkConnection = [] { return true; };
    const auto window = app::StartProgram(QString::fromStdString(folder.path()), instance, hooks);
    if (!window || !QTest::qWaitForWindowExposed(window.get()))
        fail("the main window never appeared");
    QTimer::singleShot(0, [&] {
        if (exitFlow)
            closeThenCloseTheExitScreen(*window, args[1], args[2]);
        else
            showDefinition(*window, args[1], QUrl(args[2]), args[3]);
    });
    return QApplication::exec();
}
