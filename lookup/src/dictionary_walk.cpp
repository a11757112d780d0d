#include "dictionary_walk.h"

#include "store/record_walk.h"

namespace lookup {

namespace {

std::optional<std::string> walkFile(const std::string& path, const KeywordMatcher& matcher,
                                    bool withLinks, const MatchVisitor& visit) {
    const auto fields = withLinks ? std::vector<std::string_view>{"Key", "Link"}
                                  : std::vector<std::string_view>{"Key"};
    return store::walkRecords(path, fields, [&](const store::Record& record) {
        return !matcher.matches(record[0]) ||
               visit(record[0], withLinks ? std::string_view(record[1]) : std::string_view());
    });
}

std::optional<std::string> walkCached(const std::string& path, const KeywordMatcher& matcher,
                                      bool withLinks, DictionaryCache& cache,
                                      const MatchVisitor& visit) {
    const DictionaryReading reading = cache.read(path, withLinks);
    const DictionaryContent& content = *reading.content;
    matcher.forEachMatch(content.loweredKeys, [&](std::size_t i) {
        return visit(content.keys[i], withLinks ? content.links[i] : std::string_view());
    });
    return reading.problem;
}

} // namespace

std::optional<std::string> walkMatches(const std::string& path, const KeywordMatcher& matcher,
                                       bool withLinks, DictionaryCache* cache,
                                       const MatchVisitor& visit) {
    return cache ? walkCached(path, matcher, withLinks, *cache, visit)
                 : walkFile(path, matcher, withLinks, visit);
}

} // namespace lookup
