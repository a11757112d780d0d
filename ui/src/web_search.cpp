#include "ui/web_search.h"

#include "ui/maker_addresses.h"
#include "ui/web_page.h"

#include <QUrl>

namespace ui {

QString webSearchTemplate() {
    // Set by the build from its cache variable.
    const QString pattern = QStringLiteral(AUGURLEX_WEB_SEARCH).trimmed();
    return pattern.isEmpty() ? QString::fromLatin1(kDefaultWebSearch) : pattern;
}

QString webSearchAddress(const QString& text, const QString& site, const QString& pattern) {
    QString query = text;
    while (query.startsWith(' '))
        query.remove(0, 1);
    while (query.endsWith(' '))
        query.chop(1);
    if (query.isEmpty()) {
        const QUrl engine(QString(pattern).remove(QStringLiteral("%s")));
        return engine
                   .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                             QUrl::RemoveUserInfo)
                   .toString(QUrl::FullyEncoded) +
               '/';
    }
    const QString host = site.isEmpty() ? QString() : QUrl(site).host();
    if (!host.isEmpty())
        query = "site:" + host + ' ' + query;
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(query));
    QString address = pattern;
    if (address.contains(QStringLiteral("%s")))
        address.replace(QStringLiteral("%s"), encoded);
    else
        address += encoded;
    return address;
}

QString webSearchAddress(const QString& text) {
    return webSearchAddress(text, makerAddress(MakerPage::Home).value_or(QString()),
                            webSearchTemplate());
}

void openWebSearch(const QString& text, const QString& site) {
    openWebPage(webSearchAddress(text, site, webSearchTemplate()));
}

void openWebSearch(const QString& text) {
    openWebPage(webSearchAddress(text));
}

} // namespace ui
