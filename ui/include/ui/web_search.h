// The program's one web search: an address template in which "%s" stands for the query, set by
// a distributor when building (AUGURLEX_WEB_SEARCH, by default the Google web search). When the
// build has the maker's site, a search is restricted to it ("site:HOST" before the text, which
// the common search engines understand). The search opens in the user's web browser.
#pragma once

#include <QString>

namespace ui {

inline constexpr const char* kDefaultWebSearch = "https://www.google.com/search?q=%s";

// This build's template.
QString webSearchTemplate();

// The address that searches for `text` (trimmed of spaces) with `pattern`, restricted to the
// host of `site` when site is not empty. The text goes in percent-encoded, so it can neither
// end the query nor add a parameter. An empty text gives the search engine's start page: the
// template's scheme and host.
QString webSearchAddress(const QString& text, const QString& site, const QString& pattern);

// This build's search for text, restricted to the maker's site when there is one.
QString webSearchAddress(const QString& text);

// Opens webSearchAddress(text, site, this build's template) in the default browser.
void openWebSearch(const QString& text, const QString& site);
// The same, with the maker's site when there is one.
void openWebSearch(const QString& text);

} // namespace ui
