// The files one merge writes: each read once, changed in memory, written once at the end.
#pragma once

#include "jet/write_session.h"

#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace update {

// A dictionary file and the `Link` values it holds, those appended in this merge included.
class DictionaryFile {
public:
    // A file that is already there, listed in the catalogue or not.
    static DictionaryFile Existing(const std::string& path);
    // A file that does not exist yet: a copy of the template plus the rows appended. Nothing
    // is on disk before Save.
    static DictionaryFile FromTemplate(const std::string& path, const std::string& templatePath);
    // A file that cannot take rows, for `reason`.
    static DictionaryFile Unusable(const std::string& path, const std::string& reason);

    // Why no row can go to this file (it cannot be read, or is not a dictionary file).
    const std::optional<std::string>& Problem() const { return problem_; }
    bool IsNew() const { return !templatePath_.empty(); }
    bool HasLink(const std::string& link) const { return links_.count(link) != 0; }

    // Appends in memory; the reason when the row is refused (then nothing changed).
    std::optional<std::string> Append(const std::string& names, const std::string& key,
                                      const std::string& link);
    std::uint64_t AppendedRows() const { return session_ ? session_->appendedRows() : 0; }

    // Writes the file in one atomic step: an existing file is replaced by its new contents, a
    // new one appears whole. The reason on failure (then the file is as it was).
    std::optional<std::string> Save();

private:
    void ReadLinks();
    std::optional<std::string> CreateFromTemplate();

    std::string path_;
    std::string templatePath_;
    std::optional<jet::WriteSession> session_;
    std::optional<std::string> problem_;
    std::unordered_set<std::string> links_;
    std::vector<jet::RowValues> appended_; // new files only: replayed onto the copy
};

// The catalogue: the lower-cased names it lists, and the records this merge adds.
class CatalogueFile {
public:
    static CatalogueFile Open(const std::string& path);

    const std::optional<std::string>& Problem() const { return problem_; }
    bool Lists(const std::string& lowerCaseName) const { return names_.count(lowerCaseName) != 0; }

    // Lists a new dictionary (in memory); the reason when the record is refused.
    std::optional<std::string> Append(const std::string& displayName,
                                      const std::string& lowerCaseName);

    // Writes the catalogue with the records added, leaving out those of `leftOut` (lower-cased
    // names whose dictionary files could not be written). The reason on failure.
    std::optional<std::string> Save(const std::set<std::string>& leftOut);

private:
    std::string path_;
    std::optional<jet::WriteSession> session_;
    std::optional<std::string> problem_;
    std::unordered_set<std::string> names_;
    std::vector<std::pair<std::string, jet::RowValues>> added_; // by lower-cased name
};

} // namespace update
