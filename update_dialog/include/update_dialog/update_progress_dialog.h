// The progress dialog shown after a dictionary update: a bar fills in 50 steps, one every
// 100 ms, and the dialog closes itself on the tick after the bar is full. The bar follows the
// timer alone, not the merge.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace update_dialog {

class UpdateProgressDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSteps = 50;
    static constexpr int kTickMilliseconds = 100;

    explicit UpdateProgressDialog(QWidget* parent = nullptr);

    // One timer tick: a step of the bar, or, once it is full, the end of the dialog.
    void tick();

    // Closed early (Escape, the close box), the dialog is left as a full run leaves it.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitCaption();
    void start();
    void stop();

    QLabel* waitCaption_ = nullptr;
    QProgressBar* bar_ = nullptr;
    // Lies below the client area, out of sight, and does nothing.
    QPushButton* showProgressButton_ = nullptr;
    QTimer* timer_ = nullptr;
    int ticks_ = 0;
    bool started_ = false;
};

} // namespace update_dialog
