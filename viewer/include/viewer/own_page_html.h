// The HTML of the pane's own pages: the start page, the help pages and their shared look, in the
// colours of the program's palette, so that they follow a light or dark desktop.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QPalette;

namespace viewer {

struct DictionarySummary {
    QString name;
    qsizetype keywordCount = 0;
    // Set when the file cannot be read: what is wrong ("the file is damaged") and where it is.
    QString problem;
    QString path;
};

// What the dictionaries in scope hold for a term (lookup/term_findings.h).
struct TermMatch {
    QString keyword;
    QString link;
};
struct TermPage {
    QString term;
    QString scope; // "All" or the dictionary's name
    std::optional<QString> definition;
    QList<TermMatch> matches;
    bool moreMatches = false;
    QStringList suggestions;
};

struct PageColours {
    QString background;
    QString text;
    QString muted;
    QString link;
    QString border;
    QString stripe;
};

PageColours coloursOf(const QPalette& palette);

// A whole page: the shared head and style around a body.
QString ownPageDocument(const QString& title, const QString& body, const PageColours& colours);

// The start page: the program's name, how to search, every dictionary with its keyword count or
// why it cannot be read, and the keyboard shortcuts.
QString startPageHtml(const QList<DictionarySummary>& dictionaries, const PageColours& colours);

// The page for a term that is no web address: its definition link, the keywords that match it,
// what it may have meant and a link that searches the web for it. Every dictionary text is
// escaped, and only web addresses become links out of the page.
QString termPageHtml(const TermPage& page, const PageColours& colours);

// The search page: a form that runs the web search (ui/web_search.h) for what is typed in the
// user's web browser; `engine` names the search engine's host, `site` the site it is restricted
// to (empty for none).
QString searchPageHtml(const QString& engine, const QString& site, const PageColours& colours);

// The help page of that name ("help", "help-wildcards", "help-updating", "help-shortcuts");
// nullopt for any other name.
std::optional<QString> helpPageHtml(const QString& name, const PageColours& colours);

// The keyboard shortcuts as an HTML table.
QString shortcutsTable();

} // namespace viewer
