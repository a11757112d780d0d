// The web search of the "Google Search" mode: the user's default browser opens a search for the
// text restricted to one site.
#pragma once

#include <QString>
#include <QUrl>

namespace viewer {

// The search results address: the text and the site, each percent-encoded.
QUrl siteSearchAddress(const QString& text, const QString& site);

class SiteSearch {
public:
    // Hands the search to the default browser (ui::OpenWebPage); when no browser can be
    // started nothing happens. The result means nothing and is always true.
    bool search(const QString& text, const QString& site);
};

} // namespace viewer
