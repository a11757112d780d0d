// The HTML of the pane's own pages: the start page, the help pages and their shared look, in the
// colours of the program's palette, so that they follow a light or dark desktop.
#pragma once

#include <QList>
#include <QString>
#include <optional>

class QPalette;

namespace viewer {

struct DictionarySummary {
    QString name;
    qsizetype keywordCount = 0;
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

// The start page: the program's name, how to search, the dictionaries with their keyword counts
// and the keyboard shortcuts.
QString startPageHtml(const QList<DictionarySummary>& dictionaries, const PageColours& colours);

// The help page of that name ("help", "help-wildcards", "help-updating", "help-shortcuts");
// nullopt for any other name.
std::optional<QString> helpPageHtml(const QString& name, const PageColours& colours);

// The keyboard shortcuts as an HTML table.
QString shortcutsTable();

} // namespace viewer
