#include "app/view_options.h"

#include "app/main_window.h"
#include "app/update_reminder.h"
#include "store/dictionary_folder_choice.h"
#include "ui/message_box.h"
#include "viewer/browser_pane.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSplitter>
#include <exception>

namespace app {

namespace {

constexpr const char* kSearchAsYouTypeKey = "View/SearchAsYouType";
constexpr const char* kRememberKey = "View/RememberWindowAndHistory";
constexpr const char* kWindowSection = "Window";
constexpr const char* kGeometryKey = "Window/Geometry";
constexpr const char* kLookupWidthKey = "Window/LookupWidth";
constexpr const char* kDictionaryKey = "Window/Dictionary";
constexpr const char* kModeKey = "Window/Mode";
constexpr const char* kHistoryFileName = "history.txt";

const QStringList kModeNames = {"exact", "wildcard", "web"};

QString modeName(lookup::SearchMode mode) {
    return mode == lookup::SearchMode::Web        ? kModeNames[2]
           : mode == lookup::SearchMode::Wildcard ? kModeNames[1]
                                                  : kModeNames[0];
}

} // namespace

UserStore usersOwnStore() {
    const QString application = settingsApplicationName();
    return {QSettings(QSettings::NativeFormat, QSettings::UserScope, application, application)
                .fileName(),
            QString::fromStdString(store::userDataFolder(store::UserEnvironment::fromProcess()))};
}

ViewOptions::ViewOptions(MainWindow& window, viewer::BrowserPane& pane, const UserStore& store)
    : QObject(&window), window_(window), pane_(pane),
      settings_(store.settingsFile, QSettings::NativeFormat), dataFolder_(store.dataFolder) {
    QAction* live = window_.searchAsYouTypeOption();
    QAction* remember = window_.rememberOption();
    live->setChecked(settings_.value(kSearchAsYouTypeKey, false).toBool());
    remember->setChecked(settings_.value(kRememberKey, false).toBool());
    // Only the user's own choice is stored (triggered, unlike toggled, is never the program's).
    connect(live, &QAction::triggered, this, [this](bool on) {
        settings_.setValue(kSearchAsYouTypeKey, on);
        settings_.sync();
    });
    connect(remember, &QAction::triggered, this, [this](bool on) {
        settings_.setValue(kRememberKey, on);
        if (on)
            writeHistory();
        else
            forgetWindow();
        settings_.sync();
    });
    if (remembering()) {
        restoreWindow();
        readHistory();
    }
    connect(&window_, &MainWindow::definitionShown, this, &ViewOptions::record);
    connect(&window_, &MainWindow::unloading, this, [this] {
        if (remembering())
            saveWindow();
    });
    fillHistoryMenu();
}

bool ViewOptions::remembering() const {
    return window_.rememberOption()->isChecked();
}

QString ViewOptions::historyFile() const {
    return QDir(dataFolder_).filePath(QString::fromLatin1(kHistoryFileName));
}

void ViewOptions::restoreWindow() {
    window_.restoreGeometry(settings_.value(kGeometryKey).toByteArray());
    const int width = settings_.value(kLookupWidthKey, 0).toInt();
    if (width > 0) {
        QSplitter* splitter = window_.lookupSplitter();
        const QList<int> sizes = splitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        splitter->setSizes({width, std::max(total - width, 1)});
    }
    // A dictionary no longer listed leaves "All" chosen.
    const QString dictionary = settings_.value(kDictionaryKey).toString();
    if (!dictionary.isEmpty())
        window_.chooseDictionary(dictionary);
    const qsizetype mode = kModeNames.indexOf(settings_.value(kModeKey).toString());
    if (mode >= 0)
        window_.setSearchMode(static_cast<lookup::SearchMode>(mode));
}

void ViewOptions::saveWindow() {
    settings_.setValue(kGeometryKey, window_.saveGeometry());
    settings_.setValue(kLookupWidthKey, window_.lookupSplitter()->sizes().value(0));
    settings_.setValue(kDictionaryKey, window_.dictionarySelector()->currentText());
    settings_.setValue(kModeKey, modeName(window_.searchMode()));
    settings_.sync();
}

void ViewOptions::forgetWindow() {
    settings_.remove(QString::fromLatin1(kWindowSection));
    QFile::remove(historyFile());
}

void ViewOptions::readHistory() {
    lookup::HistoryReading reading = lookup::readHistoryFile(historyFile().toStdString());
    history_ = std::move(reading.history);
    if (!reading.problem)
        return;
    QString text = "The history of opened definitions could not be read\r" + historyFile() + ": " +
                   QString::fromStdString(*reading.problem) + "\r";
    text += reading.setAsideAs.empty()
                ? QStringLiteral("A new history begins")
                : "It was set aside as " + QString::fromStdString(reading.setAsideAs) +
                      "; a new history begins";
    ui::showMessage({text, ui::MessageIcon::Warning}, &window_);
}

void ViewOptions::writeHistory() {
    try {
        lookup::writeHistoryFile(historyFile().toStdString(), history_);
    } catch (const std::exception& error) {
        // The history stays in the menu for the run; the next change tries again.
        qWarning("augurlex: %s", error.what());
    }
}

void ViewOptions::record(const QString& title, const QString& address) {
    history_.add({title.toStdString(), address.toStdString()});
    if (remembering())
        writeHistory();
    fillHistoryMenu();
}

void ViewOptions::fillHistoryMenu() {
    QMenu* menu = window_.historyMenu();
    // Later: an entry of the menu may be the one whose signal runs this.
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    for (const lookup::HistoryEntry& entry : history_.entries()) {
        const QString title = QString::fromStdString(entry.title);
        const QString address = QString::fromStdString(entry.address);
        QAction* action = menu->addAction(QString(title).replace('&', "&&"));
        action->setObjectName(QStringLiteral("historyEntry"));
        action->setToolTip(address);
        connect(action, &QAction::triggered, this, [this, title, address] {
            record(title, address);
            pane_.showPage(address);
        });
    }
    menu->addSeparator();
    QAction* clear = menu->addAction(tr("&Clear History"));
    clear->setObjectName(QStringLiteral("mnuClearHistory"));
    clear->setEnabled(!history_.entries().empty());
    connect(clear, &QAction::triggered, this, [this] {
        history_.clear();
        if (remembering())
            writeHistory();
        fillHistoryMenu();
    });
}

} // namespace app
