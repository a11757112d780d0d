#include "app/keyword_list_model.h"

namespace app {

namespace {
void appendAll(QStringList& to, const std::vector<std::string>& keywords) {
    to.reserve(to.size() + static_cast<qsizetype>(keywords.size()));
    for (const std::string& keyword : keywords)
        to.append(QString::fromStdString(keyword));
}
} // namespace

int KeywordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(keywords_.size());
}

QVariant KeywordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= keywords_.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return keywords_.at(index.row());
    return {};
}

QVariant KeywordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Keywords");
    return QAbstractListModel::headerData(section, orientation, role);
}

void KeywordListModel::SetKeywords(const std::vector<std::string>& keywords) {
    beginResetModel();
    keywords_.clear();
    appendAll(keywords_, keywords);
    endResetModel();
}

void KeywordListModel::AppendKeywords(const std::vector<std::string>& keywords) {
    if (keywords.empty())
        return;
    const int first = static_cast<int>(keywords_.size());
    beginInsertRows({}, first, first + static_cast<int>(keywords.size()) - 1);
    appendAll(keywords_, keywords);
    endInsertRows();
}

void KeywordListModel::Clear() {
    beginResetModel();
    keywords_.clear();
    endResetModel();
}

} // namespace app
