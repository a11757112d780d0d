// Shared helpers for the engine's tests: the real test files, scratch copies to change, rows read
// whole, and the structures of a file to find what to damage in a copy.
#pragma once

#include "file/byte_writer.h"
#include "file/page_source.h"
#include "jet/create.h"
#include "jet/database.h"
#include "read/table_def.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace jet::test {

std::filesystem::path testFile(const std::string& name);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

// A file of the test data's own list (FILES.tsv), with the password it opens with ("" for none).
struct ListedFile {
    std::string name;
    std::string password;
    bool ace = false; // an Access 2007 or later file
};
std::vector<ListedFile> listedFiles();
// A page-encoded copy of a plain Jet 4 file, as "Encrypt database" leaves it.
std::vector<std::uint8_t> encodePages(std::vector<std::uint8_t> file, std::uint32_t key);

// The table of a dictionary file.
inline const std::vector<TableSpec> kDictionary{
    {"data", {{"names", ColumnType::Text}, {"Key", ColumnType::Text}, {"Link", ColumnType::Memo}}}};

// A folder removed at the end of the test.
struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes);
    // A copy of the test file `name`, under its name, for the test to change.
    std::filesystem::path copy(const std::string& name) {
        return write(name, readBytes(testFile(name)));
    }
    std::filesystem::path path;
};

// Every value of every row in walk order; checks that the walk visits recordCount() rows.
using Rows = std::vector<std::vector<Value>>;
Rows allRows(const Table& table);
Rows allRows(const std::filesystem::path& path, const std::string& table,
             const std::string& password = {});

// The message of the jet::Error of `kind` that `work` must raise (a test failure otherwise).
std::string errorOf(ErrorKind kind, const std::function<void()>& work);
inline bool mentions(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The structures of a plain (not page-encoded) file, to find what to change in a copy of it.
struct Anatomy {
    explicit Anatomy(const std::filesystem::path& path);
    detail::TableDef tableDef(const std::string& table) const;
    // The file offset of a byte on a page, and of the row a row pointer names.
    std::size_t at(std::uint32_t page, std::size_t offset) const {
        return std::size_t{page} * format.pageSize + offset;
    }
    std::size_t rowOffset(std::uint32_t pointer) const;

    Database db;
    const detail::PageStore& pages;
    const detail::JetFormat& format;
    std::vector<std::uint8_t> bytes;
};

} // namespace jet::test
