// The browser pane, first with a recording browser (the load step online and offline, the pages
// it refuses, the toolbar keys, the site search's address), then its own pages' HTML, then with
// its real browser on pages served from 127.0.0.1 inside the test (the rules of its page, its own
// pages in the history, the web-search form, and the order in which it lets go of its page and
// profile).
#include "recording_browser.h"
#include "ui/maker_addresses.h"
#include "ui/web_page.h"
#include "viewer/browser_pane.h"
#include "viewer/own_page_html.h"
#include "viewer/own_pages.h"
#include "viewer/pane_page.h"
#include "viewer/search_service.h"
#include "viewer/site_search.h"
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

    std::optional<QString> ownPage(const QString& name) const {
        return pane ? pane->ownPage(name) : std::nullopt;
    }

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
            nullptr, [](const QUrl&) {}, [this](const QString& name) { return ownPage(name); });
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

    void aPendingSearchFillsTheFormWithTheQueryAsALiteralOnlyInADocument() {
        recordingPane();
        searchBox = "  oracle.example  ";
        pane->load(true, viewer::kSearchRootURL); // no document: only the navigation
        QCOMPARE(browser->asked, QStringList{"go http://oracle.example"});
        browser->documentLoaded = true;
        searchBox = " a\"b'c</script>\\ ";
        pane->load(true, viewer::kSearchRootURL);
        QCOMPARE(browser->asked.value(1), QString("script"));
        QVERIFY(browser->lastScript.contains("q.value = \"a\\\"b'c</script>\\\\\";"));
    }

    // Links and terms never open anything but web pages: not even the pane's own pages.
    void addressesThatAreNotWebPagesAreNotOpened() {
        recordingPane();
        for (QString text :
             {"javascript:alert(1)", " JavaScript:alert(1)", "file:///etc/passwd", "/etc/passwd",
              "data:text/html,<b>x</b>", "ftp://example.org/x", "vbscript:msgbox(1)",
              "augurlex:start", "AUGURLEX:help", "qrc:/augurlex/pages/help.html", ""}) {
            pane->showPage(text);
            if (!text.isEmpty())
                pane->load(true, text);
        }
        QVERIFY2(browser->asked.isEmpty(), qPrintable(browser->asked.join(", ")));
        pane->navigate("HTTPS://example.org/a");
        pane->navigate("oracle.example/page");
        QCOMPARE(browser->asked,
                 (QStringList{"go https://example.org/a", "go http://oracle.example/page"}));
    }

    void toolbarKeysAreComparedExactly() {
        recordingPane();
        for (QString key : {"Back", "Forward", "Stop", "Refresh", "Home", "Search", "back", "HOME",
                            "Search ", ""})
            pane->onToolbarButton(key);
        QCOMPARE(browser->asked, (QStringList{"back", "forward", "stop", "refresh",
                                              "go augurlex:start", "go augurlex:search"}));
    }

    void siteSearchHandsTheDefaultBrowserAnEncodedQuery() {
        QStringList opened;
        ui::setWebPageOpenerForTesting([&](const QString& a) { opened << a; });
        viewer::SiteSearch().search(" tarot & runes#1 ", "http://maker.example");
        ui::setWebPageOpenerForTesting({});
        const QUrlQuery query{QUrl(opened.value(0), QUrl::StrictMode)};
        QCOMPARE(query.queryItemValue("q", QUrl::FullyDecoded), QString(" tarot & runes#1 "));
        QCOMPARE(query.queryItemValue("sitesearch", QUrl::FullyDecoded),
                 QString("http://maker.example"));
    }

    // --- The pane's own pages ---

    void theStartPageListsTheDictionariesWithTheirCountsEscaped() {
        recordingPane();
        pane->setDictionarySummaries([] {
            return QList<viewer::DictionarySummary>{{"Omens", 3}, {"<b>Runes</b>", 1200}};
        });
        const QString page = pane->ownPage("start").value_or("");
        QVERIFY(page.contains("<td>Omens</td><td class=\"count\">3</td>"));
        QVERIFY(page.contains("&lt;b&gt;Runes&lt;/b&gt;") && !page.contains("<b>Runes"));
        QVERIFY(page.contains(QLocale().toString(1203))); // the total
        QVERIFY(page.contains("<kbd>Alt+D</kbd>") && page.contains("<kbd>Ctrl+Q</kbd>"));
        QVERIFY(page.contains("href=\"augurlex:help\""));
        QVERIFY(pane->ownPage("search").value_or("").startsWith("<HTML><BODY>"));
        QVERIFY(!pane->ownPage("nothing").has_value());
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
    void theRealPageRefusesLocalFilesNewWindowsAndSendsTheSearchForm() {
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

        navigations.clear();
        searchBox = "  tarot \"cards\" </script>'  ";
        pane->load(true, viewer::kSearchRootURL);
        const auto submitted = [&]() -> QUrl {
            for (const auto& [url, accepted] : navigations)
                if (url.toString(QUrl::RemoveQuery) == viewer::kSearchFormActionURL)
                    return url;
            return {};
        };
        QTRY_VERIFY_WITH_TIMEOUT(!submitted().isEmpty(), kPageWait);
        // A form sends spaces as "+".
        QCOMPARE(QUrlQuery(submitted()).queryItemValue("q", QUrl::FullyDecoded).replace('+', ' '),
                 QString("tarot \"cards\" </script>'"));

        pane->onToolbarButton("Stop");
        pane->onToolbarButton("Search"); // the form page of the program's own
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(page, "String(document.getElementsByName('sa').length)").toString(),
            QString("1"), kPageWait);
        QCOMPARE(view->url(), viewer::ownPageAddress("search"));
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
