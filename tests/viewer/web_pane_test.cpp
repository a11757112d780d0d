// The real browser on pages served from 127.0.0.1 inside the test (no network): history through
// the toolbar, the web-search form path, and the rules of the pane's page.
#include "program_values.h"
#include "viewer/frm_main.h"
#include "viewer/pane_page.h"
#include "viewer/web_engine_browser.h"
#include "weblinks/endpoints.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEngineView>
#include <QtTest>

namespace {

// Answers every request with a small page naming its path.
class LocalPages : public QTcpServer {
public:
    LocalPages() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    const QByteArray request = socket->readAll();
                    const QByteArray path = request.split(' ').value(1);
                    const QByteArray body = "<html><body><p id=path>" + path +
                                            "</p><a id=file href=\"file:///etc/passwd\">x</a>"
                                            "</body></html>";
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

class WebPaneTest : public QObject {
    Q_OBJECT

    LocalPages pages;
    QString searchBox;
    std::unique_ptr<viewer::frmMain> pane;
    QWebEngineView* view = nullptr;
    viewer::PanePage* page = nullptr;
    QList<QPair<QUrl, bool>> asked;

    void loadAndWait(const std::function<void()>& start) {
        QSignalSpy finished(view, &QWebEngineView::loadFinished);
        start();
        QVERIFY(finished.wait(20000));
    }

private slots:
    void initTestCase() {
        QVERIFY(pages.isListening());
        auto browser = std::make_unique<viewer::WebEngineBrowser>(nullptr, [](const QUrl&) {});
        view = browser->View();
        page = browser->Page();
        pane = std::make_unique<viewer::frmMain>([this] { return searchBox; }, std::move(browser));
        pane->resize(640, 480);
        pane->show();
        connect(page, &viewer::PanePage::navigationAsked, this,
                [this](const QUrl& url, bool accepted) {
                    asked.append({url, accepted});
                });
    }

    void toolbarMovesThroughHistory() {
        augurlex::Connected() = 1;
        augurlex::strURL() = pages.url("/first").toStdString();
        loadAndWait([&] { pane->Load(); });
        QVERIFY(augurlex::strURL().empty());
        loadAndWait([&] { pane->Navigate(pages.url("/second")); });
        QCOMPARE(view->url().path(), QString("/second"));
        loadAndWait([&] { pane->OnToolbarButton("Back"); });
        QCOMPARE(view->url().path(), QString("/first"));
        loadAndWait([&] { pane->OnToolbarButton("Forward"); });
        QCOMPARE(view->url().path(), QString("/second"));
        pane->OnToolbarButton("Forward"); // nothing ahead: nothing happens
        pane->OnToolbarButton("back");
        QTest::qWait(300);
        QCOMPARE(view->url().path(), QString("/second"));
    }

    void pageLinksToLocalFilesAreRefused() {
        asked.clear();
        evaluate(page, "document.getElementById('file').click()");
        QTest::qWait(500);
        for (const auto& [url, accepted] : asked)
            QVERIFY(url.scheme() != "file" || !accepted);
        QCOMPARE(view->url().path(), QString("/second"));
        QVERIFY(evaluate(page, "window.open('" + pages.url("/popup") + "') === null").toBool());
    }

    void webSearchFillsTheFormAndSendsItToTheSearchService() {
        asked.clear();
        searchBox = "  tarot \"cards\" </script>'  ";
        augurlex::strURL() = augurlex::SearchRootURL;
        pane->Load();
        const QString action = augurlex::kSearchFormActionURL;
        auto submitted = [&]() -> QUrl {
            for (const auto& [url, accepted] : asked)
                if (url.toString(QUrl::RemoveQuery) == action)
                    return url;
            return {};
        };
        QTRY_VERIFY_WITH_TIMEOUT(!submitted().isEmpty(), 10000);
        QUrlQuery query(submitted());
        // A form sends spaces as "+".
        QCOMPARE(query.queryItemValue("q", QUrl::FullyDecoded).replace('+', ' '),
                 QString("tarot \"cards\" </script>'"));
        QCOMPARE(query.queryItemValue("sa"), QString("Search"));
        QCOMPARE(query.queryItemValue("client"), QString(augurlex::kSearchPartnerClientId));
        QVERIFY(augurlex::strURL().empty());
    }

    void searchButtonShowsTheOwnFormPage() {
        asked.clear();
        pane->OnToolbarButton("Stop");
        pane->OnToolbarButton("Search");
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(page, "String(document.getElementsByName('sa').length)").toString(),
            QString("1"), 10000);
        QCOMPARE(view->url().scheme(), QString("data"));
    }

    void cleanupTestCase() { pane.reset(); }
};

QTEST_MAIN(WebPaneTest)
#include "web_pane_test.moc"
