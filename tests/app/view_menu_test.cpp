// The View menu's options over the assembled program, each case with settings and data folders
// of its own: everything off changes and stores nothing; Search as You Type; Remember Window and
// History across restarts; the keyword's context menu.
#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/update_reminder.h"
#include "dictionary_folder.h"
#include "recording_browser.h"
#include "ui/maker_addresses.h"
#include "ui/message_box.h"
#include "ui/web_page.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

class ViewMenuTest : public QObject {
    Q_OBJECT

    testing_support::DictionaryFolder folder;
    std::unique_ptr<QTemporaryDir> settingsDir, dataDir;
    RecordingBrowser* browser = nullptr;
    QList<ui::MessageRequest> messages;
    QStringList opened;

    QString settingsFile() const { return settingsDir->filePath("augurlex.conf"); }
    QString historyFile() const { return dataDir->filePath("history.txt"); }
    std::unique_ptr<app::MainWindow> start(const QString& programFolder = {}) {
        auto window = std::make_unique<app::MainWindow>(
            programFolder.isEmpty() ? QString::fromStdString(folder.path()) : programFolder);
        window->load();
        app::ProgramOptions options;
        options.makeBrowser = [this] {
            auto recording = std::make_unique<RecordingBrowser>();
            browser = recording.get();
            return recording;
        };
        options.userStore = app::UserStore{settingsFile(), dataDir->path()};
        app::assembleProgram(*window, true, options);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the window never appeared");
        window->searchBox()->setFocus();
        browser->asked.clear();
        return window;
    }
    // Closing leaves the exit screen, which this test closes without ending anything.
    static void close(std::unique_ptr<app::MainWindow>& window) {
        window->close();
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == "frmExitScreen")
                delete widget;
        window.reset();
    }
    static QStringList listed(const app::MainWindow& window) {
        QStringList texts;
        for (int row = 0; row < window.keywords().rowCount(); ++row)
            texts << window.keywords().index(row).data().toString();
        return texts;
    }
    static QStringList history(const app::MainWindow& window) {
        QStringList titles;
        for (QAction* entry : window.historyMenu()->actions())
            titles << entry->text();
        return titles;
    }
    static void doubleClick(app::MainWindow& window, int row) {
        QTableView* list = window.keywordList();
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase() {
        ui::setMakerSitesForTesting(ui::MakerSites{});
        folder.writeCatalogue({"Omens", "Runes"});
        folder.writeDictionary("Omens", {{"Crow", "http://omens.example/crow"},
                                         {"Comet", "https://omens.example/comet"},
                                         {"Eclipse", "http://omens.example/eclipse"}});
        folder.writeDictionary("Runes", {{"Ansuz", "http://runes.example/ansuz"},
                                         {"Hex", "javascript:document.title='ran'"}});
        ui::setMessageHandlerForTesting([this](const ui::MessageRequest& request) {
            messages << request;
            return ui::MessageAnswer::Ok;
        });
        ui::setWebPageOpenerForTesting([this](const QString& address) { opened << address; });
    }
    void init() {
        settingsDir = std::make_unique<QTemporaryDir>();
        dataDir = std::make_unique<QTemporaryDir>();
        messages.clear();
        opened.clear();
    }

    // As installed: both options off, typing leaves the list, and after a run with definitions
    // opened (listed in History for the run) the store holds the reminder date alone.
    void everythingOffChangesAndStoresNothingButTheRunHasAHistory() {
        QSettings settings(settingsFile(), QSettings::NativeFormat);
        app::UpdateReminder(
            settings, [] { return QDate(2024, 3, 10); },
            [](const ui::MessageRequest&) { return ui::MessageAnswer::No; }, [] {})
            .run();
        auto window = start();
        QVERIFY(!window->searchAsYouTypeOption()->isChecked());
        QVERIFY(!window->rememberOption()->isChecked());
        const QStringList all = listed(*window);
        QTest::keyClicks(window->searchBox(), "cr");
        QApplication::processEvents();
        QCOMPARE(listed(*window), all);
        doubleClick(*window, 1); // Comet
        doubleClick(*window, 3); // Ansuz
        QCOMPARE(history(*window), (QStringList{"Ansuz", "Comet", "", "&Clear History"}));
        browser->asked.clear();
        window->historyMenu()->actions()[1]->trigger();
        QCOMPARE(browser->asked, QStringList{"go https://omens.example/comet"});
        QCOMPARE(history(*window).mid(0, 2), (QStringList{"Comet", "Ansuz"}));
        window->historyMenu()->actions().last()->trigger(); // Clear History
        QCOMPARE(history(*window), (QStringList{"", "&Clear History"}));
        close(window);
        settings.sync();
        QCOMPARE(settings.allKeys(), QStringList{"Settings/Duration"});
        QVERIFY(QDir(dataDir->path()).isEmpty());
        QVERIFY(messages.isEmpty());
    }

    // The list follows the typing (suggestions when nothing matches, here over the bundled
    // dictionaries); Enter and text the program puts in the box behave as without the option.
    void searchAsYouTypeListsWhatEnterWouldAndEnterStillSearches() {
        auto window = start();
        window->searchAsYouTypeOption()->trigger();
        QTest::keyClicks(window->searchBox(), "c");
        QTRY_COMPARE(listed(*window), (QStringList{"Crow", "Comet"}));
        QTest::keyClicks(window->searchBox(), "o");
        QTRY_COMPARE(listed(*window), QStringList{"Comet"});
        window->setSearchMode(lookup::SearchMode::Wildcard);
        window->searchBox()->clear();
        QTest::keyClicks(window->searchBox(), "s*e");
        QTRY_COMPARE(listed(*window), QStringList{"Eclipse"});
        QTest::keyClick(window->searchBox(), Qt::Key_Return);
        QCOMPARE(listed(*window), QStringList{"Eclipse"});
        QVERIFY(messages.isEmpty());
        close(window);

        window = start(AUGURLEX_BUNDLED); // the option as stored
        QVERIFY(window->searchAsYouTypeOption()->isChecked());
        QTest::keyClicks(window->searchBox(), "Tarrot");
        QTRY_VERIFY(window->keywords().showsSuggestions());
        QVERIFY2(listed(*window).contains("Tarot"), qPrintable(listed(*window).join(", ")));
        QCOMPARE(window->keywords().headerData(0, Qt::Horizontal).toString(), "Did you mean?");
        QTest::keyClick(window->searchBox(), Qt::Key_Return); // under "All": an empty list
        QCOMPARE(listed(*window), QStringList{});
        QVERIFY(!window->keywords().showsSuggestions());
        QVERIFY(messages.isEmpty());
        close(window);
        QCOMPARE(QSettings(settingsFile(), QSettings::NativeFormat).allKeys(),
                 QStringList{"View/SearchAsYouType"});
    }

    // Off, a run's window is forgotten (the column still drags wider); on, it comes back with the
    // history; a damaged history file is set aside and a dictionary gone leaves "All".
    void rememberRestoresTheWindowAndHistoryAndSurvivesADamagedFile() {
        const auto change = [](app::MainWindow& window) {
            window.resize(820, 600);
            window.lookupSplitter()->setSizes({300, 520});
            window.chooseDictionary("Runes");
            window.setSearchMode(lookup::SearchMode::Wildcard);
            QTRY_COMPARE(window.findChild<QWidget*>("picLeft")->width(), 300);
        };
        auto window = start();
        const QSize designSize = window->size();
        const int designWidth = window->findChild<QWidget*>("picLeft")->width();
        change(*window);
        QVERIFY(window->keywordList()->width() > designWidth);
        close(window);
        window = start();
        QCOMPARE(window->size(), designSize);
        QCOMPARE(window->dictionarySelector()->currentText(), "All");
        window->rememberOption()->trigger();
        change(*window);
        doubleClick(*window, 0);
        QVERIFY(QFileInfo::exists(historyFile())); // at once, not only at closing
        close(window);

        window = start();
        QCOMPARE(window->size(), QSize(820, 600));
        QCOMPARE(window->findChild<QWidget*>("picLeft")->width(), 300);
        QCOMPARE(window->dictionarySelector()->currentText(), "Runes");
        QCOMPARE(listed(*window), (QStringList{"Ansuz", "Hex"}));
        QCOMPARE(window->searchMode(), lookup::SearchMode::Wildcard);
        QCOMPARE(history(*window).value(0), "Ansuz");
        close(window);

        std::ofstream(historyFile().toStdString()) << "\xff\xfe not a history";
        QSettings(settingsFile(), QSettings::NativeFormat).setValue("Window/Dictionary", "Gone");
        window = start();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].text.contains("set aside as " + historyFile() + ".damaged"),
                 qPrintable(messages[0].text));
        QCOMPARE(history(*window), (QStringList{"", "&Clear History"}));
        QCOMPARE(window->dictionarySelector()->currentText(), "All");
        window->rememberOption()->trigger(); // off: what was kept goes
        close(window);
        QVERIFY(!QFileInfo::exists(historyFile()));
        QCOMPARE(QSettings(settingsFile(), QSettings::NativeFormat).allKeys(),
                 (QStringList{"View/RememberWindowAndHistory"}));
    }

    void theKeywordMenuCopiesAndOpensButNeverAScript() {
        auto window = start();
        const auto menuOf = [&window](int row) {
            return window->keywordMenu(window->keywords().index(row));
        };
        const auto act = [](QMenu& menu, const char* name) {
            QAction* action = menu.findChild<QAction*>(name);
            QVERIFY2(action && action->isEnabled(), name);
            action->trigger();
        };
        auto menu = menuOf(0);
        act(*menu, "mnuCopyKeyword");
        QCOMPARE(QApplication::clipboard()->text(), "Crow");
        act(*menu, "mnuCopyAddress");
        QCOMPARE(QApplication::clipboard()->text(), "http://omens.example/crow");
        act(*menu, "mnuOpenInBrowser");
        QCOMPARE(opened, QStringList{"http://omens.example/crow"});
        QVERIFY(!menuOf(4)->findChild<QAction*>("mnuOpenInBrowser")->isEnabled()); // Hex
        window->keywordList()->setFocus();
        window->keywordList()->setCurrentIndex(window->keywords().index(1));
        QTest::keyClick(window->keywordList(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "Comet");
        close(window);
    }

    void cleanupTestCase() {
        ui::setMakerSitesForTesting(std::nullopt);
        ui::setMessageHandlerForTesting({});
        ui::setWebPageOpenerForTesting({});
    }
};

QTEST_MAIN(ViewMenuTest)
#include "view_menu_test.moc"
