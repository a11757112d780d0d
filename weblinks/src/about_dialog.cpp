#include "weblinks/about_dialog.h"

#include "ui/link_label.h"
#include "ui/maker_addresses.h"
#include "ui/program_icon.h"
#include "ui/program_title.h"
#include "ui/screen_centre.h"
#include "weblinks/launchers.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace weblinks {
namespace {

QLabel* addLabel(QWidget& owner, const char* name, const QString& text) {
    auto* label = new QLabel(text, &owner);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setFixedWidth(360);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("frmAbout");
    setWindowTitle(ui::kTitleWithVersion);

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture1");
    picture->setPixmap(ui::programIconPixmap(*this));

    QLabel* title = addLabel(*this, "Label2", ui::kTitleWithVersion);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);

    QLabel* description = addLabel(
        *this, "Label1",
        "Augurlex Software is a collection of all words possible related to the vatic realm. "
        "This software is an easy reference of words and definitions related to Astrology, "
        "Tarot, Runes, Psychic, Numerology and Dream Interpretations with much more to come. "
        "All rights to this software are held by Vatic Softwares.");
    QLabel* offer = addLabel(*this, "Label3",
                             "Home Business Opportunity. Start your own Internet business and "
                             "make money online. Get this software fully branded for your "
                             "website.");
    QLabel* offerLink = addLabel(*this, "lblCoBrand", "Click here for more details.");
    ui::makeLabelClickable(*offerLink, [this] { openFullBrandPage(this); });
    const QString home = ui::makerAddress(ui::MakerPage::Home).value_or("our web site");
    QLabel* homeLink = addLabel(*this, "lblHomePage", "Click here to visit " + home);
    ui::makeLabelClickable(*homeLink, [this] { openHomePage(this); });
    ui::colourAsLink(*offerLink);
    ui::colourAsLink(*homeLink);
    // Without the maker's pages the offer and the links lead nowhere: they are left out.
    offer->setHidden(!ui::hasMakerPage(ui::MakerPage::FullBrand));
    offerLink->setHidden(offer->isHidden());
    homeLink->setHidden(!ui::hasMakerPage(ui::MakerPage::Home));

    auto* line = new QFrame(this);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(description);
    text->addSpacing(8);
    text->addWidget(offer);
    text->addWidget(offerLink);
    text->addSpacing(8);
    text->addWidget(homeLink);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, Qt::AlignTop);
    grid->addLayout(text, 0, 1);
    grid->addWidget(line, 1, 0, 1, 2);
    grid->addWidget(ok, 2, 1, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::showEvent(QShowEvent* event) {
    // Centred once its wrapped text has settled the window's final size.
    ui::centreOnScreen(*this);
    QDialog::showEvent(event);
}

void showAboutDialog(QWidget* owner) {
    // Unloaded when it closes, so that the next use loads a fresh window; the owner may be gone
    // by then if the program ended while the window was open.
    QPointer<AboutDialog> about = new AboutDialog(owner);
    about->setWindowModality(Qt::ApplicationModal);
    about->exec();
    delete about.data();
}

} // namespace weblinks
