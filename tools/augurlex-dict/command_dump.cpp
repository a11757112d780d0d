// augurlex-dict dump FILE [--password P] [--code-page N] [--table NAME] [--format jsonl|csv]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
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
        std::fprintf(err, "augurlex-dict: %s: %s\n", path.c_str(), error.what());
        return kUnreadable;
    }

    OutputWriter output(out);
    try {
        std::string tableName = chooseTable(*db, args.option("table"), path);
        writeRows(db->table(tableName), format, output);
    } catch (const jet::Error& error) {
        output.flush();
        std::fprintf(err, "augurlex-dict: %s: %s\n", path.c_str(), error.what());
        return kUnreadable;
    }
    if (!output.flush()) {
        std::fprintf(err, "augurlex-dict: cannot write the output\n");
        return kFailure;
    }
    return kSuccess;
}

} // namespace dict
