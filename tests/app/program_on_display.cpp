// The assembled program on a real (virtual) display over a folder of one keyword, its update
// reminder left out and pages for the default browser dropped; its modes are in the usage below.
// exit starts offline (the pane showing Help > Online Help), closes the main window, then the exit
// screen, which must be the only window left, each in the way named; the process must end with 0.
// definition types the term, presses Enter, double-clicks the keyword and photographs the window
// once the link's page has loaded; start-page, own-page (the search page or a term's, Display
// under "All") and update-report (the closing message, its details shown) photograph a program
// folder for scripts/screenshots.sh, "dark" with the Fusion style in a dark palette. Outside
// start-page and own-page the main window must keep one native window from its first showing on:
// the web view's first page must not make it anew. view photographs the View menu's options over
// a program folder: the list following the typing ("live"), suggestions for a misspelt term
// ("suggestions"), the menu open on its history ("menu").
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/single_instance.h"
#include "dictionary_folder.h"
#include "qt_platform.h"
#include "ui/web_page.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

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
    auto* list = control<QTableView>(window, "lstKeys");
    QTest::keyClicks(searchBox, term);
    QTest::keyClick(searchBox, Qt::Key_Return);
    if (list->model()->rowCount() != 1)
        fail("the search did not list the term");
    const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QPalette darkPalette() {
    const QColor window(0x2b, 0x2d, 0x31), base(0x1f, 0x20, 0x23), text(0xe6, 0xe6, 0xe6);
    QPalette dark;
    for (auto role : {QPalette::Window, QPalette::AlternateBase, QPalette::Button})
        dark.setColor(role, window);
    for (auto role : {QPalette::Base, QPalette::ToolTipBase})
        dark.setColor(role, base);
    for (auto role :
         {QPalette::WindowText, QPalette::ToolTipText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, text);
    for (auto role : {QPalette::BrightText, QPalette::HighlightedText})
        dark.setColor(role, Qt::white);
    dark.setColor(QPalette::PlaceholderText, QColor(0x9a, 0x9c, 0xa0));
    dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x6f, 0xb6));
    dark.setColor(QPalette::Mid, QColor(0x45, 0x47, 0x4c));
    for (auto role : {QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return dark;
}

// The window and its pane, once the own page of that name has loaded and painted.
void photographOwnPage(app::MainWindow& window, const QString& page, const QString& windowOut,
                       const QString& paneOut) {
    auto* view = control<QWebEngineView>(window, "WB");
    const auto photograph = [&window, windowOut, paneOut] {
        const QPixmap shot = window.screen()->grabWindow(window.winId());
        QWidget* pane = window.documentWindow();
        const qreal scale = shot.devicePixelRatio();
        const QRect paneArea(pane->mapTo(&window, QPoint(0, 0)) * scale, pane->size() * scale);
        if (!shot.save(windowOut, "PNG") || !shot.copy(paneArea).save(paneOut, "PNG"))
            fail("cannot write " + windowOut + " or " + paneOut);
        QApplication::exit(0);
    };
    QObject::connect(view, &QWebEngineView::loadFinished, [view, page, photograph](bool ok) {
        if (ok && view->url().scheme() == "augurlex" && view->url().path() == page)
            QTimer::singleShot(1500, photograph);
    });
}

// Once the start page has loaded, the search page or the page for a term.
void openOwnPage(app::MainWindow& window, const QString& what) {
    auto* view = control<QWebEngineView>(window, "WB");
    QObject::connect(view, &QWebEngineView::loadFinished, &window, [&window, view, what](bool ok) {
        if (!ok || view->url().path() != "start")
            return;
        if (what == "search") {
            control<QAction>(window, "Search")->trigger();
            return;
        }
        control<QLineEdit>(window, "txtKey")->setText(what);
        QTest::mouseClick(control<QPushButton>(window, "cmdDisplay"), Qt::LeftButton);
    });
}

// The closing message of File > Update over the main window, its details shown, once the
// progress dialog has gone.
void photographUpdateReport(app::MainWindow& window, const QString& out) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, [&window, poll, out] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        for (QAbstractButton* button : box->buttons())
            if (box->buttonRole(button) == QMessageBox::ActionRole)
                button->click(); // the details
        QTimer::singleShot(500, [&window, box, out] {
            const QRect area = window.frameGeometry().united(box->frameGeometry());
            const QPixmap shot =
                window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
            if (!shot.save(out, "PNG"))
                fail("cannot write " + out);
            box->done(0);
            QApplication::exit(0);
        });
    });
    poll->start(100);
    control<QAction>(window, "mnuUpdate")->trigger();
}

