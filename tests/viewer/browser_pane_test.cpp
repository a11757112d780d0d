// The browser pane, first with a recording browser (the load step online and offline, the pages
// it refuses, the toolbar keys, the site search's address), then with its real browser on pages
// served from 127.0.0.1 inside the test (the rules of its page, the web-search form, and the order
// in which it lets go of its page and profile).
#include "recording_browser.h"
#include "ui/web_addresses.h"
#include "ui/web_page.h"
#include "viewer/browser_pane.h"
#include "viewer/pane_page.h"
#include "viewer/search_service.h"
#include "viewer/site_search.h"
#include "viewer/web_engine_browser.h"

#include <QLabel>
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

QVariant evaluate(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    [&] { QTRY_VERIFY_WITH_TIMEOUT(done, 10000); }();
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

private slots:
    void theLoadOpensTheHomePageOrWhatIsPendingOnlineAndOnlyTheNoticeOffline() {
        recordingPane();
        pane->Load(true);
        pane->Load(true, "https://en.wikipedia.org/wiki/Oracle");
        QCOMPARE(browser->asked, (QStringList{"go " + QString(ui::kHomePageURL),
                                              "go https://en.wikipedia.org/wiki/Oracle"}));
        QVERIFY(browser->visible && pane->offlineNotice()->isHidden());

        recordingPane();
        pane->Load(false, "https://en.wikipedia.org/wiki/Oracle");
        QVERIFY(browser->asked.isEmpty());
        QVERIFY(!browser->visible && !pane->offlineNotice()->isHidden());
        // A later page still reaches the hidden browser; the user sees only the notice.
        pane->ShowPage("https://en.wikipedia.org/wiki/Omen");
        QCOMPARE(browser->asked, QStringList{"go https://en.wikipedia.org/wiki/Omen"});
        QVERIFY(!browser->visible);
    }

    void aPendingSearchFillsTheFormWithTheQueryAsALiteralOnlyInADocument() {
        recordingPane();
        searchBox = "  oracle.example  ";
        pane->Load(true, viewer::kSearchRootURL); // no document: only the navigation
        QCOMPARE(browser->asked, QStringList{"go http://oracle.example"});
        browser->hasDocument = true;
        searchBox = " a\"b'c</script>\\ ";
        pane->Load(true, viewer::kSearchRootURL);
        QCOMPARE(browser->asked.value(1), QString("script"));
        QVERIFY(browser->lastScript.contains("q.value = \"a\\\"b'c</script>\\\\\";"));
    }

    void addressesThatAreNotWebPagesAreNotOpened() {
        recordingPane();
        for (QString text :
             {"javascript:alert(1)", " JavaScript:alert(1)", "file:///etc/passwd", "/etc/passwd",
              "data:text/html,<b>x</b>", "ftp://example.org/x", "vbscript:msgbox(1)", ""}) {
            pane->ShowPage(text);
            if (!text.isEmpty())
                pane->Load(true, text);
        }
        QVERIFY2(browser->asked.isEmpty(), qPrintable(browser->asked.join(", ")));
        pane->Navigate("HTTPS://example.org/a");
        pane->Navigate("oracle.example/page");
        QCOMPARE(browser->asked,
                 (QStringList{"go https://example.org/a", "go http://oracle.example/page"}));
    }

    void toolbarKeysAreComparedExactly() {
        recordingPane();
        for (QString key : {"Back", "Forward", "Stop", "Refresh", "Home", "Search", "back", "HOME",
                            "Search ", ""})
            pane->OnToolbarButton(key);
        QCOMPARE(browser->asked,
                 (QStringList{"back", "forward", "stop", "refresh",
                              "go " + QString(ui::kHomePageURL), "own <HTML><BODY>"}));
    }

    void siteSearchHandsTheDefaultBrowserAnEncodedQuery() {
        QStringList opened;
        ui::SetWebPageOpenerForTesting([&](const QString& a) { opened << a; });
        viewer::SiteSearch().Search(" tarot & runes#1 ", ui::kHomePageURL);
        ui::SetWebPageOpenerForTesting({});
        const QUrlQuery query{QUrl(opened.value(0), QUrl::StrictMode)};
        QCOMPARE(query.queryItemValue("q", QUrl::FullyDecoded), QString(" tarot & runes#1 "));
        QCOMPARE(query.queryItemValue("sitesearch", QUrl::FullyDecoded), QString(ui::kHomePageURL));
    }

    // With the real browser from here on.
    void theRealPageRefusesLocalFilesNewWindowsAndSendsTheSearchForm() {
        LocalPages pages;
        QVERIFY(pages.isListening());
        auto real = std::make_unique<viewer::WebEngineBrowser>(nullptr, [](const QUrl&) {});
        QWebEngineView* view = real->View();
        viewer::PanePage* page = real->Page();
        pane = std::make_unique<BrowserPane>([this] { return searchBox; }, std::move(real));
        pane->show();
        QList<QPair<QUrl, bool>> asked;
        connect(page, &viewer::PanePage::navigationAsked, this,
                [&asked](const QUrl& url, bool accepted) {
                    asked.append({url, accepted});
                });
        const auto loadAndWait = [view](const std::function<void()>& start) {
            QSignalSpy finished(view, &QWebEngineView::loadFinished);
            start();
            QVERIFY(finished.wait(20000));
        };

        loadAndWait([&] { pane->Load(true, pages.url("/first")); });
        evaluate(page, "document.getElementById('file').click()");
        QVERIFY(evaluate(page, "window.open('" + pages.url("/popup") + "') === null").toBool());
        // A later load finishing means the requests above have been decided.
        loadAndWait([&] { pane->Navigate(pages.url("/second")); });
        for (const auto& [url, accepted] : asked)
            QVERIFY2(url.scheme() == "http" || !accepted, qPrintable(url.toString()));
        QCOMPARE(view->url().path(), QString("/second"));

        asked.clear();
        searchBox = "  tarot \"cards\" </script>'  ";
        pane->Load(true, viewer::kSearchRootURL);
        const auto submitted = [&]() -> QUrl {
            for (const auto& [url, accepted] : asked)
                if (url.toString(QUrl::RemoveQuery) == viewer::kSearchFormActionURL)
                    return url;
            return {};
        };
        QTRY_VERIFY_WITH_TIMEOUT(!submitted().isEmpty(), 10000);
        // A form sends spaces as "+".
        QCOMPARE(QUrlQuery(submitted()).queryItemValue("q", QUrl::FullyDecoded).replace('+', ' '),
                 QString("tarot \"cards\" </script>'"));

        pane->OnToolbarButton("Stop");
        pane->OnToolbarButton("Search"); // the form page of the program's own
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(page, "String(document.getElementsByName('sa').length)").toString(),
            QString("1"), 10000);
        QCOMPARE(view->url().scheme(), QString("data"));
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
