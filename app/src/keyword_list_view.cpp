#include "keyword_list_view.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPersistentModelIndex>

namespace app {

KeywordListView::KeywordListView(QWidget* parent) : QTableView(parent) {
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false); // Tab leaves the list, as from any other control
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    // Rows as high as a line of text, all alike: no row is measured.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
}

void KeywordListView::keyPressEvent(QKeyEvent* event) {
    const QPersistentModelIndex before = currentIndex();
    const bool wasSelected = before.isValid() && selectionModel()->isSelected(before);
    QTableView::keyPressEvent(event);
    const QModelIndex now = currentIndex();
    if (now.isValid() && (now != before || selectionModel()->isSelected(now) != wasSelected))
        emit keywordChosenByKey();
}

} // namespace app
