// The main frame: toolbar, top band, lookup pane, branding band, menus, and the one document
// window. It owns the controls for the whole run and wires them to the lookup logic; the
// browser pane, the update, and the web links attach through the accessors and signals below.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolBar;
class QTreeView;
class QWidget;
class QFrame;

namespace augurlex {

class KeywordListModel;

// Every control of the frame; each also carries its name as objectName.
struct MdiControls {
    QToolBar* TB = nullptr;
    QWidget* Picture1 = nullptr;
    QLabel* Label61 = nullptr;
    QLabel* Label4 = nullptr;
    QWidget* Picture2 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;

    QWidget* picTop = nullptr;
    QLabel* lblPicTop2 = nullptr;
    QPushButton* cmdDonate = nullptr;

    QWidget* picLeft = nullptr;
    QComboBox* cboNames = nullptr;
    QRadioButton* optWildCard = nullptr;
    QRadioButton* optExact = nullptr;
    QRadioButton* optGoogle = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtKey = nullptr;
    QPushButton* cmdSearch = nullptr;
    QTreeView* lstKeys = nullptr;
    QPushButton* cmdDisplay = nullptr;

    QWidget* picBottom = nullptr;
    QFrame* fraFullBrand = nullptr;
    QLabel* lblFullBrand = nullptr;
    QLabel* lblCoBrand = nullptr;
    QPushButton* cmdExit = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuUpdate = nullptr;
    QAction* mnuFileSep1 = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuDonate = nullptr;
};

// The toolbar's buttons, in their order on the bar; each is also its action's text, tip and
// objectName.
inline const QStringList kToolbarKeys = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};

class MDI : public QMainWindow {
    Q_OBJECT
public:
    // programFolder holds the catalogue and the dictionary files.
    explicit MDI(const QString& programFolder, QWidget* parent = nullptr);
    ~MDI() override;

    const QString& ProgramFolder() const { return programFolder_; }
    const MdiControls& Controls() const { return controls_; }
    // The toolbar button with the given key ("Back" ... "Search"); nullptr for another key.
    QAction* ToolbarAction(const QString& key) const;

    // The frame's load, run once by start-up: the connection sample, "All" in the selector,
    // the catalogue, the keyword list's column.
    void Load();
    // Brings one of the two offer labels to the front at random.
    void CoBrand_Randomize();
    // Draws 2, 4, 6 show the fully-branded offer; 1, 3, 5 the co-branded one.
    void BringOfferToFront(int draw);
    // The offer label in front.
    QLabel* FrontOffer() const;

    // The document window in the free area right of the lookup pane. It is an empty window
    // until the browser pane replaces it; the frame owns the window it is given.
    QWidget* DocumentWindow() const { return documentWindow_; }
    void SetDocumentWindow(QWidget* window);

    // The keyword list's items.
    KeywordListModel& Keywords() const { return *keywords_; }
    // The selector's dictionary entries (all but "All"), as shown.
    QStringList DictionaryNames() const;
    // Appends the keywords of one dictionary (name lowered, not trimmed).
    void LoadKeywords(const QString& dictionaryName);
    // Empties the list and loads every dictionary of the selector.
    void LoadAllKeywords();
    // The critical message naming a missing dictionary file ("" for the catalogue).
    void ReportMissingDictionary(const QString& name);

signals:
    // The frame is closing (its Exit button, File > Exit or the close box); it closes after.
    void unloading();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    QWidget* buildTopBand();
    QWidget* buildLookupPane();
    QWidget* buildBrandingBand();
    void connectLookup();

    void onDictionaryChosen();
    void onSearchTextChanged(const QString& text);
    void onKeywordClicked();

    std::string folderPath() const;

    QString programFolder_;
    MdiControls controls_;
    KeywordListModel* keywords_ = nullptr;
    QWidget* documentArea_ = nullptr;
    QWidget* documentWindow_ = nullptr;
};

} // namespace augurlex
