// Shared helpers for the engine's tests: the real test files, and scratch copies to damage.
#pragma once

#include "catalog.h"
#include "header.h"
#include "jet/database.h"
#include "page_source.h"
#include "table_def.h"
#include "text_codec.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace jet::test {

std::filesystem::path testFile(const std::string& name);

// One line of the test files' index (FILES.tsv).
struct TestFileInfo {
    std::string file;
    std::string password; // empty for none
    std::string format;   // JET3 or JET4
    std::vector<std::pair<std::string, std::uint64_t>> tables;
};
std::vector<TestFileInfo> testFileIndex();

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

// A folder removed at the end of the test, for damaged copies of test files.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // Writes `bytes` to a new file in the folder and returns its path.
    std::filesystem::path write(const std::string& name, const std::vector<std::uint8_t>& bytes);

private:
    std::filesystem::path dir_;
};

void putLe16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void putLe32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

// The structures of a plain (not page-encoded) test file, to find what to change in a copy.
struct Anatomy {
    explicit Anatomy(const std::string& file);

    std::uint32_t tableDefPage(const std::string& table) const;
    detail::TableDef tableDef(const std::string& table) const;
    // The file offset of a byte on a page.
    std::size_t at(std::uint32_t page, std::size_t offset) const {
        return std::size_t{page} * format.pageSize + offset;
    }

    std::vector<std::uint8_t> bytes;
    detail::Header header;
    const detail::JetFormat& format;
    detail::CodePageDecoder decoder;
    detail::PageStore pages;
};

// Reads every field of every row of every table; returns the rows read.
std::uint64_t readEverything(const Database& db);

} // namespace jet::test
