#include "store/modDB.h"

namespace modDB {

void WalkRecords(const std::string& path, const std::function<bool(const Recordset&)>& visit) {
    Connection connection;
    OpenConnection(connection, path);
    Recordset records;
    OpenRecordset(records, connection, kQuery);
    const std::int64_t count = records.RecordCount();
    if (count == 0)
        return;
    records.MoveFirst();
    for (std::int64_t i = 0; i < count; ++i) {
        if (!visit(records))
            return;
        records.MoveNext();
    }
}

} // namespace modDB
