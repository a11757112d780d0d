#include "ui/program_icon.h"

#include "ui/icons.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QWidget>

namespace ui {

QPixmap ProgramIconPixmap(const QWidget& window) {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = ProgramIcon();
    if (icon.isNull())
        icon = window.style()->standardIcon(QStyle::SP_FileDialogInfoView);
    return icon.pixmap(32, 32);
}

} // namespace ui
