// The items of the keyword list: one text per item, duplicates kept, in the order they were
// given (the order of the dictionary files) or sorted A to Z or Z to A, ignoring case. Content is
// replaced a whole batch at a time, so a list of a hundred thousand keywords fills with one
// notification.
#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <string>
#include <vector>

namespace app {

enum class KeywordOrder { File, AToZ, ZToA };

// The order after a click on the list's header: A to Z, Z to A, then the file's own order again.
KeywordOrder nextKeywordOrder(KeywordOrder order);

class KeywordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setKeywords(const std::vector<std::string>& keywords);

    KeywordOrder order() const { return order_; }
    void setOrder(KeywordOrder order);

private:
    // Rebuilds the shown order from the given one.
    void sortRows();
    bool shownBefore(int a, int b) const;
    int keywordRow(int shownRow) const;

    QStringList keywords_;
    KeywordOrder order_ = KeywordOrder::File;
    // Shown row -> index into keywords_; empty in the file's order.
    std::vector<int> shown_;
};

} // namespace app
