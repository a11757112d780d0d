#include "support.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace jet::test {

std::filesystem::path testFile(const std::string& name) {
    return std::filesystem::path(AUGURLEX_TESTDATA) / name;
}

namespace {

std::vector<std::string> splitOn(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + separator.size();
    }
}

} // namespace

std::vector<TestFileInfo> testFileIndex() {
    std::ifstream in(testFile("FILES.tsv"));
    std::vector<TestFileInfo> files;
    std::string line;
    std::getline(in, line); // column titles
    while (std::getline(in, line)) {
        const auto fields = splitOn(line, "\t");
        if (fields.size() < 7)
            continue;
        TestFileInfo info{fields[0], fields[4] == "-" ? "" : fields[4], fields[5], {}};
        if (fields[6] != "(none)") {
            for (const auto& entry : splitOn(fields[6], ", ")) {
                const std::size_t colon = entry.rfind(':');
                info.tables.emplace_back(entry.substr(0, colon),
                                         std::stoull(entry.substr(colon + 1)));
            }
        }
        files.push_back(std::move(info));
    }
    return files;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ScratchDir::ScratchDir() {
    std::random_device random;
    dir_ = std::filesystem::temp_directory_path() /
           ("jet-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::filesystem::path ScratchDir::write(const std::string& name,
                                        const std::vector<std::uint8_t>& bytes) {
    const auto path = dir_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

void putLe16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void putLe32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    putLe16(bytes, offset, static_cast<std::uint16_t>(value));
    putLe16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

Anatomy::Anatomy(const std::string& file)
    : bytes(readBytes(testFile(file))), header(detail::readHeader(bytes, file)),
      format(*header.format), decoder(1252), pages(bytes, format.pageSize, header.encodingKey) {}

std::uint32_t Anatomy::tableDefPage(const std::string& table) const {
    for (const auto& entry : detail::readCatalog(pages, format, decoder))
        if (entry.name == table)
            return entry.tableDefPage();
    throw std::runtime_error("no table " + table);
}

detail::TableDef Anatomy::tableDef(const std::string& table) const {
    return detail::readTableDef(pages, format, decoder, tableDefPage(table), table);
}

std::uint64_t readEverything(const Database& db) {
    std::uint64_t rows = 0;
    for (const auto& name : db.tableNames()) {
        const Table table = db.table(name);
        Cursor cursor = table.cursor();
        for (bool more = cursor.moveFirst(); more; more = cursor.moveNext()) {
            for (std::size_t i = 0; i < table.columns().size(); ++i)
                (void)toText(cursor.value(i));
            ++rows;
        }
    }
    return rows;
}

} // namespace jet::test
