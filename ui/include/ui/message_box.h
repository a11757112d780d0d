// Every message the program shows goes through ShowMessage: a modal box titled with the
// application title, with a fixed icon and buttons. Tests replace the box with a handler that
// records the request and answers it.
#pragma once

#include "ui/program_title.h"

#include <QString>
#include <functional>

class QWidget;

namespace ui {

enum class MessageIcon { Information, Critical, Question, Warning };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
    QString text; // lines separated by carriage returns (character 13), as the program writes them
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    QString title = kApplicationTitle;
    // Plain text behind the box's details button (lines separated by '\n'); empty for none.
    QString details = {};
};

// Shows the box and waits for the answer (Ok for a box with only an OK button).
MessageAnswer showMessage(const MessageRequest& request, QWidget* parent = nullptr);

// Replaces the box for tests; an empty handler restores it.
using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;
void setMessageHandlerForTesting(MessageHandler handler);

} // namespace ui
