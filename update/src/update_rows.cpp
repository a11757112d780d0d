#include "update_rows.h"

#include "store/modDB.h"

namespace update {

UpdateRows ReadUpdateRows(const std::string& path) {
    UpdateRows result;
    try {
        Connection connection;
        modDB::OpenConnection(connection, path);
        Recordset rows;
        modDB::OpenRecordset(rows, connection, modDB::kQuery);
        for (const char* column : {"names", "Key", "Link"}) {
            if (rows.Table().columnIndex(column) < 0)
                throw jet::Error(jet::ErrorKind::NotFound,
                                 std::string("table \"data\" has no column \"") + column + "\"");
        }
        const std::int64_t count = rows.RecordCount();
        result.rows.reserve(static_cast<std::size_t>(count));
        rows.MoveFirst();
        for (std::int64_t i = 0; i < count; ++i) {
            result.rows.push_back({rows.Fields("names"), rows.Fields("Key"), rows.Fields("Link")});
            rows.MoveNext();
        }
    } catch (const jet::Error& error) {
        result.rows.clear();
        result.problem = path + ": " + error.what();
    }
    return result;
}

} // namespace update
