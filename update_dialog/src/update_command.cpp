#include "update_dialog/update_command.h"

#include "update/merge_report.h"
#include "update_dialog/update_progress_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>

namespace update_dialog {

namespace {

ui::MessageIcon iconFor(update::MessageTone tone) {
    switch (tone) {
    case update::MessageTone::Warning:
        return ui::MessageIcon::Warning;
    case update::MessageTone::Error:
        return ui::MessageIcon::Critical;
    case update::MessageTone::Information:
        break;
    }
    return ui::MessageIcon::Information;
}

} // namespace

UpdateFileChooser openFileDialog(QWidget* window) {
    return [window]() -> std::optional<QString> {
        QString path = QFileDialog::getOpenFileName(window, QString(), QString(),
                                                    QString::fromLatin1(kUpdateFileFilters));
        if (path.isEmpty())
            return std::nullopt;
        return path;
    };
}

UpdateCommand::UpdateCommand(QString programFolder, UpdateSeams seams)
    : programFolder_(std::move(programFolder)), seams_(std::move(seams)) {}

UpdateCommand UpdateCommand::forWindow(QWidget* window, QString programFolder,
                                       UpdateFileChooser chooseFile,
                                       std::function<void()> focusSearchBox) {
    UpdateSeams seams;
    seams.chooseFile = std::move(chooseFile);
    seams.showMessage = [window](const ui::MessageRequest& request) {
        ui::showMessage(request, window);
    };
    seams.showProgressDialog = [window] {
        UpdateProgressDialog progress(window);
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

void UpdateCommand::run() {
    std::optional<QString> chosen = seams_.chooseFile();
    if (!chosen || chosen->isEmpty())
        return;

    if (seams_.setBusy)
        seams_.setBusy(true);
    // Repaints are rationed by the clock so that a large merge is not slowed by them.
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    update::MergeProgress progress = [&](std::uint64_t, std::uint64_t) {
        if (seams_.keepResponsive && sinceRepaint.elapsed() >= 50) {
            seams_.keepResponsive();
            sinceRepaint.restart();
        }
    };
    const update::MergeReport report =
        update::mergeUpdateFile(QFile::encodeName(*chosen).toStdString(),
                                QFile::encodeName(programFolder_).toStdString(), progress);
    if (seams_.setBusy)
        seams_.setBusy(false);

    // A file that was merged, even in part, shows the progress first; one that was not, only
    // why.
    if (!report.nothingToUpdate)
        seams_.showProgressDialog();
    const update::ClosingMessage closing = update::closingMessageFor(report);
    ui::MessageRequest message{QString::fromStdString(closing.text), iconFor(closing.tone)};
    message.details = QString::fromStdString(closing.details);
    seams_.showMessage(message);
    seams_.focusSearchBox();
}

} // namespace update_dialog
