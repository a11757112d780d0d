#include "app/lookup_wiring.h"

#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "lookup/lookup_commands.h"
#include "ui/maker_addresses.h"
#include "ui/message_box.h"
#include "viewer/browser_pane.h"
#include "viewer/site_search.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTreeView>

namespace app {

namespace {

using lookup::SearchMode;

// The main window and its pane as the lookup commands see them.
class MainWindowLookupView : public QObject, public lookup::LookupView {
public:
    MainWindowLookupView(MainWindow& window, viewer::BrowserPane& pane)
        : QObject(&window), window_(window), pane_(pane) {}

    std::string SearchText() const override { return window_.SearchBox()->text().toStdString(); }
    std::string SelectorText() const override {
        return window_.DictionarySelector()->currentText().toStdString();
    }
    std::vector<std::string> DictionaryNames() const override {
        std::vector<std::string> names;
        for (const QString& name : window_.DictionaryNames())
            names.push_back(name.toStdString());
        return names;
    }
    SearchMode Mode() const override {
        if (window_.WebSearchChosen())
            return SearchMode::Web;
        return window_.WildcardChosen() ? SearchMode::Wildcard : SearchMode::Exact;
    }
    std::size_t KeywordCount() const override {
        return static_cast<std::size_t>(window_.Keywords().rowCount());
    }
    std::optional<std::string> SelectedKeyword() const override {
        const QTreeView* list = window_.KeywordList();
        const QModelIndex current = list->currentIndex();
        if (!current.isValid() || !list->selectionModel()->isSelected(current))
            return std::nullopt;
        return current.data().toString().toStdString();
    }

    void ShowKeywords(std::vector<std::string> keywords) override {
        window_.Keywords().SetKeywords(keywords);
    }
    void SetSearchText(const std::string& text) override {
        window_.SearchBox()->setText(QString::fromStdString(text));
    }
    void ShowEnterTerm() override { tell(QStringLiteral("Please Enter Search Term")); }
    void ShowNotFound() override {
        tell(QStringLiteral("Keyword not found - Please search in google\r"
                            "Or write to us so that we can add the term in our dictionary"));
    }
    void ShowPage(const std::string& address) override {
        pane_.ShowPage(QString::fromStdString(address));
    }
    void ShowBrowserWindow() override {
        pane_.show();
        pane_.raise();
    }
    void Navigate(const std::string& address) override {
        pane_.Navigate(QString::fromStdString(address));
    }
    void SiteSearch(const std::string& text, const std::string& site) override {
        // A build without the maker's site has no site to search.
        if (site.empty()) {
            ui::ShowMessage({QString::fromLatin1(ui::kNoMakerAddressMessage)}, &window_);
            return;
        }
        viewer::SiteSearch().Search(QString::fromStdString(text), QString::fromStdString(site));
    }
    void FocusSearchBox() override { window_.SearchBox()->setFocus(); }

private:
    // A lookup message, then the focus back in the search box.
    void tell(const QString& text) {
        ui::ShowMessage({text}, &window_);
        FocusSearchBox();
    }

    MainWindow& window_;
    viewer::BrowserPane& pane_;
};

} // namespace

void ConnectLookup(MainWindow& window, viewer::BrowserPane& pane) {
    auto* view = new MainWindowLookupView(window, pane);
    auto commands = std::make_shared<lookup::LookupCommands>(
        lookup::LookupSettings{window.ProgramFolder().toStdString(),
                               ui::MakerAddress(ui::MakerPage::Home).value_or("").toStdString()},
        *view);
    QObject::connect(&window, &MainWindow::searchClicked, view,
                     [commands] { commands->SearchButton(); });
    QObject::connect(&window, &MainWindow::enterPressedInSearchBox, view,
                     [commands] { commands->EnterKey(); });
    QObject::connect(&window, &MainWindow::displayClicked, view,
                     [commands] { commands->DisplayButton(); });
    QObject::connect(&window, &MainWindow::keywordDoubleClicked, view,
                     [commands] { commands->KeywordDoubleClick(); });
    QObject::connect(&window, &MainWindow::searchOptionClicked, view,
                     [commands] { commands->OptionClick(); });
    QObject::connect(&window, &MainWindow::toolbarButtonClicked, &pane,
                     &viewer::BrowserPane::OnToolbarButton);
}

} // namespace app
