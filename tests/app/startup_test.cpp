// Start-up: the single running copy (the real program plays the copy already running), the order
// of its steps, the connection sample's decision and the update reminder.
#include "app/connection_check.h"
#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "app/update_reminder.h"
#include "dictionary_folder.h"
#include "ui/message_box.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using app::InterfaceState;
using app::NetworkReach;
using app::ReminderDates;
using app::SingleInstance;
using Action = app::ReminderDates::Action;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void aSecondCopyIsRefusedWhileTheRealProgramRuns() {
        const QString lockPath = app::singleInstanceLockPath(AUGURLEX_PROGRAM);
        // A run of this test cut short may have left a lock behind (empty, if the program was
        // killed while writing it): no copy of the program runs now.
        QFile::remove(lockPath);
        QProcess first;
        first.start(AUGURLEX_PROGRAM, {});
        QVERIFY(first.waitForStarted());
        // Held once the lock names its holder: a lock file still empty is only being made.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(lockPath).size() > 0, 30000);

        QList<ui::MessageRequest> messages;
        ui::setMessageHandlerForTesting([&messages](const ui::MessageRequest& request) {
            messages.append(request);
            return ui::MessageAnswer::Ok;
        });
        testing_support::DictionaryFolder folder;
        SingleInstance second(lockPath);
        bool reminderRan = false;
        const auto window = app::startProgram(QString::fromStdString(folder.path()), second,
                                              {[&] { reminderRan = true; }, {}, {}});
        ui::setMessageHandlerForTesting({});
        QVERIFY(!window);
        QVERIFY(!reminderRan);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("Application is already running"));
        QCOMPARE(first.state(), QProcess::Running);

        // A crash leaves the lock file behind; the next start is not blocked by it.
        first.kill();
        QVERIFY(first.waitForFinished());
        QVERIFY(!SingleInstance(lockPath).anotherCopyRuns());
    }

    void oneLockPerExecutable() {
        QCOMPARE(app::singleInstanceLockPath("/opt/a/augurlex"),
                 app::singleInstanceLockPath("/opt/a/../a/augurlex"));
        QVERIFY(app::singleInstanceLockPath("/opt/a/augurlex") !=
                app::singleInstanceLockPath("/opt/b/augurlex"));
        // An unwritable folder does not keep the program from running.
        QVERIFY(!SingleInstance("/proc/no-such-folder/augurlex.lock").anotherCopyRuns());
    }

    void stepsRunInOrderAndAFailingStepIsSkipped() {
        testing_support::DictionaryFolder folder;
        folder.writeCatalogue({"Omens"});
        folder.writeDictionary("Omens", {{"Crow", "https://example.org/crow"}});
        QTemporaryDir dir;
        SingleInstance instance(dir.filePath("copy.lock"));
        QStringList steps;
        app::StartupHooks hooks;
        hooks.runUpdateReminder = [&] { steps << "reminder"; };
        hooks.checkConnection = [&] {
            steps << "connection";
            return true;
        };
        hooks.loadDocumentWindow = [&](app::MainWindow& window, bool online) {
            steps << QString("document window after %1 keywords, %2, %3")
                         .arg(window.keywords().rowCount())
                         .arg(online ? "online" : "offline")
                         .arg(window.isVisible() ? "shown" : "not shown");
            throw std::runtime_error("a failing step is skipped");
        };
        const auto window =
            app::startProgram(QString::fromStdString(folder.path()), instance, hooks);
        QVERIFY(window && window->isVisible());
        QCOMPARE(steps, QStringList({"reminder", "connection",
                                     "document window after 1 keywords, online, not shown"}));
    }

    void connectionFollowsReachabilityThenTheInterfaces() {
        const InterfaceState loopback{true, true, true, 1}, down{false, false, false, 1},
            noAddress{true, true, false, 0}, notRunning{true, false, false, 1},
            usable{true, true, false, 2};
        QVERIFY(!app::isConnected(NetworkReach::Unknown, {loopback, down, noAddress, notRunning}));
        QVERIFY(app::isConnected(NetworkReach::Unknown, {loopback, usable}));
        // A backend that knows the answer is believed over the interface list.
        QVERIFY(!app::isConnected(NetworkReach::Disconnected, {usable}));
        QVERIFY(app::isConnected(NetworkReach::LocalOrBetter, {}));
    }

    void theReminderActsOnTheStoredDate_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("action");
        const auto away = [](int days) {
            return ReminderDates::dateText(QDate(2024, 3, 10).addDays(days));
        };
        QTest::newRow("first run") << QString() << int(Action::StoreToday);
        QTest::newRow("14 days ago") << away(-14) << int(Action::StayQuiet);
        QTest::newRow("14 days ahead") << away(14) << int(Action::StayQuiet);
        QTest::newRow("15 days ago") << away(-15) << int(Action::Ask);
        QTest::newRow("15 days ahead") << away(15) << int(Action::Ask);
        // A value that is no date starts afresh instead of silencing the reminder for good.
        QTest::newRow("short date of another locale") << "10/03/2024" << int(Action::StoreToday);
        QTest::newRow("impossible day") << "2024-02-30" << int(Action::StoreToday);
    }
    void theReminderActsOnTheStoredDate() {
        QFETCH(QString, stored);
        QFETCH(int, action);
        QCOMPARE(int(ReminderDates::actionFor(stored, QDate(2024, 3, 10))), action);
    }

    void aDueReminderAsksOpensThePageOnYesAndStoresToday() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("reminder.ini"), QSettings::IniFormat);
        settings.setValue("Settings/Duration", "2024-01-01");
        QStringList questions;
        int pagesOpened = 0;
        app::UpdateReminder reminder(
            settings, [] { return QDate(2024, 3, 10); },
            [&](const ui::MessageRequest& request) {
                questions << request.text;
                return ui::MessageAnswer::Yes;
            },
            [&] { ++pagesOpened; });
        reminder.run();
        reminder.run(); // the same day again: quiet
        QCOMPARE(questions, QStringList{"There maybe an update to this software available\r"
                                        "Do you want to check for an update?"});
        QCOMPARE(pagesOpened, 1);
        QCOMPARE(QSettings(dir.filePath("reminder.ini"), QSettings::IniFormat)
                     .value("Settings/Duration")
                     .toString(),
                 QString("2024-03-10"));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