// Once the start page has painted: types, or opens definitions and the View menu, then
// photographs the window (with the menus open over it).
void photographViewMenu(app::MainWindow& window, const QString& what, const QString& out) {
    window.resize(900, 640);
    window.searchAsYouTypeOption()->setChecked(true);
    auto* view = control<QWebEngineView>(window, "WB");
    auto done = std::make_shared<bool>(false);
    QObject::connect(
        view, &QWebEngineView::loadFinished, &window, [&window, what, out, done](bool ok) {
            if (!ok || std::exchange(*done, true))
                return;
            QRect area = window.frameGeometry();
            auto* box = control<QLineEdit>(window, "txtKey");
            if (what == "menu") {
                // As opening them would record them, without a network to load them from.
                for (const char* term : {"Tarot", "Runes", "Crystal ball", "Oracle"})
                    emit window.definitionShown(term,
                                                QString("https://en.wikipedia.org/wiki/") + term);
                auto* menu = control<QMenu>(window, "mnuView");
                menu->popup(window.mapToGlobal(
                    window.menuBar()->actionGeometry(menu->menuAction()).bottomLeft()));
                QMenu* history = window.historyMenu();
                history->popup(menu->geometry().topRight() +
                               QPoint(0, menu->actionGeometry(history->menuAction()).top()));
                area = area.united(menu->geometry()).united(history->geometry());
            } else {
                box->setFocus();
                QTest::keyClicks(box, what);
            }
            QTimer::singleShot(1500, [&window, area, out] {
                const QPixmap shot =
                    window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
                if (!shot.save(out, "PNG"))
                    fail("cannot write " + out);
                QApplication::exit(0);
            });
        });
}

// The main window's native window, from its first showing to the end of its first page.
void expectOneNativeWindow(app::MainWindow& window, std::function<void()> then) {
    const WId first = window.winId();
    auto* view = control<QWebEngineView>(window, "WB");
    auto checked = std::make_shared<bool>(false);
    QObject::connect(view, &QWebEngineView::loadFinished, &window,
                     [&window, first, then, checked](bool) {
                         if (std::exchange(*checked, true))
                             return;
                         // Whatever the page's first paint brings comes before the look.
                         QTimer::singleShot(0, [&window, first, then] {
                             if (window.winId() != first)
                                 fail("the main window was made anew when its first page loaded");
                             then();
                         });
                     });
}

} // namespace

int main(int argc, char** argv) {
    testing_support::useQtPlatform("xcb"); // a real (virtual) X display, never offscreen
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Augurlex"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QApplication::arguments().mid(1);
    const bool exitFlow = args.size() == 3 && args[0] == "exit";
    const bool startPage = (args.size() == 5 || args.size() == 6) && args[0] == "start-page";
    const bool ownPage = args.size() == 5 && args[0] == "own-page";
    const bool updateReport = args.size() == 4 && args[0] == "update-report";
    const bool viewMenu = args.size() == 4 && args[0] == "view";
    if (!exitFlow && !startPage && !ownPage && !updateReport && !viewMenu &&
        !(args.size() == 4 && args[0] == "definition"))
        fail("usage: program_on_display exit <way> <way> | definition <term> <link> <out.png> | "
             "start-page <folder> <light|dark> <window.png> <pane.png> [WxH] | "
             "own-page <folder> <light|dark> <pane.png> <search|TERM> | "
             "update-report <folder> <update file> <out.png> | "
             "view <folder> <TERM|menu> <out.png>");
    if ((startPage || ownPage) && args[2] == "dark") {
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setPalette(darkPalette());
    }
    ui::setWebPageOpenerForTesting([](const QString&) {});
    QTimer::singleShot(90000, [] { fail("the process did not end"); });

    testing_support::DictionaryFolder folder;
    folder.writeCatalogue({"Omens"});
    folder.writeDictionary("Omens", {{exitFlow ? "Crow" : args[1].toStdString(),
                                      exitFlow ? "http://o/crow" : args[2].toStdString()}});
    QTemporaryDir lockFolder;
    app::SingleInstance instance(lockFolder.filePath("copy.lock"));
    app::ProgramOptions options;
    if (updateReport)
        options.chooseUpdateFile = [file = args[2]] { return std::optional<QString>(file); };
    QTemporaryDir userFolder; // the options start off, and nothing of the user's is touched
    options.userStore = app::UserStore{userFolder.filePath("augurlex.conf"), userFolder.path()};
    app::StartupHooks hooks = app::programStartupHooks(options);
    hooks.runUpdateReminder = {};
    hooks.checkConnection = [exitFlow] { return !exitFlow; };
    const QString programFolder = startPage || ownPage || updateReport || viewMenu
                                      ? args[1]
                                      : QString::fromStdString(folder.path());
    const auto window = app::startProgram(programFolder, instance, hooks);
    if (!window)
        fail("the main window never appeared");
    // Watched from its first showing, before anything can load.
    if (viewMenu) {
        photographViewMenu(*window, args[2], args[3]);
        return QApplication::exec();
    }
    if (!startPage && !ownPage)
        expectOneNativeWindow(*window, [&] {
            if (exitFlow)
                closeThenCloseTheExitScreen(*window, args[1], args[2]);
            else if (updateReport)
                photographUpdateReport(*window, args[3]);
            else
                showDefinition(*window, args[1], QUrl(args[2]), args[3]);
        });
    if (!QTest::qWaitForWindowExposed(window.get()))
        fail("the main window never appeared");
    if (exitFlow)
        control<QAction>(*window, "mnuOnline")->trigger();
    if (startPage) {
        const QStringList size = args.value(5, "900x600").split('x');
        window->resize(size.value(0).toInt(), size.value(1).toInt());
        photographOwnPage(*window, "start", args[3], args[4]);
        return QApplication::exec();
    }
    if (ownPage) {
        window->resize(900, 640);
        const QString page = args[4] == "search" ? "search" : "term";
        photographOwnPage(*window, page, QDir::temp().filePath("augurlex-window.png"), args[3]);
        openOwnPage(*window, args[4]);
        return QApplication::exec();
    }
    return QApplication::exec();
}
