// augurlex-dict dump FILE [--password P] [--code-page N] [--table NAME] [--format jsonl|csv]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "augurlex-dict/open_database.h"
#include "augurlex-dict/output_writer.h"
#include "augurlex-dict/row_formats.h"
#include "augurlex-dict/table_choice.h"

#include <string>

namespace dict {

int runDump(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"password", "code-page", "table", "format"});
    if (args.positionals().size() != 1)
        throw UsageError("dump takes exactly one FILE");
    RowFormat format = RowFormat::JsonLines;
    if (auto name = args.option("format"); name && !parseRowFormat(*name, format))
        throw UsageError("unknown format \"" + *name + "\" (use jsonl or csv)");
    const std::string& path = args.positionals()[0];

    std::optional<jet::Database> db;
    try {
        db.emplace(openDatabase(openRequest(path, args)));
    } catch (const jet::Error& error) {
        tellUser(err, aboutFile(path, error.what()));
        return kUnreadable;
    }

    OutputWriter output(out);
    try {
        std::string tableName =
            chooseTable(*db, args.option("table"), path, args.option("password"));
        const jet::Table table = db->table(tableName);
        const std::uint64_t readable = writeRows(table, format, output, RowWalk::forThisMachine());
        // A damaged page can hide rows without the walk noticing: the count the table keeps
        // tells.
        if (readable != table.storedRowCount()) {
            output.flush();
            tellUser(err, path + ": table \"" + tableName + "\" stores " +
                              std::to_string(table.storedRowCount()) + " rows, but " +
                              std::to_string(readable) + " could be read; the file is damaged");
            return kUnreadable;
        }
    } catch (const jet::Error& error) {
        output.flush();
        tellUser(err, aboutFile(path, error.what()));
        return kUnreadable;
    }
    if (!output.flush()) {
        return cannotWriteOutput(err);
    }
    return kSuccess;
}

} // namespace dict
