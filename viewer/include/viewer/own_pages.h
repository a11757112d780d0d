// The pane's own pages (start page, help, the search page, the page for a term) live at addresses
// of the program's own scheme, "augurlex:start" and so on. They are real history entries, so Back
// and Forward reach them, and nothing but the program opens them: a dictionary's link or a typed
// term never does.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>

namespace viewer {

inline constexpr const char* kOwnPageScheme = "augurlex";

// The page names.
inline constexpr const char* kStartPageName = "start";
inline constexpr const char* kSearchPageName = "search";
inline constexpr const char* kHelpPageName = "help";
// The page for a term: "augurlex:term?q=TERM&in=SCOPE".
inline constexpr const char* kTermPageName = "term";
// Not a page: a link or form of an own page that goes here runs the web search for its "q" in
// the user's web browser (pane_page.h).
inline constexpr const char* kWebSearchName = "websearch";

// The address of an own page; each query item's value is percent-encoded whole (spaces as %20,
// "+" as %2B), so that any text comes back as it went in.
QUrl ownPageAddress(const QString& name, const QList<std::pair<QString, QString>>& query = {});
bool isOwnPageAddress(const QUrl& url);
// The page name of an own address ("start" for "augurlex:start").
QString ownPageName(const QUrl& url);
// The value of a query item of an own address; a "+" stands for a space, as a form sends it.
QString ownPageQueryItem(const QUrl& url, const QString& key);

// Makes the scheme known to Qt WebEngine; runs once, before the application object exists
// (see web_engine_browser.cpp). Later calls do nothing.
void registerOwnPageScheme();

// Gives a page's HTML by its address; nullopt for an address that is no page.
using OwnPageSource = std::function<std::optional<QString>(const QUrl& address)>;

} // namespace viewer
