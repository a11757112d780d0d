#include "update_reminder.h"

#include "weblinks/web_page.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace augurlex {
namespace {

constexpr const char* kDurationKey = "Settings/Duration";
constexpr qint64 kQuietDays = 14;

} // namespace

UpdateReminder::UpdateReminder(QSettings& settings, Today today, Ask ask, OpenPage openDownloadPage)
    : settings_(settings), today_(std::move(today)), ask_(std::move(ask)),
      openDownloadPage_(std::move(openDownloadPage)) {}

QString UpdateReminder::DateText(const QDate& date) {
    return date.toString(Qt::ISODate);
}

void UpdateReminder::Run() {
    const QDate today = today_();
    const QString stored = settings_.value(kDurationKey).toString();
    const QDate last = QDate::fromString(stored, Qt::ISODate);
    // A value that is not a date would otherwise silence the reminder for good: start afresh.
    if (!last.isValid()) {
        settings_.setValue(kDurationKey, DateText(today));
        return;
    }
    const qint64 days = today.daysTo(last);
    if (days >= -kQuietDays && days <= kQuietDays)
        return;

    const MessageAnswer answer = ask_({"There maybe an update to this software available\r"
                                       "Do you want to check for an update?",
                                       MessageIcon::Information, MessageButtons::YesNo});
    settings_.setValue(kDurationKey, DateText(today));
    settings_.sync();
    if (answer == MessageAnswer::Yes)
        openDownloadPage_();
}

QString SettingsApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void RunUpdateReminder() {
    const QString application = SettingsApplicationName();
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    UpdateReminder reminder(
        settings, [] { return QDate::currentDate(); },
        [](const MessageRequest& request) { return ShowMessage(request); },
        [] { modHelp::OpenDownloadPage(); });
    reminder.Run();
}

} // namespace augurlex
