// The way from launch to the main frame on the screen.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace augurlex {

class MDI;
class SingleInstance;

// Steps that other parts of the program supply; each may be left empty.
struct StartupHooks {
    // The update reminder; any question it asks comes before the main frame.
    std::function<void()> runUpdateReminder;
    // The document window's load, after the frame's own load and before it is shown.
    std::function<void(MDI&)> loadDocumentWindow;
};

// Runs start-up in its fixed order: refuse a second copy (its message, then nothing more), seed
// the random numbers, the update reminder, the frame's load, the document window's load, show
// the frame, pick the offer in front. Returns the shown frame, or nullptr when another copy is
// running. Every step but the first goes on past failures.
std::unique_ptr<MDI> StartProgram(const QString& programFolder, SingleInstance& instance,
                                  const StartupHooks& hooks = {});

} // namespace augurlex
