#include "update_command.h"

#include "frmPB.h"
#include "update/merge_report.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>

UpdateCommand::UpdateCommand(QString programFolder, UpdateSeams seams)
    : programFolder_(std::move(programFolder)), seams_(std::move(seams)) {}

UpdateCommand UpdateCommand::ForWindow(QWidget* window, QString programFolder,
                                       std::function<void()> focusSearchBox) {
    UpdateSeams seams;
    seams.chooseFile = [window]() -> std::optional<QString> {
        QString path = QFileDialog::getOpenFileName(window);
        if (path.isEmpty())
            return std::nullopt;
        return path;
    };
    seams.showMessage = [window](const augurlex::MessageRequest& request) {
        augurlex::ShowMessage(request, window);
    };
    seams.showProgressWindow = [window] {
        frmPB progress(window);
        progress.exec();
    };
    seams.focusSearchBox = std::move(focusSearchBox);
    seams.setBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    seams.keepResponsive = [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    return UpdateCommand(std::move(programFolder), std::move(seams));
}

void UpdateCommand::Run() {
    std::optional<QString> chosen = seams_.chooseFile();
    if (!chosen || chosen->isEmpty())
        return;

    if (seams_.setBusy)
        seams_.setBusy(true);
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    update::MergeProgress progress = [&](std::uint64_t, std::uint64_t) {
        if (seams_.keepResponsive && sinceRepaint.elapsed() >= 50) {
            seams_.keepResponsive();
            sinceRepaint.restart();
        }
    };
    report_ = update::MergeUpdateFile(QFile::encodeName(*chosen).toStdString(),
                                      QFile::encodeName(programFolder_).toStdString(), progress);
    if (seams_.setBusy)
        seams_.setBusy(false);

    if (report_.nothingToUpdate) {
        seams_.showMessage(
            {QString::fromUtf8(update::kNothingToUpdate), augurlex::MessageIcon::Information});
        seams_.focusSearchBox();
        return;
    }
    seams_.showProgressWindow();
    update::ClosingMessage closing = update::ClosingMessageFor(report_);
    seams_.showMessage(
        {QString::fromStdString(closing.text),
         closing.warning ? augurlex::MessageIcon::Warning : augurlex::MessageIcon::Information});
    seams_.focusSearchBox();
}
