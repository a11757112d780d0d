#include "index_support.h"

#include "read/state.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace jet::test {

std::vector<ListedFile> openTestFiles() {
    std::vector<ListedFile> files;
    for (const ListedFile& file : listedFiles()) {
        if (file.name.starts_with("generated__")) // made by another program from our rows
            continue;
        try {
            Database::open(testFile(file.name), file.password);
            files.push_back(file);
        } catch (const Error&) {
            // a file no one can read, such as one with column types no one defines
        }
    }
    std::sort(files.begin(), files.end(),
              [](const ListedFile& a, const ListedFile& b) { return a.name < b.name; });
    return files;
}

std::vector<detail::KeyColumn> keyColumns(const Database& db, const std::string& table,
                                          const Index& index) {
    const DatabaseState& state = *detail::DatabaseAccess::state(db);
    const detail::TableDef def = detail::readUserTableDef(state, detail::userTable(state, table));
    return detail::keyColumnsOf(*state.format, def, index.columns,
                                {db.codePage(), state.header.sortOrder});
}

std::vector<IndexKeys> indexKeys(const Database& db) {
    const DatabaseState& state = *detail::DatabaseAccess::state(db);
    std::vector<IndexKeys> out;
    for (const std::string& name : db.tableNames()) {
        const Table table = db.table(name);
        const detail::TableDef def =
            detail::readUserTableDef(state, detail::userTable(state, name));
        for (const Index& index : def.indexes) {
            IndexKeys keys{name, index.name, true, false, {}, {}};
            const auto columns = keyColumns(db, name, index);
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const ColumnType type = columns[i].type;
                if (type != ColumnType::Text && type != ColumnType::Memo)
                    continue;
                keys.hasText = true;
                keys.supported = keys.supported && columns[i].textOrder.has_value();
            }
            for (const auto& entry :
                 detail::readIndexEntries(state.pages, *state.format, index.firstPage, def.page))
                keys.stored.push_back(entry.key);
            if (keys.supported) {
                Cursor cursor = table.cursor();
                for (bool ok = !cursor.eof(); ok; ok = cursor.moveNext()) {
                    std::vector<const Value*> values;
                    for (const IndexColumn& c : index.columns)
                        values.push_back(&cursor.value(c.column));
                    if (index.ignoreNulls &&
                        std::all_of(values.begin(), values.end(),
                                    [](const Value* v) { return v->isNull(); }))
                        continue;
                    keys.computed.push_back(detail::entryKey(values, columns));
                }
            }
            out.push_back(std::move(keys));
        }
    }
    return out;
}

std::string hex(const Key& key) {
    std::ostringstream out;
    static const char* digits = "0123456789abcdef";
    for (std::uint8_t b : key)
        out << digits[b >> 4] << digits[b & 15];
    return out.str();
}

} // namespace jet::test
