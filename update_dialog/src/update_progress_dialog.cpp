#include "update_dialog/update_progress_dialog.h"

#include "ui/program_title.h"
#include "ui/twips.h"

#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace update_dialog {

namespace {

// A design rectangle in twips.
void place(QWidget* widget, float left, float top, float width, float height) {
    using ui::twipsToPixels;
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

} // namespace

UpdateProgressDialog::UpdateProgressDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPB"));
    setWindowTitle(QString::fromLatin1(ui::kTitleWithVersion));
    setFont(QFont(QStringLiteral("Verdana")));
    setModal(true);

    waitCaption_ = new QLabel(tr("Please wait while Dictionary is updating ...."), this);
    waitCaption_->setObjectName(QStringLiteral("Label1"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("PB"));
    bar_->setMinimum(0);
    bar_->setTextVisible(false);
    bar_->setValue(0);
    showProgressButton_ = new QPushButton(this);
    showProgressButton_->setObjectName(QStringLiteral("cmdPB"));
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));

    place(waitCaption_, 1110, 240, 3675, 195);
    place(bar_, 195, 720, 5520, 300);
    place(showProgressButton_, 1920, 1920, 1605, 375);
    fitCaption();

    connect(timer_, &QTimer::timeout, this, &UpdateProgressDialog::tick);
}

void UpdateProgressDialog::fitCaption() {
    // The design's sizes assume its own font; with any other the caption grows to its whole text
    // and the dialog grows with it, the bar keeping its margins.
    using ui::twipsToPixels;
    const QSize text = waitCaption_->sizeHint();
    const int margin = twipsToPixels(195);
    const int width = std::max(twipsToPixels(5925), text.width() + 2 * margin);
    const int captionTop = twipsToPixels(240);
    const int captionHeight = std::max(twipsToPixels(195), text.height());
    const int barTop = std::max(twipsToPixels(720), captionTop + captionHeight + margin);
    const int barHeight = twipsToPixels(300);
    waitCaption_->setGeometry((width - text.width()) / 2, captionTop, text.width(), captionHeight);
    bar_->setGeometry(margin, barTop, width - 2 * margin, barHeight);
    setFixedSize(width, std::max(twipsToPixels(1305), barTop + barHeight + margin));
}

void UpdateProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_)
        start();
}

void UpdateProgressDialog::start() {
    started_ = true;
    showProgressButton_->setText(tr("Show Progress"));
    bar_->setMaximum(kSteps);
    bar_->setVisible(true);
    timer_->start(kTickMilliseconds);
}

void UpdateProgressDialog::stop() {
    timer_->stop();
    ticks_ = 0;
    // Shown again, the dialog starts again.
    started_ = false;
}

void UpdateProgressDialog::tick() {
    if (ticks_ != kSteps) {
        ++ticks_;
        bar_->setValue(ticks_);
        return;
    }
    stop();
    bar_->setVisible(false);
    done(QDialog::Accepted);
}

void UpdateProgressDialog::reject() {
    stop();
    QDialog::reject();
}

} // namespace update_dialog
