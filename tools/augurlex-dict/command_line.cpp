#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"

#include <string>

namespace dict {

const char* const kUsageText =
    "usage: augurlex-dict info FILE [--password P] [--code-page N]\n"
    "       augurlex-dict dump FILE [--password P] [--code-page N] [--table NAME]\n"
    "                          [--format jsonl|csv]\n"
    "  --code-page N: the Windows code page of a Jet 3 file's text when the file does not\n"
    "                 say it (e.g. 936 for GBK)\n";

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
        throw UsageError("unknown command \"" + words[0] + "\"");
    } catch (const UsageError& error) {
        std::fprintf(err, "augurlex-dict: %s\n%s", error.what(), kUsageText);
        return kUsage;
    }
}

} // namespace dict
