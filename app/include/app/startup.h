// The way from launch to the main window on the screen.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace app {

class MainWindow;
class SingleInstance;

// Steps that other parts of the program supply; each may be left empty.
struct StartupHooks {
    // The update reminder; any question it asks comes before the main window.
    std::function<void()> runUpdateReminder;
    // Whether the machine is on a network; left empty, the program starts offline.
    std::function<bool()> checkConnection;
    // The document window's load, after the window's own load and before it is shown.
    std::function<void(MainWindow&, bool online)> loadDocumentWindow;
};

// Runs start-up in its fixed order: refuse a second copy (its message, then nothing more), seed
// the random numbers, the update reminder, the connection sample and the window's load, the
// document window's load, show the window, pick the offer in front. Returns the shown window, or
// nullptr when another copy is running. Every step but the first goes on past failures.
std::unique_ptr<MainWindow> startProgram(const QString& programFolder, SingleInstance& instance,
                                         const StartupHooks& hooks = {});

} // namespace app
