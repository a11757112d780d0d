// The update reminder against a settings file of its own and a fixed clock.
#include "update_reminder.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace augurlex;

namespace {

const QDate kToday(2024, 3, 10);

struct Run {
    QList<MessageRequest> questions;
    int pagesOpened = 0;
    QString storedAfter;
};

class UpdateReminderTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString settingsPath() const { return dir_.filePath("reminder.ini"); }

    void store(const QVariant& value) {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.clear();
        if (value.isValid())
            settings.setValue("Settings/Duration", value);
    }

    Run run(MessageAnswer answer = MessageAnswer::No) {
        Run result;
        {
            QSettings settings(settingsPath(), QSettings::IniFormat);
            UpdateReminder reminder(
                settings, [] { return kToday; },
                [&](const MessageRequest& request) {
                    result.questions.append(request);
                    return answer;
                },
                [&] { ++result.pagesOpened; });
            reminder.Run();
        }
        QSettings reread(settingsPath(), QSettings::IniFormat);
        result.storedAfter = reread.value("Settings/Duration").toString();
        return result;
    }

private slots:
    void firstRunWritesTodayWithoutAsking() {
        store({});
        const Run first = run();
        QVERIFY(first.questions.isEmpty());
        QCOMPARE(first.storedAfter, QString("2024-03-10"));
    }

    void staysQuietWithinFourteenDaysEitherWay_data() {
        QTest::addColumn<int>("offset");
        QTest::newRow("today") << 0;
        QTest::newRow("14 days ago") << -14;
        QTest::newRow("14 days ahead") << 14;
    }
    void staysQuietWithinFourteenDaysEitherWay() {
        QFETCH(int, offset);
        const QString stored = UpdateReminder::DateText(kToday.addDays(offset));
        store(stored);
        const Run quiet = run(MessageAnswer::Yes);
        QVERIFY(quiet.questions.isEmpty());
        QCOMPARE(quiet.pagesOpened, 0);
        QCOMPARE(quiet.storedAfter, stored); // nothing written
    }

    void asksWhenFifteenDaysAwayEitherWay_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("pages");
        QTest::newRow("15 days ago, Yes") << -15 << int(MessageAnswer::Yes) << 1;
        QTest::newRow("15 days ago, No") << -15 << int(MessageAnswer::No) << 0;
        QTest::newRow("15 days ahead, Yes") << 15 << int(MessageAnswer::Yes) << 1;
        QTest::newRow("a year ago, No") << -365 << int(MessageAnswer::No) << 0;
    }
    void asksWhenFifteenDaysAwayEitherWay() {
        QFETCH(int, offset);
        QFETCH(int, answer);
        QFETCH(int, pages);
        store(UpdateReminder::DateText(kToday.addDays(offset)));

        const Run asked = run(static_cast<MessageAnswer>(answer));
        QCOMPARE(asked.questions.size(), 1);
        const MessageRequest& question = asked.questions.first();
        QCOMPARE(question.text, QString("There maybe an update to this software available\r"
                                        "Do you want to check for an update?"));
        QCOMPARE(question.icon, MessageIcon::Information);
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(question.title, QString("Augurlex"));
        QCOMPARE(asked.pagesOpened, pages);
        QCOMPARE(asked.storedAfter, QString("2024-03-10"));

        // The next start on the same day finds the fresh date and stays quiet.
        const Run again = run(MessageAnswer::Yes);
        QVERIFY(again.questions.isEmpty());
        QCOMPARE(again.pagesOpened, 0);
    }

    // A value that is no date starts the reminder afresh instead of silencing it at every start.
    void unreadableValueIsTreatedAsFirstRun_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("words") << "not a date";
        QTest::newRow("short date of another locale") << "10/03/2024";
        QTest::newRow("impossible day") << "2024-02-30";
    }
    void unreadableValueIsTreatedAsFirstRun() {
        QFETCH(QString, stored);
        store(stored);
        const Run mended = run(MessageAnswer::Yes);
        QVERIFY(mended.questions.isEmpty());
        QCOMPARE(mended.pagesOpened, 0);
        QCOMPARE(mended.storedAfter, QString("2024-03-10"));
    }

    void settingsAreNamedAfterTheExecutable() {
        QCOMPARE(SettingsApplicationName(), QString("update_reminder_test"));
    }
};

} // namespace

QTEST_GUILESS_MAIN(UpdateReminderTest)
#include "update_reminder_test.moc"
