#include "viewer/pane_address.h"

namespace viewer {

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

std::optional<QUrl> paneAddress(const QString& text) {
    if (text.trimmed().isEmpty())
        return std::nullopt;
    QUrl url = QUrl::fromUserInput(text);
    if (!isWebAddress(url))
        return std::nullopt;
    return url;
}

} // namespace viewer
