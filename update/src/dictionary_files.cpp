#include "dictionary_files.h"

#include "store/modDB.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace update {

namespace {

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The table `data` with the columns the program reads; the reason when it is not there.
std::optional<std::string> missingColumns(const jet::Database& db,
                                          std::initializer_list<const char*> columns) {
    if (!db.hasTable(modDB::kDataTable))
        return std::string("it has no table \"data\"");
    jet::Table table = db.table(modDB::kDataTable);
    for (const char* column : columns) {
        if (table.columnIndex(column) < 0)
            return std::string("its table \"data\" has no column \"") + column + "\"";
    }
    return std::nullopt;
}

// Makes a rename in `folder` durable.
void syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        throw std::filesystem::filesystem_error("cannot open the folder", folder,
                                                std::error_code(errno, std::generic_category()));
    int rc = ::fsync(fd);
    int error = errno;
    ::close(fd);
    if (rc != 0)
        throw std::filesystem::filesystem_error("cannot flush the folder", folder,
                                                std::error_code(error, std::generic_category()));
}

// Removes a scratch file unless it was renamed into place.
struct ScratchFile {
    std::filesystem::path path;
    bool kept = false;
    ~ScratchFile() {
        std::error_code ignored;
        if (!kept)
            std::filesystem::remove(path, ignored);
    }
};

jet::RowValues dictionaryRow(const std::string& names, const std::string& key,
                             const std::string& link) {
    return {{"names", modDB::LowerUtf8(names)}, {"Key", key}, {"Link", link}};
}

} // namespace

DictionaryFile DictionaryFile::Existing(const std::string& path) {
    DictionaryFile file;
    file.path_ = path;
    try {
        file.session_.emplace(jet::WriteSession::open(path, modDB::kDatabasePassword));
        file.ReadLinks();
    } catch (const jet::Error& error) {
        file.session_.reset();
        file.problem_ =
            "the dictionary file " + fileName(path) + " cannot be read: " + error.what();
    }
    return file;
}

DictionaryFile DictionaryFile::FromTemplate(const std::string& path,
                                            const std::string& templatePath) {
    DictionaryFile file;
    file.path_ = path;
    file.templatePath_ = templatePath;
    try {
        // The template itself is never written: its rows seed the new file, and the rows
        // appended here are replayed onto a copy of it by Save.
        file.session_.emplace(jet::WriteSession::open(templatePath, modDB::kDatabasePassword));
        file.ReadLinks();
    } catch (const jet::Error& error) {
        file.session_.reset();
        file.problem_ = "the template " + fileName(templatePath) +
                        " cannot be read, so the dictionary file " + fileName(path) +
                        " cannot be made: " + error.what();
    }
    return file;
}

DictionaryFile DictionaryFile::Unusable(const std::string& path, const std::string& reason) {
    DictionaryFile file;
    file.path_ = path;
    file.problem_ = reason;
    return file;
}

void DictionaryFile::ReadLinks() {
    jet::Database db = session_->database();
    if (auto missing = missingColumns(db, {"names", "Key", "Link"}))
        throw jet::Error(jet::ErrorKind::Invalid, "not a dictionary file: " + *missing);
    jet::Cursor rows = db.table(modDB::kDataTable).cursor();
    for (bool ok = rows.moveFirst(); ok; ok = rows.moveNext())
        links_.insert(rows.text("Link"));
}

std::optional<std::string> DictionaryFile::Append(const std::string& names, const std::string& key,
                                                  const std::string& link) {
    if (problem_)
        return problem_;
    jet::RowValues row = dictionaryRow(names, key, link);
    try {
        session_->appendRow(modDB::kDataTable, row);
    } catch (const jet::Error& error) {
        return fileName(path_) + " refused the record: " + error.what();
    }
    links_.insert(link);
    if (IsNew())
        appended_.push_back(std::move(row));
    return std::nullopt;
}

std::optional<std::string> DictionaryFile::Save() {
    if (problem_)
        return problem_;
    try {
        if (IsNew())
            return CreateFromTemplate();
        session_->commit();
    } catch (const jet::Error& error) {
        return "the dictionary file " + fileName(path_) + " could not be saved: " + error.what();
    }
    return std::nullopt;
}

std::optional<std::string> DictionaryFile::CreateFromTemplate() {
    const std::filesystem::path target(path_);
    ScratchFile scratch{target.parent_path() / ("." + target.filename().string() + ".new")};
    try {
        std::filesystem::copy_file(templatePath_, scratch.path,
                                   std::filesystem::copy_options::overwrite_existing);
        jet::WriteSession copy = jet::WriteSession::open(scratch.path, modDB::kDatabasePassword);
        for (const jet::RowValues& row : appended_)
            copy.appendRow(modDB::kDataTable, row);
        copy.commit(); // written and flushed under the scratch name
        std::filesystem::rename(scratch.path, target);
        scratch.kept = true;
        syncFolder(target.parent_path().empty() ? "." : target.parent_path());
    } catch (const std::filesystem::filesystem_error& error) {
        if (scratch.kept)
            return "the dictionary file " + fileName(path_) +
                   " was made but may not survive a power failure: " + error.code().message();
        return "the dictionary file " + fileName(path_) +
               " could not be made: " + error.code().message();
    }
    return std::nullopt;
}

CatalogueFile CatalogueFile::Open(const std::string& path) {
    CatalogueFile file;
    file.path_ = path;
    try {
        file.session_.emplace(jet::WriteSession::open(path, modDB::kDatabasePassword));
        jet::Database db = file.session_->database();
        if (auto missing = missingColumns(db, {"names", "Database"}))
            throw jet::Error(jet::ErrorKind::Invalid, "not a catalogue: " + *missing);
        jet::Cursor rows = db.table(modDB::kDataTable).cursor();
        for (bool ok = rows.moveFirst(); ok; ok = rows.moveNext())
            file.names_.insert(modDB::LowerUtf8(rows.text("names")));
    } catch (const jet::Error& error) {
        file.session_.reset();
        file.problem_ = "the catalogue " + fileName(path) + " cannot be read: " + error.what();
    }
    return file;
}

std::optional<std::string> CatalogueFile::Append(const std::string& displayName,
                                                 const std::string& lowerCaseName) {
    if (problem_)
        return problem_;
    jet::RowValues row{{"names", displayName}, {"Database", lowerCaseName + ".dll"}};
    try {
        session_->appendRow(modDB::kDataTable, row);
    } catch (const jet::Error& error) {
        return "the catalogue " + fileName(path_) + " refused the record for \"" + displayName +
               "\": " + error.what();
    }
    names_.insert(lowerCaseName);
    added_.emplace_back(lowerCaseName, std::move(row));
    return std::nullopt;
}

std::optional<std::string> CatalogueFile::Save(const std::set<std::string>& leftOut) {
    if (problem_)
        return problem_;
    try {
        if (leftOut.empty()) {
            session_->commit();
            return std::nullopt;
        }
        // Some new dictionaries could not be written: list only the others, from the file.
        jet::WriteSession fresh = jet::WriteSession::open(path_, modDB::kDatabasePassword);
        for (const auto& [name, row] : added_) {
            if (leftOut.count(name) == 0)
                fresh.appendRow(modDB::kDataTable, row);
        }
        fresh.commit();
    } catch (const jet::Error& error) {
        return "the catalogue " + fileName(path_) + " could not be saved: " + error.what();
    }
    return std::nullopt;
}

} // namespace update
