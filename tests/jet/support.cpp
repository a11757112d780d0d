#include "support.h"

#include "file/header.h"
#include "file/rc4.h"
#include "read/slot_table.h"
#include "read/state.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace jet::test {

std::filesystem::path testFile(const std::string& name) {
    return std::filesystem::path(AUGURLEX_TESTDATA) / name;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<ListedFile> listedFiles() {
    std::ifstream list(testFile("FILES.tsv"));
    std::vector<ListedFile> files;
    std::string line;
    std::getline(list, line); // the heading
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::vector<std::string> columns;
        for (std::string column; std::getline(fields, column, '\t');)
            columns.push_back(column);
        if (columns.size() > 5)
            files.push_back(
                {columns[0], columns[4] == "-" ? "" : columns[4], columns[5].starts_with("ACE")});
    }
    return files;
}

std::vector<std::uint8_t> encodePages(std::vector<std::uint8_t> file, std::uint32_t key) {
    std::span<std::uint8_t> masked(file.data() + detail::kHeaderMaskStart, 128);
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    detail::putLe32(file, detail::kEncodingKeyOffset, key);
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    for (std::uint32_t n = 1; n < file.size() / 4096; ++n)
        detail::applyPageEncoding(std::span(file.data() + n * 4096, 4096), n, key);
    return file;
}

ScratchDir::ScratchDir()
    : path(std::filesystem::temp_directory_path() /
           ("jet-test-" + std::to_string(std::random_device{}()) +
            std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::filesystem::path ScratchDir::write(const std::string& name,
                                        const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path / name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path / name;
}

Rows allRows(const Table& table) {
    Rows rows;
    Cursor cursor = table.cursor();
    for (bool more = cursor.moveFirst(); more; more = cursor.moveNext()) {
        rows.emplace_back();
        for (std::size_t i = 0; i < table.columns().size(); ++i)
            rows.back().push_back(cursor.value(i));
    }
    EXPECT_EQ(rows.size(), cursor.recordCount()) << table.name();
    return rows;
}

Rows allRows(const std::filesystem::path& path, const std::string& table,
             const std::string& password) {
    return allRows(Database::open(path, password).table(table));
}

std::string errorOf(ErrorKind kind, const std::function<void()>& work) {
    try {
        work();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), kind) << e.what();
        return e.what();
    }
    ADD_FAILURE() << "no jet::Error";
    return {};
}

Anatomy::Anatomy(const std::filesystem::path& path)
    : db(Database::open(path)), pages(detail::DatabaseAccess::state(db)->pages),
      format(*detail::DatabaseAccess::state(db)->format), bytes(readBytes(path)) {}

detail::TableDef Anatomy::tableDef(const std::string& table) const {
    const DatabaseState& state = *detail::DatabaseAccess::state(db);
    return detail::readUserTableDef(state, detail::userTable(state, table));
}

std::size_t Anatomy::rowOffset(std::uint32_t pointer) const {
    const detail::ByteSpan row = detail::rowAtPointer(pages, format, pointer, "a test");
    return static_cast<std::size_t>(row.data() - pages.page(0).data());
}

} // namespace jet::test
