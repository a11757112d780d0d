// The assembled program: the real frame built by start-up with the program's own hooks (the update
// reminder left out) over a folder of test dictionaries, driven through its controls by name.
// Web pages and message boxes are intercepted; the pane's real browser is watched through the
// navigations its page is asked for, since there is no network to load them.
#include "dictionary_folder.h"
#include "mdi.h"
#include "message_box.h"
#include "program_assembly.h"
#include "single_instance.h"
#include "startup.h"
#include "viewer/pane_address.h"
#include "viewer/pane_page.h"
#include "weblinks/endpoints.h"
#include "weblinks/web_page.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QWebEngineView>
#include <QtTest>

using augurlex::MessageAnswer;
using augurlex::MessageRequest;

namespace {

const QString kNotFound = "Keyword not found - Please search in google\r"
                          "Or write to us so that we can add the term in our dictionary";

// What was seen of a modal window before it was answered (answering may delete it).
struct ModalSeen {
    QString className;
    QString objectName;
    QWidget* parent = nullptr;
};

// Runs `answer` on each modal window that opens while `trigger` runs, in order; a window that
// stays open after its answer is closed, so a surprise cannot hang the test. Returns what was
// seen.
QList<ModalSeen> answerModals(const std::function<void()>& trigger,
                              const std::function<void(QWidget*)>& answer) {
    QList<ModalSeen> seen;
    QPointer<QWidget> answered;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (modal == answered) {
            modal->close();
            return;
        }
        seen.append({modal->metaObject()->className(), modal->objectName(), modal->parentWidget()});
        answered = modal;
        answer(modal);
    });
    poll.start();
    trigger();
    return seen;
}

} // namespace

class AssembledProgramTest : public QObject {
    Q_OBJECT

    testing_support::DictionaryFolder folder;
    testing_support::DictionaryFolder updateFolder;
    QTemporaryDir lockFolder;
    std::unique_ptr<augurlex::SingleInstance> instance;
    std::unique_ptr<augurlex::MDI> frame;
    const augurlex::MdiControls* c = nullptr;
    viewer::PanePage* page = nullptr;

    QStringList opened;
    QList<MessageRequest> messages;
    QList<QPair<QUrl, bool>> asked;
    bool loading = false;

