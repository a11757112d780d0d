#include "lookup/dictionary_cache.h"

#include "dictionary_walk.h"

#include <utility>

namespace lookup {

namespace {

// Record order is kept; the lowered form is made here once, not at each search.
DictionaryReading decode(const std::string& path, bool withLinks) {
    auto content = std::make_shared<DictionaryContent>();
    std::string lowered;
    DictionaryReading reading;
    reading.problem = walkMatches(path, KeywordMatcher::everyKeyword(), withLinks, nullptr,
                                  [&](std::string_view key, std::string_view link) {
                                      content->keys.push_back(key);
                                      lowered.clear();
                                      appendLowered(key, lowered);
                                      content->loweredKeys.push_back(lowered);
                                      if (withLinks)
                                          content->links.push_back(link);
                                      return true;
                                  });
    content->hasLinks = withLinks;
    content->keys.shrink_to_fit();
    content->loweredKeys.shrink_to_fit();
    content->links.shrink_to_fit();
    reading.content = std::move(content);
    return reading;
}

} // namespace

DictionaryReading DictionaryCache::read(const std::string& path, bool withLinks) {
    const std::optional<store::FileStamp> stamp = store::stampOf(path);
    const std::int64_t now = store::nowNs();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++clock_;
        auto found = entries_.find(path);
        if (found != entries_.end()) {
            Entry& entry = found->second;
            const bool usable = stamp && entry.trusted && entry.stamp == *stamp &&
                                (entry.content->hasLinks || !withLinks);
            if (usable) {
                entry.lastUse = clock_;
                return {entry.content, std::nullopt};
            }
            // Stale or too thin: dropped now, so memory never holds two versions of a file.
            bytes_ -= entry.content->bytes();
            entries_.erase(found);
        }
    }
    // The stamp is taken before the walk: a change during the walk shows at the next request.
    DictionaryReading reading = decode(path, withLinks);
    if (stamp && !reading.problem) {
        Entry entry;
        entry.stamp = *stamp;
        entry.trusted = stamp->lastChangeNs() + recentChangeNs_ <= now;
        entry.content = reading.content;
        keep(path, std::move(entry));
    }
    return reading;
}

void DictionaryCache::keep(const std::string& path, Entry entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    entry.lastUse = ++clock_;
    auto [at, added] = entries_.try_emplace(path, std::move(entry));
    if (!added) { // another thread decoded it meanwhile; the later decode wins
        bytes_ -= at->second.content->bytes();
        at->second = std::move(entry);
    }
    bytes_ += at->second.content->bytes();
    evictOverBudget();
}

// The least recently used go first; a file larger than the whole budget is not kept at all.
void DictionaryCache::evictOverBudget() {
    while (bytes_ > budget_) {
        auto oldest = entries_.begin();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        }
        bytes_ -= oldest->second.content->bytes();
        entries_.erase(oldest);
    }
}

std::size_t DictionaryCache::bytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bytes_;
}

DictionaryCache& sharedDictionaryCache() {
    static DictionaryCache cache;
    return cache;
}

} // namespace lookup
