#include "startup.h"

#include "mdi.h"
#include "message_box.h"
#include "program_values.h"
#include "single_instance.h"

#include <exception>

namespace augurlex {

namespace {
// A step that fails is skipped; start-up goes on with the next one.
template <class F> void runStep(F&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}
} // namespace

std::unique_ptr<MDI> StartProgram(const QString& programFolder, SingleInstance& instance,
                                  const StartupHooks& hooks) {
    if (instance.AnotherCopyRuns()) {
        MessageRequest request;
        request.text = QStringLiteral("Application is already running");
        request.icon = MessageIcon::Information;
        ShowMessage(request);
        return nullptr;
    }
    SeedRandomFromClock();
    if (hooks.runUpdateReminder)
        runStep(hooks.runUpdateReminder);

    auto frame = std::make_unique<MDI>(programFolder);
    runStep([&] { frame->Load(); });
    if (hooks.loadDocumentWindow)
        runStep([&] { hooks.loadDocumentWindow(*frame); });
    frame->show();
    runStep([&] { frame->CoBrand_Randomize(); });
    return frame;
}

} // namespace augurlex