    QStringList listedKeywords() const {
        QStringList keys;
        QAbstractItemModel* model = c->lstKeys->model();
        for (int row = 0; row < model->rowCount(); ++row)
            keys << model->index(row, 0).data().toString();
        return keys;
    }
    void chooseDictionary(const QString& name) {
        c->cboNames->setCurrentIndex(c->cboNames->findText(name));
    }
    void typeAndEnter(const QString& term) {
        c->txtKey->clear();
        QTest::keyClicks(c->txtKey, term);
        QTest::keyClick(c->txtKey, Qt::Key_Return);
    }
    // A click (which copies the keyword into the search box) and then a double click, as a
    // user picks a keyword.
    void doubleClickKeyword(int row) {
        const QModelIndex index = c->lstKeys->model()->index(row, 0);
        const QPoint at = c->lstKeys->visualRect(index).center();
        QTest::mouseClick(c->lstKeys->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(c->lstKeys->viewport(), Qt::LeftButton, {}, at);
    }
    QList<QUrl> askedUrls() const {
        QList<QUrl> urls;
        for (const auto& [url, accepted] : asked)
            urls << url;
        return urls;
    }
    // The browser adds the root path to an address without one.
    bool wasAskedFor(const QUrl& url) const {
        const auto rooted = [](QUrl address) {
            if (address.path().isEmpty())
                address.setPath("/");
            return address;
        };
        return askedUrls().contains(rooted(url));
    }
    QString askedText() const {
        QStringList texts;
        for (const QUrl& url : askedUrls())
            texts << url.toString();
        return texts.join(", ");
    }
    QList<QPair<QString, qint64>> dictionaryFiles() const {
        QList<QPair<QString, qint64>> files;
        for (const QFileInfo& file : QDir(QString::fromStdString(folder.path()))
                                         .entryInfoList({"*.dll"}, QDir::Files, QDir::Name))
            files << qMakePair(file.fileName(), file.size());
        return files;
    }

private slots:
    void initTestCase() {
        folder.writeCatalogue({"Omens", "Runes"});
        folder.writeDictionary("Omens", {{"Crow", "http://omens.example/crow"},
                                         {"Comet", "https://omens.example/comet"},
                                         {"Eclipse", "http://omens.example/eclipse"}});
        folder.writeDictionary("Runes", {{"Ansuz", "http://runes.example/ansuz"},
                                         {"Hex", "javascript:document.title='ran'"}});
        updateFolder.writeDictionary("Empty", {});

        augurlex::SetMessageHandlerForTesting([this](const MessageRequest& request) {
            messages << request;
            return MessageAnswer::Ok;
        });
        augurlex::SetWebPageOpenerForTesting([this](const QString& address) { opened << address; });

        augurlex::StartupHooks hooks = augurlex::ProgramStartupHooks();
        hooks.runUpdateReminder = {};
        instance = std::make_unique<augurlex::SingleInstance>(lockFolder.filePath("copy.lock"));
        frame = augurlex::StartProgram(QString::fromStdString(folder.path()), *instance, hooks);
        QVERIFY(frame);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        c = &frame->Controls();

        auto* view = frame->findChild<QWebEngineView*>("WB");
        QVERIFY2(view, "the browser pane is not in the frame");
        page = qobject_cast<viewer::PanePage*>(view->page());
        QVERIFY(page);
        connect(page, &viewer::PanePage::navigationAsked, this,
                [this](const QUrl& url, bool accepted) {
                    asked.append({url, accepted});
                });
        QCOMPARE(listedKeywords(), QStringList({"Crow", "Comet", "Eclipse", "Ansuz", "Hex"}));
    }

    void init() {
        opened.clear();
        messages.clear();
        asked.clear();
        chooseDictionary("All");
    }

    void cleanupTestCase() {
        frame.reset();
        augurlex::SetMessageHandlerForTesting({});
        augurlex::SetWebPageOpenerForTesting({});
    }

    // --- Lookup through the frame's controls into the pane's browser ---

    void enterInTheSearchBoxListsTheMatches() {
        typeAndEnter("c");
        QCOMPARE(listedKeywords(), QStringList({"Crow", "Comet"}));
        typeAndEnter("ANS");
        QCOMPARE(listedKeywords(), QStringList({"Ansuz"}));
        QVERIFY(messages.isEmpty());
    }

    void searchInOneDictionaryWithAMatchNavigatesThePane() {
        chooseDictionary("Omens");
        c->txtKey->setText(" crow ");
        QTest::mouseClick(c->cmdSearch, Qt::LeftButton);
        QCOMPARE(listedKeywords(), QStringList({"Crow"}));
        // The trimmed term, taken as an address.
        const QUrl expected = *viewer::PaneAddress("crow");
        QTRY_VERIFY2_WITH_TIMEOUT(wasAskedFor(expected),
                                  qPrintable(expected.toString() + " not in " + askedText()),
                                  20000);
        QVERIFY(messages.isEmpty());
    }

    void doubleClickOnAKeywordOpensItsLink() {
        typeAndEnter("ecl");
        QCOMPARE(listedKeywords(), QStringList({"Eclipse"}));
        doubleClickKeyword(0);
        QCOMPARE(c->txtKey->text(), QString("Eclipse"));
        const QUrl link("http://omens.example/eclipse");
        QTRY_VERIFY_WITH_TIMEOUT(asked.contains(qMakePair(link, true)), 20000);
        QVERIFY(messages.isEmpty());
    }

    void displayWithAnEmptyListSaysNotFound() {
        typeAndEnter("zzz");
        QVERIFY(listedKeywords().isEmpty());
        QTest::mouseClick(c->cmdDisplay, Qt::LeftButton);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, kNotFound);
        QCOMPARE(messages[0].icon, augurlex::MessageIcon::Information);
        QCOMPARE(messages[0].buttons, augurlex::MessageButtons::Ok);
        QCOMPARE(messages[0].title, QString("Augurlex"));
    }

    void aScriptLinkIsNotNavigated() {
        // A document of the program's own (the toolbar's search form) in which a script could run.
        frame->ToolbarAction("Search")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(page->url().scheme() == "data" && !loading, 20000);
        asked.clear();
        const QUrl shown = page->url();

        typeAndEnter("hex");
        QCOMPARE(listedKeywords(), QStringList({"Hex"}));
        doubleClickKeyword(0);
        QCOMPARE(c->txtKey->text(), QString("Hex"));
        // Script sent to the document after the double click runs after anything it set off.
        QVariant title;
        page->runJavaScript("document.title", [&title](const QVariant& value) { title = value; });
        QTRY_VERIFY_WITH_TIMEOUT(title.isValid(), 20000);
        QVERIFY2(title.toString() != "ran", "the script link ran in the pane");
        QVERIFY2(asked.isEmpty(), qPrintable(askedText()));
        QCOMPARE(page->url(), shown);
        QVERIFY(messages.isEmpty());
    }

