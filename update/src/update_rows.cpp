#include "update_rows.h"

#include "store/file_check.h"
#include "store/record_walk.h"

namespace update {

UpdateRows readUpdateRows(const std::string& path) {
    UpdateRows update;
    // A damaged update file is refused whole: rows read through a changed definition or map
    // would be merged as if they were what the file says.
    if ((update.problem = store::faultForReading(path)))
        return update;
    update.problem =
        store::walkRecords(path, {"names", "Key", "Link"}, [&](const store::Record& record) {
            update.rows.push_back({record[0], record[1], record[2]});
            return true;
        });
    if (update.problem)
        update.rows.clear();
    return update;
}

} // namespace update
