#include "app/keyword_list_model.h"

#include <algorithm>

namespace app {

namespace {
void appendAll(QStringList& to, const std::vector<std::string>& keywords) {
    to.reserve(to.size() + static_cast<qsizetype>(keywords.size()));
    for (const std::string& keyword : keywords)
        to.append(QString::fromStdString(keyword));
}
} // namespace

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

int KeywordListModel::keywordRow(int shownRow) const {
    return shown_.empty() ? shownRow : shown_[static_cast<std::size_t>(shownRow)];
}

QVariant KeywordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= keywords_.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return keywords_.at(keywordRow(index.row()));
    return {};
}

QVariant KeywordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Keywords");
    return QAbstractListModel::headerData(section, orientation, role);
}

bool KeywordListModel::shownBefore(int a, int b) const {
    const int byText = keywords_.at(a).compare(keywords_.at(b), Qt::CaseInsensitive);
    // Equal texts keep the file's order whichever way the list is sorted.
    if (byText == 0)
        return a < b;
    return order_ == KeywordOrder::AToZ ? byText < 0 : byText > 0;
}

void KeywordListModel::sortRows() {
    shown_.clear();
    if (order_ == KeywordOrder::File)
        return;
    shown_.resize(static_cast<std::size_t>(keywords_.size()));
    for (std::size_t i = 0; i < shown_.size(); ++i)
        shown_[i] = static_cast<int>(i);
    std::sort(shown_.begin(), shown_.end(), [this](int a, int b) { return shownBefore(a, b); });
}

void KeywordListModel::setOrder(KeywordOrder order) {
    beginResetModel();
    order_ = order;
    sortRows();
    endResetModel();
}

void KeywordListModel::setKeywords(const std::vector<std::string>& keywords) {
    beginResetModel();
    keywords_.clear();
    appendAll(keywords_, keywords);
    sortRows();
    endResetModel();
}

} // namespace app
