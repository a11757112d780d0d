#include "ui/program_icon.h"

#include "ui/icons.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QWidget>

namespace ui {

QPixmap programIconPixmap(const QWidget& window) {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = programIcon();
    if (icon.isNull())
        icon = window.style()->standardIcon(QStyle::SP_FileDialogInfoView);
    return icon.pixmap(32, 32);
}

} // namespace ui
