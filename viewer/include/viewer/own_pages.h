// The pane's own pages (start page, help, web-search form) live at addresses of the program's own
// scheme, "augurlex:start" and so on. They are real history entries, so Back and Forward reach
// them, and nothing but the program opens them: a dictionary's link or a typed term never does.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace viewer {

inline constexpr const char* kOwnPageScheme = "augurlex";

// The page names.
inline constexpr const char* kStartPageName = "start";
inline constexpr const char* kSearchPageName = "search";
inline constexpr const char* kHelpPageName = "help";

QUrl ownPageAddress(const QString& name);
bool isOwnPageAddress(const QUrl& url);
// The page name of an own address ("start" for "augurlex:start").
QString ownPageName(const QUrl& url);

// Makes the scheme known to Qt WebEngine; runs once, before the application object exists
// (see web_engine_browser.cpp). Later calls do nothing.
void registerOwnPageScheme();

// Gives a page's HTML by its name; nullopt for a name that is no page.
using OwnPageSource = std::function<std::optional<QString>(const QString& name)>;

} // namespace viewer
