// The single running copy, with the real program as the first copy, and the connection sample.
#include "connection_check.h"
#include "dictionary_folder.h"
#include "keyword_list_model.h"
#include "mdi.h"
#include "message_box.h"
#include "single_instance.h"
#include "startup.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using augurlex::InterfaceState;
using augurlex::MessageRequest;
using augurlex::NetworkReach;
using augurlex::SingleInstance;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void aSecondCopyIsRefusedWhileTheRealProgramRuns();
    void oneLockPerExecutableAndNoneLeftByACrash();
    void anUnwritableLockFolderDoesNotKeepTheProgramFromRunning();
    void startUpRunsTheHooksInOrder();
    void connectionFollowsReachabilityThenTheInterfaces();
};

void StartupTest::aSecondCopyIsRefusedWhileTheRealProgramRuns() {
    const QString lockPath = augurlex::SingleInstanceLockPath(AUGURLEX_PROGRAM);
    QProcess first;
    first.start(AUGURLEX_PROGRAM, {});
    QVERIFY(first.waitForStarted());
    QVERIFY(QTest::qWaitFor([&] { return QFile::exists(lockPath); }, 30000));

    QList<MessageRequest> messages;
    augurlex::SetMessageHandlerForTesting([&messages](const MessageRequest& request) {
        messages.append(request);
        return augurlex::MessageAnswer::Ok;
    });
    testing_support::DictionaryFolder folder;
    folder.writeCatalogue({"Omens"});
    SingleInstance second(lockPath);
    bool reminderRan = false;
    std::unique_ptr<augurlex::MDI> frame = augurlex::StartProgram(
        QString::fromStdString(folder.path()), second, {[&] { reminderRan = true; }, {}});
    augurlex::SetMessageHandlerForTesting({});

    QVERIFY(!frame);
    QVERIFY(!reminderRan);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QString("Application is already running"));
    QCOMPARE(messages[0].icon, augurlex::MessageIcon::Information);
    QCOMPARE(messages[0].buttons, augurlex::MessageButtons::Ok);
    QCOMPARE(messages[0].title, QString("Augurlex"));
    QCOMPARE(first.state(), QProcess::Running);

    // A crash leaves the lock file behind; the next start is not blocked by it.
    first.kill();
    QVERIFY(first.waitForFinished());
    QVERIFY(QFile::exists(lockPath));
    SingleInstance next(lockPath);
    QVERIFY(!next.AnotherCopyRuns());
    QVERIFY(next.Held());
}

void StartupTest::oneLockPerExecutableAndNoneLeftByACrash() {
    QCOMPARE(augurlex::SingleInstanceLockPath("/opt/a/augurlex"),
             augurlex::SingleInstanceLockPath("/opt/a/../a/augurlex"));
    QVERIFY(augurlex::SingleInstanceLockPath("/opt/a/augurlex") !=
            augurlex::SingleInstanceLockPath("/opt/b/augurlex"));

    QTemporaryDir dir;
    const QString lockPath = dir.filePath("copy.lock");
    {
        SingleInstance first(lockPath);
        QVERIFY(!first.AnotherCopyRuns());
        SingleInstance second(lockPath);
        QVERIFY(second.AnotherCopyRuns());
        QVERIFY(!second.Held());
        SingleInstance other(dir.filePath("other.lock"));
        QVERIFY(!other.AnotherCopyRuns());
    }
    // A lock left by a process that no longer exists.
    QFile stale(lockPath);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\naugurlex\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    SingleInstance next(lockPath);
    QVERIFY(!next.AnotherCopyRuns());
}

void StartupTest::anUnwritableLockFolderDoesNotKeepTheProgramFromRunning() {
    SingleInstance instance("/proc/no-such-folder/augurlex.lock");
    QVERIFY(!instance.AnotherCopyRuns());
}

void StartupTest::startUpRunsTheHooksInOrder() {
    testing_support::DictionaryFolder folder;
    folder.writeCatalogue({"Omens"});
    folder.writeDictionary("Omens", {{"Crow", "https://example.org/crow"}});
    QTemporaryDir dir;
    SingleInstance instance(dir.filePath("copy.lock"));
    QStringList steps;
    augurlex::StartupHooks hooks;
    hooks.runUpdateReminder = [&] { steps << "reminder"; };
    hooks.loadDocumentWindow = [&](augurlex::MDI& frame) {
        steps << QString("document window after %1 keywords, %2")
                     .arg(frame.Keywords().rowCount())
                     .arg(frame.isVisible() ? "shown" : "not shown");
        throw std::runtime_error("a failing step is skipped");
    };
    std::unique_ptr<augurlex::MDI> frame =
        augurlex::StartProgram(QString::fromStdString(folder.path()), instance, hooks);
    QVERIFY(frame);
    QCOMPARE(steps, QStringList({"reminder", "document window after 1 keywords, not shown"}));
    QVERIFY(frame->isVisible());
    QVERIFY(instance.Held());
}

void StartupTest::connectionFollowsReachabilityThenTheInterfaces() {
    const InterfaceState loopback{true, true, true, 1};
    const InterfaceState down{false, false, false, 1};
    const InterfaceState noAddress{true, true, false, 0};
    const InterfaceState notRunning{true, false, false, 1};
    const InterfaceState usable{true, true, false, 2};
    QCOMPARE(
        augurlex::ConnectionState(NetworkReach::Unknown, {loopback, down, noAddress, notRunning}),
        0);
    QCOMPARE(augurlex::ConnectionState(NetworkReach::Unknown, {loopback, usable}), 1);
    QCOMPARE(augurlex::ConnectionState(NetworkReach::Unknown, {}), 0);
    // A backend that knows the answer is believed over the interface list.
    QCOMPARE(augurlex::ConnectionState(NetworkReach::Disconnected, {usable}), 0);
    QCOMPARE(augurlex::ConnectionState(NetworkReach::LocalOrBetter, {}), 1);
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
