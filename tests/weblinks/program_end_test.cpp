// The real end of the program, inside a running event loop: it can run once per process, so it
// has a test program of its own.
#include "weblinks/exit_screen.h"
#include "weblinks/program_end.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace augurlex;

namespace {

class CountingWindow : public QWidget {
public:
    explicit CountingWindow(int& closes) : closes_(closes) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes_;
        event->accept();
    }

private:
    int& closes_;
};

class ProgramEndTest : public QObject {
    Q_OBJECT

private slots:
    // From inside a modal window's loop, with the exit screen among the windows (its own close
    // handler ends the program too): every open window is closed once, every loop stops, and the
    // program's loop returns 0.
    void unloadsEveryWindowAndEndsEveryLoop() {
        QApplication::setQuitOnLastWindowClosed(false);
        int closes = 0;
        QPointer<QWidget> ownedElsewhere = new CountingWindow(closes);
        ownedElsewhere->show();
        QPointer<QWidget> deletesItself = new CountingWindow(closes);
        deletesItself->setAttribute(Qt::WA_DeleteOnClose);
        deletesItself->show();
        QPointer<QWidget> hidden = new CountingWindow(closes);
        QPointer<QWidget> exitScreen = ShowExitScreen();
        QPointer<QDialog> modal = new QDialog;

        bool modalReturned = false;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [] { UnloadAllFormsAndEnd(); });
            modal->exec();
            modalReturned = true;
        });
        const int exitCode = QApplication::exec();

        QCOMPARE(exitCode, 0);
        QVERIFY(modalReturned);
        QVERIFY(ProgramIsEnding());
        QCOMPARE(closes, 2); // the hidden window has nothing to close
        QVERIFY(!ownedElsewhere->isVisible());
        QVERIFY(deletesItself.isNull());
        QVERIFY(exitScreen.isNull());
        QVERIFY(!modal->isVisible());

        UnloadAllFormsAndEnd(); // a second call does nothing
        QCOMPARE(closes, 2);
        delete ownedElsewhere.data();
        delete hidden.data();
        delete modal.data();
    }
};

} // namespace

QTEST_MAIN(ProgramEndTest)
#include "program_end_test.moc"
