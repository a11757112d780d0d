// The real main window as start-up builds it over test dictionaries, online, a recording browser
// in its pane, without the maker's sites unless a test sets them; driven through its controls and
// keys by objectName, each control once (the lookup's cases are in tests/lookup). Then its shape.
#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "app/program_assembly.h"
#include "app/program_end.h"
#include "app/single_instance.h"
#include "dictionary_folder.h"
#include "recording_browser.h"
#include "ui/maker_addresses.h"
#include "ui/message_box.h"
#include "ui/web_page.h"
#include "viewer/browser_pane.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <filesystem>
#include <fstream>

class ProgramTest : public QObject {
    Q_OBJECT

    testing_support::DictionaryFolder folder;
    testing_support::DictionaryFolder updateFolder;
    QTemporaryDir lockFolder;
    QTemporaryDir userFolder; // the settings and data folder of this test alone
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
    QTableView* list() const { return control<QTableView>("lstKeys"); }
    QStringList listed() const { // as shown
        QStringList texts;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            texts << list()->model()->index(row, 0).data().toString();
        return texts;
    }
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
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : window.get(), Qt::Key(key), modifiers);
    }
    QWidget* visibleExitScreen() const {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->objectName() == "frmExitScreen")
                return widget;
        return nullptr;
    }
    // At its minimum size no two controls overlap, each lies inside the window, and none is
    // smaller than its text needs.
    static void checkTheSmallestLayout(QMainWindow& window) {
        const QSize before = window.size();
        window.resize(1, 1);
        QCOMPARE(window.size(), window.minimumSize());
        QVERIFY(window.minimumWidth() > 300 && window.minimumHeight() > 300);
        QApplication::processEvents();
        QList<QWidget*> controls;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            const bool isControl =
                qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                qobject_cast<QLineEdit*>(widget) || qobject_cast<QTableView*>(widget) ||
                (qobject_cast<QLabel*>(widget) && !qobject_cast<QLabel*>(widget)->text().isEmpty());
            if (isControl && widget->isVisibleTo(&window) && widget->objectName() != "")
                controls << widget;
        }
        QVERIFY(controls.size() >= 10);
        const auto placed = [&window](QWidget* w) {
            return QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
        };
        for (QWidget* control : controls) {
            const QString name = control->objectName();
            QVERIFY2(window.rect().contains(placed(control)), qPrintable(name));
            const auto* label = qobject_cast<QLabel*>(control);
            const auto* table = qobject_cast<QTableView*>(control);
            // A list shows its header and at least three keywords; a text all its lines.
            const int needed = table ? table->horizontalHeader()->height() + 3 * table->rowHeight(0)
                               : label && label->wordWrap() ? label->heightForWidth(label->width())
                                                            : control->sizeHint().height();
            QVERIFY2(
                control->height() >= needed,
                qPrintable(QString("%1: %2 < %3").arg(name).arg(control->height()).arg(needed)));
            if (!label)
                QVERIFY2(control->width() >= control->minimumSizeHint().width(), qPrintable(name));
            for (QWidget* other : controls) {
                if (other != control && !control->isAncestorOf(other) &&
                    !other->isAncestorOf(control))
                    QVERIFY2(!placed(control).intersects(placed(other)),
                             qPrintable(name + " overlaps " + other->objectName()));
            }
        }
        window.resize(before);
    }

    // File > Update with the chosen file: one message, then the focus in the search box.
    void update(const std::string& file) {
        chosenUpdate = QString::fromStdString(file);
        messages.clear();
        list()->setFocus();
        control<QAction>("mnuUpdate")->trigger();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(window->focusWidget(), searchBox());
    }

