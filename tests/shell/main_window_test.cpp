// The main frame as the user meets it: start-up over folders of our own, the selector, the
// search box and the keyword list, the layout and the ways out. Driven by objectName.
#include "dictionary_folder.h"
#include "jet/create.h"
#include "keyword_list_model.h"
#include "mdi.h"
#include "message_box.h"
#include "single_instance.h"
#include "startup.h"
#include "store/modDB.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <filesystem>
#include <fstream>

using augurlex::MDI;
using augurlex::MessageIcon;
using augurlex::MessageRequest;
using testing_support::DictionaryFolder;
using testing_support::Record;

namespace {

jet::CreateOptions password(const std::string& text) {
    jet::CreateOptions options;
    options.password = text;
    return options;
}

std::vector<Record> records(const QStringList& keys) {
    std::vector<Record> result;
    for (const QString& key : keys)
        result.push_back({key.toStdString(), "https://example.org/" + key.toStdString()});
    return result;
}

// A started program over its own folder, with its messages recorded instead of shown.
struct Program {
    explicit Program(const DictionaryFolder& folder)
        : instance(QString::fromStdString(folder.path()) + "/instance.lock") {
        augurlex::SetMessageHandlerForTesting([this](const MessageRequest& request) {
            messages.append(request);
            return augurlex::MessageAnswer::Ok;
        });
        frame = augurlex::StartProgram(QString::fromStdString(folder.path()), instance);
        if (frame)
            (void)QTest::qWaitForWindowExposed(frame.get());
    }
    ~Program() { augurlex::SetMessageHandlerForTesting({}); }

    template <class T> T* control(const char* name) const {
        T* found = frame->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }
    QComboBox* selector() const { return control<QComboBox>("cboNames"); }
    QLineEdit* searchBox() const { return control<QLineEdit>("txtKey"); }
    QTreeView* list() const { return control<QTreeView>("lstKeys"); }
    QStringList keywords() const { return frame->Keywords().Keywords(); }
    QStringList entries() const {
        QStringList texts;
        for (int i = 0; i < selector()->count(); ++i)
            texts.append(selector()->itemText(i));
        return texts;
    }
    // What a user's choice of an entry does.
    void choose(int index) const {
        selector()->setCurrentIndex(index);
        emit selector()->activated(index);
    }
    void clickKeyword(int row) const {
        const QModelIndex index = list()->model()->index(row, 0);
        list()->scrollTo(index);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(index).center());
    }

    augurlex::SingleInstance instance;
    QList<MessageRequest> messages;
    std::unique_ptr<MDI> frame;
};

void writeThreeDictionaries(const DictionaryFolder& folder) {
    folder.writeCatalogue({"Omens", "Runes", "Tarot"});
    folder.writeDictionary("Omens", records({"Crow", "Oracle", "Owl"}));
    folder.writeDictionary("Runes", records({"Fehu", "Oracle"}));
    folder.writeDictionary("Tarot", records({"The Fool"}));
}

const QString kOmensMissing =
    QStringLiteral("runes Dictionary is missing\rPlease download runes Dictionary Database\r"
                   "Or Reinstall the Software");

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpListsEveryDictionaryAndEveryKeyword();
    void controlsCarryTheirNamesAndTexts();
    void withoutTheCatalogueTheFrameOpensEmptyAndAChoiceReportsIt();
    void aMissingDictionaryIsListedWithoutKeywordsAndReportedWhenChosen();
    void unreadableDictionariesLeaveTheirKeywordsOutWithoutAMessage();
    void aTrailingSpaceNameReadsTwoDifferentFiles();
    void aDictionaryNamedAllStandsForEveryDictionary();
    void allStopsAtAMissingSecondDictionary();
    void clickingAKeywordCopiesItIntoTheSearchBox();
    void typingLeavesTheListAloneAndABlankBoxReloadsEverything();
    void layoutKeepsItsArrangementAtEverySize();
    void exitButtonMenuAndCloseBoxAllCloseTheFrame();
    void oneOfferIsInFrontAsDrawn();
    void aHundredThousandKeywordsFillOneBatch();
};

