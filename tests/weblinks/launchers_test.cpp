// The launchers, the Help menu, the Donate entry, the main window's link controls and the about
// window, with the browser replaced by a recorder.
#include "opener_spy.h"
#include "weblinks/about_window.h"
#include "weblinks/endpoints.h"
#include "weblinks/help_menu.h"
#include "weblinks/web_page.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace augurlex;

namespace {

using Launcher = void (*)();

QString page(const char* host, const char* path) {
    return QString("http://") + host + path;
}

void clickLabel(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(name);
    QVERIFY2(label != nullptr, name);
    QTest::mouseClick(label, Qt::LeftButton);
}

// Runs `inspect` on the modal window that the next step opens.
void onNextModal(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            qFatal("no modal window opened");
        inspect(modal);
    });
}

class LaunchersTest : public QObject {
    Q_OBJECT

private slots:
    void eachLauncherOpensItsFixedPage_data() {
        QTest::addColumn<Launcher>("launcher");
        QTest::addColumn<QString>("address");
        QTest::newRow("home") << &modHelp::OpenHomePage << page(kMakerSiteHost, "");
        QTest::newRow("software site")
            << &modHelp::OpenSoftwareSitePage << page(kMakerSiteHost, "/vaticsoftwares");
        QTest::newRow("online help")
            << &modHelp::OpenOnlineHelp << page(kProductSiteHost, "/augurlex-help.html");
        QTest::newRow("download") << &modHelp::OpenDownloadPage
                                  << page(kProductSiteHost, "/download-augurlex.html");
        QTest::newRow("donate") << &modHelp::OpenDonatePage
                                << page(kMakerHelpSiteHost, "/donate.html");
        QTest::newRow("full brand")
            << &modHelp::OpenFullBrandPage << page(kMakerHelpSiteHost, "/fully-branded.html");
        QTest::newRow("co-brand") << &modHelp::OpenCoBrandPage
                                  << page(kMakerHelpSiteHost, "/co-brand.html");
    }
    void eachLauncherOpensItsFixedPage() {
        QFETCH(Launcher, launcher);
        QFETCH(QString, address);
        OpenerSpy spy;
        launcher();
        launcher(); // two quick clicks open the page twice, the same each time
        QCOMPARE(spy.opened, QStringList({address, address}));
        QVERIFY(!address.contains('?'));
    }

    void homePageIsTheBrowserPaneStartPage() {
        QCOMPARE(QString(HomeURL), page(kMakerSiteHost, ""));
        QVERIFY(!QString(HomeURL).endsWith('/'));
    }

