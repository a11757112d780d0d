#include "weblinks/exit_screen.h"

#include "text_box_rules.h"
#include "ui/link_label.h"
#include "ui/maker_addresses.h"
#include "ui/message_box.h"
#include "ui/program_icon.h"
#include "ui/program_title.h"
#include "ui/screen_centre.h"
#include "ui/twips.h"
#include "ui/web_page.h"
#include "weblinks/launchers.h"
#include "weblinks/referral_request.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRect>
#include <QShortcut>
#include <array>

namespace weblinks {
namespace {

// A design rectangle in twips, placed in pixels.
QRect twipsRect(int left, int top, int width, int height) {
    using ui::twipsToPixels;
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

const std::array<const char*, 4> kAppeals{
    "Vatic Softwares, such as this can be created and maintained only with your support. The "
    "best way to support Seerhall is to visit Seerhall regularly and take part in the "
    "discussions and other activities on the board.",
    "Visit Seerhall regularly. Support Seerhall by taking part in the discussions and other "
    "activities. These softwares cannot be supported and maintained, without you regularly "
    "visiting Seerhall",
    "Seerhall is a FREE online discussion forum for all things vatic. To help Seerhall develop "
    "and maintain this software visit Seerhall regularly.",
    "Seerhall needs your help. All you need to do is visit Seerhall regularly and take part in "
    "the various discussions and activites to help us maintain and develop more Vatic "
    "Softwares.",
};

template <typename Widget, typename Parent>
Widget* place(Parent* parent, const char* name, QRect twipsRect) {
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    widget->setGeometry(twipsRect);
    return widget;
}

QLineEdit* placeTextBox(QWidget* frame, const char* name, const char* placeholder, QRect rect) {
    auto* box = place<QLineEdit>(frame, name, rect);
    box->setText(placeholder);
    addPlaceholder(*box, placeholder);
    return box;
}

} // namespace

QString ExitScreen::appeal(int index) {
    return kAppeals.at(static_cast<size_t>(index));
}

ExitScreen::ExitScreen()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint) {
    setObjectName("frmExitScreen");
    setWindowTitle(ui::kTitleWithVersion);
    setFixedSize(ui::twipsToPixels(11115), ui::twipsToPixels(4725));

    buildAppealArea();
    buildSoftwareFrame();
    buildReferralFrame();

    exitButton_ = place<QPushButton>(this, "cmdClose", twipsRect(9600, 4200, 1335, 405));
    exitButton_->setText("E&xit");
    connect(exitButton_, &QPushButton::clicked, this, &ExitScreen::endRequested);

    // Enter presses the button that has the focus; Escape closes the screen as its close box does.
    for (QPushButton* button : {exitButton_, submitButton_})
        button->setAutoDefault(true);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);

    setTabOrder();
    exitButton_->setFocus(Qt::OtherFocusReason);
}

void ExitScreen::buildAppealArea() {
    auto* picture = place<QLabel>(this, "Picture1", twipsRect(120, 120, 480, 480));
    picture->setPixmap(ui::programIconPixmap(*this));

    auto* title = place<QLabel>(this, "Label1", twipsRect(720, 180, 6000, 360));
    title->setText(ui::kTitleWithVersion);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);

    appeal_ = place<QLabel>(this, "Label2", twipsRect(120, 720, 6600, 1200));
    appeal_->setWordWrap(true);
    appeal_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    appeal_->setText(appeal(static_cast<int>(QRandomGenerator::global()->bounded(4))));

    visitCheck_ = place<QCheckBox>(this, "Check1", twipsRect(120, 1980, 6600, 315));
    const QString host = ui::makerSiteHost();
    visitCheck_->setText("Click Here To Visit " + (host.isEmpty() ? "Seerhall" : host) + " Now");
    connect(visitCheck_, &QCheckBox::clicked, this, &ExitScreen::onVisitCheckClicked);
    // The screen keeps its design: controls without an address in this build are greyed out.
    ui::disableWithoutAddress(*visitCheck_, ui::MakerPage::Home);
}

void ExitScreen::buildSoftwareFrame() {
    auto* frame = place<QGroupBox>(this, "Frame6", twipsRect(6960, 120, 3975, 3975));
    frame->setTitle("Download Vatic Softwares");

    auto* invitation = place<QLabel>(frame, "Label3", twipsRect(120, 360, 3735, 2700));
    invitation->setWordWrap(true);
    invitation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    invitation->setText(
        "Try the other Vatic Softwares: free programs for astrology, psychic readings, tarot, "
        "numerology and the occult, made by the people behind this one.");

    auto* link = place<QLabel>(frame, "lblGoToHome", twipsRect(120, 3240, 3735, 480));
    link->setText("Click Here To Visit Vatic Softwares");
    ui::colourAsLink(*link);
    ui::makeLabelClickable(*link, [this] { openSoftwareSitePage(this); });
    ui::disableWithoutAddress(*link, ui::MakerPage::SoftwareSite);
}

