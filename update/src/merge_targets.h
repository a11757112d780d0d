// The files one merge writes to, each read once, changed in memory and written once at the end,
// with what the merge must know of them: the links a dictionary holds, the names the catalogue
// lists, and why a file cannot take records.
#pragma once

#include "link_set.h"
#include "store/files_for_appending.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace update {

class DictionaryTarget {
public:
    // A dictionary file that is already there, listed in the catalogue or not. Of the links
    // the file holds, only those in `asked` (the links of the update being merged) are kept:
    // a merge of ten thousand records into a million need not hold a million links.
    static DictionaryTarget existing(const std::string& path, const LinkSet& asked);
    // A dictionary file to be made from the template: nothing is on disk before Save.
    static DictionaryTarget fromTemplate(const std::string& path, const std::string& templatePath,
                                         const LinkSet& asked);
    // A file that cannot take records, for `reason`.
    static DictionaryTarget unusable(const std::string& path, const std::string& reason);

    const std::optional<std::string>& problem() const { return problem_; }
    bool isNew() const { return isNew_; }
    // Whether the file (the template, for a new file) holds the link or this merge appended
    // it; asked only of links in `asked`.
    bool hasLink(const std::string& link) const { return links_.contains(link); }

    // Appends in memory; the reason when the record is refused (then nothing changed).
    std::optional<std::string> append(const store::DictionaryRecord& record);

    // Writes the file in one atomic step: an existing file is replaced by its new contents (left
    // alone without new records), a new one appears whole. The reason on failure (then the file
    // is as it was).
    std::optional<std::string> save();

private:
    explicit DictionaryTarget(std::string path) : path_(std::move(path)) {}
    static DictionaryTarget opened(const std::string& path, const std::string& unreadable,
                                   const std::function<store::DictionaryFile()>& open,
                                   const LinkSet& asked);

    std::string path_;
    bool isNew_ = false;
    std::optional<store::DictionaryFile> file_;
    std::optional<std::string> problem_;
    LinkSet links_;
};

class CatalogueTarget {
public:
    static CatalogueTarget open(const std::string& path);

    const std::optional<std::string>& problem() const { return problem_; }
    // The name, lower-cased, under which the catalogue lists the dictionary of `key`
    // (dictionary_name.h's dictionaryKey): the first listed whose key it is, so a name listed
    // with spaces around it ("tarot ", file "tarot .dll") is where "tarot" goes. Nothing when
    // none is listed.
    std::optional<std::string> listedName(const std::string& key) const {
        const auto found = names_.find(key);
        return found == names_.end() ? std::nullopt : std::optional(found->second);
    }

    // Lists a new dictionary (in memory); the reason when the record is refused.
    std::optional<std::string> append(const std::string& displayName,
                                      const std::string& lowerCaseName);

    // Writes the catalogue with the records added, leaving out those of `leftOut` (lower-cased
    // names whose dictionary files could not be written). The reason on failure.
    std::optional<std::string> save(const std::set<std::string>& leftOut);

private:
    std::string path_;
    std::optional<store::CatalogueFile> file_;
    std::optional<std::string> problem_;
    std::unordered_map<std::string, std::string> names_;     // key, lower-cased name as listed
    std::vector<std::pair<std::string, std::string>> added_; // lower-cased name, display name
};

} // namespace update
