#include "app/program_assembly.h"

#include "app/connection_check.h"
#include "app/lookup_wiring.h"
#include "app/main_window.h"
#include "app/program_end.h"
#include "app/update_reminder.h"
#include "update_dialog/update_command.h"
#include "viewer/browser_pane.h"
#include "weblinks/exit_screen.h"
#include "weblinks/launchers.h"

#include <QLineEdit>

namespace app {

namespace {

void connectWebLinks(MainWindow& window) {
    QObject::connect(&window, &MainWindow::donateChosen, &window, weblinks::OpenDonatePage);
    QObject::connect(&window, &MainWindow::homePageChosen, &window, weblinks::OpenHomePage);
    QObject::connect(&window, &MainWindow::fullBrandOfferClicked, &window,
                     weblinks::OpenFullBrandPage);
    QObject::connect(&window, &MainWindow::coBrandOfferClicked, &window, weblinks::OpenCoBrandPage);
}

void connectUpdate(MainWindow& window, update_dialog::UpdateFileChooser chooseFile) {
    if (!chooseFile)
        chooseFile = update_dialog::OpenFileDialog(&window);
    QObject::connect(&window, &MainWindow::updateChosen, &window, [&window, chooseFile] {
        QLineEdit* searchBox = window.SearchBox();
        update_dialog::UpdateCommand::ForWindow(&window, window.ProgramFolder(), chooseFile,
                                                [searchBox] { searchBox->setFocus(); })
            .Run();
    });
}

// Closing the main window, however it is closed, leaves the exit screen; closing that ends the
// program.
void connectExit(MainWindow& window) {
    QObject::connect(&window, &MainWindow::unloading, [] {
        if (ProgramIsEnding())
            return;
        weblinks::ExitScreen* screen = weblinks::ShowExitScreen();
        QObject::connect(screen, &weblinks::ExitScreen::endRequested,
                         [] { CloseAllWindowsAndEnd(); });
    });
}

} // namespace

void AssembleProgram(MainWindow& window, bool online, const ProgramOptions& options) {
    connectWebLinks(window);
    connectUpdate(window, options.chooseUpdateFile);
    connectExit(window);

    QLineEdit* searchBox = window.SearchBox();
    auto* pane = new viewer::BrowserPane([searchBox] { return searchBox->text(); },
                                         options.makeBrowser ? options.makeBrowser() : nullptr);
    window.SetDocumentWindow(pane);
    ConnectLookup(window, *pane);
    pane->Load(online);
}

StartupHooks ProgramStartupHooks(ProgramOptions options) {
    StartupHooks hooks;
    hooks.runUpdateReminder = [] { RunUpdateReminder(); };
    hooks.checkConnection = [] { return CheckConnection(); };
    hooks.loadDocumentWindow = [options = std::move(options)](MainWindow& window, bool online) {
        AssembleProgram(window, online, options);
    };
    return hooks;
}

} // namespace app
