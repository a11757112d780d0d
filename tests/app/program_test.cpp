// The assembled program: the real main window built by start-up with the program's own hooks
// over a folder of test dictionaries, online, with a recording browser in its pane and the update
// file chosen by the test. Driven through its controls by objectName; each control is checked
// once for reaching the right logic, whose cases are tested without a window in tests/lookup.
#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/program_end.h"
#include "app/single_instance.h"
#include "dictionary_folder.h"
#include "recording_browser.h"
#include "ui/message_box.h"
#include "ui/web_addresses.h"
#include "ui/web_page.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QWindow>
#include <QtTest>

class ProgramTest : public QObject {
    Q_OBJECT

    testing_support::DictionaryFolder folder;
    testing_support::DictionaryFolder updateFolder;
    QTemporaryDir lockFolder;
    app::SingleInstance instance{lockFolder.filePath("copy.lock")};
    std::unique_ptr<app::MainWindow> window;
    RecordingBrowser* browser = nullptr;
    std::optional<QString> chosenUpdate;
    QStringList opened;
    QList<ui::MessageRequest> messages;
    const QStringList all{"Crow", "Comet", "Eclipse", "Ansuz", "Hex", "  "};

    template <class T> T* control(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }
    QLineEdit* searchBox() const { return control<QLineEdit>("txtKey"); }
    QTreeView* list() const { return control<QTreeView>("lstKeys"); }
    QStringList listed() const { return window->Keywords().Keywords(); }
    // What a user's choice of a dictionary does.
    void choose(int index) const {
        control<QComboBox>("cboNames")->setCurrentIndex(index);
        emit control<QComboBox>("cboNames")->activated(index);
    }
    void typeAndEnter(const QString& term) {
        searchBox()->clear();
        QTest::keyClicks(searchBox(), term);
        QTest::keyClick(searchBox(), Qt::Key_Return);
    }
    void clickKeyword(int row, bool twice = false) {
        const QPoint at = list()->visualRect(list()->model()->index(row, 0)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        if (twice) // a click (which copies the keyword into the search box), then a double click
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
    void click(const char* name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }

private slots:
    void initTestCase() {
        folder.writeCatalogue({"Omens", "Runes", "Tarot"}); // no file for Tarot
        folder.writeDictionary("Omens", {{"Crow", "http://omens.example/crow"},
                                         {"Comet", "https://omens.example/comet"},
                                         {"Eclipse", "http://omens.example/eclipse"}});
        folder.writeDictionary("Runes", {{"Ansuz", "http://runes.example/ansuz"},
                                         {"Hex", "javascript:document.title='ran'"},
                                         {"  ", "http://runes.example/blank"}});
        updateFolder.writeDictionary("Empty", {});
        ui::SetMessageHandlerForTesting([this](const ui::MessageRequest& request) {
            messages << request;
            return ui::MessageAnswer::Ok;
        });
        ui::SetWebPageOpenerForTesting([this](const QString& address) { opened << address; });

        app::ProgramOptions options;
        options.makeBrowser = [this] {
            auto recording = std::make_unique<RecordingBrowser>();
            browser = recording.get();
            return recording;
        };
        options.chooseUpdateFile = [this] { return chosenUpdate; };
        app::StartupHooks hooks = app::ProgramStartupHooks(options);
        hooks.runUpdateReminder = {};
        hooks.checkConnection = [] { return true; };
        window = app::StartProgram(QString::fromStdString(folder.path()), instance, hooks);
        QVERIFY(window && browser);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->DictionaryNames(), QStringList({"Omens", "Runes", "Tarot"}));
        QCOMPARE(listed(), all);
        QCOMPARE(browser->asked, QStringList{"go " + QString(ui::kHomePageURL)});
        QVERIFY(messages.isEmpty());
    }

    void init() {
        opened.clear();
        messages.clear();
        browser->asked.clear();
        control<QComboBox>("cboNames")->setCurrentIndex(0);
        control<QRadioButton>("optExact")->setChecked(true);
    }

    // --- The selector, the keyword list and the search box ---

    void aChoiceReplacesTheListOrReportsAMissingFile() {
        choose(1);
        QCOMPARE(listed(), QStringList({"Crow", "Comet", "Eclipse"}));
        choose(3);
        QCOMPARE(listed(), QStringList({"Crow", "Comet", "Eclipse"})); // kept
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("tarot Dictionary is missing\rPlease download tarot "
                                           "Dictionary Database\rOr Reinstall the Software"));
        QCOMPARE(messages[0].icon, ui::MessageIcon::Critical);
    }

    void aClickedKeywordIsCopiedAndABlankBoxBringsEveryKeywordBack() {
        choose(2);
        clickKeyword(0);
        QCOMPARE(searchBox()->text(), QString("Ansuz"));
        clickKeyword(2);
        QCOMPARE(searchBox()->text(), QString("  "));
        QCOMPARE(listed(), all);
        // Typing narrows nothing; a box emptied of all but spaces brings every keyword back.
        searchBox()->clear();
        choose(1);
        searchBox()->setFocus();
        QTest::keyClicks(searchBox(), "cr");
        QTest::keyClick(searchBox(), Qt::Key_Backspace);
        QCOMPARE(listed(), QStringList({"Crow", "Comet", "Eclipse"}));
        QTest::keyClick(searchBox(), Qt::Key_Backspace);
        QCOMPARE(listed(), all);
    }

