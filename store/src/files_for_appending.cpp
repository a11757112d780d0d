#include "store/files_for_appending.h"

#include "jet/write_session.h"
#include "store/program_files.h"
#include "table_walk.h"

namespace store {

struct AppendSession {
    jet::WriteSession session;
    std::string target;
    bool newFile = false; // made from another file: written out whole even without new records
};

namespace {

const std::vector<std::string_view> kDictionaryFields = {"names", "Key", "Link"};
const std::vector<std::string_view> kCatalogueFields = {"names", "Database"};

} // namespace

FileForAppending::FileForAppending(const std::string& source, const std::string& target,
                                   const std::vector<std::string_view>& fields)
    : session_(std::make_unique<AppendSession>(AppendSession{
          jet::WriteSession::open(source, kDatabasePassword), target, source != target})) {
    TableWalk(session_->session.database(), fields); // refuses a file without one of them
}

FileForAppending::FileForAppending(FileForAppending&&) noexcept = default;
FileForAppending& FileForAppending::operator=(FileForAppending&&) noexcept = default;
FileForAppending::~FileForAppending() = default;

std::optional<std::string> FileForAppending::walk(const std::vector<std::string_view>& fields,
                                                  const RecordVisitor& visit) const {
    return walkDatabase(session_->session.database(), session_->target, fields, visit);
}

std::uint64_t FileForAppending::appendedRecords() const {
    return session_->session.appendedRows();
}

void FileForAppending::appendRecord(
    const std::vector<std::pair<std::string, std::string>>& fields) {
    jet::RowValues row;
    for (const auto& [name, value] : fields)
        row.emplace_back(name, value);
    session_->session.appendRow(kDataTable, row);
}

void FileForAppending::commit() {
    if (session_->newFile)
        session_->session.commitAs(session_->target);
    else
        session_->session.commit();
}

DictionaryFile DictionaryFile::open(const std::string& path) {
    return DictionaryFile(path, path, kDictionaryFields);
}

DictionaryFile DictionaryFile::fromTemplate(const std::string& templatePath,
                                            const std::string& path) {
    return DictionaryFile(templatePath, path, kDictionaryFields);
}

void DictionaryFile::append(const DictionaryRecord& record) {
    appendRecord({{"names", record.names}, {"Key", record.key}, {"Link", record.link}});
}

CatalogueFile CatalogueFile::open(const std::string& path) {
    return CatalogueFile(path, path, kCatalogueFields);
}

void CatalogueFile::append(const std::string& names, const std::string& database) {
    appendRecord({{"names", names}, {"Database", database}});
}

} // namespace store
