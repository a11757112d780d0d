// The keyword list's context menu: copying a keyword or the address of its
// definition, and opening the definition in the user's web browser.
#include "app/main_window.h"
#include "lookup/find_link.h"
#include "ui/web_page.h"
#include "viewer/pane_address.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QTableView>

namespace app {

namespace {

// The first definition of the keyword in the chosen scope, as a lookup finds it.
std::optional<QString> definitionAddress(const MainWindow& window, const QString& keyword) {
    std::vector<std::string> names;
    for (const QString& name : window.dictionaryNames())
        names.push_back(name.toStdString());
    std::string address;
    if (!lookup::findLink(window.programFolder().toStdString(), names, keyword.toStdString(),
                          window.dictionarySelector()->currentText().toStdString(), address))
        return std::nullopt;
    return QString::fromStdString(address);
}

} // namespace

std::unique_ptr<QMenu> MainWindow::keywordMenu(const QModelIndex& index) {
    auto menu = std::make_unique<QMenu>(); // the caller owns it, not the list
    menu->setObjectName(QStringLiteral("keywordMenu"));
    const QString keyword = index.data().toString();
    QAction* copyKeyword = menu->addAction(tr("Copy &Keyword"));
    copyKeyword->setObjectName(QStringLiteral("mnuCopyKeyword"));
    connect(copyKeyword, &QAction::triggered, this,
            [keyword] { QApplication::clipboard()->setText(keyword); });

    const std::optional<QString> address = definitionAddress(*this, keyword);
    QAction* copyAddress = menu->addAction(tr("Copy Definition &Address"));
    copyAddress->setObjectName(QStringLiteral("mnuCopyAddress"));
    copyAddress->setEnabled(address.has_value());
    connect(copyAddress, &QAction::triggered, this,
            [text = address.value_or(QString())] { QApplication::clipboard()->setText(text); });

    // Only a web address leaves the program: a stored script or file address is never opened.
    const std::optional<QUrl> page = viewer::paneAddress(address.value_or(QString()));
    QAction* open = menu->addAction(tr("&Open in Web Browser"));
    open->setObjectName(QStringLiteral("mnuOpenInBrowser"));
    open->setEnabled(page.has_value());
    connect(open, &QAction::triggered, this,
            [url = page.value_or(QUrl())] { ui::openWebPage(url.toString()); });
    return menu;
}

} // namespace app
