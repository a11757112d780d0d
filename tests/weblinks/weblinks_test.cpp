// The windows of the web links, driven as a user would with messages and the browser recorded:
// the Help menu, the about dialog and the exit screen, with the maker's sites set and without
// them; then the referral request, without a window.
#include "ui/maker_addresses.h"
#include "ui/message_box.h"
#include "ui/web_page.h"
#include "weblinks/about_dialog.h"
#include "weblinks/exit_screen.h"
#include "weblinks/help_menu.h"
#include "weblinks/referral_request.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

using weblinks::ReferralRequest;

namespace {

const ui::MakerSites kSites{"https://maker.example/", "https://product.example"};

// Records the addresses handed to the default browser while it lives.
struct OpenerSpy {
    OpenerSpy() {
        ui::setWebPageOpenerForTesting([this](const QString& a) { opened.append(a); });
    }
    ~OpenerSpy() { ui::setWebPageOpenerForTesting({}); }
    QStringList opened;
};

} // namespace

class WeblinksTest : public QObject {
    Q_OBJECT

    QStringList messages_;
    std::unique_ptr<weblinks::ExitScreen> screen_;

    template <typename T> T* child(const char* name) {
        T* found = screen_->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no control %s", name);
        return found;
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    void submit() { QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton); }

private slots:
    void initTestCase() { ui::setMakerSitesForTesting(kSites); }
    void cleanupTestCase() { ui::setMakerSitesForTesting(std::nullopt); }

    // A build without the product's site leaves Update Software out (with both sites and with
    // neither, and Online Help: tests/app/program_test.cpp).
    void aHelpEntryWithoutAnAddressIsLeftOut() {
        ui::setMakerSitesForTesting(ui::MakerSites{"https://maker.example", ""});
        QWidget owner;
        weblinks::HelpMenu help(&owner);
        OpenerSpy spy;
        help.findChild<QAction*>("mnuVisit")->trigger();
        QVERIFY(!help.findChild<QAction*>("mnuUpdateSoftware")->isVisible());
        QCOMPARE(spy.opened, QStringList{"https://maker.example"});
        ui::setMakerSitesForTesting(kSites);
    }

    // What is seen of the dialog while it is open is checked once it has closed, so that a failed
    // check cannot leave a modal dialog waiting.
    void aboutOpensModalInTheMiddleAndIsUnloadedWhenItCloses() {
        QWidget owner;
        weblinks::HelpMenu help(&owner);
        owner.show();
        QPointer<QWidget> about;
        Qt::WindowModality modality = Qt::NonModal;
        QPoint offCentre;
        QTimer::singleShot(0, [&] {
            about = QApplication::activeModalWidget();
            if (about.isNull())
                return;
            modality = about->windowModality();
            offCentre =
                about->frameGeometry().center() - about->screen()->availableGeometry().center();
            QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        help.findChild<QAction*>("mnuAbout")->trigger();
        QVERIFY(about.isNull()); // unloaded: the next time loads a fresh one
        QCOMPARE(modality, Qt::ApplicationModal);
        QVERIFY2(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1,
                 qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    }

    void aboutLinksActOnlyOnACompletedLeftClick() {
        weblinks::AboutDialog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* offer = about.findChild<QLabel*>("lblCoBrand");
        OpenerSpy spy;
        QTest::mouseClick(offer, Qt::RightButton);
        QTest::mousePress(offer, Qt::LeftButton);
        QTest::mouseRelease(offer, Qt::LeftButton, {}, QPoint(-50, -50)); // let go elsewhere
        QVERIFY(spy.opened.isEmpty());
        QTest::mouseClick(offer, Qt::LeftButton); // the fully branded page, not the co-brand one
        QTest::mouseClick(about.findChild<QLabel*>("lblHomePage"), Qt::LeftButton);
        QCOMPARE(spy.opened, QStringList({"https://maker.example/fully-branded.html",
                                          "https://maker.example"}));
        QVERIFY(about.isVisible()); // the dialog stays open while a link opens
    }

    void init() {
        messages_.clear();
        ui::setMessageHandlerForTesting([this](const ui::MessageRequest& request) {
            messages_.append(request.text);
            if (request.icon != ui::MessageIcon::Critical)
                messages_.append("(not the critical icon)");
            return ui::MessageAnswer::Ok;
        });
        screen_ = std::make_unique<weblinks::ExitScreen>();
        screen_->show();
        screen_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen_.get()));
    }
    void cleanup() {
        screen_.reset();
        ui::setMessageHandlerForTesting({});
    }

    // The message box lies below its frame's visible area, yet the Tab key reaches it.
    void tabOrderStartsAtExitAndReachesTheHiddenMessageBox() {
        QVERIFY(child<QPlainTextEdit>("txtMessage")->visibleRegion().isEmpty());
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>("cmdClose"));
        const QStringList expected{"Check1",     "txtName",        "cmdSubmit",
                                   "txtEmail",   "txtFriendEmail", "txtFriendName",
                                   "txtMessage", "lblGoToHome",    "cmdClose"};
        QStringList order;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(order, expected);
    }

