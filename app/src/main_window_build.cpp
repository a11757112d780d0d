// Building the window's bands, controls and menus. Sizes are the design's, in twips, grown where
// the desktop's font needs more room.
#include "advert_strip.h"
#include "app/keyword_list_model.h"
#include "app/main_window.h"
#include "keyword_list_view.h"
#include "ui/icons.h"
#include "ui/maker_addresses.h"
#include "ui/program_title.h"
#include "ui/twips.h"
#include "weblinks/help_menu.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <algorithm>

namespace app {

namespace {

constexpr int px(float twips) {
    return ui::twipsToPixels(twips);
}

QFont designFont() {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    return font;
}

// The narrowest the document area gets; the window's minimum width follows from it.
constexpr int kMinimumDocumentWidth = 320;

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* wrappedLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = named(new QLabel(text, parent), name);
    label->setWordWrap(true);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

// The design's size, or taller when the control's font needs it (a fixed height below the size
// hint cuts the control's text).
void setDesignSize(QWidget* control, int width, int height) {
    control->setFixedSize(std::max(width, control->minimumSizeHint().width()),
                          std::max(height, control->sizeHint().height()));
}

QIcon toolbarIcon(QStyle* style, const QString& key) {
    const QIcon own = ui::toolbarIcon(key);
    if (!own.isNull())
        return own;
    static const QHash<QString, QStyle::StandardPixmap> kIcons = {
        {"Back", QStyle::SP_ArrowBack},   {"Forward", QStyle::SP_ArrowForward},
        {"Stop", QStyle::SP_BrowserStop}, {"Refresh", QStyle::SP_BrowserReload},
        {"Home", QStyle::SP_DirHomeIcon}, {"Search", QStyle::SP_FileDialogContentsView}};
    static const QHash<QString, QString> kThemeNames = {
        {"Back", "go-previous"},     {"Forward", "go-next"}, {"Stop", "process-stop"},
        {"Refresh", "view-refresh"}, {"Home", "go-home"},    {"Search", "edit-find"}};
    return QIcon::fromTheme(kThemeNames.value(key), style->standardIcon(kIcons.value(key)));
}

} // namespace

void MainWindow::buildMenus() {
    QMenu* file = named(menuBar()->addMenu(tr("&File")), "mnuFile");
    updateAction_ = named(file->addAction(tr("&Update")), "mnuUpdate");
    named(file->addSeparator(), "mnuFileSep1");
    exitAction_ = named(file->addAction(tr("E&xit")), "mnuExit");
    auto* help = new weblinks::HelpMenu(this);
    connect(help, &weblinks::HelpMenu::onlineHelpChosen, this, &MainWindow::onlineHelpChosen);
    menuBar()->addMenu(help);
    // An entry of the bar itself, without a menu: it acts at once.
    // Alt+D belongs to Display; the entry and the button have keys of their own.
    donateAction_ = named(menuBar()->addAction(tr("Do&nate")), "mnuDonate");
    // Here and below: a control whose page this build has no address for is left out.
    donateAction_->setVisible(ui::hasMakerPage(ui::MakerPage::Donate));

    // The user's own options, after the menus every installation has; each starts off.
    QMenu* view = named(menuBar()->addMenu(tr("&View")), "mnuView");
    searchAsYouTypeAction_ =
        named(view->addAction(tr("Search as You &Type")), "mnuSearchAsYouType");
    rememberAction_ =
        named(view->addAction(tr("&Remember Window and History")), "mnuRememberWindow");
    for (QAction* option : {searchAsYouTypeAction_, rememberAction_})
        option->setCheckable(true);
    view->addSeparator();
    historyMenu_ = named(view->addMenu(tr("&History")), "mnuHistory");
}

void MainWindow::buildToolbar() {
    toolbar_ = named(new QToolBar(this), "TB");
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setFixedHeight(px(540));
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->toggleViewAction()->setVisible(false);
    for (const QString& key : kToolbarKeys) {
        QAction* action = toolbar_->addAction(toolbarIcon(style(), key), key);
        action->setObjectName(key);
        action->setToolTip(key);
    }

    // The adverts fill the rest of the bar; a narrow window shows fewer of them.
    auto* adverts = new AdvertStrip(toolbar_);
    adverts->setFont(designFont());
    const auto plainLabel = [adverts](const QString& text, const char* name) {
        return named(new QLabel(text, adverts), name);
    };

    auto* forumPicture = named(new QWidget(adverts), "Picture1");
    auto* forum = new QHBoxLayout(forumPicture);
    forum->setContentsMargins(0, 0, 0, 0);
    forumAdvert_ = plainLabel(tr("Talk signs and omens with fellow readers\n"
                                 "at Seerhall, our discussion forum."),
                              "Label61");
    forum->addWidget(forumAdvert_);
    adverts->addAdvert(forumPicture, 0);

    almanacAdvert_ =
        plainLabel(tr("New: Augurlex Almanac,\nmoon phases and lucky days."), "Label4");
    adverts->addAdvert(almanacAdvert_, 2);

    adverts->addStretch();
    auto* adSpacePicture = named(new QWidget(adverts), "Picture2");
    auto* adSpace = new QVBoxLayout(adSpacePicture);
    adSpace->setContentsMargins(0, 0, 0, 0);
    adSpace->setSpacing(0);
    adSpace->addWidget(plainLabel(tr("Place you ad here permanently"), "Label9"));
    adSpace->addWidget(plainLabel(tr("Write to ads@augurlex.example"), "Label10"));
    adverts->addAdvert(adSpacePicture, 1);

    toolbar_->addWidget(adverts)->setVisible(ui::hasMakerPage(ui::MakerPage::Home));
    addToolBar(Qt::TopToolBarArea, toolbar_);
}

QWidget* MainWindow::buildTopBand() {
    auto* band = named(new QWidget(this), "picTop");
    band->setFont(designFont());
    band->setFixedHeight(px(645));
    auto* row = new QHBoxLayout(band);
    // The Donate button keeps its distance from the window's right edge at every width.
    row->setContentsMargins(px(120), 0, px(300), 0);
    supportNotice_ = wrappedLabel(tr("Augurlex is free. Please keep supporting our site so that "
                                     "the dictionaries can keep growing."),
                                  "lblPicTop2", band);
    row->addWidget(supportNotice_, 1);
    donateButton_ = named(new QPushButton(tr("D&onate"), band), "cmdDonate");
    setDesignSize(donateButton_, px(990), px(360));
    row->addWidget(donateButton_);
    band->setHidden(!ui::hasMakerPage(ui::MakerPage::Home));
    return band;
}

QWidget* MainWindow::buildLookupPane() {
    auto* pane = named(new QWidget(this), "picLeft");
    pane->setFont(designFont());
    // The design's width at the least; dragged wider, the controls below widen with it.
    pane->setMinimumWidth(px(2925));
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const int wideControl = px(2925 - 50);
    const int boxControl = px(2925 - 75);
    // Options and caption keep their design indent; the other controls sit at the pane's edge.
    const auto indented = [column](QWidget* widget, float indentTwips) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(px(indentTwips), 0, 0, 0);
        row->addWidget(widget);
        column->addLayout(row);
    };
    // A control as wide as the pane less its margin, the design's width at the least.
    const auto spanning = [column](QWidget* widget, int width, float marginTwips, int stretch = 0) {
        widget->setMinimumWidth(std::max(width, widget->minimumSizeHint().width()));
        widget->setSizePolicy(QSizePolicy::Expanding, widget->sizePolicy().verticalPolicy());
        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, px(marginTwips), 0);
        row->addWidget(widget);
        column->addLayout(row, stretch);
    };
    const auto designHeight = [](QWidget* control, int height) {
        control->setFixedHeight(std::max(height, control->sizeHint().height()));
    };

    dictionarySelector_ = named(new QComboBox(pane), "cboNames");
    dictionarySelector_->setEditable(false);
    designHeight(dictionarySelector_, 0);
    spanning(dictionarySelector_, boxControl, 75);
    column->addSpacing(px(30));

    wildcardOption_ = named(new QRadioButton(tr("Use WildCard (*)"), pane), "optWildCard");
    exactOption_ = named(new QRadioButton(tr("Exact Search"), pane), "optExact");
    webSearchOption_ = named(new QRadioButton(tr("Google Search"), pane), "optGoogle");
    for (QRadioButton* option : {wildcardOption_, exactOption_, webSearchOption_}) {
        setDesignSize(option, px(2205), 0);
        indented(option, 90);
    }
    exactOption_->setChecked(true);
    column->addSpacing(px(60));

    auto* caption = named(new QLabel(tr("Type in the Key&word to find:"), pane), "Label1");
    indented(caption, 120);
    column->addSpacing(px(75));

    searchBox_ = named(new QLineEdit(pane), "txtKey");
    designHeight(searchBox_, px(375));
    caption->setBuddy(searchBox_);
    spanning(searchBox_, boxControl, 75);
    column->addSpacing(px(30));

    searchButton_ = named(new QPushButton(tr("&Search"), pane), "cmdSearch");
    designHeight(searchButton_, px(435));
    spanning(searchButton_, wideControl, 50);

    keywordList_ = named(new KeywordListView(pane), "lstKeys");
    keywordList_->setModel(keywords_);
    keywordList_->setSelectionMode(QAbstractItemView::SingleSelection);
    keywordList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    keywordList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    keywordList_->setTextElideMode(Qt::ElideRight);
    keywordList_->horizontalHeader()->setSectionsMovable(false);
    keywordList_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    keywordList_->horizontalHeader()->setStretchLastSection(true);
    // A click on the header sorts; the indicator shows only while the list is sorted.
    keywordList_->horizontalHeader()->setSectionsClickable(true);
    keywordList_->horizontalHeader()->setSortIndicatorShown(false);
    // Room for the header and a few keywords, however small the window.
    keywordList_->setMinimumHeight(keywordList_->horizontalHeader()->sizeHint().height() +
                                   4 * keywordList_->verticalHeader()->defaultSectionSize() +
                                   2 * keywordList_->frameWidth());
    spanning(keywordList_, wideControl, 50, 1);

    displayButton_ = named(new QPushButton(tr("&Display"), pane), "cmdDisplay");
    designHeight(displayButton_, px(500));
    spanning(displayButton_, wideControl, 50);
    return pane;
}

