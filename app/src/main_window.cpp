// The window's load, its reactions to the selector, the search box and the keyword list, and its
// closing.
#include "app/main_window.h"

#include "app/keyword_list_model.h"
#include "keyword_list_view.h"
#include "live_filter.h"
#include "lookup/dictionary_selection.h"
#include "lookup/keyword_rows.h"
#include "lookup/keywords.h"
#include "ui/link_label.h"
#include "ui/message_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QToolBar>

namespace app {

namespace {
std::vector<std::string> toStd(const QStringList& texts) {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts)
        result.push_back(text.toStdString());
    return result;
}
} // namespace

MainWindow::~MainWindow() = default;

std::string MainWindow::folderPath() const {
    return programFolder_.toStdString();
}

void MainWindow::connectControls() {
    connect(dictionarySelector_, &QComboBox::activated, this, [this] { onDictionaryChosen(); });
    connect(searchBox_, &QLineEdit::textChanged, this, &MainWindow::onSearchTextChanged);
    connect(searchBox_, &QLineEdit::textEdited, this, &MainWindow::onSearchTextEdited);
    liveFilter_ = new LiveFilter(
        [this](LiveResult result) {
            keywords_->setKeywords(std::move(result.live.keywords), result.live.suggestions,
                                   result.order, std::move(result.shown));
        },
        this);
    connect(searchBox_, &QLineEdit::returnPressed, this, &MainWindow::enterPressedInSearchBox);
    connect(keywordList_, &QTableView::clicked, this, [this] { onKeywordClicked(); });
    // Moving through the list with the keys copies as a click does; the list choosing a row by
    // itself (as it does when it takes the focus) copies nothing.
    connect(static_cast<KeywordListView*>(keywordList_), &KeywordListView::keywordChosenByKey, this,
            [this] { onKeywordClicked(); });
    connect(keywordList_, &QTableView::doubleClicked, this,
            [this] { emit keywordDoubleClicked(); });
    keywordList_->installEventFilter(this);
    keywordList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(keywordList_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = keywordList_->indexAt(at);
        if (index.isValid())
            keywordMenu(index)->exec(keywordList_->viewport()->mapToGlobal(at));
    });
    // Ctrl+C in the list copies the current keyword: the item view's own.
    connect(keywordList_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this] { onKeywordHeaderClicked(); });
    connect(searchButton_, &QPushButton::clicked, this, &MainWindow::searchClicked);
    connect(displayButton_, &QPushButton::clicked, this, &MainWindow::displayClicked);
    for (QRadioButton* option : {exactOption_, wildcardOption_, webSearchOption_})
        connect(option, &QRadioButton::clicked, this, &MainWindow::searchOptionClicked);
    for (QAction* button : toolbar_->actions()) {
        const QString key = button->objectName();
        if (kToolbarKeys.contains(key))
            connect(button, &QAction::triggered, this, [this, key] { toolbarButtonClicked(key); });
    }

    connect(updateAction_, &QAction::triggered, this, &MainWindow::updateChosen);
    connect(donateAction_, &QAction::triggered, this, &MainWindow::donateChosen);
    connect(donateButton_, &QPushButton::clicked, this, &MainWindow::donateChosen);
    const auto homePage = [this] { emit homePageChosen(); };
    ui::makeLabelClickable(*supportNotice_, homePage);
    ui::makeLabelClickable(*forumAdvert_, homePage);
    // The almanac advert acts on a click but does not look like a link.
    ui::makeLabelClickable(*almanacAdvert_, homePage, ui::LinkPointer::Arrow);
    ui::makeLabelClickable(*fullBrandOffer_, [this] { emit fullBrandOfferClicked(); });
    ui::makeLabelClickable(*coBrandOffer_, [this] { emit coBrandOfferClicked(); });

    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::addKeyboardShortcuts() {
    const QHash<QString, QKeySequence> toolbarKeys = {
        {"Back", QKeySequence(Qt::ALT | Qt::Key_Left)},
        {"Forward", QKeySequence(Qt::ALT | Qt::Key_Right)},
        {"Refresh", QKeySequence(Qt::Key_F5)}};
    for (QAction* button : toolbar_->actions()) {
        if (toolbarKeys.contains(button->objectName()))
            button->setShortcut(toolbarKeys.value(button->objectName()));
    }
    exitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    auto* toSearchBox = new QAction(this);
    toSearchBox->setObjectName(QStringLiteral("focusSearchBox"));
    toSearchBox->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::CTRL | Qt::Key_F)});
    connect(toSearchBox, &QAction::triggered, this, &MainWindow::focusSearchBox);
    addAction(toSearchBox);
    if (auto* help = findChild<QAction*>(QStringLiteral("mnuOnline")))
        help->setShortcut(QKeySequence(Qt::Key_F1));
}

