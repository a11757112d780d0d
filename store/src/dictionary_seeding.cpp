#include "store/dictionary_seeding.h"

#include "jet/atomic_file.h"
#include "store/files_for_appending.h"
#include "store/folder_write_lock.h"
#include "store/program_files.h"
#include "store/record_walk.h"
#include "text/utf8.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace store {

namespace fs = std::filesystem;

namespace {

struct CatalogueRow {
    std::string names, database;
};

std::vector<std::uint8_t> readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in.good() && !in.eof())
        throw std::runtime_error("it cannot be read");
    return bytes;
}

class Seeding {
public:
    Seeding(const std::string& from, const std::string& to) : from_(from), to_(to) {}

    // Copies the file unless `to` has one of that name; true when it was copied.
    bool copyIfMissing(const std::string& name) {
        if (name.find('/') != std::string::npos || name.front() == '.') {
            report.problems.push_back("the installed catalogue names a file outside its folder: " +
                                      name);
            return false;
        }
        const std::string target = to_ + "/" + name;
        if (fs::exists(fs::symlink_status(target)))
            return false;
        try {
            jet::replaceFileAtomically(target, readWhole(from_ + "/" + name));
        } catch (const std::exception& error) {
            report.problems.push_back("the installed file " + name + " could not be copied to " +
                                      to_ + ": " + error.what());
            return false;
        }
        report.copied.push_back(name);
        return true;
    }

    void listInUserCatalogue(const std::vector<CatalogueRow>& rows) {
        if (rows.empty())
            return;
        try {
            CatalogueFile catalogue = CatalogueFile::open(cataloguePath(to_));
            for (const CatalogueRow& row : rows)
                catalogue.append(row.names, row.database);
            catalogue.commit();
            for (const CatalogueRow& row : rows)
                report.listed.push_back(row.names);
        } catch (const std::exception& error) {
            report.problems.push_back("the catalogue in " + to_ +
                                      " could not list the new dictionaries: " + error.what());
        }
    }

    SeedReport report;

private:
    std::string from_, to_;
};

std::optional<std::string> readCatalogueRows(const std::string& path,
                                             std::vector<CatalogueRow>& rows) {
    return walkRecords(path, {"names", "Database"}, [&](const Record& record) {
        if (!record[0].empty())
            rows.push_back({record[0], record[1]});
        return true;
    });
}

std::set<std::string> listedNames(const std::string& path, std::optional<std::string>& problem) {
    std::set<std::string> names;
    problem = walkRecords(path, {"names"}, [&](const Record& record) {
        names.insert(text::utf8::toLower(record[0]));
        return true;
    });
    return names;
}

} // namespace

SeedReport seedDictionaryFolder(const std::string& installedFolder, const std::string& to) {
    Seeding seeding(installedFolder, to);
    std::vector<CatalogueRow> installed;
    if (auto problem = readCatalogueRows(cataloguePath(installedFolder), installed)) {
        seeding.report.problems.push_back("no installed dictionaries to copy: " + *problem);
        return seeding.report;
    }
    std::error_code error;
    fs::create_directories(to, error);
    if (error) {
        seeding.report.problems.push_back("the folder " + to +
                                          " cannot be made: " + error.message());
        return seeding.report;
    }
    try {
        // The catalogue's own folder too, another one when the catalogue is a link.
        FolderWriteLock lock = FolderWriteLock::acquireForFiles(to, {cataloguePath(to)});
        const bool userHasCatalogue = catalogueExists(to);
        seeding.copyIfMissing(kTemplateFileName);
        std::vector<CatalogueRow> copied;
        for (const CatalogueRow& row : installed)
            if (seeding.copyIfMissing(dictionaryFileName(row.names)))
                copied.push_back(row);
        if (!userHasCatalogue) {
            seeding.copyIfMissing(kCatalogueFileName);
            return seeding.report;
        }
        std::optional<std::string> unreadable;
        const std::set<std::string> listed = listedNames(cataloguePath(to), unreadable);
        if (unreadable) {
            seeding.report.problems.push_back("new dictionaries are not listed: " + *unreadable);
            return seeding.report;
        }
        std::vector<CatalogueRow> unlisted;
        for (const CatalogueRow& row : copied)
            if (!listed.count(text::utf8::toLower(row.names)))
                unlisted.push_back(row);
        seeding.listInUserCatalogue(unlisted);
    } catch (const std::exception& error) {
        seeding.report.problems.push_back(error.what());
    }
    return seeding.report;
}

} // namespace store
