#include "augurlex-dict/table_choice.h"

#include "augurlex-dict/arguments.h"

namespace dict {

namespace {

std::string tableList(const std::vector<std::string>& names) {
    if (names.empty())
        return "the file has no user tables";
    std::string list = "tables:";
    for (const std::string& name : names)
        list += " \"" + name + "\"";
    return list;
}

} // namespace

std::string chooseTable(const jet::Database& db, const std::optional<std::string>& chosen,
                        const std::string& path) {
    std::vector<std::string> names = db.tableNames();
    if (chosen) {
        if (!db.hasTable(*chosen))
            throw UsageError("no table \"" + *chosen + "\" in " + path + "; " + tableList(names));
        return db.table(*chosen).name();
    }
    if (names.size() == 1)
        return names[0];
    throw UsageError("choose a table with --table; " + tableList(names));
}

} // namespace dict
