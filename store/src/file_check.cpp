#include "store/file_check.h"

#include "jet/check.h"
#include "jet/error.h"
#include "store/file_message.h"
#include "store/program_files.h"

namespace store {

std::optional<std::string> faultForReading(const std::string& path) {
    try {
        const std::vector<std::string> faults =
            jet::checkDatabase(path, kDatabasePassword, jet::CheckScope::Reading);
        if (faults.empty())
            return std::nullopt;
        return aboutFile(path, "the file is damaged: " + faults.front());
    } catch (const jet::Error& error) {
        return aboutFile(path, error.what());
    }
}

} // namespace store
