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

ReminderDates::Action ReminderDates::ActionFor(const QString& stored, const QDate& today) {
    const QDate last = QDate::fromString(stored, Qt::ISODate);
    // A value that is not a date would otherwise silence the reminder for good.
    if (!last.isValid())
        return Action::StoreToday;
    const qint64 days = today.daysTo(last);
    return days >= -kQuietDays && days <= kQuietDays ? Action::StayQuiet : Action::Ask;
}

QString ReminderDates::DateText(const QDate& date) {
    return date.toString(Qt::ISODate);
}

UpdateReminder::UpdateReminder(QSettings& settings, Today today, Ask ask, OpenPage openDownloadPage)
    : settings_(settings), today_(std::move(today)), ask_(std::move(ask)),
      openDownloadPage_(std::move(openDownloadPage)) {}

void UpdateReminder::Run() {
    const QDate today = today_();
    switch (ReminderDates::ActionFor(settings_.value(kDurationKey).toString(), today)) {
    case ReminderDates::Action::StayQuiet:
        return;
    case ReminderDates::Action::StoreToday:
        settings_.setValue(kDurationKey, ReminderDates::DateText(today));
        return;
    case ReminderDates::Action::Ask:
        break;
    }
    const ui::MessageAnswer answer =
        ask_({"There maybe an update to this software available\r"
              "Do you want to check for an update?",
              ui::MessageIcon::Information, ui::MessageButtons::YesNo});
    settings_.setValue(kDurationKey, ReminderDates::DateText(today));
    settings_.sync();
    if (answer == ui::MessageAnswer::Yes)
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
        [](const ui::MessageRequest& request) { return ui::ShowMessage(request); },
        [] { weblinks::OpenDownloadPage(); });
    reminder.Run();
}

} // namespace app
