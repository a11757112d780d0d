#include "frmPB.h"

#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

// Positions are kept in twips (1/1440 inch), as the window was laid out.
int twipsToPixels(float twips, float dotsPerInch) {
    return static_cast<int>(twips * dotsPerInch / 1440.0f + 0.5f);
}

} // namespace

frmPB::frmPB(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPB");
    setWindowTitle("Augurlex v1.95");
    setFont(QFont("Verdana"));
    setModal(true);

    Label1 = new QLabel("Please wait while Dictionary is updating ....", this);
    Label1->setObjectName("Label1");
    PB = new QProgressBar(this);
    PB->setObjectName("PB");
    PB->setMinimum(0);
    PB->setTextVisible(false);
    PB->setValue(0);
    cmdPB = new QPushButton(this);
    cmdPB->setObjectName("cmdPB");
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");

    const float dpi = static_cast<float>(logicalDpiX());
    auto place = [&](QWidget* w, float left, float top, float width, float height) {
        w->setGeometry(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                       twipsToPixels(height, dpi));
    };
    setFixedSize(twipsToPixels(5925, dpi), twipsToPixels(1305, dpi));
    place(Label1, 1110, 240, 3675, 195);
    place(PB, 195, 720, 5520, 300);
    place(cmdPB, 1920, 1920, 1605, 375); // below the client area: out of sight

    connect(Timer1, &QTimer::timeout, this, &frmPB::OnTimer1Tick);
    connect(cmdPB, &QPushButton::clicked, this, &frmPB::OnCmdPBClick);
}

void frmPB::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loaded_)
        Load();
}

void frmPB::Load() {
    loaded_ = true;
    cmdPB->setText("Show Progress");
    maximum_ = kMaximum;
    SetUpBar(PB);
    Timer1->stop();
    Timer1->setInterval(kTickMilliseconds);
    PB->setVisible(true);
    Timer1->start();
}

void frmPB::SetUpBar(QProgressBar* bar) {
    bar->setMaximum(maximum_);
    bar->setVisible(false);
}

void frmPB::OnTimer1Tick() {
    if (tickCount_ != maximum_) {
        ++tickCount_;
        PB->setValue(tickCount_);
        return;
    }
    Timer1->stop();
    tickCount_ = 0;
    PB->setVisible(false);
    loaded_ = false; // shown again, the window loads again
    done(QDialog::Accepted);
}

void frmPB::reject() {
    Timer1->stop();
    tickCount_ = 0;
    loaded_ = false;
    QDialog::reject();
}
