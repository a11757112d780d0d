#include "store/catalogue.h"

#include "store/program_files.h"
#include "store/record_walk.h"

namespace store {

CatalogueNames readCatalogue(const std::string& programFolder) {
    CatalogueNames catalogue;
    auto problem = walkRecords(cataloguePath(programFolder), {"names"}, [&](const Record& r) {
        if (!r[0].empty())
            catalogue.names.push_back(r[0]);
        return true;
    });
    catalogue.problem = problem.value_or("");
    return catalogue;
}

} // namespace store