    // --- Web links of the frame ---

    void theHelpMenuIsInTheFrameAndOpensItsPages() {
        QVERIFY(frame->menuBar()->actions().contains(c->mnuHelp->menuAction()));
        QStringList names;
        for (QAction* entry : c->mnuHelp->actions())
            names << entry->objectName();
        QCOMPARE(names, QStringList({"mnuOnline", "mnuVisit", "mnuHelpSep1", "mnuUpdateSoftware",
                                     "mnuHelpSep2", "mnuAbout"}));

        c->mnuHelp->findChild<QAction*>("mnuOnline")->trigger();
        c->mnuHelp->findChild<QAction*>("mnuUpdateSoftware")->trigger();
        QCOMPARE(opened, QStringList({augurlex::kOnlineHelpPageURL, augurlex::kDownloadPageURL}));

        const QList<ModalSeen> modals =
            answerModals([&] { c->mnuHelp->findChild<QAction*>("mnuAbout")->trigger(); },
                         [](QWidget* modal) { modal->close(); });
        QCOMPARE(modals.size(), 1);
        QCOMPARE(modals[0].objectName, QString("frmAbout"));
        QCOMPARE(modals[0].parent, static_cast<QWidget*>(frame.get()));
    }

    void donateAndTheBrandingLabelOpenTheirPages() {
        QVERIFY(frame->menuBar()->actions().contains(c->mnuDonate));
        c->mnuDonate->trigger();
        QTest::mouseClick(c->cmdDonate, Qt::LeftButton);
        frame->BringOfferToFront(2);
        QCOMPARE(frame->FrontOffer(), c->lblFullBrand);
        QTest::mouseClick(c->lblFullBrand, Qt::LeftButton);
        QCOMPARE(opened, QStringList({augurlex::kDonatePageURL, augurlex::kDonatePageURL,
                                      augurlex::kFullBrandPageURL}));
    }

    // --- File > Update ---

    void cancellingTheUpdateDialogChangesNothing() {
        typeAndEnter("c");
        const QStringList keywordsBefore = listedKeywords();
        const auto filesBefore = dictionaryFiles();
        const QList<ModalSeen> modals =
            answerModals([&] { c->mnuUpdate->trigger(); }, [](QWidget* modal) { modal->close(); });
        QCOMPARE(modals.size(), 1);
        QCOMPARE(modals[0].className, QString("QFileDialog"));
        QCOMPARE(modals[0].parent, static_cast<QWidget*>(frame.get()));
        QVERIFY(messages.isEmpty());
        QCOMPARE(listedKeywords(), keywordsBefore);
        QCOMPARE(dictionaryFiles(), filesBefore);
    }

    void anEmptyUpdateFileSaysSoAndFocusesTheSearchBox() {
        c->lstKeys->setFocus();
        QCOMPARE(frame->focusWidget(), static_cast<QWidget*>(c->lstKeys));
        const QString empty =
            QString::fromStdString(updateFolder.path()) + QDir::separator() + "empty.dll";
        const auto filesBefore = dictionaryFiles();
        // The file's name typed into the dialog's name box, then Enter, as a user would.
        const auto chooseEmpty = [empty](QWidget* modal) {
            auto* files = qobject_cast<QFileDialog*>(modal);
            auto* name = files ? files->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            if (name == nullptr) {
                modal->close();
                return;
            }
            QTest::keyClicks(name, empty);
            QTest::keyClick(name, Qt::Key_Return);
        };
        const QList<ModalSeen> modals = answerModals([&] { c->mnuUpdate->trigger(); }, chooseEmpty);
        QStringList classes;
        for (const ModalSeen& modal : modals)
            classes << modal.className;
        QCOMPARE(classes, QStringList{"QFileDialog"});
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("There is nothing to Update"));
        // The frame's focus, whether or not the frame is the active window again.
        QCOMPARE(frame->focusWidget(), static_cast<QWidget*>(c->txtKey));
        QCOMPARE(dictionaryFiles(), filesBefore);
    }

    // --- The end of the frame ---

    // The pane's page must be deleted before its browser profile; the other way round Qt
    // WebEngine warns "Release of profile requested but WebEnginePage still not deleted".
    void destroyingTheFrameReleasesThePageBeforeItsProfile() {
        static QStringList warnings;
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
        frame.reset();
        qInstallMessageHandler(previous);
        const QStringList early = warnings.filter("Release of profile requested");
        QVERIFY2(early.isEmpty(), qPrintable(early.join("; ")));
    }
};

QTEST_MAIN(AssembledProgramTest)
#include "assembled_program_test.moc"
