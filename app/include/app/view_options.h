// The View menu's options, which the user turns on: Search as You Type, and Remember Window and
// History (the window's size, place and maximised state, the lookup column's width, the chosen
// dictionary and search mode, kept at closing and restored at the next start; the history kept
// in the user's data folder at each change). The History submenu lists the definitions opened
// during the run (with the option, across runs), newest first, and opens them again.
//
// Nothing is written while the options stay off: an option is stored in the settings store
// (beside the update reminder's date, section "View") only once the user sets it, the window's
// state (section "Window") and the history file only while Remember is on. Turning Remember off
// removes them. A history file that cannot be read is set aside with a message; the program
// starts either way.
#pragma once

#include "lookup/history.h"

#include <QObject>
#include <QSettings>
#include <QString>

namespace viewer {
class BrowserPane;
}

namespace app {

class MainWindow;

// Where this user's settings and data live.
struct UserStore {
    QString settingsFile; // the settings store's file
    QString dataFolder;   // the history's folder
};

// The user's own: the update reminder's settings store and the user's data folder.
UserStore usersOwnStore();

class ViewOptions : public QObject {
    Q_OBJECT
public:
    // Run once the window is loaded and before it is shown: sets the options as stored and,
    // with Remember on, restores the window and reads the history.
    ViewOptions(MainWindow& window, viewer::BrowserPane& pane, const UserStore& store);

    const lookup::History& history() const { return history_; }
    QString historyFile() const;

private:
    bool remembering() const;
    void restoreWindow();
    void saveWindow();
    void forgetWindow();
    void readHistory();
    void writeHistory();
    void record(const QString& title, const QString& address);
    void fillHistoryMenu();

    MainWindow& window_;
    viewer::BrowserPane& pane_;
    QSettings settings_;
    QString dataFolder_;
    lookup::History history_;
};

} // namespace app
