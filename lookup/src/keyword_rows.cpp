#include "lookup/keyword_rows.h"

#include "dictionary_walk.h"
#include "store/program_files.h"

#include <algorithm>

namespace lookup {

KeywordRows::KeywordRows(PackedTexts texts) {
    append(std::make_shared<const PackedTexts>(std::move(texts)));
}

void KeywordRows::append(std::shared_ptr<const PackedTexts> texts) {
    if (texts->size() == 0)
        return;
    ends_.push_back(size() + texts->size());
    parts_.push_back({std::move(texts), {}});
}

void KeywordRows::append(std::shared_ptr<const PackedTexts> texts,
                         std::shared_ptr<const std::vector<std::uint32_t>> picks) {
    if (picks->empty())
        return;
    ends_.push_back(size() + picks->size());
    parts_.push_back({std::move(texts), std::move(picks)});
}

std::string_view KeywordRows::operator[](std::size_t row) const {
    const auto part =
        static_cast<std::size_t>(std::upper_bound(ends_.begin(), ends_.end(), row) - ends_.begin());
    const std::size_t local = row - (part == 0 ? 0 : ends_[part - 1]);
    const Part& in = parts_[part];
    return (*in.texts)[in.picks ? (*in.picks)[local] : local];
}

KeywordRows loadKeywordRows(const std::string& programFolder,
                            const std::vector<std::string>& dictionaryNames,
                            DictionaryCache* cache) {
    KeywordRows rows;
    for (const std::string& name : dictionaryNames) {
        const std::string path = store::dictionaryPath(programFolder, name);
        if (cache) {
            DictionaryReading reading = cache->read(path, false);
            if (!reading.problem) // the cache's keys, kept alive by the rows
                rows.append(
                    std::shared_ptr<const PackedTexts>(reading.content, &reading.content->keys));
            continue;
        }
        auto keys = std::make_shared<PackedTexts>();
        const auto problem = walkMatches(path, KeywordMatcher::everyKeyword(), false, nullptr,
                                         [&keys](std::string_view key, std::string_view) {
                                             keys->push_back(key);
                                             return true;
                                         });
        if (!problem) {
            keys->shrink_to_fit();
            rows.append(std::move(keys));
        }
    }
    return rows;
}

} // namespace lookup
