// The definitions the user has opened, newest first, and the file that keeps them between runs:
// a first line naming the format, then one line per entry, its title and its address separated
// by a tab, in UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

struct HistoryEntry {
    std::string title;   // what the user looked up, as the menu shows it
    std::string address; // what the pane opened for it
    bool operator==(const HistoryEntry&) const = default;
};

class History {
public:
    static constexpr std::size_t kMaxEntries = 50;

    const std::vector<HistoryEntry>& entries() const { return entries_; }
    // To the top; an entry of the same address moves there, and the oldest beyond the limit go.
    // Tabs and line breaks in either text become spaces; an empty address is not kept.
    void add(HistoryEntry entry);
    void clear() { entries_.clear(); }

    std::string fileText() const;
    // The history a file's text holds, or nullopt when the text is not one (a wrong first line,
    // a line that is no entry, bytes that are not UTF-8).
    static std::optional<History> fromFileText(std::string_view text);

private:
    std::vector<HistoryEntry> entries_;
};

struct HistoryReading {
    History history;
    // When the file could not be read: why, and where it was set aside ("" if it could not be).
    std::optional<std::string> problem;
    std::string setAsideAs;
};

// A missing file is an empty history. One that cannot be read is renamed to `path` + ".damaged"
// (replacing an older one), so the next write starts afresh and the user can still look at it.
HistoryReading readHistoryFile(const std::string& path);

// Writes the whole history in one atomic step, creating the file's folder; throws
// std::runtime_error naming the file.
void writeHistoryFile(const std::string& path, const History& history);

} // namespace lookup
