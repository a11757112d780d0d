#include "app/program_assembly.h"

#include "app/connection_check.h"
#include "app/lookup_wiring.h"
#include "app/main_window.h"
#include "app/program_end.h"
#include "app/update_reminder.h"
#include "lookup/keywords.h"
#include "update_dialog/update_command.h"
#include "viewer/browser_pane.h"
#include "viewer/own_pages.h"
#include "weblinks/exit_screen.h"
#include "weblinks/launchers.h"

#include <QLineEdit>

namespace app {

namespace {

void connectWebLinks(MainWindow& window) {
    MainWindow* owner = &window;
    QObject::connect(owner, &MainWindow::donateChosen, owner,
                     [owner] { weblinks::OpenDonatePage(owner); });
    QObject::connect(owner, &MainWindow::homePageChosen, owner,
                     [owner] { weblinks::OpenHomePage(owner); });
    QObject::connect(owner, &MainWindow::fullBrandOfferClicked, owner,
                     [owner] { weblinks::OpenFullBrandPage(owner); });
    QObject::connect(owner, &MainWindow::coBrandOfferClicked, owner,
                     [owner] { weblinks::OpenCoBrandPage(owner); });
}

// The start page's table: each dictionary of the selector with the number of its keywords.
QList<viewer::DictionarySummary> dictionarySummaries(const MainWindow& window) {
    QList<viewer::DictionarySummary> summaries;
    const std::string folder = window.ProgramFolder().toStdString();
    for (const QString& name : window.DictionaryNames()) {
        std::vector<std::string> keywords;
        if (lookup::LoadKeywords(folder, name.toStdString(), keywords))
            summaries.append({name, static_cast<qsizetype>(keywords.size())});
    }
    return summaries;
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
    pane->SetDictionarySummaries([&window] { return dictionarySummaries(window); });
    QObject::connect(&window, &MainWindow::onlineHelpChosen, pane,
                     [pane] { pane->ShowOwnPage(QString::fromLatin1(viewer::kHelpPageName)); });
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
