#include "update/merge_report.h"

#include "text/printable_text.h"

namespace update {

namespace {

std::string count(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string countsLine(const MergeReport& report) {
    return count(report.added, "record added", "records added") + ", " +
           count(report.duplicates, "skipped as a duplicate", "skipped as duplicates") + ", " +
           std::to_string(report.failed()) + " failed";
}

std::string allRowsFailedLine(const MergeReport& report) {
    return "all " + std::to_string(report.rowsRead) +
           " rows failed: " + text::printableText(report.allRowsFailed);
}

std::string failureLine(const MergeFailure& failure) {
    return "row " + std::to_string(failure.row) + " (" + text::printableText(failure.dictionary) +
           ", Key \"" + text::printableText(failure.key) +
           "\"): " + text::printableText(failure.reason);
}

ClosingMessage closingMessageFor(const MergeReport& report) {
    if (report.nothingToUpdate && report.updateFileProblem.empty())
        return {MessageTone::Information, kNothingToUpdate, {}};
    if (report.nothingToUpdate)
        return {MessageTone::Error,
                std::string(kCannotReadUpdate) + "\r" +
                    text::printableText(report.updateFileProblem) +
                    "\rPlease choose a dictionary update file",
                {}};

    std::string counts = countsLine(report) + ", " +
                         count(report.newDictionaries.size(), "new dictionary", "new dictionaries");
    const std::size_t named = std::min(report.newDictionaries.size(), kNamesShown);
    for (std::size_t i = 0; i < named; ++i)
        counts += (i == 0 ? " (" : ", ") + text::printableText(report.newDictionaries[i]);
    if (named > 0)
        counts += report.newDictionaries.size() > named ? ", ...)" : ")";
    const std::string restart = "Please Restart the Dictionary Software";
    if (report.succeeded())
        return {MessageTone::Information,
                "Augurlex Successfully Updated\r" + counts + "\r" + restart,
                report.newDictionaries.size() > named ? reportText(report) : std::string()};

    std::string text = "Augurlex could not merge every record of the update\r" + counts + "\r";
    if (!report.allRowsFailed.empty())
        text += "The reason: " + allRowsFailedLine(report);
    else
        text += report.failed() == 1 ? "The failed record and its reason are in the details"
                                     : "The failed records and their reasons are in the details";
    if (report.added > 0)
        text += "\r" + restart;
    return {MessageTone::Warning, text, reportText(report)};
}

std::string reportText(const MergeReport& report) {
    if (report.nothingToUpdate && report.updateFileProblem.empty())
        return std::string(kNothingToUpdate) + "\n";
    if (report.nothingToUpdate)
        return std::string(kCannotReadUpdate) + "\n" +
               text::printableText(report.updateFileProblem) + "\n";
    std::string text = "Rows read: " + std::to_string(report.rowsRead) + "\n";
    text += "Added: " + std::to_string(report.added) + "\n";
    text += "Duplicates: " + std::to_string(report.duplicates) + "\n";
    text += "Failed: " + std::to_string(report.failed()) + "\n";
    for (const std::string& name : report.newDictionaries)
        text += "New dictionary: " + text::printableText(name) + "\n";
    if (!report.allRowsFailed.empty())
        text += "Failed: " + allRowsFailedLine(report) + "\n";
    for (const MergeFailure& failure : report.failures)
        text += "Failed " + failureLine(failure) + "\n";
    return text;
}

} // namespace update