void ExitScreen::buildReferralFrame() {
    auto* frame = place<QGroupBox>(this, "Frame2", twipsRect(120, 2400, 6600, 1455));
    frame->setTitle("Refer A Friend");

    nameBox_ = placeTextBox(frame, "txtName", "Your Name", twipsRect(120, 300, 3120, 315));
    emailBox_ =
        placeTextBox(frame, "txtEmail", "Your Email Address", twipsRect(3360, 300, 3120, 315));
    friendNameBox_ =
        placeTextBox(frame, "txtFriendName", "Friend's Name", twipsRect(120, 690, 3120, 315));
    friendEmailBox_ = placeTextBox(frame, "txtFriendEmail", "Friend's Email Address",
                                   twipsRect(3360, 690, 3120, 315));
    nameBox_->setAccessibleName("Your name");
    emailBox_->setAccessibleName("Your e-mail address");
    friendNameBox_->setAccessibleName("Your friend's name");
    friendEmailBox_->setAccessibleName("Your friend's e-mail address");
    rejectTypedSpaces(*emailBox_);
    rejectTypedSpaces(*friendEmailBox_);

    submitButton_ = place<QPushButton>(frame, "cmdSubmit", twipsRect(2280, 1050, 2040, 345));
    submitButton_->setText("Refer A Friend &Now");
    connect(submitButton_, &QPushButton::clicked, this, &ExitScreen::onSubmit);

    // Lies below the frame's visible area: never seen, yet reached with the Tab key, and its
    // initial text (with its line break) is sent unless the user types into it.
    messageBox_ = place<QPlainTextEdit>(frame, "txtMessage", twipsRect(120, 3600, 6360, 735));
    messageBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    messageBox_->setTabChangesFocus(true);
    messageBox_->setPlainText("Your Message\n");
    messageBox_->setAccessibleName("Your message");
    addPlaceholder(*messageBox_, "Your Message");
    ui::disableWithoutAddress(*frame, ui::MakerPage::ReferralService);
}

void ExitScreen::setTabOrder() {
    QWidget::setTabOrder(exitButton_, visitCheck_);
    QWidget::setTabOrder(visitCheck_, nameBox_);
    QWidget::setTabOrder(nameBox_, submitButton_);
    QWidget::setTabOrder(submitButton_, emailBox_);
    QWidget::setTabOrder(emailBox_, friendEmailBox_);
    QWidget::setTabOrder(friendEmailBox_, friendNameBox_);
    QWidget::setTabOrder(friendNameBox_, messageBox_);
}

void ExitScreen::onVisitCheckClicked(bool checked) {
    // A link dressed as a check box: it never stays checked.
    if (!checked)
        return;
    visitCheck_->setChecked(false);
    openHomePage(this);
}

QString ExitScreen::messageText() const {
    // A multi-line box hands its line breaks over as CR LF.
    return messageBox_->toPlainText().replace(QChar('\n'), QLatin1String("\r\n"));
}

void ExitScreen::onSubmit() {
    const ReferralRequest request({nameBox_->text(), emailBox_->text(), messageText(),
                                   friendNameBox_->text(), friendEmailBox_->text()});
    const QString problem = request.problem();
    if (!problem.isEmpty()) {
        ui::showMessage({problem, ui::MessageIcon::Critical, ui::MessageButtons::Ok}, this);
        return;
    }
    const std::optional<QString> service = ui::makerAddress(ui::MakerPage::ReferralService);
    if (!service) {
        ui::showMessage({QString::fromLatin1(ui::kNoMakerAddressMessage)}, this);
        return;
    }
    ui::openWebPage(
        request.address(*service, ui::makerAddress(ui::MakerPage::ProductSite).value_or("")));
}

void ExitScreen::closeEvent(QCloseEvent* event) {
    event->accept();
    emit endRequested();
}

ExitScreen* showExitScreen() {
    auto* screen = new ExitScreen;
    screen->setAttribute(Qt::WA_DeleteOnClose); // no one else owns it
    ui::centreOnScreen(*screen);
    screen->show();
    screen->raise();
    screen->activateWindow();
    return screen;
}

} // namespace weblinks
