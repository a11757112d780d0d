// The browser window: the pane that shows definition pages, its offline notice, the web-search
// form page, and what the navigation toolbar's buttons do to it.
#pragma once

#include "viewer/browser.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QLabel;

namespace viewer {

// The offline notice.
inline constexpr const char* kOfflineCaption =
    "You must be connected to the internet in order to use this software.";

class frmMain : public QWidget {
    Q_OBJECT
public:
    // searchText gives the main window's search box text. browser: nullptr for the real one.
    explicit frmMain(std::function<QString()> searchText, std::unique_ptr<Browser> browser = {},
                     QWidget* parent = nullptr);
    ~frmMain() override;

    // The web-search form page.
    const QString Text1;

    Browser& WB() const { return *browser_; }
    QLabel* lblCaption() const { return lblCaption_; }

    // The load step: online, open what strURL asks for (the home page when nothing) and clear
    // it; offline, show only the notice.
    void Load();
    // Navigates the pane to strURL and brings the window forward.
    void ShowPage();
    // The pane, to a link or a term; addresses that are not web pages are not opened.
    void Navigate(const QString& text);
    // A toolbar button, by its key (compared exactly); an unknown key does nothing.
    void OnToolbarButton(const QString& key);

private:
    void searchTheWeb(const QString& query);

    std::function<QString()> searchText_;
    std::unique_ptr<Browser> browser_;
    QLabel* lblCaption_ = nullptr;
};

} // namespace viewer
