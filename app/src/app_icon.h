// The program's icon, drawn at run time so the build needs no image files.
#pragma once

#include <QIcon>

namespace app {

QIcon ApplicationIcon();

} // namespace app
