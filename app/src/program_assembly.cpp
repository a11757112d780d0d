#include "app/program_assembly.h"

#include "app/connection_check.h"
#include "app/lookup_wiring.h"
#include "app/main_window.h"
#include "app/program_end.h"
#include "app/update_reminder.h"
#include "lookup/dictionary_selection.h"
#include "store/file_problem.h"
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
                     [owner] { weblinks::openDonatePage(owner); });
    QObject::connect(owner, &MainWindow::homePageChosen, owner,
                     [owner] { weblinks::openHomePage(owner); });
    QObject::connect(owner, &MainWindow::fullBrandOfferClicked, owner,
                     [owner] { weblinks::openFullBrandPage(owner); });
    QObject::connect(owner, &MainWindow::coBrandOfferClicked, owner,
                     [owner] { weblinks::openCoBrandPage(owner); });
}

// The start page's table: each dictionary of the selector with the number of its keywords, or
// why it cannot be read.
QList<viewer::DictionarySummary> dictionarySummaries(const MainWindow& window) {
    QList<viewer::DictionarySummary> summaries;
    const std::string folder = window.programFolder().toStdString();
    for (const QString& name : window.dictionaryNames()) {
        const lookup::DictionaryStatus status =
            lookup::dictionaryStatus(folder, name.toStdString());
        viewer::DictionarySummary summary;
        summary.name = name;
        summary.keywordCount = static_cast<qsizetype>(status.keywordCount);
        if (status.problem) {
            summary.problem = QString::fromStdString(store::describeProblem(*status.problem));
            summary.path = QString::fromStdString(status.path);
        }
        summaries.append(summary);
    }
    return summaries;
}

void connectUpdate(MainWindow& window, update_dialog::UpdateFileChooser chooseFile) {
    if (!chooseFile)
        chooseFile = update_dialog::openFileDialog(&window);
    QObject::connect(&window, &MainWindow::updateChosen, &window, [&window, chooseFile] {
        QLineEdit* searchBox = window.searchBox();
        update_dialog::UpdateCommand::forWindow(&window, window.programFolder(), chooseFile,
                                                [searchBox] { searchBox->setFocus(); })
            .run();
    });
}

// Closing the main window, however it is closed, leaves the exit screen; closing that ends the
// program.
void connectExit(MainWindow& window) {
    QObject::connect(&window, &MainWindow::unloading, [] {
        if (programIsEnding())
            return;
        weblinks::ExitScreen* screen = weblinks::showExitScreen();
        QObject::connect(screen, &weblinks::ExitScreen::endRequested,
                         [] { closeAllWindowsAndEnd(); });
    });
}

} // namespace

void assembleProgram(MainWindow& window, bool online, const ProgramOptions& options) {
    connectWebLinks(window);
    connectUpdate(window, options.chooseUpdateFile);
    connectExit(window);

    QLineEdit* searchBox = window.searchBox();
    auto* pane = new viewer::BrowserPane([searchBox] { return searchBox->text(); },
                                         options.makeBrowser ? options.makeBrowser() : nullptr);
    window.setDocumentWindow(pane);
    connectLookup(window, *pane);
    pane->setDictionarySummaries([&window] { return dictionarySummaries(window); });
    QObject::connect(&window, &MainWindow::onlineHelpChosen, pane,
                     [pane] { pane->showOwnPage(QString::fromLatin1(viewer::kHelpPageName)); });
    new ViewOptions(window, *pane, options.userStore.value_or(usersOwnStore()));
    pane->load(online);
}

StartupHooks programStartupHooks(ProgramOptions options) {
    StartupHooks hooks;
    hooks.runUpdateReminder = [] { runUpdateReminder(); };
    hooks.checkConnection = [] { return checkConnection(); };
    hooks.loadDocumentWindow = [options = std::move(options)](MainWindow& window, bool online) {
        assembleProgram(window, online, options);
    };
    return hooks;
}

} // namespace app
