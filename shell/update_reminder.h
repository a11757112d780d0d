// Once per start, before the main window opens: when the last reminder (or the first run) lies
// more than 14 days away, ask the user whether to look for a newer version.
#pragma once

#include "message_box.h"

#include <QDate>
#include <QString>
#include <functional>

class QSettings;

namespace augurlex {

class UpdateReminder {
public:
    using Today = std::function<QDate()>;
    using Ask = std::function<MessageAnswer(const MessageRequest&)>;
    using OpenPage = std::function<void()>;

    // The reminder date is kept in `settings` under section "Settings", key "Duration".
    UpdateReminder(QSettings& settings, Today today, Ask ask, OpenPage openDownloadPage);

    // Reads the date, asks if it is due, and writes today's date after a first run or an answer.
    void Run();

    // The date as it is stored: ISO text, which reads back the same whatever the locale.
    static QString DateText(const QDate& date);

private:
    QSettings& settings_;
    Today today_;
    Ask ask_;
    OpenPage openDownloadPage_;
};

// The settings store of this user for this program: application name = the executable's file name
// without its extension.
QString SettingsApplicationName();

// Runs the reminder on the user's settings store, with the system clock, the message box and the
// browser.
void RunUpdateReminder();

} // namespace augurlex
