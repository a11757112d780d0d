#include "store/record_walk.h"

#include "store/file_message.h"
#include "store/program_files.h"
#include "table_walk.h"

namespace store {

TableWalk::TableWalk(const jet::Database& database, const std::vector<std::string_view>& fields)
    : table_(database.table(kDataTable)) {
    for (std::string_view field : fields) {
        const int column = table_.columnIndex(field);
        if (column < 0)
            throw jet::Error(jet::ErrorKind::NotFound, "table \"" + table_.name() +
                                                           "\" has no column \"" +
                                                           std::string(field) + "\"");
        columns_.push_back(static_cast<std::size_t>(column));
    }
    record_.fields_.resize(fields.size());
}

void TableWalk::run(const RecordVisitor& visit) {
    jet::Cursor rows = table_.cursor();
    std::uint64_t count = 0;
    for (bool onRow = !rows.eof(); onRow; onRow = rows.moveNext()) {
        ++count;
        for (std::size_t k = 0; k < columns_.size(); ++k)
            rows.readText(columns_[k], record_.fields_[k]);
        if (!visit(record_))
            return;
    }
    // A data page the damage made unreadable drops out of the walk unseen; only the count the
    // table stores tells that records are missing.
    if (count != table_.storedRowCount())
        throw jet::Error(jet::ErrorKind::Corrupt, "table \"" + table_.name() + "\" stores " +
                                                      std::to_string(table_.storedRowCount()) +
                                                      " records, but " + std::to_string(count) +
                                                      " could be read; the file is damaged");
}

std::optional<std::string> walkDatabase(const jet::Database& database, const std::string& path,
                                        const std::vector<std::string_view>& fields,
                                        const RecordVisitor& visit) {
    try {
        TableWalk(database, fields).run(visit);
    } catch (const jet::Error& error) {
        return aboutFile(path, error.what());
    }
    return std::nullopt;
}

std::optional<std::string> walkRecords(const std::string& path,
                                       const std::vector<std::string_view>& fields,
                                       const RecordVisitor& visit) {
    std::optional<jet::Database> database;
    try {
        database.emplace(jet::Database::open(path, kDatabasePassword));
    } catch (const jet::Error& error) {
        return aboutFile(path, error.what());
    }
    return walkDatabase(*database, path, fields, visit);
}

} // namespace store
