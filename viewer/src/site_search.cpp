#include "viewer/site_search.h"

#include "ui/web_page.h"
#include "viewer/search_service.h"

namespace viewer {

QUrl SiteSearchAddress(const QString& text, const QString& site) {
    QByteArray address = QByteArray(kSearchRootURL) + "/search?q=" + QUrl::toPercentEncoding(text) +
                         "&sitesearch=" + QUrl::toPercentEncoding(site);
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

bool SiteSearch::Search(const QString& text, const QString& site) {
    ui::OpenWebPage(QString::fromLatin1(SiteSearchAddress(text, site).toEncoded()));
    return true;
}

} // namespace viewer
