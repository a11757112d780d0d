#include "lookup/find_link.h"

#include "lookup/dictionary_selection.h"
#include "lookup/matching.h"
#include "store/program_files.h"
#include "store/record_walk.h"

namespace lookup {

bool FindLinkIn(const std::string& programFolder, const std::string& dictionaryName,
                const std::string& term, std::string& address) {
    bool found = false;
    store::walkRecords(store::dictionaryPath(programFolder, dictionaryName), {"Key", "Link"},
                       [&](const store::Record& record) {
                           if (!KeyEquals(record[0], term))
                               return true;
                           address = record[1];
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

} // namespace lookup
