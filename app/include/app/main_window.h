// The main window: toolbar, top band, lookup pane, branding band, menus, and the one document
// window. It owns its controls for the whole run, fills the selector and the keyword list, and
// reacts to a choice of dictionary, to typing and to a click on a keyword. What its other
// controls ask for it announces through the signals below; the application connects them.
// The View menu's options are off unless ViewOptions (view_options.h) turns them on.
#pragma once

#include "lookup/matching.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QSplitter;
class QPushButton;
class QRadioButton;
class QToolBar;
class QTableView;

namespace app {

class KeywordListModel;
class LiveFilter;

// The toolbar's buttons, in their order on the bar; each is also its action's text, tip and
// objectName.
inline const QStringList kToolbarKeys = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // programFolder holds the catalogue and the dictionary files.
    explicit MainWindow(const QString& programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    const QString& programFolder() const { return programFolder_; }

    // The window's load, run once by start-up: "All" in the selector, then the catalogue's
    // dictionaries and every keyword.
    void load();
    // Draws 2, 4, 6 bring the fully-branded offer to the front; 1, 3, 5 the co-branded one.
    void bringOfferToFront(int draw);
    // The offer label in front.
    QLabel* frontOffer() const;

    // The document window fills the area right of the lookup pane; the window owns it.
    QWidget* documentWindow() const { return documentWindow_; }
    void setDocumentWindow(QWidget* window);

    // Puts the focus in the search box with its text selected (Ctrl+L, Ctrl+F).
    void focusSearchBox();

    // The controls the lookup commands read and write.
    QLineEdit* searchBox() const { return searchBox_; }
    QComboBox* dictionarySelector() const { return dictionarySelector_; }
    QTableView* keywordList() const { return keywordList_; }
    KeywordListModel& keywords() const { return *keywords_; }
    bool wildcardChosen() const;
    bool webSearchChosen() const;
    lookup::SearchMode searchMode() const;
    // Chooses the dictionary of that name as the user would; false, and nothing done, when the
    // selector has no such entry.
    bool chooseDictionary(const QString& name);
    void setSearchMode(lookup::SearchMode mode);
    // The selector's dictionary entries (all but "All"), as shown.
    QStringList dictionaryNames() const;

    // The View menu: its two options (checkable) and the History submenu, which ViewOptions fills.
    QAction* searchAsYouTypeOption() const { return searchAsYouTypeAction_; }
    QAction* rememberOption() const { return rememberAction_; }
    QMenu* historyMenu() const { return historyMenu_; }
    // Between the lookup column and the document area; the column can be dragged wider.
    QSplitter* lookupSplitter() const { return lookupSplitter_; }
    // A live list still being filtered is not shown (a command is about to fill the list).
    void cancelLiveFilter();
    // The keyword's context menu: Copy Keyword, Copy Definition Address, Open in Web Browser.
    std::unique_ptr<QMenu> keywordMenu(const QModelIndex& index);

signals:
    // A definition (or the page for a term) was opened in the pane from the lookup controls.
    void definitionShown(const QString& title, const QString& address);
    void searchClicked();
    void enterPressedInSearchBox();
    void displayClicked();
    void keywordDoubleClicked();
    void searchOptionClicked();
    // A toolbar button, by its key.
    void toolbarButtonClicked(const QString& key);
    void updateChosen();
    // The Donate button or menu entry.
    void donateChosen();
    // Help > Online Help: the help pages that ship with the program.
    void onlineHelpChosen();
    // The support notice, the forum advert or the almanac advert.
    void homePageChosen();
    void fullBrandOfferClicked();
    void coBrandOfferClicked();
    // The window is closing (its Exit button, File > Exit or the close box); it closes after.
    void unloading();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter in the keyword list acts as a double click on the current keyword.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab through the window's controls, the pane one stop among them however its
    // page holds the focus.
    bool focusNextPrevChild(bool next) override;

private:
    void buildMenus();
    void buildToolbar();
    QWidget* buildTopBand();
    QWidget* buildLookupPane();
    QWidget* buildBrandingBand();
    void connectControls();
    void addKeyboardShortcuts();
    void setTabOrderAndNames();
    // Band heights that hold their wrapped text down to the window's minimum width.
    void fitBandsToMinimumWidth();

    void onDictionaryChosen();
    void onSearchTextChanged(const QString& text);
    // The user's own typing (not text the program puts in the box).
    void onSearchTextEdited(const QString& text);
    void onKeywordClicked();
    void onKeywordHeaderClicked();
    // Empties the list and loads every dictionary of the selector.
    void loadAllKeywords();
    void reportMissingDictionary(const std::string& name);
    std::string folderPath() const;

    QString programFolder_;
    KeywordListModel* keywords_ = nullptr;

    QAction* updateAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* donateAction_ = nullptr;
    QAction* searchAsYouTypeAction_ = nullptr;
    QAction* rememberAction_ = nullptr;
    QMenu* historyMenu_ = nullptr;
    LiveFilter* liveFilter_ = nullptr;

    QToolBar* toolbar_ = nullptr;
    QLabel* forumAdvert_ = nullptr;
    QLabel* almanacAdvert_ = nullptr;

    QLabel* supportNotice_ = nullptr;
    QPushButton* donateButton_ = nullptr;

    QComboBox* dictionarySelector_ = nullptr;
    QRadioButton* wildcardOption_ = nullptr;
    QRadioButton* exactOption_ = nullptr;
    QRadioButton* webSearchOption_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QTableView* keywordList_ = nullptr;
    QPushButton* displayButton_ = nullptr;

    QFrame* offerFrame_ = nullptr;
    QLabel* fullBrandOffer_ = nullptr;
    QLabel* coBrandOffer_ = nullptr;
    QPushButton* exitButton_ = nullptr;

    QWidget* topBand_ = nullptr;
    QWidget* lookupPane_ = nullptr;
    QSplitter* lookupSplitter_ = nullptr;
    QWidget* brandingBand_ = nullptr;
    QWidget* documentArea_ = nullptr;
    QWidget* documentWindow_ = nullptr;
};

} // namespace app
