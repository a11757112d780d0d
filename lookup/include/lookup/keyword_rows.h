// The keywords a list shows, kept as the dictionaries store them (UTF-8): whole dictionaries or
// the matching rows of them, shared with the cache of decoded files, or texts packed together,
// so a million keywords cost no copy and no string each.
#pragma once

#include "lookup/dictionary_cache.h"
#include "lookup/packed_texts.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

class KeywordRows {
public:
    KeywordRows() = default;
    explicit KeywordRows(PackedTexts texts);

    // The texts follow the rows already there; they are shared, never copied.
    void append(std::shared_ptr<const PackedTexts> texts);
    // Only the texts of these indexes, in this order; the indexes are shared too.
    void append(std::shared_ptr<const PackedTexts> texts,
                std::shared_ptr<const std::vector<std::uint32_t>> picks);

    std::size_t size() const { return ends_.empty() ? 0 : ends_.back(); }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t row) const;

private:
    struct Part {
        std::shared_ptr<const PackedTexts> texts;
        std::shared_ptr<const std::vector<std::uint32_t>> picks; // nullptr: every text
    };
    std::vector<Part> parts_;
    std::vector<std::size_t> ends_; // the row after each part's last
};

// The keywords of every named dictionary, dictionary after dictionary, by loadKeywords's rule (a
// file that cannot be read whole adds nothing). Through `cache` the rows are the cache's own
// decoded keys; nullptr reads each file straight.
KeywordRows loadKeywordRows(const std::string& programFolder,
                            const std::vector<std::string>& dictionaryNames,
                            DictionaryCache* cache = &sharedDictionaryCache());

} // namespace lookup
