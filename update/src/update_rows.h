// The rows of an update file, read once, in the file's order.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace update {

struct UpdateRow {
    std::string names;
    std::string key;
    std::string link;
};

struct UpdateRows {
    std::vector<UpdateRow> rows;
    std::optional<std::string> problem; // why the file is not a dictionary database
};

UpdateRows ReadUpdateRows(const std::string& path);

} // namespace update
