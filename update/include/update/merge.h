// Merging an update file into the dictionaries of the program folder.
//
// Each update row goes, in the file's order, to the dictionary its `names` value names (trimmed
// of white space and compared lower-cased with the catalogue's names, dictionary_name.h): appended
// unless its `Link` is already in that dictionary (compared exactly, records added earlier in the
// same merge included); a dictionary the catalogue does not list is created from the template
// "clone.dll" and listed. Every file is read once and written once, atomically: the dictionary
// files first, the catalogue last, so the catalogue never lists a file that is not there. The
// folder's write lock is held throughout, so other writers wait; a merge that cannot have it writes
// nothing and fails every record with the one reason. A dictionary file that is a symbolic link is
// written in its target's folder, whose lock the merge holds too (every lock it needs, taken
// together in one fixed order).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace update {

struct MergeFailure {
    std::uint64_t row = 0; // 1 for the update file's first row
    std::string dictionary;
    std::string key;
    std::string reason;
};

struct MergeReport {
    // The update file has no rows, or is not a dictionary database (then `updateFileProblem`
    // says why): nothing was merged.
    bool nothingToUpdate = false;
    std::string updateFileProblem;

    std::uint64_t rowsRead = 0;
    std::uint64_t added = 0;
    std::uint64_t duplicates = 0;
    std::vector<MergeFailure> failures;       // in row order
    std::vector<std::string> newDictionaries; // display names, in the order they were listed
    // Set when every row failed for one reason before any was looked at (the write lock could
    // not be had); then `failures` is empty and the reason is told once, not once a row.
    std::string allRowsFailed;

    std::uint64_t failed() const { return allRowsFailed.empty() ? failures.size() : rowsRead; }
    bool succeeded() const { return failed() == 0; }
};

// Called now and then while the merge works (rows walked so far, rows in all), so a window can
// stay responsive.
using MergeProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Never throws for a problem in a file: each record that cannot be merged is in the report's
// failures with its reason.
MergeReport mergeUpdateFile(const std::string& updateFilePath, const std::string& programFolder,
                            const MergeProgress& progress = {});

} // namespace update
