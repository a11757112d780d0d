#include "viewer/own_page_html.h"

#include "ui/icons.h"
#include "viewer/own_pages.h"
#include "viewer/pane_address.h"

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
        "dt{font-weight:bold;margin-top:8px}dd{margin-left:18px}"
        "input,button{font:inherit;color:%2;background:%1;border:1px solid %5;"
        "border-radius:4px;padding:6px 10px}input{width:22em;max-width:70%}"
        "button{background:%6;cursor:pointer}.problem{color:%3}ul.keywords{columns:14em}");
    // Nothing of an own page comes from outside the program: no script, no remote picture.
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                          "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src "
                          "'none'; style-src 'unsafe-inline'; img-src data:\">"
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
        if (!dictionary.problem.isEmpty()) {
            rows += QStringLiteral("<tr><td>%1</td><td class=\"problem\">Cannot be read: %2<br>"
                                   "<code>%3</code></td></tr>")
                        .arg(dictionary.name.toHtmlEscaped(), dictionary.problem.toHtmlEscaped(),
                             dictionary.path.toHtmlEscaped());
            continue;
        }
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

namespace {

QString ownLink(const QUrl& address, const QString& text) {
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(QString::fromLatin1(address.toEncoded()).toHtmlEscaped(), text.toHtmlEscaped());
}

// A link to a web address, or the text alone for any other link.
QString webLink(const QString& link, const QString& text) {
    const QUrl url(link, QUrl::StrictMode);
    if (!isWebAddress(url))
        return text.toHtmlEscaped();
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(QString::fromLatin1(url.toEncoded()).toHtmlEscaped(), text.toHtmlEscaped());
}

QString quoted(const QString& text) {
    return QStringLiteral("\u201c") + text.toHtmlEscaped() + QStringLiteral("\u201d");
}

} // namespace

QString termPageHtml(const TermPage& page, const PageColours& colours) {
    const QString where = page.scope == QLatin1String("All")
                              ? QStringLiteral("the dictionaries")
                              : "the " + page.scope.toHtmlEscaped() + " dictionary";
    QString body = "<nav><a href=\"augurlex:start\">Start</a></nav>\n<h1>" +
                   page.term.toHtmlEscaped() + "</h1>\n";
    if (page.definition) {
        const bool web = isWebAddress(QUrl(*page.definition, QUrl::StrictMode));
        body += "<p>" +
                (web ? webLink(*page.definition, "Read the definition of " + page.term) +
                           " <span class=\"lead\">(" + page.definition->toHtmlEscaped() + ")</span>"
                     : "The definition stored for " + quoted(page.term) +
                           " is not a web page, so it cannot be shown.") +
                "</p>\n";
    } else {
        body += "<p class=\"lead\">No keyword of " + where + " is " + quoted(page.term) +
                ", so it has no definition page here.</p>\n";
    }
    if (!page.suggestions.isEmpty()) {
        QStringList links;
        for (const QString& suggestion : page.suggestions)
            links << ownLink(ownPageAddress(QString::fromLatin1(kTermPageName),
                                            {{"q", suggestion}, {"in", page.scope}}),
                             suggestion);
        body += "<p>Did you mean " + links.join(", ") + "?</p>\n";
    }
    if (!page.matches.isEmpty()) {
        body += "<h2>Keywords with " + quoted(page.term) + " in " + where +
                "</h2>\n<ul class=\"keywords\">";
        for (const TermMatch& match : page.matches)
            body += "<li>" + webLink(match.link, match.keyword) + "</li>";
        body += "</ul>\n";
        if (page.moreMatches)
            body += "<p class=\"lead\">And more: narrow the search in the list on the left.</p>\n";
    }
    body += "<h2>On the web</h2>\n<p>" +
            ownLink(ownPageAddress(QString::fromLatin1(kWebSearchName), {{"q", page.term}}),
                    QStringLiteral("Search the web for ") + page.term) +
            " <span class=\"lead\">(opens in your web browser)</span></p>";
    return ownPageDocument(page.term, body, colours);
}

QString searchPageHtml(const QString& engine, const QString& site, const PageColours& colours) {
    const QString restriction =
        site.isEmpty() ? QString() : " on " + site.toHtmlEscaped() + " only";
    const QString body =
        "<nav><a href=\"augurlex:start\">Start</a></nav>\n<h1>" + programIconImage() +
        "Search the web</h1>\n"
        "<p class=\"lead\">Type what you are looking for and press Enter: your web browser "
        "opens the results of " +
        engine.toHtmlEscaped() + restriction +
        ".</p>\n"
        "<form action=\"augurlex:websearch\" method=\"get\">"
        "<input type=\"search\" name=\"q\" aria-label=\"Search the web for\" autofocus> "
        "<button type=\"submit\" name=\"sa\">Search</button></form>\n"
        "<p>To find a keyword in the dictionaries, use the search box on the left.</p>";
    return ownPageDocument(QStringLiteral("Search the web"), body, colours);
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
