// Rows of literal values of every column type, appended to a new database and to copies of
// Access-made files, to compare with what our reader and the independent readers read back.
#pragma once

#include "jet/create.h"
#include "jet/database.h"

#include <filesystem>
#include <string>
#include <vector>

namespace jet::literal {

struct LiteralTable {
    std::string testFile;            // the Access-made file a copy of which takes the rows, or
    std::vector<ColumnSpec> columns; // the columns of a new database when there is none
    std::string table;
    std::vector<std::string> written; // the columns each row gives, in its order
    std::vector<std::vector<Value>> rows;
};

std::vector<LiteralTable> literalTables();

// Row `r` of the literals as a table of this layout reads it: columns left out null, and
// autonumbers counting from 1.
std::vector<Value> expectedRow(const LiteralTable& literals, const std::vector<Column>& columns,
                               std::size_t r);

// Appends the rows to a new database or to a copy of the test file, in `folder`; returns it.
std::filesystem::path writeLiteralFile(const LiteralTable& table,
                                       const std::filesystem::path& folder,
                                       const std::filesystem::path& testData);

} // namespace jet::literal
