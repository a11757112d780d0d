// Building the frame's bands, controls and menus. Sizes are the design's, in twips.
#include "advert_strip.h"
#include "app_icon.h"
#include "keyword_list_model.h"
#include "mdi.h"
#include "twips.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>

namespace augurlex {

namespace {

constexpr int px(float twips) {
    return TwipsToPixels(twips);
}

QFont designFont() {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    return font;
}

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

QIcon toolbarIcon(QStyle* style, const QString& key) {
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

void MDI::buildMenus() {
    MdiControls& c = controls_;
    c.mnuFile = named(menuBar()->addMenu(tr("&File")), "mnuFile");
    c.mnuUpdate = named(c.mnuFile->addAction(tr("&Update")), "mnuUpdate");
    c.mnuFileSep1 = named(c.mnuFile->addSeparator(), "mnuFileSep1");
    c.mnuExit = named(c.mnuFile->addAction(tr("E&xit")), "mnuExit");
    c.mnuHelp = named(menuBar()->addMenu(tr("&Help")), "mnuHelp");
    c.mnuDonate = named(menuBar()->addAction(tr("&Donate")), "mnuDonate");
}

void MDI::buildToolbar() {
    MdiControls& c = controls_;
    c.TB = named(new QToolBar(this), "TB");
    c.TB->setMovable(false);
    c.TB->setFloatable(false);
    c.TB->setFixedHeight(px(540));
    c.TB->setIconSize(QSize(24, 24));
    c.TB->setToolButtonStyle(Qt::ToolButtonIconOnly);
    c.TB->toggleViewAction()->setVisible(false);
    for (const QString& key : kToolbarKeys) {
        QAction* action = c.TB->addAction(toolbarIcon(style(), key), key);
        action->setObjectName(key);
        action->setToolTip(key);
    }

    // The adverts fill the rest of the bar; a narrow frame shows fewer of them.
    auto* adverts = new AdvertStrip(c.TB);
    adverts->setFont(designFont());
    const auto plainLabel = [adverts](const QString& text, const char* name) {
        return named(new QLabel(text, adverts), name);
    };

    c.Picture1 = named(new QWidget(adverts), "Picture1");
    auto* forum = new QHBoxLayout(c.Picture1);
    forum->setContentsMargins(0, 0, 0, 0);
    c.Label61 = plainLabel(tr("Talk signs and omens with fellow readers\n"
                              "at Seerhall, our discussion forum."),
                           "Label61");
    forum->addWidget(c.Label61);
    adverts->AddAdvert(c.Picture1, 0);

    c.Label4 = plainLabel(tr("New: Augurlex Almanac,\nmoon phases and lucky days."), "Label4");
    adverts->AddAdvert(c.Label4, 2);

    adverts->AddStretch();
    c.Picture2 = named(new QWidget(adverts), "Picture2");
    auto* notice = new QVBoxLayout(c.Picture2);
    notice->setContentsMargins(0, 0, 0, 0);
    notice->setSpacing(0);
    c.Label9 = plainLabel(tr("Place you ad here permanently"), "Label9");
    c.Label10 = plainLabel(tr("Write to ads@augurlex.example"), "Label10");
    notice->addWidget(c.Label9);
    notice->addWidget(c.Label10);
    adverts->AddAdvert(c.Picture2, 1);

    c.TB->addWidget(adverts);
    addToolBar(Qt::TopToolBarArea, c.TB);
}

QWidget* MDI::buildTopBand() {
    MdiControls& c = controls_;
    c.picTop = named(new QWidget(this), "picTop");
    c.picTop->setFont(designFont());
    c.picTop->setFixedHeight(px(645));
    auto* row = new QHBoxLayout(c.picTop);
    // The Donate button keeps its distance from the frame's right edge at every width.
    row->setContentsMargins(px(120), 0, px(300), 0);
    c.lblPicTop2 = wrappedLabel(tr("Augurlex is free. Please keep supporting our site so that "
                                   "the dictionaries can keep growing."),
                                "lblPicTop2", c.picTop);
    row->addWidget(c.lblPicTop2, 1);
    c.cmdDonate = named(new QPushButton(tr("&Donate"), c.picTop), "cmdDonate");
    c.cmdDonate->setFixedSize(px(990), px(360));
    row->addWidget(c.cmdDonate);
    return c.picTop;
}

QWidget* MDI::buildLookupPane() {
    MdiControls& c = controls_;
    c.picLeft = named(new QWidget(this), "picLeft");
    c.picLeft->setFont(designFont());
    c.picLeft->setFixedWidth(px(2925));
    auto* column = new QVBoxLayout(c.picLeft);
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

    c.cboNames = named(new QComboBox(c.picLeft), "cboNames");
    c.cboNames->setEditable(false);
    c.cboNames->setFixedWidth(boxControl);
    column->addWidget(c.cboNames, 0, Qt::AlignLeft);
    column->addSpacing(px(30));

    c.optWildCard = named(new QRadioButton(tr("Use WildCard (*)"), c.picLeft), "optWildCard");
    c.optExact = named(new QRadioButton(tr("Exact Search"), c.picLeft), "optExact");
    c.optGoogle = named(new QRadioButton(tr("Google Search"), c.picLeft), "optGoogle");
    for (QRadioButton* option : {c.optWildCard, c.optExact, c.optGoogle}) {
        option->setFixedWidth(px(2205));
        indented(option, 90);
    }
    c.optExact->setChecked(true);
    column->addSpacing(px(60));

    c.Label1 = named(new QLabel(tr("Type in the Key&word to find:"), c.picLeft), "Label1");
    indented(c.Label1, 120);
    column->addSpacing(px(75));

    c.txtKey = named(new QLineEdit(c.picLeft), "txtKey");
    c.txtKey->setFixedSize(boxControl, px(375));
    c.Label1->setBuddy(c.txtKey);
    column->addWidget(c.txtKey, 0, Qt::AlignLeft);
    column->addSpacing(px(30));

    c.cmdSearch = named(new QPushButton(tr("&Search"), c.picLeft), "cmdSearch");
    c.cmdSearch->setFixedSize(wideControl, px(435));
    column->addWidget(c.cmdSearch, 0, Qt::AlignLeft);

    c.lstKeys = named(new QTreeView(c.picLeft), "lstKeys");
    c.lstKeys->setFixedWidth(wideControl);
    c.lstKeys->setModel(keywords_);
    // Uniform rows and a fixed header keep the view instant with a hundred thousand items.
    c.lstKeys->setUniformRowHeights(true);
    c.lstKeys->setRootIsDecorated(false);
    c.lstKeys->setItemsExpandable(false);
    c.lstKeys->setSelectionMode(QAbstractItemView::SingleSelection);
    c.lstKeys->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.lstKeys->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.lstKeys->setTextElideMode(Qt::ElideRight);
    c.lstKeys->header()->setSectionsMovable(false);
    c.lstKeys->header()->setSectionResizeMode(QHeaderView::Interactive);
    c.lstKeys->header()->setStretchLastSection(true);
    column->addWidget(c.lstKeys, 1, Qt::AlignLeft);

    c.cmdDisplay = named(new QPushButton(tr("&Display"), c.picLeft), "cmdDisplay");
    c.cmdDisplay->setFixedSize(wideControl, px(500));
    column->addWidget(c.cmdDisplay, 0, Qt::AlignLeft);
    return c.picLeft;
}

QWidget* MDI::buildBrandingBand() {
    MdiControls& c = controls_;
    c.picBottom = named(new QWidget(this), "picBottom");
    c.picBottom->setFixedHeight(px(540));
    auto* row = new QHBoxLayout(c.picBottom);
    row->setContentsMargins(0, 0, px(300), 0);
    row->setSpacing(px(120));

    c.fraFullBrand = named(new QFrame(c.picBottom), "fraFullBrand");
    c.fraFullBrand->setFrameShape(QFrame::NoFrame);
    c.fraFullBrand->setFont(designFont());
    auto* stack = new QGridLayout(c.fraFullBrand);
    stack->setContentsMargins(px(120), 0, 0, 0);
    c.lblFullBrand = wrappedLabel(
        tr("Home Business Opportunity. Start your own Internet business and make money online. "
           "Get this software fully branded for your website. Click here for more details."),
        "lblFullBrand", c.fraFullBrand);
    c.lblCoBrand = wrappedLabel(
        tr("Own a website? Offer your visitors this software co-branded with your site's name "
           "and links, free of charge. Click here for more details."),
        "lblCoBrand", c.fraFullBrand);
    // The two offers share one place; the one in front hides the other.
    for (QLabel* offer : {c.lblFullBrand, c.lblCoBrand}) {
        offer->setAutoFillBackground(true);
        stack->addWidget(offer, 0, 0);
    }
    row->addWidget(c.fraFullBrand, 1);

    c.cmdExit = named(new QPushButton(tr("E&xit"), c.picBottom), "cmdExit");
    c.cmdExit->setFixedSize(px(990), px(360));
    row->addWidget(c.cmdExit);
    return c.picBottom;
}

MDI::MDI(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder) {
    setObjectName(QStringLiteral("MDI"));
    setWindowTitle(tr("Augurlex v1.95"));
    setWindowIcon(ApplicationIcon());
    keywords_ = new KeywordListModel(this);

    buildMenus();
    buildToolbar();

    auto* client = named(new QWidget(this), "MDIClient");
    auto* bands = new QVBoxLayout(client);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);
    bands->addWidget(buildTopBand());
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(buildLookupPane());
    documentArea_ = new QWidget(client);
    documentArea_->setObjectName(QStringLiteral("documentArea"));
    auto* area = new QVBoxLayout(documentArea_);
    area->setContentsMargins(0, 0, 0, 0);
    middle->addWidget(documentArea_, 1);
    bands->addLayout(middle, 1);
    bands->addWidget(buildBrandingBand());
    setCentralWidget(client);

    auto* placeholder = new QWidget;
    placeholder->setObjectName(QStringLiteral("frmMain"));
    placeholder->setWindowTitle(tr("Augurlex v1.95"));
    placeholder->setFont(QFont(QStringLiteral("Verdana")));
    // An empty page until the browser pane takes its place.
    placeholder->setBackgroundRole(QPalette::Base);
    placeholder->setAutoFillBackground(true);
    SetDocumentWindow(placeholder);

    connectLookup();
    // The design's client area, with room for the menu bar above it.
    resize(px(9900), px(7080) + menuBar()->sizeHint().height());
}

} // namespace augurlex
