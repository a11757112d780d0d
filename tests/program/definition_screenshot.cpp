// Shows the definition of one term in the assembled program and photographs its main window:
// start-up with the program's hooks (the update reminder left out) over a program folder holding
// one small dictionary, then the term typed into the search box, Enter, and a double click on the
// keyword, as a user does. Run on a display (scripts/screenshot-definition.sh does).
//
//   definition_screenshot <term> <link> <out.png>
#include "dictionary_folder.h"
#include "mdi.h"
#include "program_assembly.h"
#include "program_values.h"
#include "single_instance.h"
#include "startup.h"
#include "weblinks/web_page.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>

using namespace augurlex;

namespace {

[[noreturn]] void fail(const QString& what) {
    std::fprintf(stderr, "definition screenshot: %s\n", qPrintable(what));
    std::_Exit(3);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 4)
        fail("usage: definition_screenshot <term> <link> <out.png>");
    const QString term = QString::fromLocal8Bit(argv[1]);
    const QUrl link(QString::fromLocal8Bit(argv[2]));
    const QString out = QString::fromLocal8Bit(argv[3]);
    SetWebPageOpenerForTesting([](const QString&) {});

    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { fail("the page never loaded"); });
    watchdog.start(60000);

    testing_support::DictionaryFolder folder;
    folder.writeCatalogue({"Omens"});
    folder.writeDictionary("Omens", {{term.toStdString(), link.toString().toStdString()}});
    QTemporaryDir lockFolder;
    SingleInstance instance(lockFolder.filePath("copy.lock"));
    StartupHooks hooks = ProgramStartupHooks();
    hooks.runUpdateReminder = {};
    std::unique_ptr<MDI> frame =
        StartProgram(QString::fromStdString(folder.path()), instance, hooks);
    if (!frame)
        fail("start-up refused to run");
    if (Connected() != 1)
        fail("no network connection was detected, so the pane shows its offline notice");
    auto* view = frame->findChild<QWebEngineView*>("WB");
    if (view == nullptr)
        fail("the frame has no browser pane");

    QObject::connect(view, &QWebEngineView::loadFinished, [&](bool ok) {
        if (!ok || view->url() != link)
            return;
        // Let the page's first paint reach the screen before the photograph.
        QTimer::singleShot(1500, [&] {
            const QPixmap shot = frame->screen()->grabWindow(frame->winId());
            if (!shot.save(out, "PNG"))
                fail("cannot write " + out);
            QApplication::exit(0);
        });
    });
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitForWindowExposed(frame.get()))
            fail("the main window never appeared");
        const MdiControls& c = frame->Controls();
        c.txtKey->clear();
        QTest::keyClicks(c.txtKey, term);
        QTest::keyClick(c.txtKey, Qt::Key_Return);
        if (c.lstKeys->model()->rowCount() != 1)
            fail("the search did not list the term");
        const QPoint at = c.lstKeys->visualRect(c.lstKeys->model()->index(0, 0)).center();
        QTest::mouseClick(c.lstKeys->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(c.lstKeys->viewport(), Qt::LeftButton, {}, at);
    });
    return QApplication::exec();
}
