// The browser pane: the main window's document window that shows definition pages and the pane's
// own pages, its offline notice, and what the navigation toolbar's buttons do to it. A term
// handed over where an address may come (pane_address.h) is shown on the pane's page for it.
#pragma once

#include "viewer/browser.h"
#include "viewer/own_page_html.h"

#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace viewer {

// The offline notice.
inline constexpr const char* kOfflineCaption =
    "You must be connected to the internet in order to use this software.";

class BrowserPane : public QWidget {
    Q_OBJECT
public:
    // searchText gives the main window's search box text. browser: nullptr for the real one.
    explicit BrowserPane(std::function<QString()> searchText, std::unique_ptr<Browser> browser = {},
                         QWidget* parent = nullptr);
    ~BrowserPane() override;

    Browser& browser() const { return *browser_; }
    QLabel* offlineNotice() const { return offlineNotice_; }

    // The dictionaries the start page lists, asked for each time it is shown.
    void setDictionarySummaries(std::function<QList<DictionarySummary>()> summaries);
    // What the page for a term shows: `scope` gives the scope when the term is handed over (the
    // selector's text), `lookUp` the findings when the page is built.
    using TermLookup = std::function<TermPage(const QString& term, const QString& scope)>;
    void setTermLookup(std::function<QString()> scope, TermLookup lookUp);

    // The home page: the maker's site when this build has one, otherwise the start page.
    static QUrl homeAddress();

    // The load step. Online it opens the pending address: the home page when there is none; when
    // it is the search service's root, the web search for the search box text (trimmed) in the
    // user's web browser, then that text in the pane; the address itself otherwise. Offline it
    // hides the browser behind the notice and opens nothing.
    void load(bool online, const QString& pendingAddress = {});
    // Navigates to the address and brings the pane forward; offline the browser stays hidden.
    void showPage(const QString& address);
    // The pane, to a link or a term: a web address is opened, a term (any other text without a
    // scheme) gets the page for it, an address of another scheme and an empty text nothing.
    void navigate(const QString& text);
    // One of the pane's own pages by its name (own_pages.h); shown even after an offline start,
    // since it needs no network.
    void showOwnPage(const QString& name);
    // A toolbar button, by its key (compared exactly); an unknown key does nothing.
    void onToolbarButton(const QString& key);

    // The HTML of an own page by its address or name, in the colours of the current palette.
    std::optional<QString> ownPage(const QUrl& address) const;
    std::optional<QString> ownPage(const QString& name) const;

signals:
    // The browser's state changed: what Back, Forward and Stop can do, what is loading.
    void navigationStateChanged(const viewer::NavigationState& state);

private:
    void showOfflineNotice();

    std::function<QString()> searchText_;
    std::function<QList<DictionarySummary>()> summaries_;
    std::function<QString()> termScope_;
    TermLookup termLookup_;
    std::unique_ptr<Browser> browser_;
    QLabel* offlineNotice_ = nullptr;
};

} // namespace viewer
