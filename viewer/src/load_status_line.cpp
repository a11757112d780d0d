#include "load_status_line.h"

#include <QEvent>

namespace viewer {

LoadStatusLine::LoadStatusLine(QWidget* pane) : QLabel(pane) {
    setObjectName(QStringLiteral("lblStatus"));
    setAccessibleName(tr("Loading"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setMargin(2);
    setTextFormat(Qt::PlainText);
    hide();
    pane->installEventFilter(this);
}

void LoadStatusLine::showState(const NavigationState& state) {
    if (!state.loading) {
        hide();
        return;
    }
    address_ = state.address.toDisplayString();
    progress_ = state.progress;
    place();
    show();
    raise();
}

bool LoadStatusLine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        place();
    return QLabel::eventFilter(watched, event);
}

void LoadStatusLine::place() {
    const QWidget* pane = parentWidget();
    const QString percent = QStringLiteral(" %1%").arg(progress_);
    const QString loading = tr("Loading ");
    const int frame = 2 * (frameWidth() + margin()) + 4;
    const int room = pane->width() - frame - fontMetrics().horizontalAdvance(loading + percent);
    setText(loading + fontMetrics().elidedText(address_, Qt::ElideMiddle, std::max(room, 0)) +
            percent);
    adjustSize();
    move(0, pane->height() - height());
}

} // namespace viewer
