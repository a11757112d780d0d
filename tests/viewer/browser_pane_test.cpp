// The browser pane with a recording browser (the load step online and offline, addresses and terms,
// the toolbar keys, the web search's address), its own pages' HTML, then with its real browser on
// pages served from 127.0.0.1 by the test (its page's rules, its history, releasing its profile).
#include "recording_browser.h"
#include "ui/maker_addresses.h"
#include "ui/web_page.h"
#include "ui/web_search.h"
#include "viewer/browser_pane.h"
#include "viewer/own_page_html.h"
#include "viewer/own_pages.h"
#include "viewer/pane_page.h"
#include "viewer/search_service.h"
#include "viewer/web_engine_browser.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEngineView>
#include <QtTest>

using viewer::BrowserPane;

namespace {

// Answers every request with a page naming its path and linking to a local file.
class LocalPages : public QTcpServer {
public:
    LocalPages() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    const QByteArray body = "<html><body>" + socket->readAll().split(' ').value(1) +
                                            "<a id=file href=\"file:///etc/passwd\">x</a></body>"
                                            "</html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                                  "Connection: close\r\nContent-Length: " +
                                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }
    QString url(const QString& path) const {
        return QString("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }
};

// How long a page may take at most: generous, as the machine may be busy with other work.
constexpr int kPageWait = 60000;

QVariant evaluate(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    [&] { QTRY_VERIFY_WITH_TIMEOUT(done, kPageWait); }();
    return result;
}

} // namespace

class BrowserPaneTest : public QObject {
    Q_OBJECT

    QString searchBox;
    RecordingBrowser* browser = nullptr;
    std::unique_ptr<BrowserPane> pane;

    void recordingPane() {
        auto owned = std::make_unique<RecordingBrowser>();
        browser = owned.get();
        pane = std::make_unique<BrowserPane>([this] { return searchBox; }, std::move(owned));
    }

    // The navigations the real browser's page was asked for, and whether it took each.
    QList<QPair<QUrl, bool>> navigations;
    // A shown pane with the real browser; its view and page for the test to watch.
    std::pair<QWebEngineView*, viewer::PanePage*> realPane() {
        auto real = std::make_unique<viewer::WebEngineBrowser>(
            nullptr, [](const QUrl&) {},
            [this](const QUrl& address) { return pane ? pane->ownPage(address) : std::nullopt; });
        const auto parts = std::make_pair(real->view(), real->page());
        pane = std::make_unique<BrowserPane>([this] { return searchBox; }, std::move(real));
        pane->show();
        navigations.clear();
        connect(parts.second, &viewer::PanePage::navigationAsked, this,
                [this](const QUrl& url, bool accepted) {
                    navigations.append({url, accepted});
                });
        return parts;
    }

private slots:
    void theLoadOpensTheHomePageOrWhatIsPendingOnlineAndOnlyTheNoticeOffline() {
        recordingPane();
        pane->load(true);
        pane->load(true, "https://en.wikipedia.org/wiki/Oracle");
        ui::setMakerSitesForTesting(ui::MakerSites{"https://maker.example", ""});
        pane->load(true); // a build with the maker's site opens it instead of the start page
        ui::setMakerSitesForTesting(std::nullopt);
        QCOMPARE(browser->asked,
                 (QStringList{"go augurlex:start", "go https://en.wikipedia.org/wiki/Oracle",
                              "go https://maker.example"}));
        QVERIFY(browser->visible && pane->offlineNotice()->isHidden());

        recordingPane();
        pane->load(false, "https://en.wikipedia.org/wiki/Oracle");
        QVERIFY(browser->asked.isEmpty());
        QVERIFY(!browser->visible && !pane->offlineNotice()->isHidden());
        // A later page still reaches the hidden browser; the user sees only the notice.
        pane->showPage("https://en.wikipedia.org/wiki/Omen");
        QCOMPARE(browser->asked, QStringList{"go https://en.wikipedia.org/wiki/Omen"});
        QVERIFY(!browser->visible);
    }

    // The load step after the search root: the web search in the user's browser, then the text in
    // the pane, an address as such and a term on its own page.
    void aPendingSearchRunsTheWebSearchThenShowsTheText() {
        recordingPane();
        QStringList opened;
        ui::setWebPageOpenerForTesting([&](const QString& a) { opened << a; });
        for (QString typed : {"  oracle.example  ", " the "}) {
            searchBox = typed;
            pane->load(true, viewer::kSearchRootURL);
        }
        ui::setWebPageOpenerForTesting({});
        QCOMPARE(opened, (QStringList{"https://www.google.com/search?q=oracle.example",
                                      "https://www.google.com/search?q=the"}));
        QCOMPARE(browser->asked,
                 (QStringList{"go http://oracle.example", "go augurlex:term?q=the&in=All"}));
    }

