#include "viewer/own_page_html.h"

#include "ui/icons.h"

#include <QFile>
#include <QLocale>
#include <QPalette>
#include <utility>

namespace viewer {
namespace {

const QList<std::pair<const char*, const char*>> kHelpPages = {
    {"help", "Searching"},
    {"help-wildcards", "Wildcards"},
    {"help-updating", "Updating the dictionaries"},
    {"help-shortcuts", "Keyboard shortcuts"},
};

struct Shortcut {
    const char* keys;
    const char* where;
    const char* action;
};

const QList<Shortcut> kShortcuts = {
    {"Alt+D", "", "Display the definition of the selected keyword"},
    {"Enter", "in the keyword list", "Display the definition of the selected keyword"},
    {"Up, Down", "in the keyword list", "Move to a keyword and copy it into the search box"},
    {"Enter", "in the search box", "Search"},
    {"Ctrl+L, Ctrl+F", "", "Go to the search box"},
    {"Alt+Left, Alt+Right", "", "Back, Forward"},
    {"F5", "", "Reload the page"},
    {"Escape", "in this pane", "Stop loading the page"},
    {"Ctrl+Q", "", "Exit"},
};

QString fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString programIconImage() {
    QFile file(ui::iconResourcePath(QStringLiteral("augurlex.svg")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QStringLiteral("<img class=\"icon\" alt=\"\" src=\"data:image/svg+xml;base64,%1\">")
        .arg(QString::fromLatin1(file.readAll().toBase64()));
}

QString helpLinks(const QString& current) {
    QStringList links{QStringLiteral("<a href=\"augurlex:start\">Start</a>")};
    for (const auto& [name, title] : kHelpPages) {
        if (current == QLatin1String(name))
            links << QStringLiteral("<b>%1</b>").arg(title);
        else
            links << QStringLiteral("<a href=\"augurlex:%1\">%2</a>").arg(name, title);
    }
    return "<nav>" + links.join(" &middot; ") + "</nav>";
}

} // namespace

PageColours coloursOf(const QPalette& palette) {
    return {palette.color(QPalette::Base).name(),
            palette.color(QPalette::Text).name(),
            palette.color(QPalette::PlaceholderText).name(),
            palette.color(QPalette::Link).name(),
            palette.color(QPalette::Mid).name(),
            palette.color(QPalette::AlternateBase).name()};
}

QString ownPageDocument(const QString& title, const QString& body, const PageColours& colours) {
    const QString style = QStringLiteral(
        "body{background:%1;color:%2;font-family:sans-serif;font-size:15px;line-height:1.5;"
        "margin:20px 28px;max-width:46em}"
        "h1{font-size:24px;margin:0 0 12px}h2{font-size:17px;margin:22px 0 6px}"
        "a{color:%4}nav{color:%3;font-size:13px;margin-bottom:16px}"
        ".lead{color:%3}.icon{width:40px;height:40px;vertical-align:middle;margin-right:10px}"
        "table{border-collapse:collapse;margin:6px 0}"
        "th,td{text-align:left;padding:4px 14px 4px 6px;border-bottom:1px solid %5}"
        "tr:nth-child(even) td{background:%6}td.count{text-align:right}"
        "kbd,code{font-family:monospace;font-size:14px}"
        "dt{font-weight:bold;margin-top:8px}dd{margin-left:18px}");
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                          "<title>%1</title><style>%2</style></head>\n<body>\n%3\n</body></html>\n")
        .arg(title.toHtmlEscaped(),
             style.arg(colours.background, colours.text, colours.muted, colours.link,
                       colours.border, colours.stripe),
             body);
}

QString shortcutsTable() {
    QString rows = QStringLiteral("<tr><th>Keys</th><th>What they do</th></tr>");
    for (const Shortcut& shortcut : kShortcuts)
        rows += QStringLiteral("<tr><td><kbd>%1</kbd> %2</td><td>%3</td></tr>")
                    .arg(shortcut.keys, shortcut.where, shortcut.action);
    return "<table>" + rows + "</table>";
}

QString startPageHtml(const QList<DictionarySummary>& dictionaries, const PageColours& colours) {
    const QLocale locale;
    QString rows = QStringLiteral("<tr><th>Dictionary</th><th>Keywords</th></tr>");
    qsizetype total = 0;
    for (const DictionarySummary& dictionary : dictionaries) {
        rows += QStringLiteral("<tr><td>%1</td><td class=\"count\">%2</td></tr>")
                    .arg(dictionary.name.toHtmlEscaped(), locale.toString(dictionary.keywordCount));
        total += dictionary.keywordCount;
    }
    rows += QStringLiteral("<tr><td><b>All</b></td><td class=\"count\"><b>%1</b></td></tr>")
                .arg(locale.toString(total));
    const QString dictionaryPart =
        dictionaries.isEmpty()
            ? QStringLiteral("<p>No dictionary could be read. File &#9656; Update adds one from "
                             "an update file.</p>")
            : "<table>" + rows + "</table>";
    const QString body =
        "<h1>" + programIconImage() +
        "Augurlex</h1>\n"
        "<p class=\"lead\">A reference of divination terms: astrology, tarot, runes, "
        "numerology, dreams and more.</p>\n"
        "<h2>How to search</h2>\n<ol>"
        "<li>Choose a dictionary, or \"All\", in the list at the top left.</li>"
        "<li>Type a term in the search box and press Enter. \"Exact Search\" lists the keywords "
        "that begin with it, \"Use WildCard (*)\" those that contain it.</li>"
        "<li>Double-click a keyword, or select it and press Enter or Display, to read its "
        "definition here.</li></ol>\n"
        "<h2>Dictionaries</h2>\n" +
        dictionaryPart + "\n<h2>Keyboard shortcuts</h2>\n" + shortcutsTable() +
        "\n<p>More in the <a href=\"augurlex:help\">help pages</a>.</p>";
    return ownPageDocument(QStringLiteral("Augurlex"), body, colours);
}

std::optional<QString> helpPageHtml(const QString& name, const PageColours& colours) {
    for (const auto& [page, title] : kHelpPages) {
        if (name != QLatin1String(page))
            continue;
        QString body = fileText(QStringLiteral(":/augurlex/pages/") + name + ".html");
        body.replace(QStringLiteral("@SHORTCUTS@"), shortcutsTable());
        return ownPageDocument(QString::fromLatin1(title), helpLinks(name) + "\n" + body, colours);
    }
    return std::nullopt;
}

} // namespace viewer
