// The two files the program writes to: a dictionary file and the catalogue. Each is read whole
// into memory, takes its new records there, and reaches the disk in one atomic step at commit,
// so a failure or a crash at any moment leaves the file as it was or with every new record.
//
//   auto omens = store::DictionaryFile::open(store::dictionaryPath(folder, "omens"));
//   omens.append({"omens", "Raven", "https://example.org/raven"});
//   omens.commit();
//
// A problem with a file (it cannot be read, it is not a file of that kind, a record does not
// fit, the disk refuses the write) raises std::runtime_error saying what happened. A refused
// record or a failed commit leaves the file on disk as it was.
#pragma once

#include "store/record_walk.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

struct AppendSession;

class FileForAppending {
public:
    FileForAppending(FileForAppending&&) noexcept;
    FileForAppending& operator=(FileForAppending&&) noexcept;
    ~FileForAppending();

    // The records held, the file's first and then those appended, under the walk's rule
    // (record_walk.h).
    std::optional<std::string> walk(const std::vector<std::string_view>& fields,
                                    const RecordVisitor& visit) const;
    std::uint64_t appendedRecords() const;
    // Writes the file with its new records, replacing it whole.
    void commit();

protected:
    // Reads `source`, which must hold table "data" with `fields`; commit writes to `target`.
    FileForAppending(const std::string& source, const std::string& target,
                     const std::vector<std::string_view>& fields);
    void appendRecord(const std::vector<std::pair<std::string, std::string>>& fields);

private:
    std::unique_ptr<AppendSession> session_;
};

// One record of a dictionary file (and of an update file, which has the same layout).
struct DictionaryRecord {
    std::string names, key, link;
    bool operator==(const DictionaryRecord&) const = default;
};

class DictionaryFile : public FileForAppending {
public:
    static DictionaryFile open(const std::string& path);
    // A dictionary file to be made at `path`, holding at first the template's records; the
    // template is only read, and nothing is at `path` before commit (which replaces a file
    // that may be there).
    static DictionaryFile fromTemplate(const std::string& templatePath, const std::string& path);

    void append(const DictionaryRecord& record);

private:
    using FileForAppending::FileForAppending;
};

class CatalogueFile : public FileForAppending {
public:
    static CatalogueFile open(const std::string& path);

    void append(const std::string& names, const std::string& database);

private:
    using FileForAppending::FileForAppending;
};

} // namespace store
