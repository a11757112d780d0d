#include "ui/icons.h"

#include <QImageReader>

namespace ui {

bool canDrawSvgIcons() {
    static const bool can = QImageReader::supportedImageFormats().contains("svg");
    return can;
}

QString iconResourcePath(const QString& fileName) {
    return QStringLiteral(":/augurlex/icons/") + fileName;
}

QIcon programIcon() {
    if (!canDrawSvgIcons())
        return {};
    return QIcon(iconResourcePath(QStringLiteral("augurlex.svg")));
}

QIcon toolbarIcon(const QString& key) {
    static const QStringList kKeys = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};
    if (!canDrawSvgIcons() || !kKeys.contains(key))
        return {};
    return QIcon(iconResourcePath(key.toLower() + QStringLiteral(".svg")));
}

} // namespace ui