QWidget* MainWindow::buildBrandingBand() {
    auto* band = named(new QWidget(this), "picBottom");
    band->setFixedHeight(px(540));
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(0, 0, px(300), 0);
    row->setSpacing(px(120));

    offerFrame_ = named(new QFrame(band), "fraFullBrand");
    offerFrame_->setFrameShape(QFrame::NoFrame);
    offerFrame_->setFont(designFont());
    auto* stack = new QGridLayout(offerFrame_);
    stack->setContentsMargins(px(120), 0, 0, 0);
    fullBrandOffer_ = wrappedLabel(
        tr("Home Business Opportunity. Start your own Internet business and make money online. "
           "Get this software fully branded for your website. Click here for more details."),
        "lblFullBrand", offerFrame_);
    coBrandOffer_ = wrappedLabel(
        tr("Own a website? Offer your visitors this software co-branded with your site's name "
           "and links, free of charge. Click here for more details."),
        "lblCoBrand", offerFrame_);
    // The two offers share one place; the one in front hides the other.
    for (QLabel* offer : {fullBrandOffer_, coBrandOffer_}) {
        offer->setAutoFillBackground(true);
        stack->addWidget(offer, 0, 0);
    }
    row->addWidget(offerFrame_, 1);
    offerFrame_->setHidden(!ui::hasMakerPage(ui::MakerPage::FullBrand));

    exitButton_ = named(new QPushButton(tr("E&xit"), band), "cmdExit");
    setDesignSize(exitButton_, px(990), px(360));
    row->addWidget(exitButton_, 0, Qt::AlignRight);
    return band;
}

