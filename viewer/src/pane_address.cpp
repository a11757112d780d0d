#include "viewer/pane_address.h"

#include <QRegularExpression>
#include <algorithm>

namespace viewer {

namespace {

bool isHostName(const QString& host) {
    const QStringList labels = host.split('.');
    if (labels.size() < 2)
        return false;
    bool numbers = true;
    for (const QString& label : labels) {
        if (label.isEmpty() || label.startsWith('-') || label.endsWith('-'))
            return false;
        for (const QChar c : label) {
            if (!c.isLetterOrNumber() && c != '-')
                return false;
            numbers = numbers && c.isDigit();
        }
    }
    if (numbers)
        return labels.size() == 4;
    return std::any_of(labels.last().begin(), labels.last().end(),
                       [](QChar c) { return c.isLetter(); });
}

// A host name with a dot, an optional port, then anything without spaces.
bool isBareAddress(const QString& text) {
    if (text.contains(QRegularExpression(QStringLiteral("\\s"))))
        return false;
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[/?#]")));
    QString host = end < 0 ? text : text.left(end);
    static const QRegularExpression port(QStringLiteral(":[0-9]{1,5}$"));
    host.remove(port);
    return isHostName(host);
}

} // namespace

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool hasScheme(const QString& text) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QString trimmed = text.trimmed();
    return trimmed.contains(scheme) && !isBareAddress(trimmed);
}

std::optional<QUrl> paneAddress(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QUrl url;
    if (hasScheme(trimmed))
        url = QUrl(trimmed, QUrl::TolerantMode);
    else if (isBareAddress(trimmed))
        url = QUrl(QStringLiteral("http://") + trimmed, QUrl::TolerantMode);
    if (!isWebAddress(url) || url.host().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace viewer
