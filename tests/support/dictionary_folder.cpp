#include "dictionary_folder.h"

#include "jet/create.h"
#include "jet/write_session.h"
#include "store/program_files.h"
#include "text/utf8.h"

#include <random>
#include <unistd.h>

namespace testing_support {

namespace fs = std::filesystem;

namespace {

void writeFile(const std::string& path, std::vector<jet::ColumnSpec> columns, const Rows& rows,
               bool sessionPerRow = false) {
    jet::createDatabase(path, {{"data", columns}}, {store::kDatabasePassword, 45000.0});
    std::optional<jet::WriteSession> session;
    for (const auto& row : rows) {
        if (!session)
            session.emplace(jet::WriteSession::open(path, store::kDatabasePassword));
        jet::RowValues values;
        for (std::size_t i = 0; i < row.size(); ++i)
            values.emplace_back(columns[i].name, row[i]);
        session->appendRow("data", values);
        if (sessionPerRow)
            std::exchange(session, std::nullopt)->commit();
    }
    if (session)
        session->commit();
}

} // namespace

DictionaryFolder::DictionaryFolder() {
    static std::mt19937_64 random{std::random_device{}()};
    std::error_code error; // each commit flushes its file to disk, which tests need not wait for
    folder_ =
        (fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path()) /
        ("augurlex-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    fs::create_directories(folder_);
}

DictionaryFolder::~DictionaryFolder() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void DictionaryFolder::writeCatalogue(const std::vector<std::string>& names) const {
    Rows rows;
    for (const std::string& name : names)
        rows.push_back({name, text::utf8::toLower(name) + ".dll"});
    writeCatalogueFile(store::cataloguePath(path()), rows);
}

void DictionaryFolder::writeDictionary(const std::string& name,
                                       const std::vector<Record>& records) const {
    Rows rows;
    for (const auto& [key, link] : records)
        rows.push_back({text::utf8::toLower(name), key, link});
    writeDictionaryFile(store::dictionaryPath(path(), name), rows);
}

void writeDictionaryFile(const std::string& path, const Rows& namesKeyAndLink,
                         bool sessionPerRecord) {
    writeFile(path, {{"names"}, {"Key"}, {"Link", jet::ColumnType::Memo}}, namesKeyAndLink,
              sessionPerRecord);
}

void writeCatalogueFile(const std::string& path, const Rows& namesAndDatabase) {
    writeFile(path, {{"names"}, {"Database"}}, namesAndDatabase);
}

void writeProgramFolder(const std::string& folder, const std::vector<std::string>& names) {
    Rows catalogue;
    for (const std::string& name : names) {
        catalogue.push_back({name, text::utf8::toLower(name) + ".dll"});
        writeDictionaryFile(store::dictionaryPath(folder, name), {});
    }
    writeCatalogueFile(store::cataloguePath(folder), catalogue);
    writeDictionaryFile(store::templatePath(folder), {});
}

std::vector<std::string> readRows(const std::string& path) {
    std::vector<std::string> lines;
    try {
        jet::Table table = jet::Database::open(path, store::kDatabasePassword).table("data");
        const std::vector<jet::Column>& columns = table.columns();
        for (jet::Cursor rows = table.cursor(); !rows.eof(); rows.moveNext()) {
            std::string line;
            for (std::size_t c = 0; c < columns.size(); ++c)
                line += (c ? "\t" : "") + rows.text(columns[c].name);
            lines.push_back(line);
        }
    } catch (const jet::Error& error) {
        lines.assign({std::string("unreadable: ") + error.what()});
    }
    return lines;
}

std::map<std::string, std::vector<std::string>> folderContents(const std::string& folder) {
    std::map<std::string, std::vector<std::string>> contents;
    for (const auto& entry : fs::directory_iterator(folder))
        if (!entry.path().filename().string().starts_with("."))
            contents[entry.path().filename().string()] = readRows(entry.path().string());
    return contents;
}

void copyFolder(const std::string& from, const std::string& to) {
    for (const auto& entry : fs::directory_iterator(from))
        fs::copy_file(entry.path(), fs::path(to) / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
}

} // namespace testing_support