void MainWindow::fitBandsToMinimumWidth() {
    const int minimumWidth = lookupPane_->minimumWidth() + kMinimumDocumentWidth;
    // What a band's wrapped label has left at that width: the band's margins, its button and
    // the spacing between them (with a little to spare for the style's own spacing).
    const auto fit = [minimumWidth](QWidget* band, QLabel* label, QWidget* button, int taken,
                                    int designHeight) {
        const int labelWidth = minimumWidth - taken - button->minimumWidth() - 12;
        const int textHeight = label->heightForWidth(labelWidth) + 4;
        band->setFixedHeight(std::max({designHeight, textHeight, button->minimumHeight() + 4}));
    };
    fit(topBand_, supportNotice_, donateButton_, px(120) + px(300), px(645));
    fit(brandingBand_, fullBrandOffer_, exitButton_, px(300) + px(120) + px(120), px(540));
    fit(brandingBand_, coBrandOffer_, exitButton_, px(300) + px(120) + px(120),
        brandingBand_->height());
}

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder) {
    setObjectName(QStringLiteral("MDI"));
    setWindowTitle(QString::fromLatin1(ui::kTitleWithVersion));
    setWindowIcon(ui::programIcon());
    keywords_ = new KeywordListModel(this);

    buildMenus();
    buildToolbar();

    auto* client = named(new QWidget(this), "MDIClient");
    auto* bands = new QVBoxLayout(client);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);
    topBand_ = buildTopBand();
    bands->addWidget(topBand_);
    lookupSplitter_ = named(new QSplitter(Qt::Horizontal, client), "lookupSplitter");
    lookupSplitter_->setChildrenCollapsible(false);
    lookupPane_ = buildLookupPane();
    lookupSplitter_->addWidget(lookupPane_);
    documentArea_ = new QWidget(client);
    documentArea_->setObjectName(QStringLiteral("documentArea"));
    documentArea_->setMinimumWidth(kMinimumDocumentWidth);
    auto* area = new QVBoxLayout(documentArea_);
    area->setContentsMargins(0, 0, 0, 0);
    lookupSplitter_->addWidget(documentArea_);
    // A wider or narrower window widens the document area; the column keeps its width.
    lookupSplitter_->setStretchFactor(0, 0);
    lookupSplitter_->setStretchFactor(1, 1);
    lookupSplitter_->setSizes({px(2925), px(9900 - 2925)});
    bands->addWidget(lookupSplitter_, 1);
    brandingBand_ = buildBrandingBand();
    bands->addWidget(brandingBand_);
    setCentralWidget(client);
    fitBandsToMinimumWidth();

    connectControls();
    addKeyboardShortcuts();
    setTabOrderAndNames();
    // The design's client area, with room for the menu bar above it.
    resize(px(9900), px(7080) + menuBar()->sizeHint().height());
}

} // namespace app
