#include "app/update_reminder.h"

#include "weblinks/launchers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace app {
namespace {

constexpr const char* kDurationKey = "Settings/Duration";
constexpr qint64 kQuietDays = 14;

} // namespace

ReminderDates::Action ReminderDates::actionFor(const QString& stored, const QDate& today) {
    const QDate last = QDate::fromString(stored, Qt::ISODate);
    // A value that is not a date would otherwise silence the reminder for good.
    if (!last.isValid())
        return Action::StoreToday;
    const qint64 days = today.daysTo(last);
    return days >= -kQuietDays && days <= kQuietDays ? Action::StayQuiet : Action::Ask;
}

QString ReminderDates::dateText(const QDate& date) {
    return date.toString(Qt::ISODate);
}

UpdateReminder::UpdateReminder(QSettings& settings, Today today, Ask ask, OpenPage openDownloadPage)
    : settings_(settings), today_(std::move(today)), ask_(std::move(ask)),
      openDownloadPage_(std::move(openDownloadPage)) {}

void UpdateReminder::run() {
    const QDate today = today_();
    switch (ReminderDates::actionFor(settings_.value(kDurationKey).toString(), today)) {
    case ReminderDates::Action::StayQuiet:
        return;
    case ReminderDates::Action::StoreToday:
        settings_.setValue(kDurationKey, ReminderDates::dateText(today));
        return;
    case ReminderDates::Action::Ask:
        break;
    }
    const ui::MessageAnswer answer =
        ask_({"There maybe an update to this software available\r"
              "Do you want to check for an update?",
              ui::MessageIcon::Information, ui::MessageButtons::YesNo});
    settings_.setValue(kDurationKey, ReminderDates::dateText(today));
    settings_.sync();
    if (answer == ui::MessageAnswer::Yes)
        openDownloadPage_();
}

QString settingsApplicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void runUpdateReminder() {
    const QString application = settingsApplicationName();
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, application);
    UpdateReminder reminder(
        settings, [] { return QDate::currentDate(); },
        [](const ui::MessageRequest& request) { return ui::showMessage(request); },
        [] { weblinks::openDownloadPage(); });
    reminder.run();
}

} // namespace app
