#include "merge_targets.h"

#include "store/program_files.h"
#include "text/utf8.h"
#include "update/dictionary_name.h"

#include <exception>
#include <filesystem>

namespace update {

namespace {

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

DictionaryTarget DictionaryTarget::opened(const std::string& path, const std::string& unreadable,
                                          const std::function<store::DictionaryFile()>& open,
                                          const LinkSet& asked) {
    DictionaryTarget target(path);
    try {
        target.file_.emplace(open());
    } catch (const std::exception& error) {
        return unusable(path, unreadable + error.what());
    }
    auto problem = target.file_->walk({"Link"}, [&](const store::Record& record) {
        if (asked.contains(record[0]))
            target.links_.insert(record[0]);
        return true;
    });
    if (problem)
        return unusable(path, unreadable + *problem);
    return target;
}

DictionaryTarget DictionaryTarget::existing(const std::string& path, const LinkSet& asked) {
    return opened(
        path, "the dictionary file " + fileName(path) + " cannot be read: ",
        [&] { return store::DictionaryFile::open(path); }, asked);
}

DictionaryTarget DictionaryTarget::fromTemplate(const std::string& path,
                                                const std::string& templatePath,
                                                const LinkSet& asked) {
    DictionaryTarget target = opened(
        path,
        "the template " + fileName(templatePath) + " cannot be read, so the dictionary file " +
            fileName(path) + " cannot be made: ",
        [&] { return store::DictionaryFile::fromTemplate(templatePath, path); }, asked);
    target.isNew_ = true;
    return target;
}

DictionaryTarget DictionaryTarget::unusable(const std::string& path, const std::string& reason) {
    DictionaryTarget target(path);
    target.problem_ = reason;
    return target;
}

std::optional<std::string> DictionaryTarget::append(const store::DictionaryRecord& record) {
    if (problem_)
        return problem_;
    try {
        file_->append(record);
    } catch (const std::exception& error) {
        return fileName(path_) + " refused the record: " + error.what();
    }
    links_.insert(record.link);
    return std::nullopt;
}

std::optional<std::string> DictionaryTarget::save() {
    if (problem_)
        return problem_;
    if (!isNew_ && file_->appendedRecords() == 0)
        return std::nullopt;
    try {
        file_->commit();
    } catch (const std::exception& error) {
        return "the dictionary file " + fileName(path_) +
               (isNew_ ? " could not be made: " : " could not be saved: ") + error.what();
    }
    return std::nullopt;
}

CatalogueTarget CatalogueTarget::open(const std::string& path) {
    CatalogueTarget target;
    target.path_ = path;
    const std::string unreadable = "the catalogue " + fileName(path) + " cannot be read: ";
    try {
        target.file_.emplace(store::CatalogueFile::open(path));
    } catch (const std::exception& error) {
        target.problem_ = unreadable + error.what();
        return target;
    }
    auto problem = target.file_->walk({"names"}, [&](const store::Record& record) {
        target.names_.emplace(dictionaryKey(record[0]), text::utf8::toLower(record[0]));
        return true;
    });
    if (problem) {
        target.file_.reset();
        target.problem_ = unreadable + *problem;
    }
    return target;
}

std::optional<std::string> CatalogueTarget::append(const std::string& displayName,
                                                   const std::string& lowerCaseName) {
    if (problem_)
        return problem_;
    try {
        file_->append(displayName, store::dictionaryFileName(lowerCaseName));
    } catch (const std::exception& error) {
        return "the catalogue " + fileName(path_) + " refused the record for \"" + displayName +
               "\": " + error.what();
    }
    names_.emplace(lowerCaseName, lowerCaseName);
    added_.emplace_back(lowerCaseName, displayName);
    return std::nullopt;
}

std::optional<std::string> CatalogueTarget::save(const std::set<std::string>& leftOut) {
    if (problem_)
        return problem_;
    try {
        if (leftOut.empty()) {
            file_->commit();
            return std::nullopt;
        }
        // Some new dictionaries could not be written: list only the others, from the file.
        store::CatalogueFile fresh = store::CatalogueFile::open(path_);
        for (const auto& [name, displayName] : added_) {
            if (leftOut.count(name) == 0)
                fresh.append(displayName, store::dictionaryFileName(name));
        }
        fresh.commit();
    } catch (const std::exception& error) {
        return "the catalogue " + fileName(path_) + " could not be saved: " + error.what();
    }
    return std::nullopt;
}

} // namespace update
