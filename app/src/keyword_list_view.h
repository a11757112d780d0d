// The keyword list's view: a table of one column under a clickable header, which keeps nothing
// per row (a tree view keeps forty bytes for each of a million keywords). It tells the user's own
// choice of a keyword with the keys (moving to it, or selecting it) from the view setting its
// current row by itself, as it does when it takes the focus or gets a new list: only the user's
// choice is copied into the search box.
#pragma once

#include <QTableView>

namespace app {

class KeywordListView : public QTableView {
    Q_OBJECT
public:
    explicit KeywordListView(QWidget* parent = nullptr);

signals:
    // A key moved the current row or selected it.
    void keywordChosenByKey();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace app