void MainWindowTest::startUpListsEveryDictionaryAndEveryKeyword() {
    DictionaryFolder folder;
    writeThreeDictionaries(folder);
    Program program(folder);
    QVERIFY(program.frame);
    QCOMPARE(program.entries(), QStringList({"All", "Omens", "Runes", "Tarot"}));
    QCOMPARE(program.selector()->currentText(), QString("All"));
    // Dictionary after dictionary, record order, duplicates kept.
    QCOMPARE(program.keywords(),
             QStringList({"Crow", "Oracle", "Owl", "Fehu", "Oracle", "The Fool"}));
    QVERIFY(program.messages.isEmpty());
    QVERIFY(program.frame->isVisible());
    QVERIFY(!program.list()->currentIndex().isValid());
}

void MainWindowTest::controlsCarryTheirNamesAndTexts() {
    DictionaryFolder folder;
    Program program(folder);
    MDI& frame = *program.frame;
    QCOMPARE(frame.windowTitle(), QString("Augurlex v1.95"));
    QVERIFY(!frame.windowIcon().isNull());
    QCOMPARE(program.control<QRadioButton>("optWildCard")->text(), QString("Use WildCard (*)"));
    QCOMPARE(program.control<QRadioButton>("optExact")->text(), QString("Exact Search"));
    QCOMPARE(program.control<QRadioButton>("optGoogle")->text(), QString("Google Search"));
    QVERIFY(program.control<QRadioButton>("optExact")->isChecked());
    auto* caption = program.control<QLabel>("Label1");
    QCOMPARE(caption->text(), QString("Type in the Key&word to find:"));
    QCOMPARE(caption->buddy(), program.searchBox());
    QVERIFY(program.searchBox()->text().isEmpty());
    QVERIFY(!program.selector()->isEditable());
    QCOMPARE(program.control<QPushButton>("cmdSearch")->text(), QString("&Search"));
    QCOMPARE(program.control<QPushButton>("cmdDisplay")->text(), QString("&Display"));
    QCOMPARE(program.control<QPushButton>("cmdDonate")->text(), QString("&Donate"));
    QCOMPARE(program.control<QPushButton>("cmdExit")->text(), QString("E&xit"));
    QCOMPARE(program.control<QLabel>("Label9")->text(), QString("Place you ad here permanently"));
    QCOMPARE(program.control<QLabel>("lblFullBrand")->text(),
             QString("Home Business Opportunity. Start your own Internet business and make money "
                     "online. Get this software fully branded for your website. Click here for "
                     "more details."));
    for (const char* name : {"Label10", "Label61", "Label4", "lblPicTop2", "lblCoBrand"})
        QVERIFY2(!program.control<QLabel>(name)->text().isEmpty(), name);
    for (const char* name : {"TB", "Picture1", "Picture2", "picTop", "picLeft", "picBottom",
                             "fraFullBrand", "frmMain"})
        QVERIFY2(program.control<QWidget>(name), name);
    QCOMPARE(program.list()->model()->headerData(0, Qt::Horizontal).toString(),
             QString("Keywords"));
    QCOMPARE(program.list()->model()->columnCount(), 1);
    QVERIFY(!program.list()->header()->isHidden());

    // Menus: File (Update, separator, Exit), Help, Donate.
    QList<QAction*> bar = frame.menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0]->text(), QString("&File"));
    QCOMPARE(bar[1]->text(), QString("&Help"));
    QCOMPARE(bar[2]->text(), QString("&Donate"));
    QCOMPARE(bar[2]->objectName(), QString("mnuDonate"));
    QVERIFY(!bar[2]->menu());
    auto* file = program.control<QMenu>("mnuFile");
    QCOMPARE(file->menuAction(), bar[0]);
    QCOMPARE(program.control<QMenu>("mnuHelp")->menuAction(), bar[1]);
    QList<QAction*> entries = file->actions();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0]->objectName(), QString("mnuUpdate"));
    QCOMPARE(entries[0]->text(), QString("&Update"));
    QVERIFY(entries[1]->isSeparator());
    QCOMPARE(entries[1]->objectName(), QString("mnuFileSep1"));
    QCOMPARE(entries[2]->objectName(), QString("mnuExit"));
    QCOMPARE(entries[2]->text(), QString("E&xit"));

    // The toolbar's six buttons, in order, each named, captioned and tipped with its key.
    QStringList keys;
    for (QAction* action : program.control<QToolBar>("TB")->actions()) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        QCOMPARE(action->objectName(), action->text());
        QCOMPARE(action->toolTip(), action->text());
        QCOMPARE(frame.ToolbarAction(action->text()), action);
        keys.append(action->text());
    }
    QCOMPARE(keys, QStringList({"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
}

void MainWindowTest::withoutTheCatalogueTheFrameOpensEmptyAndAChoiceReportsIt() {
    DictionaryFolder folder;
    folder.writeDictionary("Omens", records({"Crow"}));
    Program program(folder);
    QCOMPARE(program.entries(), QStringList({"All"}));
    QVERIFY(program.keywords().isEmpty());
    QVERIFY(program.messages.isEmpty());

    program.choose(0);
    QCOMPARE(program.messages.size(), 1);
    QCOMPARE(program.messages[0].text,
             QString(" Dictionary is missing\rPlease download  Dictionary Database\r"
                     "Or Reinstall the Software"));
    QCOMPARE(program.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(program.messages[0].buttons, augurlex::MessageButtons::Ok);
    QCOMPARE(program.messages[0].title, QString("Augurlex"));
}

void MainWindowTest::aMissingDictionaryIsListedWithoutKeywordsAndReportedWhenChosen() {
    DictionaryFolder folder;
    writeThreeDictionaries(folder);
    std::filesystem::remove(modDB::DictionaryPath(folder.path(), "Runes"));
    Program program(folder);
    QCOMPARE(program.entries(), QStringList({"All", "Omens", "Runes", "Tarot"}));
    QCOMPARE(program.keywords(), QStringList({"Crow", "Oracle", "Owl", "The Fool"}));
    QVERIFY(program.messages.isEmpty());

    program.choose(3);
    QCOMPARE(program.keywords(), QStringList({"The Fool"}));
    program.choose(2);
    QCOMPARE(program.messages.size(), 1);
    QCOMPARE(program.messages[0].text, kOmensMissing);
    QCOMPARE(program.messages[0].icon, MessageIcon::Critical);
    // The list keeps what it held.
    QCOMPARE(program.keywords(), QStringList({"The Fool"}));
}

void MainWindowTest::unreadableDictionariesLeaveTheirKeywordsOutWithoutAMessage() {
    DictionaryFolder folder;
    writeThreeDictionaries(folder);
    jet::createDatabase(modDB::DictionaryPath(folder.path(), "Runes"),
                        {{"data", {{"names"}, {"Key"}, {"Link"}}}}, password("another password"));
    std::ofstream(modDB::DictionaryPath(folder.path(), "Tarot"), std::ios::binary | std::ios::trunc)
        << std::string(4096 * 4, '\xff');
    Program program(folder);
    QCOMPARE(program.keywords(), QStringList({"Crow", "Oracle", "Owl"}));
    program.choose(2);
    QVERIFY(program.keywords().isEmpty());
    program.choose(0);
    QCOMPARE(program.keywords(), QStringList({"Crow", "Oracle", "Owl"}));
    QVERIFY(program.messages.isEmpty());
}

void MainWindowTest::aTrailingSpaceNameReadsTwoDifferentFiles() {
    DictionaryFolder folder;
    folder.writeCatalogue({"Omens "});
    folder.writeDictionary("Omens ", records({"Spaced"}));
    folder.writeDictionary("Omens", records({"Trimmed"}));
    Program program(folder);
    QCOMPARE(program.entries(), QStringList({"All", "Omens "}));
    QCOMPARE(program.keywords(), QStringList({"Spaced"}));
    program.choose(1);
    QCOMPARE(program.keywords(), QStringList({"Trimmed"}));
    program.choose(0);
    QCOMPARE(program.keywords(), QStringList({"Spaced"}));
    QVERIFY(program.messages.isEmpty());
}

void MainWindowTest::aDictionaryNamedAllStandsForEveryDictionary() {
    DictionaryFolder folder;
    folder.writeCatalogue({"Omens", "All"});
    folder.writeDictionary("Omens", records({"Crow"}));
    folder.writeDictionary("All", records({"Everything"}));
    Program program(folder);
    QCOMPARE(program.entries(), QStringList({"All", "Omens", "All"}));
    program.choose(1);
    QCOMPARE(program.keywords(), QStringList({"Crow"}));
    program.choose(2);
    QCOMPARE(program.keywords(), QStringList({"Crow", "Everything"}));
    QVERIFY(program.messages.isEmpty());
}

void MainWindowTest::allStopsAtAMissingSecondDictionary() {
    DictionaryFolder folder;
    writeThreeDictionaries(folder);
    std::filesystem::remove(modDB::DictionaryPath(folder.path(), "Runes"));
    Program program(folder);
    program.choose(1);
    program.choose(0);
    QCOMPARE(program.keywords(), QStringList({"Crow", "Oracle", "Owl"}));
    QCOMPARE(program.messages.size(), 1);
    QCOMPARE(program.messages[0].text, kOmensMissing);
    QCOMPARE(program.messages[0].icon, MessageIcon::Critical);
}

void MainWindowTest::clickingAKeywordCopiesItIntoTheSearchBox() {
    DictionaryFolder folder;
    writeThreeDictionaries(folder);
    folder.writeDictionary("Tarot", records({"  "}));
    Program program(folder);
    const QStringList all = program.keywords();

    program.clickKeyword(1);
    QCOMPARE(program.searchBox()->text(), QString("Oracle"));
    QCOMPARE(program.keywords(), all);
    // The same keyword from the other dictionary gives the same text.
    program.clickKeyword(4);
    QCOMPARE(program.searchBox()->text(), QString("Oracle"));

    // A blank keyword makes the box blank: every keyword again, even with one dictionary chosen.
    program.choose(1);
    QCOMPARE(program.keywords(), QStringList({"Crow", "Oracle", "Owl"}));
    program.searchBox()->setText("Owl");
    program.choose(0);
    program.clickKeyword(5);
    QCOMPARE(program.searchBox()->text(), QString("  "));
    QCOMPARE(program.keywords(), all);

    // A click into an empty list changes nothing.
    folder.writeDictionary("Omens", {});
    program.choose(1);
    QVERIFY(program.keywords().isEmpty());
    program.searchBox()->setText("Crow");
    QTest::mouseClick(program.list()->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(program.searchBox()->text(), QString("Crow"));
    QVERIFY(program.messages.isEmpty());
}

void MainWindowTest::typingLeavesTheListAloneAndABlankBoxReloadsEverything() {
    DictionaryFolder folder;
    writeThreeDictionaries(folder);
    Program program(folder);
    const QStringList all = program.keywords();
    program.choose(3);
    QCOMPARE(program.keywords(), QStringList({"The Fool"}));

    program.searchBox()->setFocus();
    QTest::keyClicks(program.searchBox(), "ora");
    QCOMPARE(program.keywords(), QStringList({"The Fool"}));
    QVERIFY(!program.list()->currentIndex().isValid());

    QTest::keyClick(program.searchBox(), Qt::Key_Backspace);
    QTest::keyClick(program.searchBox(), Qt::Key_Backspace);
    QCOMPARE(program.keywords(), QStringList({"The Fool"}));
    QTest::keyClick(program.searchBox(), Qt::Key_Backspace);
    QCOMPARE(program.keywords(), all);

    // Spaces alone count as blank, each one reloading; a tab does not.
    program.choose(3);
    QTest::keyClick(program.searchBox(), Qt::Key_Space);
    QCOMPARE(program.keywords(), all);
    program.choose(3);
    QTest::keyClick(program.searchBox(), Qt::Key_Space);
    QCOMPARE(program.keywords(), all);
    program.choose(3);
    program.searchBox()->setText("\t");
    QCOMPARE(program.keywords(), QStringList({"The Fool"}));
    QCOMPARE(program.selector()->currentText(), QString("Tarot"));
}

void MainWindowTest::layoutKeepsItsArrangementAtEverySize() {
    DictionaryFolder folder;
    writeThreeDictionaries(folder);
    Program program(folder);
    MDI& frame = *program.frame;
    auto* pane = program.control<QWidget>("picLeft");
    auto* list = program.list();
    auto* display = program.control<QPushButton>("cmdDisplay");
    auto* document = frame.DocumentWindow();
    const auto rightGap = [&frame](QWidget* widget) {
        return frame.width() - (widget->mapTo(&frame, QPoint(0, 0)).x() + widget->width());
    };
    const auto inFrame = [&frame](QWidget* widget) {
        return QRect(widget->mapTo(&frame, QPoint(0, 0)), widget->size());
    };

    for (QSize size : {QSize(660, 500), QSize(1200, 900), QSize(800, 420), QSize(1600, 1000)}) {
        frame.resize(size);
        QTest::qWait(20);
        QCOMPARE(frame.size(), size);
        QCOMPARE(pane->width(), 195);
        QCOMPARE(inFrame(pane).left(), 0);
        // Toolbar, top band and bottom band keep their heights.
        QCOMPARE(program.control<QToolBar>("TB")->height(), 36);
        QCOMPARE(program.control<QWidget>("picTop")->height(), 43);
        QCOMPARE(program.control<QWidget>("picBottom")->height(), 36);
        QCOMPARE(inFrame(program.control<QWidget>("picBottom")).bottom(), frame.height() - 1);
        // The selector, options, caption, box and button at the top of the pane, in order.
        QCOMPARE(program.selector()->y(), 0);
        QVERIFY(program.control<QRadioButton>("optExact")->y() > program.selector()->y());
        QVERIFY(program.searchBox()->y() > program.control<QLabel>("Label1")->y());
        QVERIFY(list->y() >= program.control<QPushButton>("cmdSearch")->geometry().bottom());
        // The list takes the rest; Display sits right under it at the pane's bottom.
        QCOMPARE(display->y(), list->geometry().bottom() + 1);
        QCOMPARE(display->geometry().bottom(), pane->height() - 1);
        QCOMPARE(display->height(), 33);
        QCOMPARE(list->width(), 192);
        QCOMPARE(rightGap(program.control<QPushButton>("cmdDonate")), 20);
        QCOMPARE(rightGap(program.control<QPushButton>("cmdExit")), 20);
        // The document window fills the free area and follows the frame.
        const QRect doc = inFrame(document);
        QCOMPARE(doc.left(), 195);
        QCOMPARE(doc.right(), frame.width() - 1);
        QCOMPARE(doc.top(), inFrame(pane).top());
        QCOMPARE(doc.bottom(), inFrame(pane).bottom());
    }
}

void MainWindowTest::exitButtonMenuAndCloseBoxAllCloseTheFrame() {
    DictionaryFolder folder;
    const auto closesThrough = [&folder](const std::function<void(Program&)>& exit) {
        Program program(folder);
        QSignalSpy unloading(program.frame.get(), &MDI::unloading);
        exit(program);
        QCOMPARE(unloading.count(), 1);
        QVERIFY(!program.frame->isVisible());
        QVERIFY(program.messages.isEmpty());
    };
    closesThrough(
        [](Program& p) { QTest::mouseClick(p.control<QPushButton>("cmdExit"), Qt::LeftButton); });
    closesThrough([](Program& p) { p.control<QAction>("mnuExit")->trigger(); });
    closesThrough([](Program& p) { p.frame->close(); });
}

void MainWindowTest::oneOfferIsInFrontAsDrawn() {
    DictionaryFolder folder;
    Program program(folder);
    auto* full = program.control<QLabel>("lblFullBrand");
    auto* co = program.control<QLabel>("lblCoBrand");
    QVERIFY(program.frame->FrontOffer() == full || program.frame->FrontOffer() == co);
    for (int draw = 1; draw <= 6; ++draw) {
        program.frame->BringOfferToFront(draw);
        QLabel* front = draw % 2 == 0 ? full : co;
        QCOMPARE(program.frame->FrontOffer(), front);
        auto* frame = program.control<QWidget>("fraFullBrand");
        QCOMPARE(frame->childAt(front->geometry().center()), front);
    }
}

void MainWindowTest::aHundredThousandKeywordsFillOneBatch() {
    DictionaryFolder folder;
    Program program(folder);
    std::vector<std::string> many(100000, "Oracle");
    many.back() = "Last";
    QSignalSpy resets(&program.frame->Keywords(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&program.frame->Keywords(), &QAbstractItemModel::rowsInserted);
    program.frame->Keywords().SetKeywords(many);
    program.frame->Keywords().AppendKeywords({"One more", "And another"});
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 1);
    QCOMPARE(program.list()->model()->rowCount(), 100002);
    QVERIFY(program.list()->uniformRowHeights());
    program.clickKeyword(99999);
    QCOMPARE(program.searchBox()->text(), QString("Last"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
