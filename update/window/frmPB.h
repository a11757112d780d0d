// The progress window shown after a dictionary update: a bar fills in 50 steps, one every
// 100 ms, and the window closes itself on the tick after the bar is full. The bar follows the
// timer alone, not the merge.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class frmPB : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaximum = 50;
    static constexpr int kTickMilliseconds = 100;

    explicit frmPB(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QProgressBar* PB = nullptr;
    QPushButton* cmdPB = nullptr;
    QTimer* Timer1 = nullptr;

    int TickCount() const { return tickCount_; }

public slots:
    // One timer tick: a step of the bar, or, once it is full, the end of the window.
    void OnTimer1Tick();
    void OnCmdPBClick() {}

    // Closed early (Escape, the close box), the window is left as a full run leaves it.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Load();
    void SetUpBar(QProgressBar* bar);

    int maximum_ = 0;
    int tickCount_ = 0;
    bool loaded_ = false;
};
