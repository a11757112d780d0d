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
    if (report.succeeded())
        return {false, "Augurlex Successfully Updated\rPlease Restart the Dictionary Software"};
    std::string text = "Augurlex could not merge every record of the update\r";
    text += countsLine(report) + ".";
    if (!report.allRowsFailed.empty())
        return {true, text + "\rThe reason: " + allRowsFailedLine(report)};
    std::size_t shown = std::min(report.failures.size(), kReasonsShown);
    text += shown == 1 ? "\rThe reason:" : "\rThe first reasons:";
    for (std::size_t i = 0; i < shown; ++i)
        text += "\r" + failureLine(report.failures[i]);
    if (report.added > 0)
        text += "\rPlease Restart the Dictionary Software";
    return {true, text};
}

std::string reportText(const MergeReport& report) {
    if (report.nothingToUpdate) {
        std::string text = std::string(kNothingToUpdate) + "\n";
        if (!report.updateFileProblem.empty())
            text += text::printableText(report.updateFileProblem) + "\n";
        return text;
    }
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
