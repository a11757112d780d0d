#include "lookup/find_link.h"

#include "lookup/dictionary_selection.h"
#include "lookup/matching.h"
#include "store/program_files.h"
#include "store/record_walk.h"
#include "text/utf8.h"

#include <cstring>

namespace lookup {

namespace {

// A one-off lookup stops at the first match instead of decoding the whole file.
bool findByWalking(const std::string& path, const std::string& term, std::string& address) {
    bool found = false;
    const std::string lowered = text::utf8::toLower(term);
    std::string key;
    store::walkRecords(path, {"Key", "Link"}, [&](const store::Record& record) {
        key.clear();
        appendLowered(record[0], key, lowered.size() + 1); // a byte more tells it is longer
        if (key != lowered)
            return true;
        address = record[1];
        found = true;
        return false;
    });
    return found;
}

bool findInContent(const DictionaryContent& content, const std::string& term,
                   std::string& address) {
    std::string lowered;
    appendLowered(term, lowered);
    const PackedTexts& keys = content.loweredKeys;
    const char* all = keys.all().data();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::size_t begin = keys.begin(i);
        if (keys.end(i) - begin == lowered.size() &&
            std::memcmp(all + begin, lowered.data(), lowered.size()) == 0) {
            address = std::string(content.links[i]);
            return true;
        }
    }
    return false;
}

} // namespace

bool findLinkIn(const std::string& programFolder, const std::string& dictionaryName,
                const std::string& term, std::string& address, DictionaryCache* cache) {
    const std::string path = store::dictionaryPath(programFolder, dictionaryName);
    if (!cache)
        return findByWalking(path, term, address);
    // Records before any damage count, as in a walk that stops at the first match.
    return findInContent(*cache->read(path, true).content, term, address);
}

bool findLink(const std::string& programFolder, const std::vector<std::string>& dictionaryNames,
              const std::string& term, const std::string& choice, std::string& address,
              DictionaryCache* cache) {
    if (!isAllScope(choice))
        return findLinkIn(programFolder, choice, term, address, cache);
    for (const std::string& name : dictionaryNames) {
        if (findLinkIn(programFolder, name, term, address, cache))
            return true;
    }
    return false;
}

} // namespace lookup
