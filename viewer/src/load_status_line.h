// The line at the foot of the browser pane that shows, while a page loads, its address and how
// much of it has come. It lies over the page's lower left corner, as a browser's status bubble
// does, so the page keeps its size when the line comes and goes.
#pragma once

#include "viewer/browser.h"

#include <QLabel>

namespace viewer {

class LoadStatusLine : public QLabel {
    Q_OBJECT
public:
    // Made as a child of the pane, over whatever the pane shows.
    explicit LoadStatusLine(QWidget* pane);

    // Shown with the address and the percentage while the state is loading; hidden otherwise.
    void showState(const NavigationState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Elides the address to the pane's width and puts the line in the pane's lower left corner.
    void place();

    QString address_;
    int progress_ = 0;
};

} // namespace viewer
