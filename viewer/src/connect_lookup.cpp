#include "viewer/connect_lookup.h"

#include "keyword_list_model.h"
#include "lookup/search/lookup_commands.h"
#include "mdi.h"
#include "message_box.h"
#include "program_values.h"
#include "viewer/frm_main.h"
#include "viewer/site_search.h"
#include "weblinks/endpoints.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace viewer {

namespace {

// The frame's controls as the lookup commands see them.
class FrameLookupView : public QObject, public lookup::search::LookupView {
public:
    FrameLookupView(augurlex::MDI& frame, frmMain& pane)
        : QObject(&frame), frame_(frame), pane_(pane), c_(frame.Controls()) {}

    std::string SearchText() const override { return c_.txtKey->text().toStdString(); }
    std::string SelectorText() const override { return c_.cboNames->currentText().toStdString(); }
    std::vector<std::string> DictionaryNames() const override {
        std::vector<std::string> names;
        for (const QString& name : frame_.DictionaryNames())
            names.push_back(name.toStdString());
        return names;
    }
    lookup::search::SearchMode Mode() const override {
        if (c_.optGoogle->isChecked())
            return lookup::search::SearchMode::Web;
        return c_.optWildCard->isChecked() ? lookup::search::SearchMode::Wildcard
                                           : lookup::search::SearchMode::Exact;
    }
    std::size_t KeywordCount() const override { return frame_.Keywords().Keywords().size(); }
    std::optional<std::string> SelectedKeyword() const override {
        const QModelIndex current = c_.lstKeys->currentIndex();
        if (!current.isValid() || !c_.lstKeys->selectionModel()->isSelected(current))
            return std::nullopt;
        return current.data().toString().toStdString();
    }

    void ClearKeywords() override { frame_.Keywords().Clear(); }
    void AppendKeyword(const std::string& keyword) override {
        frame_.Keywords().AppendKeywords({keyword});
    }
    void SetSearchText(const std::string& text) override {
        c_.txtKey->setText(QString::fromStdString(text));
    }
    void ShowEnterTerm() override {
        augurlex::ShowMessage({QStringLiteral("Please Enter Search Term")}, &frame_);
        c_.txtKey->setFocus();
    }
    void ShowNotFound() override {
        augurlex::ShowMessage({QStringLiteral("Keyword not found - Please search in google\r"
                                              "Or write to us so that we can add the term in our "
                                              "dictionary")},
                              &frame_);
        c_.txtKey->setFocus();
    }
    void ShowPage() override { pane_.ShowPage(); }
    void ShowBrowserWindow() override {
        pane_.show();
        pane_.raise();
    }
    void Navigate(const std::string& address) override {
        pane_.Navigate(QString::fromStdString(address));
    }
    void SiteSearch(const std::string& text, const std::string& site) override {
        viewer::SiteSearch().Search(QString::fromStdString(text), QString::fromStdString(site));
    }
    void FocusSearchBox() override { c_.txtKey->setFocus(); }

private:
    augurlex::MDI& frame_;
    frmMain& pane_;
    const augurlex::MdiControls& c_;
};

} // namespace

frmMain* ConnectLookup(augurlex::MDI& frame) {
    const augurlex::MdiControls& c = frame.Controls();
    QLineEdit* box = c.txtKey;
    auto* pane = new frmMain([box] { return box->text(); });
    frame.SetDocumentWindow(pane);

    auto* view = new FrameLookupView(frame, *pane);
    auto commands = std::make_shared<lookup::search::LookupCommands>(
        lookup::search::LookupSettings{frame.ProgramFolder().toStdString(), augurlex::HomeURL},
        *view, augurlex::strURL());
    QObject::connect(c.cmdSearch, &QPushButton::clicked, view,
                     [commands] { commands->SearchButton(); });
    QObject::connect(box, &QLineEdit::returnPressed, view, [commands] { commands->EnterKey(); });
    QObject::connect(c.cmdDisplay, &QPushButton::clicked, view,
                     [commands] { commands->DisplayButton(); });
    QObject::connect(c.lstKeys, &QTreeView::doubleClicked, view,
                     [commands] { commands->KeywordDoubleClick(); });
    for (QRadioButton* option : {c.optExact, c.optWildCard, c.optGoogle})
        QObject::connect(option, &QRadioButton::clicked, view,
                         [commands] { commands->OptionClick(); });
    for (const QString& key : augurlex::kToolbarKeys) {
        if (QAction* button = frame.ToolbarAction(key))
            QObject::connect(button, &QAction::triggered, pane,
                             [pane, key] { pane->OnToolbarButton(key); });
    }
    return pane;
}

} // namespace viewer