    void placeholdersLeaveOnEntryAndEmailBoxesRefuseSpaces() {
        QLineEdit* name = box("txtName");
        name->setText("  Your Name ");
        name->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), QString());
        QTest::keyClicks(name, "   ");
        box("txtEmail")->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), QString("Your Name"));
        name->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(name, "Ann");
        box("txtEmail")->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), QString("Ann"));
        // The hidden box's initial text is not its placeholder, so it stays on entry.
        child<QPlainTextEdit>("txtMessage")->setFocus(Qt::TabFocusReason);
        QCOMPARE(child<QPlainTextEdit>("txtMessage")->toPlainText(), QString("Your Message\n"));
        // The e-mail boxes refuse typed spaces.
        name->clear();
        for (const char* field : {"txtEmail", "txtFriendEmail", "txtName"}) {
            box(field)->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(box(field), "a b");
            QCOMPARE(QApplication::focusWidget(), box(field));
        }
        QCOMPARE(box("txtEmail")->text(), QString("ab"));
        QCOMPARE(box("txtFriendEmail")->text(), QString("ab"));
        QCOMPARE(box("txtName")->text(), QString("a b"));
        QCOMPARE(messages_, QStringList(2, "Email Address Cannot Contain Space"));
    }

    void theVisitCheckBoxActsAsALinkAndNeverStaysChecked() {
        OpenerSpy spy;
        auto* check = child<QCheckBox>("Check1");
        QTest::mouseClick(check, Qt::LeftButton);
        check->setFocus();
        QTest::keyClick(check, Qt::Key_Space);
        QVERIFY(!check->isChecked());
        QTest::mouseClick(child<QLabel>("lblGoToHome"), Qt::LeftButton);
        QCOMPARE(spy.opened, QStringList({"https://maker.example", "https://maker.example",
                                          "https://maker.example/vaticsoftwares"}));
        QCOMPARE(check->text(), QString("Click Here To Visit maker.example Now"));
    }

    // Without the maker's sites the screen keeps its design, its links greyed out, saying why.
    void withoutTheMakersSitesItsLinksAreGreyedOutAndSayWhy() {
        ui::setMakerSitesForTesting(ui::MakerSites{});
        screen_ = std::make_unique<weblinks::ExitScreen>();
        weblinks::AboutDialog about;
        ui::setMakerSitesForTesting(kSites);
        for (const char* name : {"Check1", "lblGoToHome", "Frame2"}) {
            QVERIFY2(!child<QWidget>(name)->isEnabled(), name);
            QCOMPARE(child<QWidget>(name)->toolTip(), QString(ui::kNoMakerAddressTip));
        }
        QVERIFY(!child<QPushButton>("cmdSubmit")->isEnabled());
        QVERIFY(child<QPushButton>("cmdClose")->isEnabled());
        for (const char* name : {"Label3", "lblCoBrand", "lblHomePage"}) // the about dialog's
            QVERIFY2(about.findChild<QLabel*>(name)->isHidden(), name);
    }

    // Exit asks for the end, clicked or pressed with Enter (which presses the focused button);
    // so does Escape, which closes the screen as its close box does.
    void exitEnterAndEscapeAskForTheEnd() {
        QSignalSpy ends(screen_.get(), &weblinks::ExitScreen::endRequested);
        child<QPushButton>("cmdSubmit")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // a fresh form: refused
        QCOMPARE(messages_, QStringList{"Please Enter Proper Email Address"});
        QCOMPARE(ends.count(), 0);
        QTest::mouseClick(child<QPushButton>("cmdClose"), Qt::LeftButton);
        child<QPushButton>("cmdClose")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(ends.count(), 2);
        box("txtName")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(ends.count(), 3);
        QVERIFY(!screen_->isVisible());
    }

    // (A fresh form's refusal: exitEnterAndEscapeAskForTheEnd.)
    void aFilledFormSendsTheHiddenMessage() {
        OpenerSpy spy;
        box("txtName")->setText(" Ann ");
        box("txtEmail")->setText("ann@mail.example");
        box("txtFriendName")->setText("Bo");
        box("txtFriendEmail")->setText("bo@mail.example");
        submit();
        submit(); // may be sent again
        QVERIFY(messages_.isEmpty());
        QCOMPARE(spy.opened.size(), 2);
        const QUrl sent(spy.opened[0]);
        QCOMPARE(sent.toString(QUrl::RemoveQuery),
                 QString("https://maker.example/refer-a-friend.php"));
        const QUrlQuery query(sent);
        QCOMPARE(query.queryItemValue("taf3", QUrl::FullyDecoded), QString("Your Message\r\n"));
        QCOMPARE(query.queryItemValue("taf6", QUrl::FullyDecoded),
                 QString("https://product.example/"));      // the product's site
        QCOMPARE(box("txtName")->text(), QString(" Ann ")); // the form is kept
    }

    void referralProblemsComeInFormOrder_data() {
        QTest::addColumn<QStringList>("form"); // name, e-mail, message, friend's name and e-mail
        QTest::addColumn<QString>("problem");
        const QString proper = "Please Enter Proper Email Address";
        QTest::newRow("same address, spaces aside")
            << QStringList{"Ann", " a@b.c", "Hi", "Bo", "a@b.c  "}
            << "Please Enter Distinct Email Addresses";
        QTest::newRow("without @") << QStringList{"Ann", "a.b.c", "Hi", "Bo", "b@c.d"} << proper;
        QTest::newRow("@ but no dot") << QStringList{"Ann", "a@b.c", "Hi", "Bo", "b@c"} << proper;
        QTest::newRow("addresses differing in case are distinct; then the name")
            << QStringList{"Your Name", "A@b.c", "Hi", "Bo", "a@b.c"} << "Please Enter Your Name";
        QTest::newRow("name of spaces")
            << QStringList{"   ", "a@b.c", "Hi", "Bo", "b@c.d"} << "Please Enter Your Name";
        QTest::newRow("message empty")
            << QStringList{"Ann", "a@b.c", "", "Bo", "b@c.d"} << "Please Enter Your Message";
        QTest::newRow("friend's name left as placeholder")
            << QStringList{"Ann", "a@b.c", "Hi", "Friend's Name", "b@c.d"}
            << "Please Enter Your Friend's Name";
        QTest::newRow("placeholder in another case is a value")
            << QStringList{"your name", "a@b.c", "Hi", "Bo", "b@c.d"} << "";
    }
    void referralProblemsComeInFormOrder() {
        QFETCH(QStringList, form);
        QFETCH(QString, problem);
        QCOMPARE(ReferralRequest({form[0], form[1], form[2], form[3], form[4]}).problem(), problem);
    }

    // Spaces are trimmed, tabs and line breaks kept; no value can add, change or cut a key.
    void referralValuesStayInsideTheirKeys() {
        const weblinks::ReferralFields typed{"  Tom & Jerry=1&taf6=http://evil.example/ ",
                                             "ann@mail.example#frag", "\tHi\r\n+100% sure?",
                                             "Zoë Çelik 名前", "bo@mail.example&taf1=x"};
        const QString address = ReferralRequest(typed).address("https://maker.example/refer",
                                                               "https://product.example/");
        for (QChar c : address)
            QVERIFY2(c.unicode() > 0x20 && c.unicode() < 0x7f, qPrintable(address));
        const QUrl url(address, QUrl::StrictMode);
        QCOMPARE(QString::fromLatin1(url.toEncoded()), address); // the browser gets it unchanged
        QCOMPARE(url.toString(QUrl::RemoveQuery), QString("https://maker.example/refer"));
        const QStringList values{"Tom & Jerry=1&taf6=http://evil.example/",
                                 typed.referrerEmail,
                                 typed.message,
                                 typed.friendName,
                                 typed.friendEmail,
                                 "https://product.example/"};
        const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
        QCOMPARE(items.size(), 6);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(items[i], qMakePair(QString("taf%1").arg(i + 1), values[i]));
    }
};

QTEST_MAIN(WeblinksTest)
#include "weblinks_test.moc"