void MainWindow::setTabOrderAndNames() {
    // The pane comes after Display (setDocumentWindow); the link labels after the buttons of
    // their bands.
    const QList<QWidget*> order = {
        dictionarySelector_, wildcardOption_, exactOption_,   webSearchOption_, searchBox_,
        searchButton_,       keywordList_,    displayButton_, fullBrandOffer_,  coBrandOffer_,
        exitButton_,         forumAdvert_,    almanacAdvert_, supportNotice_,   donateButton_};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    const QList<std::pair<QWidget*, const char*>> names = {
        {dictionarySelector_, "Dictionary"}, {wildcardOption_, "Use WildCard (*)"},
        {exactOption_, "Exact Search"},      {webSearchOption_, "Google Search"},
        {searchBox_, "Keyword to find"},     {searchButton_, "Search"},
        {keywordList_, "Keywords"},          {displayButton_, "Display"},
        {donateButton_, "Donate"},           {exitButton_, "Exit"},
        {supportNotice_, "Support notice"},  {fullBrandOffer_, "Fully-branded offer"},
        {coBrandOffer_, "Co-branded offer"}, {toolbar_, "Navigation"},
    };
    for (const auto& [control, name] : names)
        control->setAccessibleName(tr(name));
}

bool MainWindow::focusNextPrevChild(bool next) {
    // The pane is one stop of the window's tab order, at its place in the focus chain. Its page
    // keeps the focus while Tab moves through its links and hands it back at either end; the
    // widgets the web view makes for its first page join the chain wherever Qt puts them, so
    // they are passed over here, and the pane (which hands the focus on to them) is the stop.
    QWidget* pane = documentWindow_;
    QWidget* focused = focusWidget();
    if (!pane || !focused)
        return QMainWindow::focusNextPrevChild(next);
    QWidget* paneTarget = pane;
    while (paneTarget->focusProxy())
        paneTarget = paneTarget->focusProxy();
    const bool paneTakesFocus = paneTarget->isVisible() && paneTarget->isEnabled();
    QWidget* from = focused == pane || pane->isAncestorOf(focused) ? pane : focused;
    for (QWidget* w = next ? from->nextInFocusChain() : from->previousInFocusChain(); w != from;
         w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        const bool stop = w == pane ? paneTakesFocus
                                    : !pane->isAncestorOf(w) && !w->focusProxy() &&
                                          (w->focusPolicy() & Qt::TabFocus) &&
                                          w->isVisibleTo(this) && w->isEnabled();
        if (stop) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void MainWindow::focusSearchBox() {
    searchBox_->setFocus(Qt::ShortcutFocusReason);
    searchBox_->selectAll();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keywordList_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit keywordDoubleClicked();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onKeywordHeaderClicked() {
    const KeywordOrder order = nextKeywordOrder(keywords_->order());
    keywords_->setOrder(order);
    QHeaderView* header = keywordList_->horizontalHeader();
    header->setSortIndicatorShown(order != KeywordOrder::File);
    header->setSortIndicator(0, order == KeywordOrder::ZToA ? Qt::DescendingOrder
                                                            : Qt::AscendingOrder);
}

void MainWindow::load() {
    dictionarySelector_->addItem(QString::fromLatin1(lookup::kAllEntry));
    dictionarySelector_->setCurrentIndex(0);
    // The catalogue and every keyword: the list is filled once, whatever the count.
    lookup::CatalogueContent content = lookup::loadCatalogue(folderPath());
    for (const std::string& name : content.dictionaryNames)
        dictionarySelector_->addItem(QString::fromStdString(name));
    keywords_->setKeywords(std::move(content.keywords));
}

void MainWindow::bringOfferToFront(int draw) {
    QLabel* front = draw % 2 == 0 ? fullBrandOffer_ : coBrandOffer_;
    QLabel* back = front == fullBrandOffer_ ? coBrandOffer_ : fullBrandOffer_;
    front->raise();
    // Only the front offer takes clicks and is read out by screen readers.
    front->show();
    back->hide();
}

QLabel* MainWindow::frontOffer() const {
    // Later siblings lie on top of earlier ones.
    const QObjectList& stacking = offerFrame_->children();
    for (auto it = stacking.crbegin(); it != stacking.crend(); ++it) {
        if (*it == fullBrandOffer_ || *it == coBrandOffer_)
            return static_cast<QLabel*>(*it);
    }
    return nullptr;
}

void MainWindow::setDocumentWindow(QWidget* window) {
    if (documentWindow_ == window)
        return;
    QWidget* old = documentWindow_;
    documentWindow_ = window;
    window->setParent(documentArea_, Qt::Widget);
    documentArea_->layout()->addWidget(window);
    window->show();
    // The pane comes after Display in the tab order; Escape in it stops the page.
    setTabOrder(displayButton_, window);
    auto* stop = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    stop->setContext(Qt::WidgetWithChildrenShortcut);
    connect(stop, &QShortcut::activated, this, [this] { emit toolbarButtonClicked("Stop"); });
    if (old) {
        documentArea_->layout()->removeWidget(old);
        old->deleteLater();
    }
}

bool MainWindow::wildcardChosen() const {
    return wildcardOption_->isChecked();
}

bool MainWindow::webSearchChosen() const {
    return webSearchOption_->isChecked();
}

lookup::SearchMode MainWindow::searchMode() const {
    if (webSearchChosen())
        return lookup::SearchMode::Web;
    return wildcardChosen() ? lookup::SearchMode::Wildcard : lookup::SearchMode::Exact;
}

void MainWindow::setSearchMode(lookup::SearchMode mode) {
    QRadioButton* option = mode == lookup::SearchMode::Web        ? webSearchOption_
                           : mode == lookup::SearchMode::Wildcard ? wildcardOption_
                                                                  : exactOption_;
    option->setChecked(true);
}

QStringList MainWindow::dictionaryNames() const {
    QStringList names;
    for (int i = 1; i < dictionarySelector_->count(); ++i)
        names.append(dictionarySelector_->itemText(i));
    return names;
}

void MainWindow::loadAllKeywords() {
    cancelLiveFilter();
    keywords_->setKeywords(lookup::loadKeywordRows(folderPath(), toStd(dictionaryNames())));
}

void MainWindow::cancelLiveFilter() {
    liveFilter_->cancel();
}

void MainWindow::reportMissingDictionary(const std::string& name) {
    ui::MessageRequest request;
    request.text = QString::fromStdString(lookup::missingDictionaryMessage(name));
    request.icon = ui::MessageIcon::Critical;
    ui::showMessage(request, this);
}

bool MainWindow::chooseDictionary(const QString& name) {
    const int index = dictionarySelector_->findText(name, Qt::MatchExactly);
    if (index < 0)
        return false;
    dictionarySelector_->setCurrentIndex(index);
    onDictionaryChosen();
    return true;
}

void MainWindow::onDictionaryChosen() {
    cancelLiveFilter();
    lookup::SelectionOutcome outcome = lookup::reactToSelection(
        folderPath(), toStd(dictionaryNames()), dictionarySelector_->currentText().toStdString());
    if (outcome.replaceList)
        keywords_->setKeywords(outcome.keywords);
    if (outcome.missingDictionary)
        reportMissingDictionary(*outcome.missingDictionary);
    if (outcome.unreadableDictionary) {
        ui::MessageRequest request;
        request.text = QString::fromStdString(
            lookup::unreadableDictionaryMessage(*outcome.unreadableDictionary));
        request.icon = ui::MessageIcon::Critical;
        ui::showMessage(request, this);
    }
}

void MainWindow::onSearchTextChanged(const QString& text) {
    // Typing narrows nothing; only a box emptied of all but spaces brings every keyword back.
    if (lookup::trimSpaces(text.toStdString()).empty())
        loadAllKeywords();
}

void MainWindow::onSearchTextEdited(const QString& text) {
    // Only with the option on, and never for the web: that search leaves the program.
    if (!searchAsYouTypeAction_->isChecked() || webSearchChosen())
        return;
    const std::string typed = text.toStdString();
    if (lookup::trimSpaces(typed).empty()) // the list is back whole (onSearchTextChanged)
        return;
    liveFilter_->request({folderPath(), toStd(dictionaryNames()), searchMode(), typed,
                          dictionarySelector_->currentText().toStdString(), keywords_->order()});
}

void MainWindow::onKeywordClicked() {
    const QModelIndex current = keywordList_->currentIndex();
    if (!current.isValid())
        return;
    searchBox_->setText(current.data().toString());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit unloading();
    event->accept();
}

} // namespace app
