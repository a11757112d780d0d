// augurlex-dict info FILE [--password P] [--code-page N]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "augurlex-dict/open_database.h"
#include "augurlex-dict/output_writer.h"
#include "augurlex-dict/text_forms.h"
#include "text/printable_text.h"

#include <string>

namespace dict {

int runInfo(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"password", "code-page"});
    if (args.positionals().size() != 1)
        throw UsageError("info takes exactly one FILE");
    const std::string& path = args.positionals()[0];

    std::string text;
    try {
        jet::Database db = openDatabase(openRequest(path, args));
        OutputWriter report(text);
        auto line = [&](std::string_view label, std::string_view value) {
            report.put(label);
            report.put(value);
            report.put('\n');
        };
        line("File: ", text::printableText(path));
        line("Format: ", jet::versionName(db.version()));
        line("Page size: ", std::to_string(db.pageSize()));
        line("Page count: ", std::to_string(db.pageCount()));
        line("Password: ", db.hasPassword() ? "yes" : "no");
        line("Encrypted: ", db.pageEncrypted() ? "yes" : "no");
        if (db.version() == jet::Version::Jet3)
            line("Code page: ", std::to_string(db.codePage()));
        std::vector<std::string> names = db.tableNames();
        line("Tables: ", std::to_string(names.size()));
        for (const std::string& name : names) {
            report.put("  ");
            report.put(text::printableText(name));
            report.put('\t');
            putInteger(report, static_cast<std::int64_t>(db.table(name).cursor().recordCount()));
            report.put(" rows\n");
        }
        report.flush();
    } catch (const jet::Error& error) {
        tellUser(err, aboutFile(path, error.what()));
        return kUnreadable;
    }
    OutputWriter output(out);
    output.put(text);
    return output.flush() ? kSuccess : cannotWriteOutput(err);
}

} // namespace dict
