// The words a merge's outcome is told in: the closing message of the Update command and the
// report augurlex-dict prints.
#pragma once

#include "update/merge.h"

#include <string>

namespace update {

inline constexpr const char* kNothingToUpdate = "There is nothing to Update";
inline constexpr std::size_t kReasonsShown = 5;

// "3 records added, 1 skipped as a duplicate, 2 failed"
std::string countsLine(const MergeReport& report);
// "all 10000 rows failed: why", for a report whose rows all failed for one reason
std::string allRowsFailedLine(const MergeReport& report);
// "row 7 (omens, Key \"Fehu\"): why"
std::string failureLine(const MergeFailure& failure);

struct ClosingMessage {
    bool warning = false; // false: the information box of a merge without failures
    std::string text;     // lines separated by carriage returns (character 13)
};

// The success message when nothing failed; otherwise a warning with the counts and the
// first reasons.
ClosingMessage closingMessageFor(const MergeReport& report);

// The report the command-line tool prints, lines ending in '\n'.
std::string reportText(const MergeReport& report);

} // namespace update
