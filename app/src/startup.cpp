#include "app/startup.h"

#include "app/main_window.h"
#include "app/random_numbers.h"
#include "app/single_instance.h"
#include "ui/message_box.h"

#include <QLineEdit>
#include <exception>

namespace app {

namespace {
// A step that fails is skipped; start-up goes on with the next one.
template <class F> void runStep(F&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}
} // namespace

std::unique_ptr<MainWindow> startProgram(const QString& programFolder, SingleInstance& instance,
                                         const StartupHooks& hooks) {
    if (instance.anotherCopyRuns()) {
        ui::showMessage({QStringLiteral("Application is already running")});
        return nullptr;
    }
    seedRandomFromClock();
    if (hooks.runUpdateReminder)
        runStep(hooks.runUpdateReminder);

    auto window = std::make_unique<MainWindow>(programFolder);
    bool online = false;
    if (hooks.checkConnection)
        runStep([&] { online = hooks.checkConnection(); });
    runStep([&] { window->load(); });
    if (hooks.loadDocumentWindow)
        runStep([&] { hooks.loadDocumentWindow(*window, online); });
    window->show();
    // Typing goes to the search box from the start.
    window->searchBox()->setFocus(Qt::OtherFocusReason);
    runStep([&] { window->bringOfferToFront(randomWholeNumber(1, 6)); });
    return window;
}

} // namespace app
