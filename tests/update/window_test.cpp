// The progress window and the Update command, driven offscreen.
#include "frmPB.h"
#include "update_command.h"
#include "update_files.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using update_test::Record;
using update_test::ScratchFolder;

class UpdateWindowTest : public QObject {
    Q_OBJECT

private slots:
    void progressWindowLoadsAsLaidOut() {
        frmPB window;
        window.show();
        QCOMPARE(window.windowTitle(), QString("Augurlex v1.95"));
        QCOMPARE(window.Label1->text(), QString("Please wait while Dictionary is updating ...."));
        QCOMPARE(window.cmdPB->text(), QString("Show Progress"));
        QCOMPARE(window.PB->minimum(), 0);
        QCOMPARE(window.PB->maximum(), 50);
        QVERIFY(window.PB->isVisible());
        QVERIFY(window.Timer1->isActive());
        QCOMPARE(window.Timer1->interval(), 100);
        // The button lies below the client area, out of sight.
        QVERIFY(window.cmdPB->geometry().top() >= window.height());
        QVERIFY(window.PB->geometry().bottom() < window.height());
        QCOMPARE(window.findChild<QProgressBar*>("PB"), window.PB);
        window.close();
    }

    void progressWindowFillsInFiftyTicksAndClosesOnTheNext() {
        frmPB window;
        window.show();
        for (int tick = 1; tick <= 50; ++tick) {
            window.OnTimer1Tick();
            QCOMPARE(window.PB->value(), tick);
        }
        QVERIFY(window.isVisible());
        window.cmdPB->click(); // does nothing
        QCOMPARE(window.PB->value(), 50);
        window.OnTimer1Tick();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.Timer1->isActive());
        QVERIFY(window.PB->isHidden());
        QCOMPARE(window.TickCount(), 0);
        QCOMPARE(window.result(), int(QDialog::Accepted));

        // Shown again, it starts from an empty bar.
        window.show();
        QVERIFY(window.PB->isVisible());
        window.OnTimer1Tick();
        QCOMPARE(window.PB->value(), 1);
        window.close();
    }

    void progressWindowShownModallyClosesByItself() {
        frmPB window;
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QCOMPARE(window.TickCount(), 0);
    }

    void cancelledDialogDoesNothing() {
        ScratchFolder folder("command-cancel");
        update_test::WriteProgramFolder(folder.str(), {"Omens"});
        auto before = update_test::FolderContents(folder.path());
        Run(folder, std::nullopt);
        QVERIFY(log_.isEmpty());
        QVERIFY(update_test::FolderContents(folder.path()) == before);
    }

    void emptyOrUnreadableUpdateHasNothingToUpdate() {
        ScratchFolder folder("command-empty");
        update_test::WriteProgramFolder(folder.str(), {"Omens"});
        update_test::WriteDictionary(folder.file("empty.mdb"), {});
        Run(folder, QString::fromStdString(folder.file("empty.mdb")));
        QCOMPARE(log_, QStringList({"busy", "idle", "message 0: There is nothing to Update",
                                    "focus txtKey"}));
        Run(folder, QString::fromStdString(folder.file("nothing here")));
        QCOMPARE(log_.at(2), QString("message 0: There is nothing to Update"));
    }

    void mergeThenProgressThenClosingMessageThenFocus() {
        ScratchFolder folder("command-merge");
        update_test::WriteProgramFolder(folder.str(), {"Omens"});
        update_test::WriteDictionary(folder.file("update.mdb"),
                                     {{"OMENS", "Raven", "http://o/raven"}});
        UpdateCommand command = Run(folder, QString::fromStdString(folder.file("update.mdb")));
        QCOMPARE(log_, QStringList({"busy", "idle", "progress window",
                                    "message 0: Augurlex Successfully Updated\rPlease Restart the "
                                    "Dictionary Software",
                                    "focus txtKey"}));
        QCOMPARE(update_test::ReadDictionary(folder.file("omens.dll")).size(), std::size_t(1));
        QCOMPARE(command.LastReport().added, std::uint64_t(1));
    }

    void failuresGiveAWarningInsteadOfSuccess() {
        ScratchFolder folder("command-failure");
        update_test::WriteProgramFolder(folder.str(), {"Omens"});
        update_test::WriteDictionary(folder.file("update.mdb"),
                                     {{"../escape", "Raven", "http://o/raven"}});
        Run(folder, QString::fromStdString(folder.file("update.mdb")));
        QCOMPARE(log_.size(), 5);
        QCOMPARE(log_.at(2), QString("progress window"));
        QVERIFY(log_.at(3).startsWith("message 3: Augurlex could not merge every record"));
        QVERIFY(log_.at(3).contains("0 records added, 0 skipped as duplicates, 1 failed"));
    }

private:
    UpdateCommand Run(const ScratchFolder& folder, std::optional<QString> chosen) {
        log_.clear();
        UpdateSeams seams;
        seams.chooseFile = [chosen] { return chosen; };
        seams.showMessage = [this](const augurlex::MessageRequest& request) {
            QVERIFY(request.title == "Augurlex");
            QVERIFY(request.buttons == augurlex::MessageButtons::Ok);
            log_ << QString("message %1: %2").arg(int(request.icon)).arg(request.text);
        };
        seams.showProgressWindow = [this] { log_ << "progress window"; };
        seams.focusSearchBox = [this] { log_ << "focus txtKey"; };
        seams.setBusy = [this](bool busy) { log_ << (busy ? "busy" : "idle"); };
        UpdateCommand command(QString::fromStdString(folder.str()), seams);
        command.Run();
        return command;
    }

    QStringList log_;
};

QTEST_MAIN(UpdateWindowTest)
#include "window_test.moc"
