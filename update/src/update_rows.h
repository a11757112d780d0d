// The rows of an update file, read once, in the file's order.
#pragma once

#include "store/files_for_appending.h"

#include <optional>
#include <string>
#include <vector>

namespace update {

struct UpdateRows {
    std::vector<store::DictionaryRecord> rows;
    std::optional<std::string> problem; // why the file is not a dictionary database
};

UpdateRows readUpdateRows(const std::string& path);

} // namespace update
