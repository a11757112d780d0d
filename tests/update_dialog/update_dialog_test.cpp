// The progress dialog driven tick by tick, and the Update command with every seam recorded.
#include "dictionary_folder.h"
#include "update_dialog/update_command.h"
#include "update_dialog/update_progress_dialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using testing_support::DictionaryFolder;

class UpdateDialogTest : public QObject {
    Q_OBJECT

    // What the command did, in order, as one line.
    static QString run(const DictionaryFolder& program, std::optional<QString> chosen) {
        QStringList log;
        update_dialog::UpdateSeams seams;
        seams.chooseFile = [chosen] { return chosen; };
        seams.showMessage = [&log](const ui::MessageRequest& request) {
            log << QString("message %1: %2").arg(int(request.icon)).arg(request.text);
        };
        seams.showProgressDialog = [&log] { log << "progress"; };
        seams.focusSearchBox = [&log] { log << "focus"; };
        seams.setBusy = [&log](bool busy) { log << (busy ? "busy" : "idle"); };
        update_dialog::UpdateCommand(QString::fromStdString(program.path()), seams).run();
        return log.join(" | ");
    }
    static QString file(const DictionaryFolder& folder, const char* name) {
        return QString::fromStdString(folder.path()) + "/" + name;
    }

private slots:
    void progressFillsInFiftyTicksAndClosesOnTheNext() {
        update_dialog::UpdateProgressDialog dialog;
        dialog.show();
        auto* bar = dialog.findChild<QProgressBar*>("PB");
        auto* timer = dialog.findChild<QTimer*>("Timer1");
        QVERIFY(timer->isActive());
        for (int tick = 1; tick <= 50; ++tick) {
            dialog.tick();
            QCOMPARE(bar->value(), tick);
        }
        QVERIFY(dialog.isVisible());
        dialog.findChild<QPushButton*>("cmdPB")->click(); // does nothing
        dialog.tick();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!timer->isActive());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        dialog.show(); // shown again, it starts from an empty bar
        dialog.tick();
        QCOMPARE(bar->value(), 1);
        dialog.reject();
        QVERIFY(!timer->isActive());
    }

    // Whatever the font, the caption shows its whole text inside the dialog, above the bar.
    void theCaptionShowsItsWholeText() {
        const QFont original = QApplication::font();
        for (qreal points : {8.0, 14.0}) {
            QFont font = original;
            font.setPointSizeF(points);
            QApplication::setFont(font);
            update_dialog::UpdateProgressDialog dialog;
            auto* caption = dialog.findChild<QLabel*>("Label1");
            const QRect place = caption->geometry();
            QCOMPARE(caption->text(), QString("Please wait while Dictionary is updating ...."));
            QVERIFY(place.width() >= caption->fontMetrics().horizontalAdvance(caption->text()));
            QVERIFY(place.height() >= caption->fontMetrics().height());
            QVERIFY(dialog.rect().contains(place));
            QVERIFY(!place.intersects(dialog.findChild<QProgressBar*>("PB")->geometry()));
        }
        QApplication::setFont(original);
    }

    // Cancelled, nothing is done; a file that merges nothing (no rows, or none that can be read)
    // changes nothing and shows no progress; a merge shows the progress, then how it went. (The
    // messages of each outcome: tests/app/program_test.cpp.)
    void theCommandMergesOrSaysWhyNot() {
        DictionaryFolder program, update;
        program.writeCatalogue({"Omens"});
        program.writeDictionary("Omens", {});
        update.writeDictionary("Omens", {});
        const QStringList before = QDir(file(program, "")).entryList(QDir::Files);
        QCOMPARE(run(program, std::nullopt), QString());
        QCOMPARE(run(program, file(update, "omens.dll")),
                 QString("busy | idle | message 0: There is nothing to Update | focus"));
        QVERIFY(run(program, file(update, "nothing here")).startsWith("busy | idle | message 1: "));
        QCOMPARE(QDir(file(program, "")).entryList(QDir::Files), before);

        update.writeDictionary("Omens", {{"Raven", "http://o/raven"}});
        QCOMPARE(run(program, file(update, "omens.dll")),
                 QString("busy | idle | progress | message 0: Augurlex Successfully Updated\r1 "
                         "record added, 0 skipped as duplicates, 0 failed, 0 new dictionaries\r"
                         "Please Restart the Dictionary Software | focus"));
    }
};

QTEST_MAIN(UpdateDialogTest)
#include "update_dialog_test.moc"
