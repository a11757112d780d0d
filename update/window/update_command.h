// File > Update: choose an update file, merge it, show the progress window, then say how it
// went. Everything the command needs from the main window comes in as a seam, so a test can
// run the whole command and the menu needs one line:
//
//   connect(mnuUpdate, &QAction::triggered, this, [this] {
//       UpdateCommand::ForWindow(this, programFolder, [this] { txtKey->setFocus(); }).Run();
//   });
#pragma once

#include "message_box.h"
#include "update/merge.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

struct UpdateSeams {
    // The open-file dialog: the chosen path, or nothing when the user cancelled.
    std::function<std::optional<QString>()> chooseFile;
    std::function<void(const augurlex::MessageRequest&)> showMessage;
    // Shows the progress window modally and returns once it has closed.
    std::function<void()> showProgressWindow;
    // Puts the focus in the search box txtKey.
    std::function<void()> focusSearchBox;
    // Brackets the merge (busy cursor on, off); may be empty.
    std::function<void(bool busy)> setBusy;
    // Called now and then during the merge so the window can repaint; may be empty.
    std::function<void()> keepResponsive;
};

class UpdateCommand {
public:
    UpdateCommand(QString programFolder, UpdateSeams seams);

    // The seams of a real window: QFileDialog with no title, filter or folder, ShowMessage,
    // frmPB shown modally over `window`, the wait cursor, repaints without user input.
    static UpdateCommand ForWindow(QWidget* window, QString programFolder,
                                   std::function<void()> focusSearchBox);

    void Run();

    // The last merge's report (empty before a merge ran).
    const update::MergeReport& LastReport() const { return report_; }

private:
    QString programFolder_;
    UpdateSeams seams_;
    update::MergeReport report_;
};