    // Links and texts are opened only as web pages: an address of another scheme not at all (not
    // even the pane's own pages), a term (no scheme, not a host name with a dot) on its own page.
    void onlyWebAddressesAreOpenedAndTermsGetTheirOwnPage() {
        recordingPane();
        for (QString text :
             {"javascript:alert(1)", " JavaScript:alert(1)", "file:///etc/passwd",
              "data:text/html,<b>x</b>", "ftp://example.org/x", "vbscript:msgbox(1)",
              "augurlex:start", "AUGURLEX:help", "qrc:/augurlex/pages/help.html", "", "  "}) {
            pane->showPage(text);
            if (!text.isEmpty())
                pane->load(true, text);
        }
        QVERIFY2(browser->asked.isEmpty(), qPrintable(browser->asked.join(", ")));
        const QStringList addresses{"HTTPS://example.org/a", "oracle.example/page",
                                    "Runes.Example:8080/x?y=1#z", "127.0.0.1/p",
                                    "http://localhost/x"};
        const QStringList terms{"the",  "Evil Eye",    "localhost", "e.g.",
                                "3.14", "/etc/passwd", "St. John",  "-x.example",
                                "a..b", "1.2.3.4.5",   "a&b=c"};
        for (const QString& text : addresses + terms)
            pane->navigate(text);
        QCOMPARE(browser->asked.mid(0, addresses.size()),
                 (QStringList{"go https://example.org/a", "go http://oracle.example/page",
                              "go http://runes.example:8080/x?y=1#z", "go http://127.0.0.1/p",
                              "go http://localhost/x"}));
        for (qsizetype i = 0; i < terms.size(); ++i) {
            const QUrl asked(browser->asked.value(addresses.size() + i).mid(3));
            QCOMPARE(viewer::ownPageName(asked), QString("term"));
            QCOMPARE(viewer::ownPageQueryItem(asked, "q"), terms[i]);
        }
    }

    void toolbarKeysAreComparedExactly() {
        recordingPane();
        for (QString key : {"Back", "Forward", "Stop", "Refresh", "Home", "Search", "back", "HOME",
                            "Search ", ""})
            pane->onToolbarButton(key);
        QCOMPARE(browser->asked, (QStringList{"back", "forward", "stop", "refresh",
                                              "go augurlex:start", "go augurlex:search"}));
    }

    // The query goes in whole, restricted to the maker's site when there is one; no text opens
    // the engine's start page.
    void theWebSearchAddressEncodesTheQueryAndRestrictsItToTheSite() {
        const QString google = ui::kDefaultWebSearch;
        const auto query = [](const QString& address) {
            return QUrlQuery(QUrl(address, QUrl::StrictMode))
                .queryItemValue("q", QUrl::FullyDecoded);
        };
        QCOMPARE(query(ui::webSearchAddress(" tarot & runes#1+ ", "", google)),
                 QString("tarot & runes#1+"));
        QCOMPARE(query(ui::webSearchAddress("tarot", "https://maker.example", google)),
                 QString("site:maker.example tarot"));
        QCOMPARE(ui::webSearchAddress("  ", "https://maker.example", google),
                 QString("https://www.google.com/"));
        QCOMPARE(ui::webSearchAddress("a b", "", "https://find.example/s?x=1&q=%s&l=en"),
                 QString("https://find.example/s?x=1&q=a%20b&l=en"));
    }

    void theStartPageListsTheDictionariesWithTheirCountsOrProblemsEscaped() {
        recordingPane();
        pane->setDictionarySummaries([] {
            return QList<viewer::DictionarySummary>{
                {"Omens", 3},
                {"<b>Runes</b>", 1200},
                {"Tarot", 0, "the file is damaged", "/d/<t>.dll"}};
        });
        const QString page = pane->ownPage("start").value_or("");
        QVERIFY(page.contains("&lt;b&gt;Runes&lt;/b&gt;") && !page.contains("<b>Runes"));
        QVERIFY(page.contains("<td>Tarot</td><td class=\"problem\">Cannot be read: the file is "
                              "damaged<br><code>/d/&lt;t&gt;.dll</code></td>"));
        QVERIFY(page.contains(QLocale().toString(1203))); // the total
        QVERIFY(page.contains("<kbd>Alt+D</kbd>") && page.contains("<kbd>Ctrl+Q</kbd>"));
        QVERIFY(page.contains("href=\"augurlex:help\""));
        QVERIFY(!pane->ownPage("nothing").has_value());
    }

    // The page for a term: dictionary texts escaped, links out only to web pages, the "did you
    // mean" and web-search links the pane's own, each text going in whole.
    void thePageForATermEscapesItsTextsAndLinksOnlyToWebPages() {
        recordingPane();
        pane->setTermLookup([] { return QString(" Omens "); },
                            [](const QString& term, const QString& scope) {
                                viewer::TermPage page;
                                if (term == "Hex" && scope == "Omens")
                                    page.definition = "javascript:alert(1)";
                                page.matches = {{"<b>Crow</b>", "http://omens.example/c?a=1&b=2"},
                                                {"Hex", "javascript:alert(2)"}};
                                page.suggestions = {"Crow & co"};
                                return page;
                            });
        pane->navigate("Hex");
        const QUrl address(browser->asked.value(0).mid(3));
        const QString html = pane->ownPage(address).value_or("");
        QVERIFY(html.contains("is not a web page") && !html.contains("javascript:"));
        QVERIFY(html.contains("<a href=\"http://omens.example/c?a=1&amp;b=2\">&lt;b&gt;Crow&lt;/"
                              "b&gt;</a>"));
        QVERIFY(html.contains("<li>Hex</li>"));
        QVERIFY(html.contains("href=\"augurlex:term?q=Crow%20%26%20co&amp;in=Omens\""));
        QVERIFY(html.contains("href=\"augurlex:websearch?q=Hex\""));
        QVERIFY(html.contains("default-src 'none'")); // nothing loaded from outside
    }

