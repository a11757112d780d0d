#include "weblinks/exit_screen.h"

#include "message_box.h"
#include "screen_centre.h"
#include "text_box_rules.h"
#include "twips.h"
#include "weblinks/endpoints.h"
#include "weblinks/link_label.h"
#include "weblinks/program_end.h"
#include "weblinks/program_title.h"
#include "weblinks/tell_a_friend.h"
#include "weblinks/web_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRect>
#include <QStyle>
#include <array>

namespace augurlex {
namespace {

// A design rectangle in twips, placed in pixels.
QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
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
    AddPlaceholder(*box, placeholder);
    return box;
}

} // namespace

QString FrmExitScreen::Appeal(int index) {
    return kAppeals.at(static_cast<size_t>(index));
}

FrmExitScreen::FrmExitScreen()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint) {
    setObjectName("frmExitScreen");
    setWindowTitle(kTitleWithVersion);
    setFixedSize(TwipsToPixels(11115), TwipsToPixels(4725));

    buildAppealArea();
    buildSoftwareFrame();
    buildReferralFrame();

    cmdClose_ = place<QPushButton>(this, "cmdClose", TwipsRect(9600, 4200, 1335, 405));
    cmdClose_->setText("E&xit");
    connect(cmdClose_, &QPushButton::clicked, this, [] { UnloadAllFormsAndEnd(); });

    setTabOrder();
    cmdClose_->setFocus(Qt::OtherFocusReason);
}

void FrmExitScreen::buildAppealArea() {
    auto* picture = place<QLabel>(this, "Picture1", TwipsRect(120, 120, 480, 480));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_FileDialogInfoView);
    picture->setPixmap(icon.pixmap(32, 32));

    auto* title = place<QLabel>(this, "Label1", TwipsRect(720, 180, 6000, 360));
    title->setText(kTitleWithVersion);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);

    auto* appeal = place<QLabel>(this, "Label2", TwipsRect(120, 720, 6600, 1200));
    appeal->setWordWrap(true);
    appeal->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    appeal->setText(Appeal(static_cast<int>(QRandomGenerator::global()->bounded(4))));

    check1_ = place<QCheckBox>(this, "Check1", TwipsRect(120, 1980, 6600, 315));
    check1_->setText(QString("Click Here To Visit ") + kMakerSiteHost + " Now");
    connect(check1_, &QCheckBox::clicked, this, &FrmExitScreen::onCheck1Clicked);
}

void FrmExitScreen::buildSoftwareFrame() {
    auto* frame = place<QGroupBox>(this, "Frame6", TwipsRect(6960, 120, 3975, 3975));
    frame->setTitle("Download Vatic Softwares");

    auto* invitation = place<QLabel>(frame, "Label3", TwipsRect(120, 360, 3735, 2700));
    invitation->setWordWrap(true);
    invitation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    invitation->setText(
        "Try the other Vatic Softwares: free programs for astrology, psychic readings, tarot, "
        "numerology and the occult, made by the people behind this one.");

    auto* link = place<QLabel>(frame, "lblGoToHome", TwipsRect(120, 3240, 3735, 480));
    link->setText("Click Here To Visit Vatic Softwares");
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    link->setPalette(palette);
    MakeLabelClickable(*link, modHelp::OpenSoftwareSitePage);
}

void FrmExitScreen::buildReferralFrame() {
    auto* frame = place<QGroupBox>(this, "Frame2", TwipsRect(120, 2400, 6600, 1455));
    frame->setTitle("Refer A Friend");

    txtName_ = placeTextBox(frame, "txtName", "Your Name", TwipsRect(120, 300, 3120, 315));
    txtEmail_ =
        placeTextBox(frame, "txtEmail", "Your Email Address", TwipsRect(3360, 300, 3120, 315));
    txtFriendName_ =
        placeTextBox(frame, "txtFriendName", "Friend's Name", TwipsRect(120, 690, 3120, 315));
    txtFriendEmail_ = placeTextBox(frame, "txtFriendEmail", "Friend's Email Address",
                                   TwipsRect(3360, 690, 3120, 315));
    RejectTypedSpaces(*txtEmail_);
    RejectTypedSpaces(*txtFriendEmail_);

    cmdSubmit_ = place<QPushButton>(frame, "cmdSubmit", TwipsRect(2280, 1050, 2040, 345));
    cmdSubmit_->setText("Refer A Friend &Now");
    connect(cmdSubmit_, &QPushButton::clicked, this, &FrmExitScreen::onSubmit);

    // Lies below the frame's visible area: never seen, yet reached with the Tab key, and its
    // initial text (with its line break) is sent unless the user types into it.
    txtMessage_ = place<QPlainTextEdit>(frame, "txtMessage", TwipsRect(120, 3600, 6360, 735));
    txtMessage_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMessage_->setTabChangesFocus(true);
    txtMessage_->setPlainText("Your Message\n");
    AddPlaceholder(*txtMessage_, "Your Message");
}

void FrmExitScreen::setTabOrder() {
    QWidget::setTabOrder(cmdClose_, check1_);
    QWidget::setTabOrder(check1_, txtName_);
    QWidget::setTabOrder(txtName_, cmdSubmit_);
    QWidget::setTabOrder(cmdSubmit_, txtEmail_);
    QWidget::setTabOrder(txtEmail_, txtFriendEmail_);
    QWidget::setTabOrder(txtFriendEmail_, txtFriendName_);
    QWidget::setTabOrder(txtFriendName_, txtMessage_);
}

void FrmExitScreen::onCheck1Clicked(bool checked) {
    // A link dressed as a check box: it never stays checked.
    if (!checked)
        return;
    check1_->setChecked(false);
    modHelp::OpenHomePage();
}

QString FrmExitScreen::messageText() const {
    // A multi-line box hands its line breaks over as CR LF.
    return txtMessage_->toPlainText().replace(QChar('\n'), QLatin1String("\r\n"));
}

void FrmExitScreen::onSubmit() {
    ReferralFields& fields = modTellAFriend::Fields();
    fields.ReferrerName = TrimSpaces(txtName_->text());
    fields.ReferrerEmail = TrimSpaces(txtEmail_->text());
    fields.ReferralMessage = TrimSpaces(messageText());
    fields.FriendName = TrimSpaces(txtFriendName_->text());
    fields.FriendEmail = TrimSpaces(txtFriendEmail_->text());

    const QString problem =
        EmailPairProblem(TrimSpaces(txtEmail_->text()), TrimSpaces(txtFriendEmail_->text()));
    if (!problem.isEmpty()) {
        ShowMessage({problem, MessageIcon::Critical, MessageButtons::Ok}, this);
        return;
    }
    modTellAFriend::SendReferral();
}

void FrmExitScreen::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!ProgramIsEnding())
        UnloadAllFormsAndEnd();
}

FrmExitScreen* ShowExitScreen() {
    auto* screen = new FrmExitScreen;
    screen->setAttribute(Qt::WA_DeleteOnClose); // no one else owns it
    CentreOnScreen(*screen);
    screen->show();
    screen->raise();
    screen->activateWindow();
    return screen;
}

} // namespace augurlex
