#include "augurlex-dict/table_choice.h"

#include "augurlex-dict/arguments.h"
#include "augurlex-dict/open_database.h"
#include "jet/check.h"

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

// A usage error only for a sound file; a damaged one is reported as such.
[[noreturn]] void refuse(const std::string& message, const std::string& path,
                         const std::optional<std::string>& password) {
    std::vector<std::string> faults = withProgramPasswords(
        password, [&](std::string_view pw) { return jet::checkDatabase(path, pw); });
    if (!faults.empty())
        throw jet::Error(jet::ErrorKind::Corrupt, "the file is damaged: " + faults.front());
    throw UsageError(message);
}

} // namespace

std::string chooseTable(const jet::Database& db, const std::optional<std::string>& chosen,
                        const std::string& path, const std::optional<std::string>& password) {
    std::vector<std::string> names = db.tableNames();
    if (chosen) {
        if (!db.hasTable(*chosen))
            refuse("no table \"" + *chosen + "\" in " + path + "; " + tableList(names), path,
                   password);
        return db.table(*chosen).name();
    }
    if (names.size() == 1)
        return names[0];
    refuse("choose a table with --table; " + tableList(names), path, password);
}

} // namespace dict