    void helpMenuHoldsItsEntriesInOrder() {
        QMenu help;
        const HelpMenuEntries entries = FillHelpMenu(help, nullptr);
        const QList<QAction*> actions = help.actions();
        QCOMPARE(actions.size(), 6);
        const QList<QAction*> expected{entries.mnuOnline,   entries.mnuVisit,
                                       entries.mnuHelpSep1, entries.mnuUpdateSoftware,
                                       entries.mnuHelpSep2, entries.mnuAbout};
        QCOMPARE(actions, expected);
        const QStringList names{"mnuOnline",         "mnuVisit",    "mnuHelpSep1",
                                "mnuUpdateSoftware", "mnuHelpSep2", "mnuAbout"};
        const QStringList captions{
            "&Online Help",   "&Visit Us Online", "", "Check for Software &Update", "",
            "&About Software"};
        for (int i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions[i]->objectName(), names[i]);
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->isSeparator(), captions[i].isEmpty());
        }

        OpenerSpy spy;
        entries.mnuOnline->trigger();
        entries.mnuVisit->trigger();
        entries.mnuUpdateSoftware->trigger();
        QCOMPARE(spy.opened, QStringList({kOnlineHelpPageURL, HomeURL, kDownloadPageURL}));
    }

    void menuBarGetsHelpThenDonateWhichActsAtOnce() {
        QWidget window;
        auto* bar = new QMenuBar(&window);
        bar->addMenu("&File");
        QMenu* help = AddHelpAndDonateMenus(*bar, &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QList<QAction*> top = bar->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top[0]->text(), QString("&File"));
        QCOMPARE(top[1]->menu(), help);
        QCOMPARE(help->objectName(), QString("mnuHelp"));
        QCOMPARE(help->title(), QString("&Help"));
        QCOMPARE(help->actions().size(), 6);
        QAction* donate = top[2];
        QCOMPARE(donate->objectName(), QString("mnuDonate"));
        QCOMPARE(donate->text(), QString("&Donate"));
        QVERIFY(donate->menu() == nullptr);

        OpenerSpy spy;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(donate).center());
        QCOMPARE(spy.opened, QStringList({kDonatePageURL}));
    }

    void mainWindowLinksOpenTheirPages() {
        QWidget window;
        auto* donate = new QPushButton("&Donate", &window);
        donate->setObjectName("cmdDonate");
        for (const char* name : {"lblPicTop2", "lblFullBrand", "lblCoBrand", "Label61", "Label4"}) {
            auto* label = new QLabel(QString(name) + " text", &window);
            label->setObjectName(name);
            label->setGeometry(0, 40, 200, 30);
        }
        WireMainWindowLinks(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        OpenerSpy spy;
        QTest::mouseClick(donate, Qt::LeftButton);
        for (const char* name : {"lblPicTop2", "lblFullBrand", "lblCoBrand", "Label61", "Label4"})
            clickLabel(&window, name);
        QCOMPARE(spy.opened, QStringList({kDonatePageURL, HomeURL, kFullBrandPageURL,
                                          kCoBrandPageURL, HomeURL, HomeURL}));

        for (const char* name : {"lblPicTop2", "lblFullBrand", "lblCoBrand", "Label61"})
            QCOMPARE(window.findChild<QLabel*>(name)->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!window.findChild<QLabel*>("Label4")->testAttribute(Qt::WA_SetCursor));
    }

    void labelActsOnlyOnACompletedLeftClick() {
        QWidget window;
        auto* label = new QLabel("Label61 text", &window);
        label->setObjectName("Label61");
        label->setGeometry(10, 10, 200, 30);
        WireMainWindowLinks(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        OpenerSpy spy;
        QTest::mouseClick(label, Qt::RightButton);
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(500, 500)); // let go elsewhere
        QVERIFY(spy.opened.isEmpty());
    }

    void aboutWindowIsModalCentredAndFreshEachTime() {
        QWidget owner;
        QMenu help;
        const HelpMenuEntries entries = FillHelpMenu(help, &owner);
        owner.show();

        // Facts are gathered while the window is open and checked once it has closed, so that a
        // failed check cannot leave a modal window waiting.
        int shown = 0;
        QPointer<QWidget> first;
        QString name, title, labelText;
        Qt::WindowModality modality = Qt::NonModal;
        Qt::WindowFlags flags;
        QPoint offCentre;
        onNextModal([&](QWidget* about) {
            ++shown;
            first = about;
            name = about->objectName();
            title = about->windowTitle();
            modality = about->windowModality();
            flags = about->windowFlags();
            offCentre =
                about->frameGeometry().center() - about->screen()->availableGeometry().center();
            labelText = about->findChild<QLabel*>("Label2")->text();
            about->findChild<QLabel*>("Label2")->setText("changed while open");
            QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        entries.mnuAbout->trigger();
        QCOMPARE(shown, 1);
        QVERIFY(first.isNull()); // unloaded when it closed
        QCOMPARE(name, QString("frmAbout"));
        QCOMPARE(title, QString("Augurlex v1.95"));
        QCOMPARE(modality, Qt::ApplicationModal);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY2(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1,
                 qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
        QCOMPARE(labelText, QString("Augurlex v1.95"));

        QPointer<QWidget> second;
        onNextModal([&](QWidget* about) {
            ++shown;
            second = about;
            labelText = about->findChild<QLabel*>("Label2")->text();
            about->close(); // the close box unloads it as well
        });
        entries.mnuAbout->trigger();
        QCOMPARE(shown, 2);
        QCOMPARE(labelText, QString("Augurlex v1.95")); // freshly loaded
        QVERIFY(second.isNull());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void aboutWindowLinks() {
        FrmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* offer = about.findChild<QLabel*>("lblCoBrand");
        auto* home = about.findChild<QLabel*>("lblHomePage");
        QCOMPARE(offer->text(), QString("Click here for more details."));
        QCOMPARE(home->text(), QString("Click here to visit ") + HomeURL);
        QCOMPARE(offer->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(home->cursor().shape(), Qt::PointingHandCursor);

        OpenerSpy spy;
        QTest::mouseClick(offer, Qt::LeftButton); // the fully branded page, not the co-brand one
        QTest::mouseClick(home, Qt::LeftButton);
        QCOMPARE(spy.opened, QStringList({kFullBrandPageURL, HomeURL}));
        QVERIFY(about.isVisible()); // the window stays open while a link opens
    }
};

} // namespace

QTEST_MAIN(LaunchersTest)
#include "launchers_test.moc"
