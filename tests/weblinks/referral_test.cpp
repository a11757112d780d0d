// The refer-a-friend checks and the address that carries the form's values.
#include "message_box.h"
#include "opener_spy.h"
#include "weblinks/endpoints.h"
#include "weblinks/tell_a_friend.h"

#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace augurlex;

namespace {

ReferralFields validFields() {
    return {"Ann Lee", "ann@mail.example", "Your Message\r\n", "Bo Chen", "bo@mail.example"};
}

class ReferralTest : public QObject {
    Q_OBJECT

private slots:
    void trimmingRemovesOnlySpaces() {
        QCOMPARE(TrimSpaces("  a b  "), QString("a b"));
        QCOMPARE(TrimSpaces("\tname\r\n "), QString("\tname\r\n"));
        QCOMPARE(TrimSpaces("    "), QString());
    }

    void emailPairChecks_data() {
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("friends");
        QTest::addColumn<QString>("problem");
        QTest::newRow("fresh screen placeholders") << "Your Email Address"
                                                   << "Friend's Email Address"
                                                   << "Please Enter Proper Email Address";
        QTest::newRow("same address") << "a@b.c"
                                      << "a@b.c"
                                      << "Please Enter Distinct Email Addresses";
        QTest::newRow("same placeholder text in both") << "x"
                                                       << "x"
                                                       << "Please Enter Distinct Email Addresses";
        QTest::newRow("case differs, so distinct") << "Ann@Mail.example"
                                                   << "ann@mail.example"
                                                   << "";
        QTest::newRow("mine without @") << "ann.mail.example"
                                        << "bo@mail.example"
                                        << "Please Enter Proper Email Address";
        QTest::newRow("friend's with @ but no dot") << "ann@mail.example"
                                                    << "bo@mail"
                                                    << "Please Enter Proper Email Address";
        QTest::newRow("both proper") << "ann@mail.example"
                                     << "bo@mail.example"
                                     << "";
    }
    void emailPairChecks() {
        QFETCH(QString, mine);
        QFETCH(QString, friends);
        QFETCH(QString, problem);
        QCOMPARE(EmailPairProblem(mine, friends), problem);
    }

    void firstMissingFieldIsReported_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("problem");
        QTest::newRow("name empty") << 0 << ""
                                    << "Please Enter Your Name";
        QTest::newRow("name placeholder") << 0 << "Your Name"
                                          << "Please Enter Your Name";
        QTest::newRow("email placeholder") << 1 << "Your Email Address"
                                           << "Please Enter Your Email";
        QTest::newRow("message placeholder") << 2 << "Your Message"
                                             << "Please Enter Your Message";
        QTest::newRow("message empty") << 2 << ""
                                       << "Please Enter Your Message";
        QTest::newRow("friend's name placeholder") << 3 << "Friend's Name"
                                                   << "Please Enter Your Friend's Name";
        QTest::newRow("friend's email empty") << 4 << ""
                                              << "Please Enter Your Friend's Email";
        QTest::newRow("placeholder in other case is a value") << 0 << "your name"
                                                              << "";
    }
    void firstMissingFieldIsReported() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, problem);
        ReferralFields fields = validFields();
        QString* targets[] = {&fields.ReferrerName, &fields.ReferrerEmail, &fields.ReferralMessage,
                              &fields.FriendName, &fields.FriendEmail};
        *targets[field] = value;
        QCOMPARE(MissingFieldProblem(fields), problem);
    }

    void checksRunInFieldOrder() {
        QCOMPARE(MissingFieldProblem({}), QString("Please Enter Your Name"));
        QCOMPARE(MissingFieldProblem({"Ann", "", "", "", ""}), QString("Please Enter Your Email"));
    }

    void plainValuesGiveTheKeysInOrder() {
        const ReferralFields fields{"Ann", "ann@mail.example", "Hi", "Bo", "bo@mail.example"};
        QCOMPARE(BuildReferralAddress(fields),
                 QString(kReferralServiceURL) +
                     "?taf1=Ann&taf2=ann%40mail.example&taf3=Hi&taf4=Bo&taf5=bo%40mail.example"
                     "&taf6=" +
                     QUrl::toPercentEncoding(kProductSiteRootURL));
    }

    // No value can add, change or cut a key of the request.
    void hostileValuesStayInsideTheirKeys() {
        const ReferralFields fields{
            "Tom & Jerry=1&taf6=http://evil.example/", "ann@mail.example#frag",
            "Your Message\r\nline two\r\n+100% sure?", "Zoë Çelik 名前", "bo@mail.example&taf1=x"};
        const QString address = BuildReferralAddress(fields);

        for (QChar c : address)
            QVERIFY2(c.unicode() > 0x20 && c.unicode() < 0x7f, qPrintable(address));
        QVERIFY(!address.contains('#'));
        QVERIFY(address.startsWith(QString(kReferralServiceURL) + "?taf1="));

        const QUrl url(address, QUrl::StrictMode);
        QVERIFY(url.isValid());
        QCOMPARE(QString::fromLatin1(url.toEncoded()), address); // the browser gets it unchanged
        QVERIFY(url.fragment().isEmpty());

        const QUrlQuery query(url);
        const auto items = query.queryItems(QUrl::FullyDecoded);
        QCOMPARE(items.size(), 6);
        const QStringList values{fields.ReferrerName, fields.ReferrerEmail, fields.ReferralMessage,
                                 fields.FriendName,   fields.FriendEmail,   kProductSiteRootURL};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(items[i].first, QString("taf%1").arg(i + 1));
            QCOMPARE(items[i].second, values[i]);
        }
    }

    void sendReferralOpensOnlyWhenEveryFieldIsFilled() {
        QList<MessageRequest> shown;
        SetMessageHandlerForTesting([&](const MessageRequest& r) {
            shown.append(r);
            return MessageAnswer::Ok;
        });
        OpenerSpy spy;

        modTellAFriend::Fields() = validFields();
        modTellAFriend::Fields().FriendName = "Friend's Name";
        modTellAFriend::ReferralAddress().clear();
        modTellAFriend::SendReferral();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QString("Please Enter Your Friend's Name"));
        QCOMPARE(shown[0].icon, MessageIcon::Critical);
        QCOMPARE(shown[0].buttons, MessageButtons::Ok);
        QVERIFY(spy.opened.isEmpty());
        QVERIFY(modTellAFriend::ReferralAddress().isEmpty());

        modTellAFriend::Fields() = validFields();
        modTellAFriend::SendReferral();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(modTellAFriend::ReferralAddress(), BuildReferralAddress(validFields()));
        QCOMPARE(spy.opened, QStringList({modTellAFriend::ReferralAddress()}));
        SetMessageHandlerForTesting({});
    }
};

} // namespace

QTEST_GUILESS_MAIN(ReferralTest)
#include "referral_test.moc"
