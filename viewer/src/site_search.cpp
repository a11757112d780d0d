#include "viewer/site_search.h"

#include "weblinks/endpoints.h"
#include "weblinks/web_page.h"

namespace viewer {

QUrl SiteSearchAddress(const QString& text, const QString& site) {
    QByteArray address = QByteArray(augurlex::SearchRootURL) +
                         "/search?q=" + QUrl::toPercentEncoding(text) +
                         "&sitesearch=" + QUrl::toPercentEncoding(site);
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

bool SiteSearch::Search(const QString& text, const QString& site) {
    augurlex::OpenWebPage(QString::fromLatin1(SiteSearchAddress(text, site).toEncoded()));
    return true;
}

} // namespace viewer
