#include "update_files.h"

#include "jet/create.h"
#include "jet/database.h"
#include "jet/write_session.h"
#include "store/modDB.h"

#include <random>
#include <unistd.h>

namespace update_test {

namespace {

jet::CreateOptions options() {
    jet::CreateOptions o;
    o.password = modDB::kDatabasePassword;
    o.creationTime = 45000.0;
    return o;
}

const jet::TableSpec kDictionaryTable{"data",
                                      {{"names", jet::ColumnType::Text},
                                       {"Key", jet::ColumnType::Text},
                                       {"Link", jet::ColumnType::Memo}}};
const jet::TableSpec kCatalogueTable{
    "data", {{"names", jet::ColumnType::Text}, {"Database", jet::ColumnType::Text}}};

void append(const std::string& path, const std::vector<jet::RowValues>& rows) {
    if (rows.empty())
        return;
    jet::WriteSession session = jet::WriteSession::open(path, modDB::kDatabasePassword);
    for (const jet::RowValues& row : rows)
        session.appendRow("data", row);
    session.commit();
}

} // namespace

ScratchFolder::ScratchFolder(const std::string& label) {
    static std::mt19937_64 random{std::random_device{}()};
    // Memory-backed when there is one: the files are flushed to disk at every commit, which
    // these tests do not need and would wait for.
    std::error_code error;
    const std::filesystem::path root = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    path_ = root / ("augurlex-" + label + "-" + std::to_string(::getpid()) + "-" +
                    std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteDictionary(const std::string& path, const std::vector<Record>& records,
                     bool sessionPerRow) {
    jet::createDatabase(path, {kDictionaryTable}, options());
    std::vector<jet::RowValues> rows;
    for (const Record& r : records) {
        rows.push_back({{"names", r.names}, {"Key", r.key}, {"Link", r.link}});
        if (sessionPerRow) {
            append(path, rows);
            rows.clear();
        }
    }
    append(path, rows);
}

void WriteCatalogue(const std::string& path, const std::vector<CatalogueRecord>& records) {
    jet::createDatabase(path, {kCatalogueTable}, options());
    std::vector<jet::RowValues> rows;
    for (const CatalogueRecord& r : records)
        rows.push_back({{"names", r.names}, {"Database", r.database}});
    append(path, rows);
}

void WriteProgramFolder(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<CatalogueRecord> catalogue;
    for (const std::string& name : names) {
        catalogue.push_back({name, modDB::LowerUtf8(name) + ".dll"});
        WriteDictionary(modDB::DictionaryPath(folder, name), {});
    }
    WriteCatalogue(modDB::CataloguePath(folder), catalogue);
    WriteDictionary(modDB::TemplatePath(folder), {});
}

std::vector<Record> ReadDictionary(const std::string& path) {
    std::vector<Record> records;
    jet::Cursor rows = jet::Database::open(path, modDB::kDatabasePassword).table("data").cursor();
    for (bool ok = rows.moveFirst(); ok; ok = rows.moveNext())
        records.push_back({rows.text("names"), rows.text("Key"), rows.text("Link")});
    return records;
}

std::vector<CatalogueRecord> ReadCatalogue(const std::string& path) {
    std::vector<CatalogueRecord> records;
    jet::Cursor rows = jet::Database::open(path, modDB::kDatabasePassword).table("data").cursor();
    for (bool ok = rows.moveFirst(); ok; ok = rows.moveNext())
        records.push_back({rows.text("names"), rows.text("Database")});
    return records;
}

std::map<std::string, std::vector<std::string>>
FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<std::string>> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("."))
            continue;
        std::vector<std::string>& lines = contents[name];
        try {
            jet::Table table =
                jet::Database::open(entry.path(), modDB::kDatabasePassword).table("data");
            jet::Cursor rows = table.cursor();
            for (bool ok = rows.moveFirst(); ok; ok = rows.moveNext()) {
                std::string line;
                for (const jet::Column& column : table.columns())
                    line += rows.text(column.name) + "\t";
                lines.push_back(line);
            }
        } catch (const jet::Error& error) {
            lines.push_back(std::string("unreadable: ") + error.what());
        }
    }
    return contents;
}

void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::create_directories(to);
    for (const auto& entry : std::filesystem::directory_iterator(from))
        std::filesystem::copy_file(entry.path(), to / entry.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
}

} // namespace update_test