    // Every help page is there, links to the others, and takes the palette's colours.
    void helpPagesLinkToEachOtherInThePalettesColours() {
        QPalette dark;
        dark.setColor(QPalette::Base, QColor("#202124"));
        dark.setColor(QPalette::Text, QColor("#e8eaed"));
        const viewer::PageColours colours = viewer::coloursOf(dark);
        const QStringList names{"help", "help-wildcards", "help-updating", "help-shortcuts"};
        for (const QString& name : names) {
            const QString page = viewer::helpPageHtml(name, colours).value_or("");
            QVERIFY2(page.contains("background:#202124;color:#e8eaed"), qPrintable(name));
            QVERIFY2(page.contains("<h1>"), qPrintable(name));
            for (const QString& other : names)
                QVERIFY(other == name || page.contains("href=\"augurlex:" + other + "\""));
        }
        QVERIFY(viewer::helpPageHtml("help-shortcuts", colours)->contains("<kbd>F5</kbd>"));
        QVERIFY(!viewer::helpPageHtml("start", colours).has_value());
    }

    // With the real browser from here on. A web page reaches neither local files, nor new
    // windows, nor the pane's own pages.
    void theRealPageRefusesLocalFilesNewWindowsAndItsSearchPageSearchesTheWeb() {
        LocalPages pages;
        QVERIFY(pages.isListening());
        const auto [view, page] = realPane();
        const auto loadAndWait = [view](const std::function<void()>& start) {
            QSignalSpy finished(view, &QWebEngineView::loadFinished);
            start();
            QVERIFY(finished.wait(kPageWait));
        };

        loadAndWait([&] { pane->load(true, pages.url("/first")); });
        evaluate(page, "document.getElementById('file').click()");
        QVERIFY(evaluate(page, "window.open('" + pages.url("/popup") + "') === null").toBool());
        evaluate(page, "location.href = 'augurlex:start'");
        // A later load finishing means the requests above have been decided.
        loadAndWait([&] { pane->navigate(pages.url("/second")); });
        for (const auto& [url, accepted] : navigations)
            QVERIFY2(url.scheme() == "http" || !accepted, qPrintable(url.toString()));
        QCOMPARE(view->url().path(), QString("/second"));

        // The search page runs the web search in the user's browser, its text whole.
        QStringList opened;
        ui::setWebPageOpenerForTesting([&](const QString& a) { opened << a; });
        pane->onToolbarButton("Search");
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(page, "String(document.getElementsByName('sa').length)").toString(),
            QString("1"), kPageWait);
        QCOMPARE(view->url(), viewer::ownPageAddress("search"));
        evaluate(page, "document.getElementsByName('q')[0].value = 'tarot \"cards\" + </b>&';"
                       "document.getElementsByName('sa')[0].click()");
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, kPageWait);
        ui::setWebPageOpenerForTesting({});
        QCOMPARE(opened[0], ui::webSearchAddress("tarot \"cards\" + </b>&"));
        QCOMPARE(view->url(), viewer::ownPageAddress("search")); // the pane stays
    }

    // The search page and the start page are history entries like any page.
    void backAndForwardCrossTheOwnPages() {
        LocalPages pages;
        const auto [view, page] = realPane();
        const auto at = [view](const QUrl& url) {
            QTRY_COMPARE_WITH_TIMEOUT(view->url(), url, kPageWait);
        };
        const QUrl first(pages.url("/first"));
        const QUrl search = viewer::ownPageAddress("search");
        const QUrl start = viewer::ownPageAddress("start");
        pane->navigate(first.toString());
        at(first);
        pane->onToolbarButton("Search");
        at(search);
        pane->onToolbarButton("Home");
        at(start);
        QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, "document.title").toString() == "Augurlex",
                                 kPageWait);
        pane->onToolbarButton("Back");
        at(search);
        pane->onToolbarButton("Back");
        at(first);
        pane->onToolbarButton("Forward");
        at(search);
    }

    // Deleted the other way round, Qt WebEngine warns "Release of profile requested but
    // WebEnginePage still not deleted".
    void theRealPaneLetsGoOfItsPageBeforeItsProfile() {
        static QStringList warnings;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
        pane.reset();
        qInstallMessageHandler(previous);
        const QStringList early = warnings.filter("Release of profile requested");
        QVERIFY2(early.isEmpty(), qPrintable(early.join("; ")));
    }
};

QTEST_MAIN(BrowserPaneTest)
#include "browser_pane_test.moc"
