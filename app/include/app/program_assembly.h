// Puts the program together: the browser pane as the main window's document window with the
// lookup commands, File > Update, the Donate entries and link labels, the exit screen and the end
// of the program; and the start-up hooks that run them.
#pragma once

#include "app/startup.h"
#include "app/view_options.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace viewer {
class Browser;
}

namespace app {

class MainWindow;

// What the assembled program takes from outside; tests put in their own.
struct ProgramOptions {
    // The pane's browser; left empty, the real one.
    std::function<std::unique_ptr<viewer::Browser>()> makeBrowser;
    // Chooses the file of File > Update; left empty, the open-file dialog.
    std::function<std::optional<QString>()> chooseUpdateFile;
    // Where the View menu's options and the history are kept; left empty, the user's own.
    std::optional<UserStore> userStore;
};

// Wires every part into a loaded main window and loads its browser pane.
void assembleProgram(MainWindow& window, bool online, const ProgramOptions& options = {});

// The start-up hooks of the shipped program: the update reminder, the connection check, then
// AssembleProgram as the document window's load.
StartupHooks programStartupHooks(ProgramOptions options = {});

} // namespace app
