#include "viewer/own_pages.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>

namespace viewer {

QUrl OwnPageAddress(const QString& name) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kOwnPageScheme));
    url.setPath(name);
    return url;
}

bool IsOwnPageAddress(const QUrl& url) {
    return url.isValid() && url.scheme() == QLatin1String(kOwnPageScheme);
}

QString OwnPageName(const QUrl& url) {
    return IsOwnPageAddress(url) ? url.path() : QString();
}

void RegisterOwnPageScheme() {
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
