#include "viewer/site_search.h"

#include "ui/web_page.h"
#include "viewer/search_service.h"

namespace viewer {

QUrl siteSearchAddress(const QString& text, const QString& site) {
    QByteArray address = QByteArray(kSearchRootURL) + "/search?q=" + QUrl::toPercentEncoding(text) +
                         "&sitesearch=" + QUrl::toPercentEncoding(site);
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

bool SiteSearch::search(const QString& text, const QString& site) {
    ui::openWebPage(QString::fromLatin1(siteSearchAddress(text, site).toEncoded()));
    return true;
}

} // namespace viewer
