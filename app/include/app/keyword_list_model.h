// The items of the keyword list: one text per item, duplicates kept, in the order they were
// given (the order of the dictionary files) or sorted A to Z or Z to A, ignoring case. The
// keywords stay as the dictionaries store them (UTF-8, shared with the cache of decoded files
// where they come whole from it); only the rows the view asks for become QStrings, so a million
// keywords fill the list at once. Content is replaced a whole batch at a time, with one
// notification.
#pragma once

#include "lookup/keyword_rows.h"

#include <QAbstractListModel>
#include <cstdint>
#include <string>
#include <vector>

namespace app {

enum class KeywordOrder { File, AToZ, ZToA };

// The order after a click on the list's header: A to Z, Z to A, then the file's own order again.
KeywordOrder nextKeywordOrder(KeywordOrder order);

// The rows of `keywords` in the order shown (empty in the file's order), case ignored, equal
// texts in the file's order. Safe off the user-interface thread, for a list being filtered.
std::vector<std::uint32_t> shownOrder(const lookup::KeywordRows& keywords, KeywordOrder order);

class KeywordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    // Suggestions show in italics, under the header "Did you mean?".
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setKeywords(const std::vector<std::string>& keywords);
    void setKeywords(lookup::KeywordRows keywords, bool suggestions = false);
    // The same with the shown order already worked out for `order` (used when it is still the
    // model's order).
    void setKeywords(lookup::KeywordRows keywords, bool suggestions, KeywordOrder order,
                     std::vector<std::uint32_t> shown);
    // Whether the rows are suggestions for a text that matched nothing.
    bool showsSuggestions() const { return suggestions_; }

    KeywordOrder order() const { return order_; }
    void setOrder(KeywordOrder order);

private:
    std::size_t keywordRow(int shownRow) const;

    lookup::KeywordRows keywords_;
    bool suggestions_ = false;
    KeywordOrder order_ = KeywordOrder::File;
    // Shown row -> row of keywords_; empty in the file's order.
    std::vector<std::uint32_t> shown_;
};

} // namespace app
