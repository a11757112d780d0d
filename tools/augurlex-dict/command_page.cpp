// augurlex-dict pages FILE [--password P] [--code-page N]
// augurlex-dict page FILE N [--password P] [--code-page N]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "augurlex-dict/open_database.h"
#include "augurlex-dict/output_writer.h"
#include "augurlex-dict/page_text.h"
#include "jet/page_report.h"
#include "text/printable_text.h"

#include <charconv>
#include <optional>
#include <string>

namespace dict {

namespace {

std::optional<jet::PageReporter> openPages(const std::string& path, const Arguments& args,
                                           std::FILE* err) {
    const OpenRequest request = openRequest(path, args);
    jet::OpenOptions options;
    options.jet3CodePage = request.jet3CodePage;
    try {
        return withProgramPasswords(request.password, [&](std::string_view password) {
            return jet::PageReporter::open(path, password, options);
        });
    } catch (const jet::Error& error) {
        tellUser(err, aboutFile(path, error.what()));
    }
    return std::nullopt;
}

// What keeps pages from naming their tables goes with the output, before the pages.
void putCatalogueFaults(OutputWriter& output, const jet::PageReporter& file) {
    for (const std::string& fault : file.catalogueFaults())
        output.put("Catalogue fault: " + text::printableText(fault) + "\n");
}

int finish(OutputWriter& output, std::FILE* err) {
    return output.flush() ? kSuccess : cannotWriteOutput(err);
}

} // namespace

int runPages(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"password", "code-page"});
    if (args.positionals().size() != 1)
        throw UsageError("pages takes exactly one FILE");
    const std::string& path = args.positionals()[0];
    std::optional<jet::PageReporter> file = openPages(path, args, err);
    if (!file)
        return kUnreadable;
    OutputWriter output(out);
    try {
        putCatalogueFaults(output, *file);
        output.put(kPageListHeading);
        for (std::uint32_t page = 0; page < file->pageCount(); ++page)
            output.put(pageLine(file->report(page)));
    } catch (const jet::Error& error) { // the file cut short while it was read
        output.flush();
        tellUser(err, aboutFile(path, error.what()));
        return kUnreadable;
    }
    return finish(output, err);
}

int runPage(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"password", "code-page"});
    if (args.positionals().size() != 2)
        throw UsageError("page takes a FILE and a page number");
    const std::string& path = args.positionals()[0];
    const std::string& number = args.positionals()[1];
    std::uint32_t page = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), page);
    if (error != std::errc() || end != number.data() + number.size())
        throw UsageError("\"" + number + "\" is not a page number");
    std::optional<jet::PageReporter> file = openPages(path, args, err);
    if (!file)
        return kUnreadable;
    if (page >= file->pageCount())
        throw UsageError(path + " has pages 0 to " + std::to_string(file->pageCount() - 1) +
                         ", no page " + number);
    OutputWriter output(out);
    try {
        putCatalogueFaults(output, *file);
        output.put(pageDescription(file->report(page), file->pageCount(), file->pageSize()));
    } catch (const jet::Error& error) {
        tellUser(err, aboutFile(path, error.what()));
        return kUnreadable;
    }
    return finish(output, err);
}

} // namespace dict
