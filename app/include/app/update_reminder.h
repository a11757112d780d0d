// Once per start, before the main window opens: when the last reminder (or the first run) lies
// more than 14 days away, ask the user whether to look for a newer version.
#pragma once

#include "ui/message_box.h"

#include <QDate>
#include <QString>
#include <functional>

class QSettings;

namespace app {

// The reminder's dates: what a start does with the stored date, and how a date is stored.
class ReminderDates {
public:
    enum class Action {
        StoreToday, // first run, or a stored value that is no date: start afresh without asking
        StayQuiet,  // the stored date lies within 14 days of today, either way
        Ask,        // ask, then store today whatever the answer
    };

    static Action actionFor(const QString& stored, const QDate& today);

    // ISO text, which reads back the same whatever the locale.
    static QString dateText(const QDate& date);
};

class UpdateReminder {
public:
    using Today = std::function<QDate()>;
    using Ask = std::function<ui::MessageAnswer(const ui::MessageRequest&)>;
    using OpenPage = std::function<void()>;

    // The reminder date is kept in `settings` under section "Settings", key "Duration".
    UpdateReminder(QSettings& settings, Today today, Ask ask, OpenPage openDownloadPage);

    // Reads the date, asks if it is due, and writes today's date after a first run or an answer.
    void run();

private:
    QSettings& settings_;
    Today today_;
    Ask ask_;
    OpenPage openDownloadPage_;
};

// The settings store of this user for this program: application name = the executable's file name
// without its extension.
QString settingsApplicationName();

// Runs the reminder on the user's settings store, with the system clock, the message box and the
// browser.
void runUpdateReminder();

} // namespace app
