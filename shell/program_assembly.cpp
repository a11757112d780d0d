#include "program_assembly.h"

#include "mdi.h"
#include "startup.h"
#include "update_command.h"
#include "update_reminder.h"
#include "viewer/connect_lookup.h"
#include "viewer/frm_main.h"
#include "weblinks/exit_screen.h"
#include "weblinks/help_menu.h"
#include "weblinks/program_end.h"
#include "weblinks/web_page.h"

#include <QAction>
#include <QLineEdit>

namespace augurlex {

void AssembleProgram(MDI& frame) {
    const MdiControls& controls = frame.Controls();

    FillHelpMenu(*controls.mnuHelp, &frame);
    QObject::connect(controls.mnuDonate, &QAction::triggered, &frame,
                     [] { modHelp::OpenDonatePage(); });
    WireMainWindowLinks(frame);

    QObject::connect(controls.mnuUpdate, &QAction::triggered, &frame, [&frame] {
        QLineEdit* searchBox = frame.Controls().txtKey;
        UpdateCommand::ForWindow(&frame, frame.ProgramFolder(), [searchBox] {
            searchBox->setFocus();
        }).Run();
    });

    // Closing the frame, however it is closed, leaves the exit screen; closing that ends the
    // program.
    QObject::connect(&frame, &MDI::unloading, [] {
        if (!ProgramIsEnding())
            ShowExitScreen();
    });

    viewer::frmMain* pane = viewer::ConnectLookup(frame);
    pane->Load();
}

StartupHooks ProgramStartupHooks() {
    StartupHooks hooks;
    hooks.runUpdateReminder = [] { RunUpdateReminder(); };
    hooks.loadDocumentWindow = [](MDI& frame) { AssembleProgram(frame); };
    return hooks;
}

} // namespace augurlex