    // --- The lookup commands ---

    void enterListsTheMatchesAndSearchOpensTheTermInOneDictionary() {
        typeAndEnter("c");
        QCOMPARE(listed(), QStringList({"Crow", "Comet"}));
        control<QComboBox>("cboNames")->setCurrentText("Omens");
        searchBox()->setText(" crow ");
        click("cmdSearch");
        QCOMPARE(listed(), QStringList({"Crow"}));
        QCOMPARE(browser->asked, QStringList{"go http://crow"}); // the term taken as an address
        QVERIFY(messages.isEmpty());
    }

    void aDoubleClickOpensTheKeywordsLinkButNeverAScript() {
        typeAndEnter("ecl");
        clickKeyword(0, true);
        QCOMPARE(searchBox()->text(), QString("Eclipse"));
        QCOMPARE(browser->asked, QStringList{"go http://omens.example/eclipse"});
        typeAndEnter("hex");
        clickKeyword(0, true);
        QCOMPARE(browser->asked.size(), 1);
        QVERIFY(messages.isEmpty());
    }

    void displayWithAnEmptyListSaysNotFoundAndReturnsTheFocus() {
        typeAndEnter("zzz");
        list()->setFocus();
        click("cmdDisplay");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("Keyword not found - Please search in google\rOr write "
                                           "to us so that we can add the term in our dictionary"));
        QCOMPARE(QApplication::focusWidget(), searchBox());
        QVERIFY(browser->asked.isEmpty());
    }

    void keysAndOptionsPutTheFocusInTheSearchBox() {
        list()->setFocus();
        QTest::keyClick(window.get(), Qt::Key_W, Qt::AltModifier); // the caption's access key
        QCOMPARE(QApplication::focusWidget(), searchBox());
        list()->setFocus();
        click("optWildCard");
        QCOMPARE(QApplication::focusWidget(), searchBox());
    }

    void theToolbarDrivesThePane() {
        for (const char* key : {"Back", "Forward", "Stop", "Refresh", "Home", "Search"})
            control<QAction>(key)->trigger();
        QCOMPARE(browser->asked,
                 (QStringList{"back", "forward", "stop", "refresh",
                              "go " + QString(ui::kHomePageURL), "own <HTML><BODY>"}));
    }

    // --- Web links and File > Update ---

    void theWindowsLinksOpenTheirPages() {
        auto* help = control<QMenu>("mnuHelp");
        QVERIFY(window->menuBar()->actions().contains(help->menuAction()));
        help->findChild<QAction*>("mnuOnline")->trigger();
        control<QAction>("mnuDonate")->trigger();
        for (const char* name : {"cmdDonate", "lblPicTop2", "Label61", "Label4"})
            click(name);
        window->BringOfferToFront(2);
        QCOMPARE(window->FrontOffer()->objectName(), QString("lblFullBrand"));
        click("lblFullBrand");
        window->BringOfferToFront(1);
        QCOMPARE(window->FrontOffer()->objectName(), QString("lblCoBrand"));
        click("lblCoBrand");
        QCOMPARE(opened,
                 QStringList({ui::kOnlineHelpPageURL, ui::kDonatePageURL, ui::kDonatePageURL,
                              ui::kHomePageURL, ui::kHomePageURL, ui::kHomePageURL,
                              ui::kFullBrandPageURL, ui::kCoBrandPageURL}));
    }

    void fileUpdateMergesTheChosenFileAndReturnsTheFocus() {
        chosenUpdate = std::nullopt; // cancelled
        control<QAction>("mnuUpdate")->trigger();
        QVERIFY(messages.isEmpty());
        chosenUpdate = QString::fromStdString(updateFolder.path()) + "/empty.dll";
        list()->setFocus();
        control<QAction>("mnuUpdate")->trigger();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("There is nothing to Update"));
        QCOMPARE(window->focusWidget(), searchBox());
    }

    // --- The way out ---

    void everyWayOutLeavesTheExitScreenWhoseExitEndsTheProgram() {
        int ends = 0;
        app::SetProgramEndForTesting([&ends] { ++ends; });
        const std::function<void()> ways[] = {[&] { click("cmdExit"); },
                                              [&] { control<QAction>("mnuExit")->trigger(); },
                                              [&] { window->windowHandle()->close(); }};
        for (const auto& closeWindow : ways) {
            window->show();
            closeWindow();
            QVERIFY(!window->isVisible());
            QWidget* exitScreen = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->isVisible() && widget->objectName() == "frmExitScreen")
                    exitScreen = widget;
            QVERIFY(exitScreen);
            QTest::mouseClick(exitScreen->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
            QCOMPARE(ends, 1);
            exitScreen->close(); // asks again; ending twice is the end's own affair
            ends = 0;
        }
        app::SetProgramEndForTesting({});
    }

    void cleanupTestCase() {
        window.reset();
        ui::SetMessageHandlerForTesting({});
        ui::SetWebPageOpenerForTesting({});
    }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
