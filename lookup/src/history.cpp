#include "lookup/history.h"

#include "store/file_replacement.h"
#include "text/utf8.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace lookup {

namespace {

constexpr std::string_view kFirstLine = "Augurlex history 1";

std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

} // namespace

void History::add(HistoryEntry entry) {
    entry.title = oneLine(std::move(entry.title));
    entry.address = oneLine(std::move(entry.address));
    if (entry.address.empty())
        return;
    std::erase_if(entries_,
                  [&entry](const HistoryEntry& kept) { return kept.address == entry.address; });
    entries_.insert(entries_.begin(), std::move(entry));
    if (entries_.size() > kMaxEntries)
        entries_.resize(kMaxEntries);
}

std::string History::fileText() const {
    std::string text(kFirstLine);
    text += '\n';
    for (const HistoryEntry& entry : entries_)
        text += entry.title + '\t' + entry.address + '\n';
    return text;
}

std::optional<History> History::fromFileText(std::string_view text) {
    if (!text::utf8::isValid(text) || !text.starts_with(kFirstLine) ||
        text.substr(kFirstLine.size(), 1) != "\n")
        return std::nullopt;
    std::vector<HistoryEntry> entries;
    std::size_t from = kFirstLine.size() + 1;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) // a last line cut short
            return std::nullopt;
        const std::string_view line = text.substr(from, end - from);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos ||
            tab + 1 == line.size())
            return std::nullopt;
        entries.push_back({std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
        from = end + 1;
    }
    History history;
    // Oldest first, so the newest ends on top and the limit holds.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        history.add(std::move(*it));
    return history;
}

HistoryReading readHistoryFile(const std::string& path) {
    namespace fs = std::filesystem;
    HistoryReading reading;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error)))
        return reading;
    std::ifstream in(path, std::ios::binary);
    if (in.is_open()) {
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        if (std::optional<History> history = History::fromFileText(text)) {
            reading.history = std::move(*history);
            return reading;
        }
        reading.problem = "it is not a history file of this program, or it is damaged";
    } else {
        reading.problem = "it cannot be read";
    }
    const std::string aside = path + ".damaged";
    fs::rename(path, aside, error);
    if (!error)
        reading.setAsideAs = aside;
    return reading;
}

void writeHistoryFile(const std::string& path, const History& history) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    store::replaceFileContents(path, history.fileText());
}

} // namespace lookup
