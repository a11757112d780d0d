// The items of the keyword list: one text per item, in the order they were added, duplicates
// kept. Content is replaced or extended a whole batch at a time, so a list of a hundred
// thousand keywords fills with one notification.
#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <string>
#include <vector>

namespace app {

class KeywordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void SetKeywords(const std::vector<std::string>& keywords);
    void AppendKeywords(const std::vector<std::string>& keywords);
    void Clear();
    const QStringList& Keywords() const { return keywords_; }

private:
    QStringList keywords_;
};

} // namespace app
