#include "ui/message_box.h"

#include <QMessageBox>

namespace ui {
namespace {

MessageHandler& handler() {
    static MessageHandler h;
    return h;
}

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void setMessageHandlerForTesting(MessageHandler h) {
    handler() = std::move(h);
}

MessageAnswer showMessage(const MessageRequest& request, QWidget* parent) {
    if (handler())
        return handler()(request);
    QString text = request.text;
    text.replace(QChar('\r'), QChar('\n'));
    QMessageBox box(toQt(request.icon), request.title, text,
                    request.buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                             : QMessageBox::Ok,
                    parent);
    box.setWindowModality(Qt::ApplicationModal);
    if (!request.details.isEmpty())
        box.setDetailedText(request.details);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace ui
