#include "update/merge.h"

#include "merge_targets.h"
#include "store/folder_write_lock.h"
#include "store/program_files.h"
#include "store/record_walk.h"
#include "text/utf8.h"
#include "update/dictionary_name.h"
#include "update_rows.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

namespace update {

namespace {

constexpr std::uint64_t kProgressEvery = 256;

// The dictionary files of one merge, by lower-cased name, each opened at its first use.
class OpenFiles {
public:
    // `asked`: the links of the update, the only ones the merge asks the files about.
    OpenFiles(std::string folder, const LinkSet& asked)
        : folder_(std::move(folder)), asked_(asked) {}

    // A file of a name the catalogue lists, or not: an existing file is appended to, never
    // replaced by the template; a missing one is made from the template only for a name the
    // catalogue does not list yet.
    DictionaryTarget& target(const std::string& name, bool listed) {
        if (auto found = files_.find(name); found != files_.end())
            return found->second;
        order_.push_back(name);
        return files_.emplace(name, open(name, listed)).first->second;
    }

    const std::vector<std::string>& order() const { return order_; }
    DictionaryTarget& at(const std::string& name) { return files_.at(name); }

private:
    DictionaryTarget open(const std::string& name, bool listed) const {
        const std::string path = store::dictionaryPath(folder_, name);
        std::error_code error;
        const bool missing = !std::filesystem::exists(path, error) && !error;
        if (!missing)
            return DictionaryTarget::existing(path, asked_);
        if (listed)
            return DictionaryTarget::unusable(path, "the catalogue lists it, but its dictionary "
                                                    "file " +
                                                        store::dictionaryFileName(name) +
                                                        " is missing");
        return DictionaryTarget::fromTemplate(path, store::templatePath(folder_), asked_);
    }

    std::string folder_;
    const LinkSet& asked_;
    std::map<std::string, DictionaryTarget> files_;
    std::vector<std::string> order_; // first use first
};

class Merge {
public:
    Merge(const std::string& folder, const std::vector<store::DictionaryRecord>& rows,
          const MergeProgress& progress)
        : asked_(linksOf(rows)), files_(folder, asked_),
          catalogue_(CatalogueTarget::open(store::cataloguePath(folder))), progress_(progress) {}

    void walk(const std::vector<store::DictionaryRecord>& rows) {
        for (std::uint64_t i = 0; i < rows.size(); ++i) {
            mergeRow(i + 1, rows[i]);
            if (progress_ && (i + 1) % kProgressEvery == 0)
                progress_(i + 1, rows.size());
        }
    }

    void save(std::uint64_t total) {
        std::set<std::string> notMade;
        for (const std::string& name : files_.order()) {
            DictionaryTarget& file = files_.at(name);
            // A new file is made only once the catalogue lists it.
            bool listedHere = newlyListed_.count(name) != 0;
            if (file.problem() || (file.isNew() && !listedHere))
                continue;
            if (auto reason = file.save()) {
                failAdded(name, *reason);
                if (listedHere)
                    notMade.insert(name);
            }
            if (progress_)
                progress_(total, total);
        }
        if (newlyListed_.empty())
            return;
        auto catalogueProblem = catalogue_.save(notMade);
        for (const auto& [name, displayName] : listedOrder_) {
            if (notMade.count(name) != 0)
                continue;
            if (!catalogueProblem)
                report_.newDictionaries.push_back(displayName);
            else
                failAdded(name, *catalogueProblem + " (so " + store::dictionaryFileName(name) +
                                    " is not listed)");
        }
    }

    MergeReport finish() {
        std::stable_sort(
            report_.failures.begin(), report_.failures.end(),
            [](const MergeFailure& a, const MergeFailure& b) { return a.row < b.row; });
        return std::move(report_);
    }

    MergeReport& report() { return report_; }

private:
    static LinkSet linksOf(const std::vector<store::DictionaryRecord>& rows) {
        LinkSet links;
        for (const store::DictionaryRecord& row : rows)
            links.insert(row.link);
        return links;
    }

