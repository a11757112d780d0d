#include "text_box_rules.h"

#include "ui/message_box.h"
#include "weblinks/referral_request.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace weblinks {
namespace {

QString textOf(QObject* box) {
    if (auto* line = qobject_cast<QLineEdit*>(box))
        return line->text();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box))
        return multi->toPlainText();
    return {};
}

void setTextOf(QObject* box, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(box))
        multi->setPlainText(text);
}

bool movesFocusWithinWindow(const QFocusEvent& event) {
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

class PlaceholderFilter : public QObject {
public:
    PlaceholderFilter(QObject& box, QString placeholder)
        : QObject(&box), placeholder_(std::move(placeholder)) {}

protected:
    bool eventFilter(QObject* box, QEvent* event) override {
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
            return false;
        if (!movesFocusWithinWindow(*static_cast<QFocusEvent*>(event)))
            return false;
        const QString trimmed = trimSpaces(textOf(box));
        if (event->type() == QEvent::FocusIn && trimmed == placeholder_)
            setTextOf(box, QString());
        else if (event->type() == QEvent::FocusOut && trimmed.isEmpty())
            setTextOf(box, placeholder_);
        return false;
    }

private:
    QString placeholder_;
};

class SpaceRefusal : public QObject {
public:
    explicit SpaceRefusal(QWidget& box) : QObject(&box), box_(box) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        if (static_cast<QKeyEvent*>(event)->text() != QLatin1String(" "))
            return false;
        ui::showMessage({"Email Address Cannot Contain Space", ui::MessageIcon::Critical,
                         ui::MessageButtons::Ok},
                        box_.window());
        box_.setFocus(Qt::OtherFocusReason);
        return true;
    }

private:
    QWidget& box_;
};

} // namespace

void addPlaceholder(QWidget& textBox, const QString& placeholder) {
    textBox.installEventFilter(new PlaceholderFilter(textBox, placeholder));
}

void rejectTypedSpaces(QWidget& textBox) {
    textBox.installEventFilter(new SpaceRefusal(textBox));
}

} // namespace weblinks
