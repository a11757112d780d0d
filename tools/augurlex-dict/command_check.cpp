// augurlex-dict check FILE [--password P]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "augurlex-dict/open_database.h"
#include "jet/check.h"
#include "text/printable_text.h"

#include <string>

namespace dict {

int runCheck(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"password"});
    if (args.positionals().size() != 1)
        throw UsageError("check takes exactly one FILE");
    const std::string& path = args.positionals()[0];

    jet::CheckFindings findings;
    std::vector<std::string>& faults = findings.faults;
    try {
        findings = withProgramPasswords(args.option("password"), [&](std::string_view password) {
            return jet::checkDatabaseFindings(path, password);
        });
    } catch (const jet::Error& error) {
        // A file too damaged to open is a finding of the check, not a reason to give up on it.
        if (error.kind() != jet::ErrorKind::Corrupt) {
            tellUser(err, aboutFile(path, error.what()));
            return kUnreadable;
        }
        faults.push_back(error.what());
    }
    // Keys computed otherwise are no damage: said, but the file still counts as sound.
    for (const std::string& fault : faults)
        std::fprintf(out, "%s\n", text::printableText(fault).c_str());
    for (const std::string& difference : findings.keyDifferences)
        std::fprintf(out, "%s\n", text::printableText(difference).c_str());
    if (faults.empty())
        std::fprintf(out, "%s: no faults found\n", text::printableText(path).c_str());
    if (std::fflush(out) != 0) {
        return cannotWriteOutput(err);
    }
    return faults.empty() ? kSuccess : kFailure;
}

} // namespace dict