private slots:
    void initTestCase() {
        ui::setMakerSitesForTesting(ui::MakerSites{});
        // No file for Tarot; Cut is damaged, Blank empty, Text not a database.
        folder.writeCatalogue({"Omens", "Runes", "Tarot", "Cut", "Blank", "Text"});
        folder.writeDictionary("Omens", {{"Crow", "http://omens.example/crow"},
                                         {"Comet", "https://omens.example/comet"},
                                         {"Eclipse", "http://omens.example/eclipse"}});
        folder.writeDictionary("Runes", {{"Ansuz", "http://runes.example/ansuz"},
                                         {"Hex", "javascript:document.title='ran'"},
                                         {"  ", "http://runes.example/blank"}});
        std::filesystem::copy_file(folder.file("omens.dll"), folder.file("cut.dll"));
        std::filesystem::resize_file(folder.file("cut.dll"), 6000);
        std::ofstream(folder.file("blank.dll")).flush();
        std::ofstream(folder.file("text.dll")) << "Crow,http://omens.example/crow\n";
        updateFolder.writeDictionary("Empty", {});
        ui::setMessageHandlerForTesting([this](const ui::MessageRequest& request) {
            messages << request;
            return ui::MessageAnswer::Ok;
        });
        ui::setWebPageOpenerForTesting([this](const QString& address) { opened << address; });

        app::ProgramOptions options;
        options.makeBrowser = [this] {
            auto recording = std::make_unique<RecordingBrowser>();
            browser = recording.get();
            return recording;
        };
        options.chooseUpdateFile = [this] { return chosenUpdate; };
        options.userStore = app::UserStore{userFolder.filePath("augurlex.conf"), userFolder.path()};
        app::StartupHooks hooks = app::programStartupHooks(options);
        hooks.runUpdateReminder = {};
        hooks.checkConnection = [] { return true; };
        window = app::startProgram(QString::fromStdString(folder.path()), instance, hooks);
        QVERIFY(window && browser);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), searchBox()); // typing needs no click first
        QCOMPARE(window->dictionaryNames(),
                 QStringList({"Omens", "Runes", "Tarot", "Cut", "Blank", "Text"}));
        QCOMPARE(listed(), all);
        QCOMPARE(browser->asked, QStringList{"go augurlex:start"}); // no maker site: our own
        QVERIFY(messages.isEmpty()); // start-up is silent about unreadable files
    }

    void init() {
        window->show(); // a test of the way out leaves it closed
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        opened.clear();
        messages.clear();
        browser->asked.clear();
        control<QComboBox>("cboNames")->setCurrentIndex(0);
        control<QRadioButton>("optExact")->setChecked(true);
    }

    void aChoiceReplacesTheListOrReportsAMissingFile() {
        choose(1);
        QCOMPARE(listed(), QStringList({"Crow", "Comet", "Eclipse"}));
        choose(3);
        QCOMPARE(listed(), QStringList({"Crow", "Comet", "Eclipse"})); // kept
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("tarot Dictionary is missing\rPlease download tarot "
                                           "Dictionary Database\rOr Reinstall the Software"));
        QCOMPARE(messages[0].icon, ui::MessageIcon::Critical);
        const QStringList problems{"damaged", "empty", "not an Access database"};
        for (int i = 0; i < problems.size(); ++i) {
            messages.clear();
            choose(4 + i);
            QCOMPARE(listed(), QStringList({"Crow", "Comet", "Eclipse"})); // kept
            QCOMPARE(messages.size(), 1);
            const QString name = control<QComboBox>("cboNames")->itemText(4 + i);
            QVERIFY2(
                messages[0].text.startsWith(
                    name + " Dictionary cannot be read: the file is " + problems[i] + "\r" +
                    QString::fromStdString(folder.file(name.toLower().toStdString() + ".dll"))),
                qPrintable(messages[0].text));
            QCOMPARE(messages[0].icon, ui::MessageIcon::Critical);
        }
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

    void enterListsTheMatchesAndSearchOpensTheTermInOneDictionary() {
        typeAndEnter("c");
        QCOMPARE(listed(), QStringList({"Crow", "Comet"}));
        control<QComboBox>("cboNames")->setCurrentText("Omens");
        searchBox()->setText(" crow ");
        click("cmdSearch");
        QCOMPARE(listed(), QStringList({"Crow"}));
        // The term is no address: the pane shows its own page for it, in the chosen scope.
        QCOMPARE(browser->asked, QStringList{"go augurlex:term?q=crow&in=Omens"});
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

    // Under "All" a term that no dictionary holds reaches the pane: a bare word gets the page for
    // it, an address is opened.
    void displayUnderAllShowsThePageForATermButOpensAnAddress() {
        typeAndEnter("c"); // a list that is not empty
        for (const char* typed : {"Nonexistent", "Runes.Example/Fehu"}) {
            searchBox()->setText(typed);
            click("cmdDisplay");
        }
        QCOMPARE(browser->asked, (QStringList{"go augurlex:term?q=nonexistent&in=All",
                                              "go http://runes.example/fehu"}));
        QVERIFY(messages.isEmpty());
    }

    // The message, the caption's access key and an option each return the focus to the search box.
    void displayWithAnEmptyListSaysNotFoundAndKeysAndOptionsReturnTheFocus() {
        typeAndEnter("zzz");
        list()->setFocus();
        click("cmdDisplay");
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("Keyword not found - Please search in google\rOr write "
                                           "to us so that we can add the term in our dictionary"));
        QCOMPARE(QApplication::focusWidget(), searchBox());
        QVERIFY(browser->asked.isEmpty());
        list()->setFocus();
        QTest::keyClick(window.get(), Qt::Key_W, Qt::AltModifier); // the caption's access key
        QCOMPARE(QApplication::focusWidget(), searchBox());
        list()->setFocus();
        click("optWildCard");
        QCOMPARE(QApplication::focusWidget(), searchBox());
    }

    // Back, Forward and Stop are enabled while the browser can do what they ask; the line at
    // the foot of the pane shows what is loading.
    void theToolbarDrivesThePaneAndFollowsIt() {
        const auto enabled = [this] {
            QStringList keys;
            for (const QString& key : app::kToolbarKeys)
                if (control<QAction>(qPrintable(key))->isEnabled())
                    keys << key;
            return keys;
        };
        auto* status = control<QLabel>("lblStatus");
        QCOMPARE(enabled(), (QStringList{"Refresh", "Home", "Search"}));
        browser->report({true, true, true, 40, QUrl("http://omens.example/crow")});
        QCOMPARE(enabled(), app::kToolbarKeys);
        QVERIFY(status->isVisible());
        QCOMPARE(status->text(), QString("Loading http://omens.example/crow 40%"));
        for (const QString& key : app::kToolbarKeys)
            control<QAction>(qPrintable(key))->trigger();
        QCOMPARE(browser->asked, (QStringList{"back", "forward", "stop", "refresh",
                                              "go augurlex:start", "go augurlex:search"}));
        browser->report({true, false, false, 100, QUrl("http://omens.example/crow")});
        QCOMPARE(enabled(), (QStringList{"Back", "Refresh", "Home", "Search"}));
        QVERIFY(!status->isVisible());
        key(Qt::Key_F1);
        QCOMPARE(browser->asked.last(), QString("go augurlex:help"));
    }

    // Each dictionary that can be read, with its own count and the sum, counted again each time
    // the page is built: here once Tarot's file has come.
    void theStartPageCountsTheKeywordsOfEachDictionaryEachTimeItIsBuilt() {
        auto* pane = qobject_cast<viewer::BrowserPane*>(window->documentWindow());
        QVERIFY(pane);
        const auto row = [](const QString& name, int count) {
            return QString("<tr><td>%1</td><td class=\"count\">%2</td></tr>").arg(name).arg(count);
        };
        const QString sum = "<tr><td><b>All</b></td><td class=\"count\"><b>%1</b></td></tr>";
        const auto unreadable = [this](const QString& name, const QString& problem) {
            return QString("<tr><td>%1</td><td class=\"problem\">Cannot be read: the file is %2"
                           "<br><code>%3</code></td></tr>")
                .arg(name, problem,
                     QString::fromStdString(folder.file(name.toLower().toStdString() + ".dll")));
        };
        const QString both = row("Omens", 3) + row("Runes", 3);
        const QString others = unreadable("Cut", "damaged") + unreadable("Blank", "empty") +
                               unreadable("Text", "not an Access database");
        const QString first = pane->ownPage("start").value_or("");
        QVERIFY2(first.contains(both + unreadable("Tarot", "missing") + others + sum.arg(6)),
                 qPrintable(first));
        folder.writeDictionary("Tarot", {{"Fool", "http://tarot.example/fool"},
                                         {"Tower", "http://tarot.example/tower"}});
        const QString again = pane->ownPage("start").value_or("");
        std::filesystem::remove(folder.file("tarot.dll"));
        QVERIFY(again.contains(both + row("Tarot", 2) + others + sum.arg(8)));
    }

    // Without the maker's sites the controls that would lead nowhere are left out and the web
    // search searches the whole web; a window built with them opens each page and restricts the
    // search to the site. Online Help shows the shipped help in the pane either way. Both builds'
    // windows keep their shape at their smallest.
    void theLinksOfEachBuildOpenTheirPagesAndTheWebSearchSearches() {
        auto* help = control<QMenu>("mnuHelp");
        QVERIFY(window->menuBar()->actions().contains(help->menuAction()));
        help->findChild<QAction*>("mnuOnline")->trigger();
        QCOMPARE(browser->asked, QStringList{"go augurlex:help"});
        for (const char* name : {"mnuDonate", "mnuVisit", "mnuUpdateSoftware"})
            QVERIFY2(!control<QAction>(name)->isVisible(), name);
        for (const char* name : {"cmdDonate", "lblPicTop2", "Label61", "Label4", "Label9",
                                 "lblFullBrand", "lblCoBrand"})
            QVERIFY2(!control<QWidget>(name)->isVisibleTo(window.get()), name);
        control<QRadioButton>("optGoogle")->setChecked(true);
        typeAndEnter(" tarot & runes ");
        typeAndEnter("");
        QCOMPARE(opened, (QStringList{"https://www.google.com/search?q=tarot%20%26%20runes",
                                      "https://www.google.com/"}));
        QVERIFY(messages.isEmpty());
        checkTheSmallestLayout(*window);

        // The same program built with the maker's sites.
        ui::setMakerSitesForTesting(ui::MakerSites{"https://maker.example", "https://app.example"});
        app::MainWindow maker(QString::fromStdString(folder.path()));
        maker.load();
        app::ProgramOptions options;
        options.makeBrowser = [] { return std::make_unique<RecordingBrowser>(); };
        app::assembleProgram(maker, true, options);
        maker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&maker));
        opened.clear();
        const auto in = [&maker](const char* name) {
            return maker.findChild<QWidget*>(QString::fromLatin1(name));
        };
        maker.findChild<QAction*>("mnuDonate")->trigger();
        for (const char* name : {"cmdDonate", "lblPicTop2", "Label61", "Label4"})
            QTest::mouseClick(in(name), Qt::LeftButton);
        maker.bringOfferToFront(2);
        QCOMPARE(maker.frontOffer()->objectName(), QString("lblFullBrand"));
        QTest::mouseClick(in("lblFullBrand"), Qt::LeftButton);
        maker.bringOfferToFront(1);
        QCOMPARE(maker.frontOffer()->objectName(), QString("lblCoBrand"));
        QTest::mouseClick(in("lblCoBrand"), Qt::LeftButton);
        maker.findChild<QAction*>("mnuUpdateSoftware")->trigger();
        maker.findChild<QRadioButton*>("optGoogle")->setChecked(true);
        maker.searchBox()->setText("tarot");
        QTest::mouseClick(in("cmdSearch"), Qt::LeftButton);
        const QString site = "https://maker.example";
        QCOMPARE(opened,
                 QStringList({site + "/donate.html", site + "/donate.html", site, site, site,
                              site + "/fully-branded.html", site + "/co-brand.html",
                              "https://app.example/download.html",
                              "https://www.google.com/search?q=site%3Amaker.example%20tarot"}));
        QVERIFY(messages.isEmpty());
        checkTheSmallestLayout(maker);
        ui::setMakerSitesForTesting(ui::MakerSites{});
    }

    // Each outcome says what it did: the counts (the failed records with their reasons in the
    // details), why a file cannot be read, or that it has no rows.
    void fileUpdateSaysWhatItDidAndReturnsTheFocus() {
        const std::string cut = updateFolder.file("cut.dll"),
                          notes = updateFolder.file("notes.dll");
        testing_support::writeDictionaryFile(cut, {{"runes", "Fehu", "http://r/f"}});
        std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
        std::ofstream(notes) << "Signs seen this week: a crow, a comet.\n";
        const std::string password =
            AUGURLEX_TESTDATA "/mdbreader__password_V2000_with-password.mdb";
        for (const auto& [file, reason] : {std::pair{notes, "not a supported Access database"},
                                           std::pair{password, "password"}, std::pair{cut, ""}}) {
            update(file);
            const QString text = messages.value(0).text;
            QVERIFY2(text.startsWith("The update file cannot be read\r" +
                                     QString::fromStdString(file) + ": ") &&
                         text.contains(reason, Qt::CaseInsensitive),
                     qPrintable(text));
            QCOMPARE(messages[0].icon, ui::MessageIcon::Critical);
        }
        update(updateFolder.file("empty.dll"));
        QCOMPARE(messages[0].text, QString("There is nothing to Update"));
        QCOMPARE(messages[0].icon, ui::MessageIcon::Information);

        folder.writeDictionary("Clone", {}); // the template of a new dictionary
        const testing_support::Rows rows = {{"runes", "Ansuz", "http://runes.example/ansuz"},
                                            {"RUNES", "Blank", "http://runes.example/blank"},
                                            {"Runes", "Fehu", "http://runes.example/fehu"},
                                            {"Tea", "Cup", "http://tea.example/cup"},
                                            {"../x", "Hex", "http://x.example"}};
        testing_support::writeDictionaryFile(updateFolder.file("update.dll"), rows);
        update(updateFolder.file("update.dll"));
        QCOMPARE(messages[0].text,
                 QString("Augurlex could not merge every record of the update\r2 records added, 2 "
                         "skipped as duplicates, 1 failed, 1 new dictionary (Tea)\rThe failed "
                         "record and its reason are in the details\rPlease Restart the Dictionary "
                         "Software"));
        QCOMPARE(messages[0].icon, ui::MessageIcon::Warning);
        QVERIFY2(messages[0].details.contains(
                     "Failed row 5 (../x, Key \"Hex\"): the dictionary name \"../x\" holds a path"),
                 qPrintable(messages[0].details));
        // The dictionaries as the other cases find them.
        folder.writeCatalogue({"Omens", "Runes", "Tarot", "Cut", "Blank", "Text"});
        folder.writeDictionary("Runes", {{"Ansuz", "http://runes.example/ansuz"},
                                         {"Hex", "javascript:document.title='ran'"},
                                         {"  ", "http://runes.example/blank"}});
    }

    // Each way hides the window and leaves the exit screen, its Exit focused, whose press ends
    // the program (the screen's own keys are tested in tests/weblinks, the process's end on a
    // display by program_on_display).
    void everyWayOutLeavesTheExitScreenWhoseExitEndsTheProgram() {
        int ends = 0;
        app::setProgramEndForTesting([&ends] { ++ends; });
        const std::function<void()> ways[] = {
            [&] { click("cmdExit"); }, [&] { control<QAction>("mnuExit")->trigger(); },
            [&] { window->windowHandle()->close(); }, [&] { key(Qt::Key_Q, Qt::ControlModifier); }};
        for (const auto& closeWindow : ways) {
            init();
            searchBox()->setFocus();
            closeWindow();
            QVERIFY(!window->isVisible());
            QWidget* exitScreen = visibleExitScreen();
            QVERIFY(exitScreen);
            exitScreen->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(exitScreen));
            QCOMPARE(QApplication::focusWidget()->objectName(), QString("cmdClose"));
            key(Qt::Key_Return);
            QCOMPARE(ends, 1);
            if (exitScreen == visibleExitScreen())
                exitScreen->close(); // asks again; ending twice is the end's own affair
            ends = 0;
        }
        app::setProgramEndForTesting({});
    }

    void theKeyboardAloneFindsAndShowsADefinition() {
        choose(1);
        list()->setFocus(Qt::TabFocusReason); // the first row current (tabGoesRoundEveryControl)
        key(Qt::Key_Down);                    // moving copies as a click does
        QCOMPARE(searchBox()->text(), QString("Comet"));
        key(Qt::Key_Return); // as a double click
        QCOMPARE(browser->asked, QStringList{"go https://omens.example/comet"});
        key(Qt::Key_Down);
        QCOMPARE(searchBox()->text(), QString("Eclipse"));
        key(Qt::Key_D, Qt::AltModifier); // Display, not Donate: the button shows its press first
        QTRY_COMPARE(browser->asked.value(1), QString("go http://omens.example/eclipse"));
        for (int shortcut : {Qt::Key_L, Qt::Key_F}) {
            list()->setFocus();
            key(shortcut, Qt::ControlModifier);
            QCOMPARE(QApplication::focusWidget(), searchBox());
            QCOMPARE(searchBox()->selectedText(), QString("Eclipse"));
        }
        browser->report({true, true, false, 100, {}});
        key(Qt::Key_Left, Qt::AltModifier);
        key(Qt::Key_Right, Qt::AltModifier);
        key(Qt::Key_F5);
        key(Qt::Key_Escape); // outside the pane: nothing
        window->documentWindow()->setFocus();
        key(Qt::Key_Escape);
        QCOMPARE(browser->asked.mid(2), (QStringList{"back", "forward", "refresh", "stop"}));
        QVERIFY(messages.isEmpty());
    }

    // A, then Z, then the file's order again; a search while sorted lists its matches sorted.
    void theHeaderSortsAToZThenZToAThenAsTheFilesAre() {
        choose(1);
        QHeaderView* header = list()->horizontalHeader();
        const auto clickHeader = [header] {
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
        };
        const QStringList fileOrder{"Crow", "Comet", "Eclipse"};
        QCOMPARE(listed(), fileOrder);
        clickHeader();
        QCOMPARE(listed(), QStringList({"Comet", "Crow", "Eclipse"}));
        typeAndEnter("C");
        QCOMPARE(listed(), QStringList({"Comet", "Crow"}));
        choose(1);
        clickHeader();
        QCOMPARE(listed(), QStringList({"Eclipse", "Crow", "Comet"}));
        clickHeader();
        QCOMPARE(listed(), fileOrder);
        QVERIFY(!header->isSortIndicatorShown());
    }

    // Round from the selector through the lookup and the pane to Exit, every link and Donate;
    // passing through the list leaves the typed term alone.
    void tabGoesRoundEveryControl() {
        choose(0);
        searchBox()->setText("hiero");
        control<QComboBox>("cboNames")->setFocus(Qt::TabFocusReason);
        QStringList order{"cboNames"};
        for (int i = 0; i < 30 && (i == 0 || order.last() != "cboNames"); ++i) {
            key(Qt::Key_Tab);
            const QString name = QApplication::focusWidget()->objectName();
            if (!name.startsWith("opt") || !order.last().startsWith("opt"))
                order << (name.startsWith("opt") ? QString("an option") : name);
        }
        QCOMPARE(order.mid(0, 7), (QStringList{"cboNames", "an option", "txtKey", "cmdSearch",
                                               "lstKeys", "cmdDisplay", "frmMain"}));
        QCOMPARE(searchBox()->text(), QString("hiero"));
        const QString front = window->frontOffer()->objectName();
        for (const QString& name : {front, QString("cmdExit"), QString("Label61"),
                                    QString("Label4"), QString("lblPicTop2"), QString("cmdDonate")})
            if (QWidget* stop = control<QWidget>(qPrintable(name));
                stop->isEnabled() && stop->isVisibleTo(window.get()))
                QVERIFY2(order.contains(name), qPrintable(order.join(", ")));
        QVERIFY2(order.indexOf("cmdExit") > 6, qPrintable(order.join(", ")));
        QCOMPARE(order.last(), QString("cboNames"));
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[order.size() - 2]);
    }

    void everyControlHasAnAccessibleName() {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(window.get()))
                continue;
            QAccessibleInterface* described = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(described && !described->text(QAccessible::Name).isEmpty(),
                     qPrintable(widget->objectName()));
        }
    }

    void cleanupTestCase() {
        ui::setMakerSitesForTesting(std::nullopt);
        window.reset();
        ui::setMessageHandlerForTesting({});
        ui::setWebPageOpenerForTesting({});
    }
};

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
