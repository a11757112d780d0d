#include "viewer/own_pages.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>

namespace viewer {

QUrl ownPageAddress(const QString& name, const QList<std::pair<QString, QString>>& query) {
    QByteArray address = QByteArray(kOwnPageScheme) + ':' + QUrl::toPercentEncoding(name);
    for (qsizetype i = 0; i < query.size(); ++i) {
        address += i == 0 ? '?' : '&';
        address += QUrl::toPercentEncoding(query[i].first) + '=' +
                   QUrl::toPercentEncoding(query[i].second);
    }
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

bool isOwnPageAddress(const QUrl& url) {
    return url.isValid() && url.scheme() == QLatin1String(kOwnPageScheme);
}

QString ownPageName(const QUrl& url) {
    return isOwnPageAddress(url) ? url.path() : QString();
}

QString ownPageQueryItem(const QUrl& url, const QString& key) {
    const QStringList items = url.query(QUrl::FullyEncoded).split('&');
    for (const QString& item : items) {
        const qsizetype equals = item.indexOf('=');
        const QString name = equals < 0 ? item : item.left(equals);
        if (QUrl::fromPercentEncoding(name.toLatin1()) != key)
            continue;
        QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1).toLatin1();
        value.replace('+', ' ');
        return QUrl::fromPercentEncoding(value);
    }
    return {};
}

void registerOwnPageScheme() {
    static bool registered = false;
    if (registered || QCoreApplication::instance() != nullptr)
        return;
    registered = true;
    QWebEngineUrlScheme scheme(kOwnPageScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Local: web pages can neither link to nor load the program's own pages.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

} // namespace viewer
