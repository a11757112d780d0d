#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"

#include <string>

namespace dict {

const char* const kUsageText =
    "usage: augurlex-dict info FILE [--password P] [--code-page N]\n"
    "       augurlex-dict dump FILE [--password P] [--code-page N] [--table NAME]\n"
    "                          [--format jsonl|csv]\n"
    "       augurlex-dict check FILE [--password P]\n"
    "       augurlex-dict pages FILE [--password P] [--code-page N]\n"
    "       augurlex-dict page FILE N [--password P] [--code-page N]\n"
    "       augurlex-dict create FILE [--format mdb|accdb] [--password P] [--catalogue] [--force]\n"
    "                          [--index COLUMN[,COLUMN] [--unique] [--primary-key]\n"
    "                           [--descending] [--ignore-nulls]]...\n"
    "       augurlex-dict import FILE --csv CSV [--password P] [--table NAME]\n"
    "       augurlex-dict search TERM [--mode exact|wildcard] [--dictionary NAME] [--folder DIR]\n"
    "       augurlex-dict lookup TERM [--dictionary NAME] [--folder DIR]\n"
    "       augurlex-dict merge UPDATE_FILE [--folder DIR]\n"
    "  --code-page N: the Windows code page of a Jet 3 file's text when the file does not\n"
    "                 say it (e.g. 936 for GBK)\n"
    "  --password P:  without it, the program's database password is tried, then none;\n"
    "                 create uses the program's unless given (--password \"\" for none)\n"
    "  --format F:    dump writes jsonl (the default) or csv; create makes mdb, an\n"
    "                 Access 2000-2003 file (the default), or accdb, an Access 2010 file,\n"
    "                 which keeps no password\n"
    "  --catalogue:   create a catalogue file (names, Database) instead of a dictionary\n"
    "  --force:       let create replace an existing file\n"
    "  --index C,...: create declares an index on these columns; --unique, --primary-key,\n"
    "                 --descending or --ignore-nulls right after it makes that index unique,\n"
    "                 the primary key, sorted from last to first, or without entries for rows\n"
    "                 whose columns are all null\n";

int runCommandLine(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h" || words[0] == "help")) {
        std::fputs(kUsageText, out);
        return kSuccess;
    }
    try {
        if (words.empty())
            throw UsageError("no command given");
        std::vector<std::string> rest(words.begin() + 1, words.end());
        if (words[0] == "info")
            return runInfo(rest, out, err);
        if (words[0] == "dump")
            return runDump(rest, out, err);
        if (words[0] == "check")
            return runCheck(rest, out, err);
        if (words[0] == "pages")
            return runPages(rest, out, err);
        if (words[0] == "page")
            return runPage(rest, out, err);
        if (words[0] == "create")
            return runCreate(rest, out, err);
        if (words[0] == "import")
            return runImport(rest, out, err);
        if (words[0] == "search")
            return runSearch(rest, out, err);
        if (words[0] == "lookup")
            return runLookup(rest, out, err);
        if (words[0] == "merge")
            return runMerge(rest, out, err);
        throw UsageError("unknown command \"" + words[0] + "\"");
    } catch (const UsageError& error) {
        tellUser(err, error.what());
        std::fputs(kUsageText, err);
        return kUsage;
    }
}

} // namespace dict
