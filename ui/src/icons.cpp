#include "ui/icons.h"

#include <QImageReader>

namespace ui {

bool CanDrawSvgIcons() {
    static const bool can = QImageReader::supportedImageFormats().contains("svg");
    return can;
}

QString IconResourcePath(const QString& fileName) {
    return QStringLiteral(":/augurlex/icons/") + fileName;
}

QIcon ProgramIcon() {
    if (!CanDrawSvgIcons())
        return {};
    return QIcon(IconResourcePath(QStringLiteral("augurlex.svg")));
}

QIcon ToolbarIcon(const QString& key) {
    static const QStringList kKeys = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};
    if (!CanDrawSvgIcons() || !kKeys.contains(key))
        return {};
    return QIcon(IconResourcePath(key.toLower() + QStringLiteral(".svg")));
}

} // namespace ui
