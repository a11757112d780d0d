// The frame's load, its lookup reactions and its closing.
#include "mdi.h"

#include "connection_check.h"
#include "keyword_list_model.h"
#include "lookup/dictionary_selection.h"
#include "lookup/keywords.h"
#include "message_box.h"
#include "program_values.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QTreeView>

namespace augurlex {

namespace {
std::vector<std::string> toStd(const QStringList& texts) {
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts)
        result.push_back(text.toStdString());
    return result;
}
} // namespace

MDI::~MDI() = default;

std::string MDI::folderPath() const {
    return programFolder_.toStdString();
}

QAction* MDI::ToolbarAction(const QString& key) const {
    if (!kToolbarKeys.contains(key))
        return nullptr;
    return controls_.TB->findChild<QAction*>(key, Qt::FindDirectChildrenOnly);
}

void MDI::connectLookup() {
    const MdiControls& c = controls_;
    connect(c.cboNames, &QComboBox::activated, this, [this] { onDictionaryChosen(); });
    connect(c.txtKey, &QLineEdit::textChanged, this, &MDI::onSearchTextChanged);
    connect(c.lstKeys, &QTreeView::clicked, this, [this] { onKeywordClicked(); });
    connect(c.cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(c.mnuExit, &QAction::triggered, this, &QWidget::close);
}

void MDI::Load() {
    CheckConnection();
    controls_.cboNames->addItem(QString::fromLatin1(lookup::kAllEntry));
    controls_.cboNames->setCurrentIndex(0);
    // The catalogue and every keyword: the list is filled once, whatever the count.
    lookup::CatalogueContent content = lookup::LoadCatalogue(folderPath());
    for (const std::string& name : content.dictionaryNames)
        controls_.cboNames->addItem(QString::fromStdString(name));
    keywords_->SetKeywords(content.keywords);
}

void MDI::CoBrand_Randomize() {
    BringOfferToFront(RandomWholeNumber(1, 6));
}

void MDI::BringOfferToFront(int draw) {
    QLabel* front = draw % 2 == 0 ? controls_.lblFullBrand : controls_.lblCoBrand;
    QLabel* back = front == controls_.lblFullBrand ? controls_.lblCoBrand : controls_.lblFullBrand;
    front->raise();
    // Only the front offer takes clicks and is read out by screen readers.
    front->show();
    back->hide();
}

QLabel* MDI::FrontOffer() const {
    // Later siblings lie on top of earlier ones.
    const QObjectList& stacking = controls_.fraFullBrand->children();
    for (auto it = stacking.crbegin(); it != stacking.crend(); ++it) {
        if (*it == controls_.lblFullBrand || *it == controls_.lblCoBrand)
            return static_cast<QLabel*>(*it);
    }
    return nullptr;
}

void MDI::SetDocumentWindow(QWidget* window) {
    if (documentWindow_ == window)
        return;
    QWidget* old = documentWindow_;
    documentWindow_ = window;
    window->setParent(documentArea_, Qt::Widget);
    documentArea_->layout()->addWidget(window);
    window->show();
    if (old) {
        documentArea_->layout()->removeWidget(old);
        old->deleteLater();
    }
}

QStringList MDI::DictionaryNames() const {
    QStringList names;
    for (int i = 1; i < controls_.cboNames->count(); ++i)
        names.append(controls_.cboNames->itemText(i));
    return names;
}

void MDI::LoadKeywords(const QString& dictionaryName) {
    std::vector<std::string> keywords;
    lookup::LoadKeywords(folderPath(), dictionaryName.toStdString(), keywords);
    keywords_->AppendKeywords(keywords);
}

void MDI::LoadAllKeywords() {
    keywords_->SetKeywords(lookup::LoadAllKeywords(folderPath(), toStd(DictionaryNames())));
}

void MDI::ReportMissingDictionary(const QString& name) {
    MessageRequest request;
    request.text = QString::fromStdString(lookup::MissingDictionaryMessage(name.toStdString()));
    request.icon = MessageIcon::Critical;
    ShowMessage(request, this);
}

void MDI::onDictionaryChosen() {
    lookup::SelectionOutcome outcome = lookup::ReactToSelection(
        folderPath(), toStd(DictionaryNames()), controls_.cboNames->currentText().toStdString());
    if (outcome.replaceList)
        keywords_->SetKeywords(outcome.keywords);
    if (outcome.missingDictionary)
        ReportMissingDictionary(QString::fromStdString(*outcome.missingDictionary));
}

void MDI::onSearchTextChanged(const QString& text) {
    // Typing narrows nothing; only a box emptied of all but spaces brings every keyword back.
    if (lookup::TrimSpaces(text.toStdString()).empty())
        LoadAllKeywords();
}

void MDI::onKeywordClicked() {
    const QModelIndex current = controls_.lstKeys->currentIndex();
    if (!current.isValid())
        return;
    controls_.txtKey->setText(current.data().toString());
}

void MDI::closeEvent(QCloseEvent* event) {
    emit unloading();
    event->accept();
}

} // namespace augurlex
