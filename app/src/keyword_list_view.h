// The keyword list's view. It tells the user's own choice of a keyword with the keys (moving to
// it, or selecting it) from the view setting its current row by itself, as it does when it takes
// the focus or gets a new list: only the user's choice is copied into the search box.
#pragma once

#include <QTreeView>

namespace app {

class KeywordListView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

signals:
    // A key moved the current row or selected it.
    void keywordChosenByKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace app
