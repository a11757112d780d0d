// The words a merge's outcome is told in: the closing message of the Update command and the
// report augurlex-dict prints.
#pragma once

#include "update/merge.h"

#include <string>

namespace update {

inline constexpr const char* kNothingToUpdate = "There is nothing to Update";
// The first line about an update file that is not a dictionary database; the file and the
// reason follow.
inline constexpr const char* kCannotReadUpdate = "The update file cannot be read";
inline constexpr std::size_t kNamesShown = 5;

// "3 records added, 1 skipped as a duplicate, 2 failed"
std::string countsLine(const MergeReport& report);
// "all 10000 rows failed: why", for a report whose rows all failed for one reason
std::string allRowsFailedLine(const MergeReport& report);
// "row 7 (omens, Key \"Fehu\"): why"
std::string failureLine(const MergeFailure& failure);

enum class MessageTone { Information, Warning, Error };

struct ClosingMessage {
    MessageTone tone = MessageTone::Information;
    std::string text;    // lines separated by carriage returns (character 13)
    std::string details; // the whole report (reportText) when there is more than the text says
};

// What the Update command says once it is done: "There is nothing to Update" for an update file
// without rows; the file and why it cannot be read; the success message with the counts and the
// new dictionaries; or, when records failed, a warning with the counts whose details list every
// failed record with its reason.
ClosingMessage closingMessageFor(const MergeReport& report);

// The report the command-line tool prints, lines ending in '\n': the counts, the new
// dictionaries and every failed record with its reason; or the two first lines of the closing
// message when nothing was merged.
std::string reportText(const MergeReport& report);

} // namespace update
