// The exit screen driven as a user would, with messages, browser and program end recorded.
#include "message_box.h"
#include "opener_spy.h"
#include "weblinks/endpoints.h"
#include "weblinks/exit_screen.h"
#include "weblinks/program_end.h"
#include "weblinks/tell_a_friend.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>
#include <memory>

using namespace augurlex;

namespace {

class ExitScreenTest : public QObject {
    Q_OBJECT

    QStringList messages_;
    int programEnds_ = 0;
    std::unique_ptr<FrmExitScreen> screen_;

    template <typename T> T* child(const char* name) {
        T* found = screen_->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no control %s", name);
        return found;
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }

    void submit() { QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton); }

    void fillForm(const QString& name, const QString& email, const QString& friendName,
                  const QString& friendEmail) {
        box("txtName")->setText(name);
        box("txtEmail")->setText(email);
        box("txtFriendName")->setText(friendName);
        box("txtFriendEmail")->setText(friendEmail);
    }

private slots:
    void init() {
        messages_.clear();
        programEnds_ = 0;
        SetMessageHandlerForTesting([this](const MessageRequest& request) {
            messages_.append(request.text);
            if (request.icon != MessageIcon::Critical || request.buttons != MessageButtons::Ok)
                messages_.append("(wrong icon or buttons)");
            return MessageAnswer::Ok;
        });
        SetProgramEndForTesting([this] { ++programEnds_; });
        screen_ = std::make_unique<FrmExitScreen>();
        screen_->show();
        screen_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen_.get()));
    }
    void cleanup() {
        screen_.reset();
        SetMessageHandlerForTesting({});
        SetProgramEndForTesting({});
    }

    void windowAndCaptions() {
        QCOMPARE(screen_->objectName(), QString("frmExitScreen"));
        QCOMPARE(screen_->windowTitle(), QString("Augurlex v1.95"));
        QCOMPARE(screen_->size(), QSize(741, 315)); // 11115 x 4725 twips
        const Qt::WindowFlags flags = screen_->windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

        QCOMPARE(child<QLabel>("Label1")->text(), QString("Augurlex v1.95"));
        QCOMPARE(child<QCheckBox>("Check1")->text(),
                 QString("Click Here To Visit ") + kMakerSiteHost + " Now");
        QCOMPARE(child<QPushButton>("cmdClose")->text(), QString("E&xit"));
        QCOMPARE(child<QGroupBox>("Frame6")->title(), QString("Download Vatic Softwares"));
        QCOMPARE(child<QLabel>("lblGoToHome")->text(),
                 QString("Click Here To Visit Vatic Softwares"));
        QCOMPARE(child<QLabel>("lblGoToHome")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(child<QGroupBox>("Frame2")->title(), QString("Refer A Friend"));
        QCOMPARE(child<QPushButton>("cmdSubmit")->text(), QString("Refer A Friend &Now"));
        QCOMPARE(box("txtName")->text(), QString("Your Name"));
        QCOMPARE(box("txtEmail")->text(), QString("Your Email Address"));
        QCOMPARE(box("txtFriendName")->text(), QString("Friend's Name"));
        QCOMPARE(box("txtFriendEmail")->text(), QString("Friend's Email Address"));
        QCOMPARE(child<QPlainTextEdit>("txtMessage")->toPlainText(), QString("Your Message\n"));
        QCOMPARE(child<QPlainTextEdit>("txtMessage")->verticalScrollBarPolicy(),
                 Qt::ScrollBarAlwaysOn);
    }

    void messageBoxLiesBelowTheFrameYetTakesTheTabKey() {
        auto* frame = child<QGroupBox>("Frame2");
        auto* message = child<QPlainTextEdit>("txtMessage");
        QCOMPARE(message->parentWidget(), frame);
        QCOMPARE(message->y(), 240); // 3600 twips, in a frame 1455 twips high
        QCOMPARE(frame->height(), 97);
        QVERIFY(message->visibleRegion().isEmpty());

        QCOMPARE(QApplication::focusWidget(), child<QPushButton>("cmdClose"));
        const QStringList expected{"Check1",         "txtName",       "cmdSubmit",  "txtEmail",
                                   "txtFriendEmail", "txtFriendName", "txtMessage", "cmdClose"};
        QStringList order;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(order, expected);
    }

    void placeholdersLeaveOnEntryAndReturnWhenEmpty() {
        QLineEdit* name = box("txtName");
        name->setText("  Your Name ");
        name->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), QString());
        QTest::keyClicks(name, "   ");
        child<QPushButton>("cmdSubmit")->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), QString("Your Name"));

        name->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(name, "Ann");
        box("txtEmail")->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), QString("Ann"));
        name->setFocus(Qt::TabFocusReason);
        QCOMPARE(name->text(), QString("Ann"));

        // The hidden box's initial text is not its placeholder, so it stays on entry.
        auto* message = child<QPlainTextEdit>("txtMessage");
        message->setFocus(Qt::TabFocusReason);
        QCOMPARE(message->toPlainText(), QString("Your Message\n"));
    }

    void emailBoxesRefuseTypedSpaces() {
        for (const char* name : {"txtEmail", "txtFriendEmail"}) {
            QLineEdit* email = box(name);
            email->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(email, "a b");
            QCOMPARE(email->text(), QString("ab"));
            QCOMPARE(QApplication::focusWidget(), email);
        }
        QCOMPARE(messages_, QStringList(2, "Email Address Cannot Contain Space"));
        box("txtName")->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box("txtName"), "a b");
        QCOMPARE(box("txtName")->text(), QString("a b"));
        QCOMPARE(messages_.size(), 2);
    }

    void checkBoxActsAsALinkAndNeverStaysChecked() {
        OpenerSpy spy;
        auto* check = child<QCheckBox>("Check1");
        QTest::mouseClick(check, Qt::LeftButton);
        QVERIFY(!check->isChecked());
        check->setFocus();
        QTest::keyClick(check, Qt::Key_Space);
        QVERIFY(!check->isChecked());
        QCOMPARE(spy.opened, QStringList({HomeURL, HomeURL}));

        QTest::mouseClick(child<QLabel>("lblGoToHome"), Qt::LeftButton);
        QCOMPARE(spy.opened.last(), QString(kSoftwareSitePageURL));
    }

    void submitChecks_data() {
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QString>("message");
        QTest::newRow("fresh screen") << QStringList{} << "Please Enter Proper Email Address";
        QTest::newRow("same address")
            << QStringList{"Ann", " ann@mail.example", "Bo", "ann@mail.example  "}
            << "Please Enter Distinct Email Addresses";
        QTest::newRow("case differs: distinct, then the name is checked")
            << QStringList{"Your Name", "Ann@Mail.example", "Bo", "ann@mail.example"}
            << "Please Enter Your Name";
        QTest::newRow("@ but no dot") << QStringList{"Ann", "ann@mail", "Bo", "bo@mail.example"}
                                      << "Please Enter Proper Email Address";
        QTest::newRow("name of spaces")
            << QStringList{"    ", "ann@mail.example", "Bo", "bo@mail.example"}
            << "Please Enter Your Name";
        QTest::newRow("friend's name left as placeholder")
            << QStringList{"Ann", "ann@mail.example", "Friend's Name", "bo@mail.example"}
            << "Please Enter Your Friend's Name";
    }
    void submitChecks() {
        QFETCH(QStringList, form);
        QFETCH(QString, message);
        if (!form.isEmpty())
            fillForm(form[0], form[1], form[2], form[3]);
        OpenerSpy spy;
        submit();
        QCOMPARE(messages_, QStringList{message});
        QVERIFY(spy.opened.isEmpty());
    }

    void successfulReferralCarriesTheHiddenMessageAndKeepsTheForm() {
        fillForm(" Ann Lee ", "ann@mail.example", "Bo & Co", "bo@mail.example");
        OpenerSpy spy;
        submit();
        QVERIFY(messages_.isEmpty());
        QCOMPARE(spy.opened.size(), 1);
        QCOMPARE(spy.opened[0], modTellAFriend::ReferralAddress());
        const QUrlQuery query(QUrl(spy.opened[0]));
        QCOMPARE(query.queryItemValue("taf1", QUrl::FullyDecoded), QString("Ann Lee"));
        QCOMPARE(query.queryItemValue("taf3", QUrl::FullyDecoded), QString("Your Message\r\n"));
        QCOMPARE(query.queryItemValue("taf4", QUrl::FullyDecoded), QString("Bo & Co"));
        QCOMPARE(box("txtName")->text(), QString(" Ann Lee "));
        QVERIFY(screen_->isVisible());

        submit(); // may be sent again
        QCOMPARE(spy.opened.size(), 2);
    }

    void everyWayOfClosingEndsTheProgram() {
        QTest::mouseClick(child<QPushButton>("cmdClose"), Qt::LeftButton);
        QCOMPARE(programEnds_, 1);
        screen_->show();
        screen_->close();
        QCOMPARE(programEnds_, 2);
    }

    void appealsComeAboutEquallyOften() {
        QMap<QString, int> counts;
        const int loads = 800;
        for (int i = 0; i < loads; ++i) {
            FrmExitScreen loaded;
            counts[loaded.findChild<QLabel*>("Label2")->text()] += 1;
        }
        QCOMPARE(counts.size(), 4);
        for (int r = 0; r < 4; ++r) {
            // 200 expected each; 120 and 280 lie more than six standard deviations away.
            const int seen = counts.value(FrmExitScreen::Appeal(r));
            QVERIFY2(seen > 120 && seen < 280, qPrintable(QString::number(seen)));
        }
        QVERIFY(FrmExitScreen::Appeal(2).startsWith("Seerhall is a FREE online"));
    }
};

} // namespace

QTEST_MAIN(ExitScreenTest)
#include "exit_screen_test.moc"
