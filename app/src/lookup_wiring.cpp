#include "app/lookup_wiring.h"

#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "lookup/lookup_commands.h"
#include "lookup/term_findings.h"
#include "ui/maker_addresses.h"
#include "ui/message_box.h"
#include "ui/web_search.h"
#include "viewer/browser_pane.h"

#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

namespace app {

namespace {

using lookup::SearchMode;

// The main window and its pane as the lookup commands see them.
class MainWindowLookupView : public QObject, public lookup::LookupView {
public:
    MainWindowLookupView(MainWindow& window, viewer::BrowserPane& pane)
        : QObject(&window), window_(window), pane_(pane) {}

    std::string searchText() const override { return window_.searchBox()->text().toStdString(); }
    std::string selectorText() const override {
        return window_.dictionarySelector()->currentText().toStdString();
    }
    std::vector<std::string> dictionaryNames() const override {
        std::vector<std::string> names;
        for (const QString& name : window_.dictionaryNames())
            names.push_back(name.toStdString());
        return names;
    }
    SearchMode mode() const override { return window_.searchMode(); }
    std::size_t keywordCount() const override {
        return static_cast<std::size_t>(window_.keywords().rowCount());
    }
    std::optional<std::string> selectedKeyword() const override {
        const QTableView* list = window_.keywordList();
        const QModelIndex current = list->currentIndex();
        if (!current.isValid() || !list->selectionModel()->isSelected(current))
            return std::nullopt;
        return current.data().toString().toStdString();
    }

    void showKeywords(std::vector<std::string> keywords) override {
        window_.keywords().setKeywords(keywords);
    }
    void setSearchText(const std::string& text) override {
        window_.searchBox()->setText(QString::fromStdString(text));
    }
    void showEnterTerm() override { tell(QStringLiteral("Please Enter Search Term")); }
    void showNotFound() override {
        tell(QStringLiteral("Keyword not found - Please search in google\r"
                            "Or write to us so that we can add the term in our dictionary"));
    }
    void showPage(const std::string& address) override {
        const QString page = QString::fromStdString(address);
        pane_.showPage(page);
        emit window_.definitionShown(window_.searchBox()->text().trimmed(), page);
    }
    void showBrowserWindow() override {
        pane_.show();
        pane_.raise();
    }
    void navigate(const std::string& address) override {
        pane_.navigate(QString::fromStdString(address));
    }
    void siteSearch(const std::string& text, const std::string& site) override {
        // A build without the maker's site searches the whole web.
        ui::openWebSearch(QString::fromStdString(text), QString::fromStdString(site));
    }
    void focusSearchBox() override { window_.searchBox()->setFocus(); }

private:
    // A lookup message, then the focus back in the search box.
    void tell(const QString& text) {
        ui::showMessage({text}, &window_);
        focusSearchBox();
    }

    MainWindow& window_;
    viewer::BrowserPane& pane_;
};

viewer::TermPage termPage(const MainWindow& window, const QString& term, const QString& scope) {
    std::vector<std::string> names;
    for (const QString& name : window.dictionaryNames())
        names.push_back(name.toStdString());
    const lookup::TermFindings findings = lookup::findTerm(
        window.programFolder().toStdString(), names, term.toStdString(), scope.toStdString());
    viewer::TermPage page;
    if (findings.definition)
        page.definition = QString::fromStdString(*findings.definition);
    for (const lookup::KeywordLink& match : findings.matches)
        page.matches.append(
            {QString::fromStdString(match.keyword), QString::fromStdString(match.link)});
    page.moreMatches = findings.moreMatches;
    for (const std::string& suggestion : findings.suggestions)
        page.suggestions.append(QString::fromStdString(suggestion));
    return page;
}

} // namespace

void connectLookup(MainWindow& window, viewer::BrowserPane& pane) {
    auto* view = new MainWindowLookupView(window, pane);
    auto commands = std::make_shared<lookup::LookupCommands>(
        lookup::LookupSettings{window.programFolder().toStdString(),
                               ui::makerAddress(ui::MakerPage::Home).value_or("").toStdString()},
        *view);
    // A live list still being filtered never lands over what a search shows.
    MainWindow* owner = &window;
    QObject::connect(owner, &MainWindow::searchClicked, view, [owner, commands] {
        owner->cancelLiveFilter();
        commands->searchButton();
    });
    QObject::connect(owner, &MainWindow::enterPressedInSearchBox, view, [owner, commands] {
        owner->cancelLiveFilter();
        commands->enterKey();
    });
    QObject::connect(owner, &MainWindow::displayClicked, view,
                     [commands] { commands->displayButton(); });
    QObject::connect(owner, &MainWindow::keywordDoubleClicked, view,
                     [commands] { commands->keywordDoubleClick(); });
    QObject::connect(&window, &MainWindow::searchOptionClicked, view,
                     [commands] { commands->optionClick(); });
    pane.setTermLookup([&window] { return window.dictionarySelector()->currentText(); },
                       [&window](const QString& term, const QString& scope) {
                           return termPage(window, term, scope);
                       });
    QObject::connect(&window, &MainWindow::toolbarButtonClicked, &pane,
                     &viewer::BrowserPane::onToolbarButton);
    // Back, Forward and Stop are enabled only while the pane's browser can do what they ask.
    const auto enableButtons = [&window](const viewer::NavigationState& state) {
        const std::pair<const char*, bool> buttons[] = {
            {"Back", state.canGoBack}, {"Forward", state.canGoForward}, {"Stop", state.loading}};
        for (const auto& [key, enabled] : buttons)
            if (auto* button = window.findChild<QAction*>(QString::fromLatin1(key)))
                button->setEnabled(enabled);
    };
    enableButtons({});
    QObject::connect(&pane, &viewer::BrowserPane::navigationStateChanged, &window, enableButtons);
}

} // namespace app
