// The program's own icons, drawn as SVG (a Qt resource), so they stay sharp at any scale.
#pragma once

#include <QIcon>
#include <QString>

namespace ui {

// Whether this Qt can draw SVG (its SVG plugin is installed). Without it the icons below are
// null and callers use the desktop theme's or the style's icons instead.
bool canDrawSvgIcons();

// The program: a crystal ball on a stand.
QIcon programIcon();

// A toolbar button's icon by its key ("Back", "Forward", "Stop", "Refresh", "Home", "Search");
// null for any other key.
QIcon toolbarIcon(const QString& key);

// The resource path of an icon by its file name ("home.svg").
QString iconResourcePath(const QString& fileName);

} // namespace ui
