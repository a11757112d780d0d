// The browser window with a recording browser: the load step online and offline, the address
// rule, the toolbar keys, the form page and the web search address.
#include "program_values.h"
#include "recording_browser.h"
#include "viewer/frm_main.h"
#include "viewer/pane_address.h"
#include "viewer/search_form_page.h"
#include "viewer/site_search.h"
#include "weblinks/endpoints.h"
#include "weblinks/web_page.h"

#include <QLabel>
#include <QtTest>

using viewer::frmMain;

class FrmMainTest : public QObject {
    Q_OBJECT

    RecordingBrowser* browser = nullptr;
    std::unique_ptr<frmMain> pane;
    QString searchBox;

    void makePane() {
        auto owned = std::make_unique<RecordingBrowser>();
        browser = owned.get();
        pane = std::make_unique<frmMain>([this] { return searchBox; }, std::move(owned));
    }

private slots:
    void init() {
        augurlex::Connected() = 1;
        augurlex::strURL().clear();
        searchBox.clear();
        makePane();
    }

    void onlineLoadOpensTheHomePageAndClearsTheAddress() {
        pane->Load();
        QCOMPARE(browser->asked, QStringList{"go " + QString(augurlex::HomeURL)});
        QVERIFY(augurlex::strURL().empty());
        QVERIFY(browser->visible);
        QVERIFY(pane->lblCaption()->isHidden());
    }

    void onlineLoadOpensThePendingAddressOnce() {
        augurlex::strURL() = "https://en.wikipedia.org/wiki/Oracle";
        pane->Load();
        QCOMPARE(browser->asked, QStringList{"go https://en.wikipedia.org/wiki/Oracle"});
        QVERIFY(augurlex::strURL().empty());
    }

    void offlineLoadShowsOnlyTheNoticeAndKeepsTheAddress() {
        augurlex::Connected() = 0;
        augurlex::strURL() = "https://en.wikipedia.org/wiki/Oracle";
        pane->Load();
        QVERIFY(browser->asked.isEmpty());
        QVERIFY(!browser->visible);
        QVERIFY(!pane->lblCaption()->isHidden());
        QCOMPARE(pane->lblCaption()->text(),
                 QString("You must be connected to the internet in order to use this software."));
        QCOMPARE(augurlex::strURL(), std::string("https://en.wikipedia.org/wiki/Oracle"));
        // A later lookup still reaches the hidden browser; the user sees only the notice.
        pane->ShowPage();
        QCOMPARE(browser->asked.size(), 1);
        QVERIFY(!browser->visible);
    }

    void searchRootWithoutDocumentOnlyNavigatesToTheTrimmedText() {
        augurlex::strURL() = augurlex::SearchRootURL;
        searchBox = "  oracle.example  ";
        pane->Load();
        QCOMPARE(browser->asked, QStringList{"go http://oracle.example"});
        QVERIFY(augurlex::strURL().empty());
    }

    void searchRootWithDocumentFillsTheFormThenNavigates() {
        browser->hasDocument = true;
        augurlex::strURL() = augurlex::SearchRootURL;
        searchBox = " a\"b'c</script>\\ ";
        pane->Load();
        QCOMPARE(browser->asked.first(), QString("script"));
        // The query is in the script only as a string literal, quotes and backslash escaped.
        QVERIFY(browser->lastScript.contains("q.value = \"a\\\"b'c</script>\\\\\";"));
    }

    void addressesThatAreNotWebPagesAreNotOpened() {
        const QStringList refused = {
            "javascript:alert(1)",     " JavaScript:alert(1)", "file:///etc/passwd", "/etc/passwd",
            "data:text/html,<b>x</b>", "ftp://example.org/x",  "vbscript:msgbox(1)", ""};
        for (const QString& text : refused) {
            augurlex::strURL() = text.toStdString();
            pane->ShowPage();
            pane->Navigate(text);
        }
        QVERIFY2(browser->asked.isEmpty(), qPrintable(browser->asked.join(", ")));
        for (const QString& text : refused.mid(0, refused.size() - 1)) {
            augurlex::strURL() = text.toStdString();
            pane->Load(); // nor by the load step, which still clears the address
            QVERIFY(augurlex::strURL().empty());
        }
        QVERIFY(browser->asked.isEmpty());

        pane->Navigate("HTTPS://example.org/a");
        pane->Navigate("oracle.example/page");
        QCOMPARE(browser->asked,
                 (QStringList{"go https://example.org/a", "go http://oracle.example/page"}));
    }

    void toolbarKeysAreComparedExactly() {
        for (QString key : {"Back", "Forward", "Stop", "Refresh", "Home", "Search", "back", "HOME",
                            "Search ", ""})
            pane->OnToolbarButton(key);
        QCOMPARE(browser->asked,
                 (QStringList{"back", "forward", "stop", "refresh",
                              "go " + QString(augurlex::HomeURL), "own <HTML><BODY>"}));
    }

    void formPageIsWrittenLineByLine() {
        const QStringList lines = pane->Text1.split("\r\n");
        QCOMPARE(lines.size(), 22); // 21 lines and the final CR LF
        QCOMPARE(lines[0], QString("<HTML><BODY>"));
        QCOMPARE(lines[1], QString("<!-- Search Google -->"));
        QCOMPARE(lines[2], QString("<center>"));
        QVERIFY(lines[3].contains(QString("action=\"%1\"").arg(augurlex::kSearchFormActionURL)));
        QVERIFY(lines[8].contains("name=\"q\" size=\"31\" maxlength=\"255\" value=\"\""));
        QVERIFY(lines[9].contains("name=\"sa\" value=\"Search\"></input>"));
        QVERIFY(lines[14].contains("FORID:1;\"></input>"));
        QCOMPARE(lines[19], QString("<!-- Search Google --></BODY>"));
        QCOMPARE(lines[20], QString("</HTML>"));
        QVERIFY(lines[21].isEmpty());
        QCOMPARE(pane->Text1.count("<input"), pane->Text1.count("</input>"));
    }

    void siteSearchOpensTheDefaultBrowserWithAnEncodedQuery() {
        QStringList opened;
        augurlex::SetWebPageOpenerForTesting([&](const QString& a) { opened << a; });
        viewer::SiteSearch().Search(" tarot & runes#1 ", augurlex::HomeURL);
        viewer::SiteSearch().Search("", augurlex::HomeURL);
        augurlex::SetWebPageOpenerForTesting({});
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0], QString(augurlex::SearchRootURL) +
                                "/search?q=%20tarot%20%26%20runes%231%20&sitesearch=" +
                                QUrl::toPercentEncoding(augurlex::HomeURL));
        QUrlQuery query{QUrl(opened[0])};
        QCOMPARE(query.queryItemValue("q", QUrl::FullyDecoded), QString(" tarot & runes#1 "));
    }
};

QTEST_MAIN(FrmMainTest)
#include "frm_main_test.moc"
