#include "ui/link_label.h"

#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace ui {
namespace {

class LabelClickFilter : public QObject {
public:
    LabelClickFilter(QLabel& label, std::function<void()> onClick)
        : QObject(&label), label_(label), onClick_(std::move(onClick)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &label_)
            return false;
        if (event->type() == QEvent::KeyPress) {
            // Enter and Space act on a link that has the focus, as on a button.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                onClick_();
                return true;
            }
        } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            // A link with the focus is underlined, so the keyboard user sees where it is.
            QFont font = label_.font();
            font.setUnderline(event->type() == QEvent::FocusIn);
            label_.setFont(font);
        } else if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton)
                pressed_ = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            const bool wasPressed = pressed_;
            pressed_ = false;
            if (wasPressed && label_.rect().contains(mouse->position().toPoint()))
                onClick_();
        }
        return false;
    }

private:
    QLabel& label_;
    std::function<void()> onClick_;
    bool pressed_ = false;
};

} // namespace

void makeLabelClickable(QLabel& label, std::function<void()> onClick, LinkPointer pointer) {
    label.installEventFilter(new LabelClickFilter(label, std::move(onClick)));
    // Tab reaches it; a click does not take the focus from where the user is typing.
    label.setFocusPolicy(Qt::TabFocus);
    if (pointer == LinkPointer::Hand)
        label.setCursor(Qt::PointingHandCursor);
}

void colourAsLink(QLabel& label) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label.setPalette(palette);
}

} // namespace ui
