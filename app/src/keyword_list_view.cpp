#include "keyword_list_view.h"

#include <QItemSelectionModel>
#include <QPersistentModelIndex>

namespace app {

void KeywordListView::keyPressEvent(QKeyEvent* event) {
    const QPersistentModelIndex before = currentIndex();
    const bool wasSelected = before.isValid() && selectionModel()->isSelected(before);
    QTreeView::keyPressEvent(event);
    const QModelIndex now = currentIndex();
    if (now.isValid() && (now != before || selectionModel()->isSelected(now) != wasSelected))
        emit keywordChosenByKey();
}

} // namespace app
