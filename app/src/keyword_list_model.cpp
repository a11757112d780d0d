#include "app/keyword_list_model.h"

#include "lookup/matching.h"

#include <QFont>
#include <algorithm>
#include <numeric>

namespace app {

KeywordOrder nextKeywordOrder(KeywordOrder order) {
    switch (order) {
    case KeywordOrder::File:
        return KeywordOrder::AToZ;
    case KeywordOrder::AToZ:
        return KeywordOrder::ZToA;
    case KeywordOrder::ZToA:
        return KeywordOrder::File;
    }
    return KeywordOrder::File;
}

int KeywordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(keywords_.size());
}

std::size_t KeywordListModel::keywordRow(int shownRow) const {
    const auto row = static_cast<std::size_t>(shownRow);
    return shown_.empty() ? row : shown_[row];
}

QVariant KeywordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const std::string_view keyword = keywords_[keywordRow(index.row())];
        return QString::fromUtf8(keyword.data(), static_cast<qsizetype>(keyword.size()));
    }
    if (role == Qt::FontRole && suggestions_) {
        QFont font;
        font.setItalic(true);
        return font;
    }
    return {};
}

QVariant KeywordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return suggestions_ ? tr("Did you mean?") : QStringLiteral("Keywords");
    return QAbstractListModel::headerData(section, orientation, role);
}

std::vector<std::uint32_t> shownOrder(const lookup::KeywordRows& keywords, KeywordOrder order) {
    std::vector<std::uint32_t> shown;
    if (order == KeywordOrder::File)
        return shown;
    // Each keyword lowered once; equal texts keep the file's order whichever way it is sorted.
    lookup::PackedTexts lowered;
    std::string scratch;
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        scratch.clear();
        lookup::appendLowered(keywords[i], scratch);
        lowered.push_back(scratch);
    }
    shown.resize(keywords.size());
    std::iota(shown.begin(), shown.end(), 0u);
    const bool descending = order == KeywordOrder::ZToA;
    std::stable_sort(shown.begin(), shown.end(),
                     [&lowered, descending](std::uint32_t a, std::uint32_t b) {
                         return descending ? lowered[b] < lowered[a] : lowered[a] < lowered[b];
                     });
    return shown;
}

void KeywordListModel::setOrder(KeywordOrder order) {
    beginResetModel();
    order_ = order;
    shown_ = shownOrder(keywords_, order_);
    endResetModel();
}

void KeywordListModel::setKeywords(const std::vector<std::string>& keywords) {
    lookup::PackedTexts texts;
    for (const std::string& keyword : keywords)
        texts.push_back(keyword);
    texts.shrink_to_fit();
    setKeywords(lookup::KeywordRows(std::move(texts)));
}

void KeywordListModel::setKeywords(lookup::KeywordRows keywords, bool suggestions) {
    std::vector<std::uint32_t> shown = shownOrder(keywords, order_);
    setKeywords(std::move(keywords), suggestions, order_, std::move(shown));
}

void KeywordListModel::setKeywords(lookup::KeywordRows keywords, bool suggestions,
                                   KeywordOrder order, std::vector<std::uint32_t> shown) {
    if (order != order_) // sorted for an order since left
        shown = shownOrder(keywords, order_);
    beginResetModel();
    keywords_ = std::move(keywords);
    const bool headerChanges = suggestions_ != suggestions;
    suggestions_ = suggestions;
    shown_ = std::move(shown);
    endResetModel();
    if (headerChanges)
        emit headerDataChanged(Qt::Horizontal, 0, 0);
}

} // namespace app
