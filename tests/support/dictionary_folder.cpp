#include "dictionary_folder.h"

#include "jet/create.h"
#include "jet/write_session.h"
#include "store/modDB.h"

#include <random>

namespace testing_support {

namespace {

jet::TableSpec table(std::vector<std::string> columns) {
    jet::TableSpec data{modDB::kDataTable, {}};
    for (std::string& column : columns)
        data.columns.push_back(jet::ColumnSpec{std::move(column)});
    return data;
}

} // namespace

DictionaryFolder::DictionaryFolder() {
    std::random_device seed;
    folder_ = std::filesystem::temp_directory_path() /
              ("augurlex-lookup-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(folder_);
}

DictionaryFolder::~DictionaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void DictionaryFolder::writeCatalogue(const std::vector<std::string>& names) const {
    const std::string path = modDB::CataloguePath(this->path());
    jet::createDatabase(path, {table({"names", "Database"})},
                        jet::CreateOptions{modDB::kDatabasePassword, std::nullopt});
    jet::WriteSession session = jet::WriteSession::open(path, modDB::kDatabasePassword);
    for (const std::string& name : names)
        session.appendRow(modDB::kDataTable, {{"names", name}, {"Database", name}});
    session.commit();
}

void DictionaryFolder::writeDictionary(const std::string& name,
                                       const std::vector<Record>& records) const {
    const std::string path = modDB::DictionaryPath(this->path(), name);
    jet::createDatabase(path, {table({"names", "Key", "Link"})},
                        jet::CreateOptions{modDB::kDatabasePassword, std::nullopt});
    jet::WriteSession session = jet::WriteSession::open(path, modDB::kDatabasePassword);
    for (const auto& [key, link] : records)
        session.appendRow(modDB::kDataTable, {{"names", name}, {"Key", key}, {"Link", link}});
    session.commit();
}

} // namespace testing_support
