#include "lookup/search/find_link.h"

#include "lookup/search/dictionary_reader.h"
#include "store/modDB.h"

namespace lookup::search {

bool FindLinkIn(const std::string& programFolder, const std::string& dictionaryName,
                const std::string& term, std::string& address) {
    const std::string loweredTerm = modDB::LowerUtf8(term);
    bool found = false;
    WalkDictionary(programFolder, dictionaryName,
                   [&](const std::string& key, const std::string& link) {
                       if (modDB::LowerUtf8(key) != loweredTerm)
                           return true;
                       address = link;
                       found = true;
                       return false;
                   });
    return found;
}

bool FindLink(const std::string& programFolder, const std::vector<std::string>& dictionaryNames,
              const std::string& term, const std::string& choice, std::string& address) {
    if (!IsAllScope(choice))
        return FindLinkIn(programFolder, choice, term, address);
    for (const std::string& name : dictionaryNames) {
        if (FindLinkIn(programFolder, name, term, address))
            return true;
    }
    return false;
}

} // namespace lookup::search
