// Dictionary files decoded once and kept while they stay as they are on disk.
//
// Every request stats the file: a file replaced, changed, deleted or made unreadable since it
// was decoded is read again (or reported as it would be without the cache), so each lookup sees
// the files as they are at that moment, whoever changed them. Only a file read whole is kept;
// one that fails part-way gives what was read and the reason, every time, as the walk does.
// What is not caught: a change in place that keeps the size within the same clock tick as the
// decode before it. An entry decoded within two seconds of its file's last change is therefore
// never trusted: the next request decodes the file again.
#pragma once

#include "lookup/packed_texts.h"
#include "store/file_stamp.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace lookup {

// The records of one dictionary file, in record order.
struct DictionaryContent {
    PackedTexts keys;
    PackedTexts loweredKeys; // each key lowered, for matching
    PackedTexts links;       // empty unless links were asked for
    bool hasLinks = false;

    std::size_t bytes() const { return keys.bytes() + loweredKeys.bytes() + links.bytes(); }
};

// A dictionary as one request found it: `problem` is the walk's reason when the file could not
// be read whole; then content holds the records read before it (nothing for a missing file).
struct DictionaryReading {
    std::shared_ptr<const DictionaryContent> content;
    std::optional<std::string> problem;
};

class DictionaryCache {
public:
    // Room for a million keywords with their links, with some to spare.
    static constexpr std::size_t kDefaultBudget = std::size_t{256} << 20;

    // Ticks of the file systems the program meets are at most a second (a few milliseconds for
    // the usual ones); two seconds of margin covers them and clocks a little apart.
    static constexpr std::int64_t kUntrustedAfterChangeNs = 2'000'000'000;

    // recentChangeNs: how long after its file's last change a decode is not trusted.
    explicit DictionaryCache(std::size_t byteBudget = kDefaultBudget,
                             std::int64_t recentChangeNs = kUntrustedAfterChangeNs)
        : budget_(byteBudget), recentChangeNs_(recentChangeNs) {}

    // The keys of the dictionary file at `path`; links too when asked for.
    DictionaryReading read(const std::string& path, bool withLinks);

    // What the kept files take.
    std::size_t bytes() const;

private:
    struct Entry {
        store::FileStamp stamp;
        bool trusted = false; // false when decoded too soon after the file's last change
        std::uint64_t lastUse = 0;
        std::shared_ptr<const DictionaryContent> content;
    };
    void keep(const std::string& path, Entry entry);
    void evictOverBudget();

    std::size_t budget_;
    std::int64_t recentChangeNs_;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    std::uint64_t clock_ = 0; // counts requests, for evicting the least recently used
    std::size_t bytes_ = 0;
};

// The cache the program's windows share for the life of the process.
DictionaryCache& sharedDictionaryCache();

} // namespace lookup
