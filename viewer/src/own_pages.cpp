#include "viewer/own_pages.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>

namespace viewer {

QUrl ownPageAddress(const QString& name) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kOwnPageScheme));
    url.setPath(name);
    return url;
}

bool isOwnPageAddress(const QUrl& url) {
    return url.isValid() && url.scheme() == QLatin1String(kOwnPageScheme);
}

QString ownPageName(const QUrl& url) {
    return isOwnPageAddress(url) ? url.path() : QString();
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
