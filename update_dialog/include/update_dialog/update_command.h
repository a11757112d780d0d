// File > Update: choose an update file, merge it, show the progress dialog, then say how it
// went. Everything the command needs from the main window comes in as a seam, so a test can run
// the whole command without a dialog.
#pragma once

#include "ui/message_box.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace update_dialog {

// Chooses the update file: the chosen path, or nothing when the user cancelled.
using UpdateFileChooser = std::function<std::optional<QString>()>;

// The open-file dialog over `window`, with no title or folder. It lists every file, as it always
// has; its second filter narrows the list to Access databases of every format.
inline constexpr const char* kUpdateFileFilters =
    "All files (*);;Access databases (*.mdb *.accdb *.dll)";
UpdateFileChooser openFileDialog(QWidget* window);

struct UpdateSeams {
    UpdateFileChooser chooseFile;
    std::function<void(const ui::MessageRequest&)> showMessage;
    // Shows the progress dialog modally and returns once it has closed.
    std::function<void()> showProgressDialog;
    // Puts the focus in the main window's search box.
    std::function<void()> focusSearchBox;
    // Brackets the merge (busy cursor on, off); may be empty.
    std::function<void(bool busy)> setBusy;
    // Called now and then during the merge so the window can repaint; may be empty.
    std::function<void()> keepResponsive;
};

class UpdateCommand {
public:
    UpdateCommand(QString programFolder, UpdateSeams seams);

    // The seams of a real window: the given file chooser, ShowMessage, the progress dialog shown
    // modally over `window`, the wait cursor, repaints without user input.
    static UpdateCommand forWindow(QWidget* window, QString programFolder,
                                   UpdateFileChooser chooseFile,
                                   std::function<void()> focusSearchBox);

    void run();

private:
    QString programFolder_;
    UpdateSeams seams_;
};

} // namespace update_dialog