    void mergeRow(std::uint64_t number, const store::DictionaryRecord& row) {
        if (auto unsafe = unsafeDictionaryName(row.names))
            return fail(number, row, *unsafe);
        const std::string name = dictionaryKey(row.names);
        if (catalogue_.problem())
            return fail(number, row, *catalogue_.problem());

        if (const std::optional<std::string> listed = catalogue_.listedName(name)) {
            DictionaryTarget& file = files_.target(*listed, true);
            if (file.problem())
                return fail(number, row, *file.problem());
            if (file.hasLink(row.link)) {
                ++report_.duplicates;
                return;
            }
            return add(number, row, *listed, file);
        }

        DictionaryTarget& file = files_.target(name, false);
        if (file.problem())
            return fail(number, row, *file.problem());
        if (auto refused = catalogue_.append(displayName(row.names), name))
            return fail(number, row, *refused);
        newlyListed_.insert(name);
        listedOrder_.emplace_back(name, displayName(row.names));
        // The first record of a dictionary made from the template is not compared with what
        // the template holds; one appended to a file that was already there is.
        if (!file.isNew() && file.hasLink(row.link)) {
            ++report_.duplicates;
            return;
        }
        add(number, row, name, file);
    }

    void add(std::uint64_t number, const store::DictionaryRecord& row, const std::string& name,
             DictionaryTarget& file) {
        if (auto refused = file.append({name, row.key, row.link}))
            return fail(number, row, *refused);
        ++report_.added;
        added_[name].push_back({number, row.names, row.key, {}});
    }

    void fail(std::uint64_t number, const store::DictionaryRecord& row, const std::string& reason) {
        report_.failures.push_back({number, row.names, row.key, reason});
    }

    // The rows added to `name` in memory did not reach the disk.
    void failAdded(const std::string& name, const std::string& reason) {
        for (MergeFailure failure : added_[name]) {
            failure.reason = reason;
            report_.failures.push_back(std::move(failure));
            --report_.added;
        }
        added_[name].clear();
    }

    LinkSet asked_;
    OpenFiles files_;
    CatalogueTarget catalogue_;
    const MergeProgress& progress_;
    MergeReport report_;
    std::set<std::string> newlyListed_;
    std::vector<std::pair<std::string, std::string>> listedOrder_; // lower-cased, display
    std::map<std::string, std::vector<MergeFailure>> added_;
};

// Every file the rows may lead the merge to write: the catalogue and the dictionaries they name,
// under their own names or those the catalogue lists them by (read here once more, before the
// lock, only to know which folders to lock: a link's target's folder too).
std::vector<std::string> filesWritten(const std::string& folder,
                                      const std::vector<store::DictionaryRecord>& rows) {
    std::set<std::string> keys;
    for (const store::DictionaryRecord& row : rows)
        if (!unsafeDictionaryName(row.names))
            keys.insert(dictionaryKey(row.names));
    std::set<std::string> names = keys;
    store::walkRecords(store::cataloguePath(folder), {"names"}, [&](const store::Record& listed) {
        if (keys.count(dictionaryKey(listed[0])) != 0)
            names.insert(text::utf8::toLower(listed[0]));
        return true;
    });
    std::vector<std::string> files{store::cataloguePath(folder)};
    for (const std::string& name : names)
        files.push_back(store::dictionaryPath(folder, name));
    return files;
}

} // namespace

MergeReport mergeUpdateFile(const std::string& updateFilePath, const std::string& programFolder,
                            const MergeProgress& progress) {
    UpdateRows update = readUpdateRows(updateFilePath);
    if (update.problem || update.rows.empty()) {
        MergeReport report;
        report.nothingToUpdate = true;
        report.updateFileProblem = update.problem.value_or("");
        return report;
    }
    // Held from the first read of the folder's files to the last commit, so a merge never
    // writes over what another writer committed after this one read it.
    std::optional<store::FolderWriteLock> lock;
    try {
        lock.emplace(store::FolderWriteLock::acquireForFiles(
            programFolder, filesWritten(programFolder, update.rows)));
    } catch (const std::runtime_error& busy) {
        MergeReport report;
        report.rowsRead = update.rows.size();
        report.allRowsFailed = busy.what();
        return report;
    }
    Merge merge(programFolder, update.rows, progress);
    merge.report().rowsRead = update.rows.size();
    merge.walk(update.rows);
    merge.save(update.rows.size());
    return merge.finish();
}

} // namespace update
