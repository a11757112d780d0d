// The merge writes what the row-by-row merge it replaced writes, record for record, on copies of
// random program folders where the two are meant to agree: safe names, a template present, no
// unlisted dictionary file in the way.
#include "dictionary_folder.h"
#include "jet/database.h"
#include "jet/write_session.h"
#include "store/program_files.h"
#include "text/utf8.h"
#include "update/dictionary_name.h"
#include "update/merge.h"

#include <gtest/gtest.h>
#include <random>

namespace update {
namespace {

using namespace testing_support;
using Fields = std::vector<std::string>;

std::vector<Fields> records(const std::string& path, const Fields& names) {
    std::vector<Fields> result;
    jet::Cursor rows = jet::Database::open(path, store::kDatabasePassword).table("data").cursor();
    for (; !rows.eof(); rows.moveNext()) {
        result.emplace_back();
        for (const std::string& name : names)
            result.back().push_back(rows.text(name));
    }
    return result;
}

// Every record saved on its own; every step that fails skipped in silence; the catalogue walked
// and the target dictionary opened and walked again for each update row.
bool rowByRowMerge(const std::string& updateFile, const std::string& folder) {
    const auto skipOnError = [](auto step) {
        try {
            step();
        } catch (const std::exception&) {
        }
    };
    const auto append = [](const std::string& path, const jet::RowValues& row) {
        jet::WriteSession session = jet::WriteSession::open(path, store::kDatabasePassword);
        session.appendRow("data", row);
        session.commit();
    };
    std::vector<Fields> update;
    skipOnError([&] { update = records(updateFile, {"names", "Key", "Link"}); });
    for (const Fields& row : update) {
        // Without the white space around it; a dictionary listed with some keeps its file.
        const std::string key = dictionaryKey(row[0]);
        std::string name = key;
        bool known = false;
        skipOnError([&] {
            for (const Fields& listed : records(store::cataloguePath(folder), {"names"}))
                if (!known && dictionaryKey(listed[0]) == key) {
                    known = true;
                    name = text::utf8::toLower(listed[0]);
                }
        });
        const std::string dictionary = store::dictionaryPath(folder, name);
        if (known) {
            skipOnError([&] {
                for (const Fields& held : records(dictionary, {"Link"}))
                    if (held[0] == row[2])
                        return;
                append(dictionary, {{"names", name}, {"Key", row[1]}, {"Link", row[2]}});
            });
            continue;
        }
        skipOnError([&] {
            append(store::cataloguePath(folder),
                   {{"names", displayName(row[0])}, {"Database", name + ".dll"}});
        });
        skipOnError([&] {
            std::filesystem::copy_file(store::templatePath(folder), dictionary,
                                       std::filesystem::copy_options::overwrite_existing);
        });
        skipOnError([&] {
            append(dictionary, {{"names", name}, {"Key", row[1]}, {"Link", row[2]}});
        });
    }
    return !update.empty();
}

struct Shape {
    int maxRows, maxExisting, distinctLinks;
    bool sessionPerRecord = false;
};

// Lays out a random program folder; returns the update records.
Rows randomCase(std::uint64_t seed, const Shape& shape, const std::string& folder) {
    std::mt19937_64 random(seed);
    const auto chance = [&](double p) {
        return std::uniform_real_distribution<>(0, 1)(random) < p;
    };
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<>(low, high)(random);
    };
    const auto recase = [&](std::string name) {
        const int how = pick(0, 3);
        for (char& c : name)
            c = how == 1 ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        return how == 0 ? text::utf8::toLower(name) : name;
    };
    // Few distinct addresses, so duplicates are common; some differ only in case, and their
    // lengths vary so records fill pages unevenly.
    const auto link = [&] {
        std::string link = "http://example.org/" + std::to_string(pick(0, shape.distinctLinks));
        if (chance(0.2))
            link[7] = 'E';
        return chance(0.3) ? link + "/" + std::string(static_cast<std::size_t>(pick(1, 300)), 'p')
                           : link;
    };
    Rows catalogue;
    std::vector<std::string> listed;
    for (std::string name : {"Omens", "Runes", "Tarot", "Dream Signs", "Ägypten", "I Ching"}) {
        if (chance(0.4))
            continue;
        name += chance(0.2) ? " " : "";
        const std::string lower = text::utf8::toLower(name);
        for (int copies = chance(0.2) ? 2 : 1; copies > 0; --copies) // twice, in another case
            catalogue.push_back({recase(name), lower + ".dll"});
        if (chance(0.1))
            catalogue.push_back({"", ""});
        listed.push_back(name);
        if (chance(0.1))
            continue; // listed, but its file is missing
        Rows records;
        for (int i = pick(0, shape.maxExisting); i > 0; --i)
            records.push_back({lower, "key" + std::to_string(pick(0, 99)), link()});
        writeDictionaryFile(store::dictionaryPath(folder, name), records, shape.sessionPerRecord);
    }
    std::shuffle(catalogue.begin(), catalogue.end(), random);
    writeCatalogueFile(store::cataloguePath(folder), catalogue);
    Rows templateRecords;
    if (chance(0.15))
        templateRecords.push_back({"clone", "sample", link()});
    writeDictionaryFile(store::templatePath(folder), templateRecords);
    const std::vector<std::string> unlisted = {"runecasting", "Numerology", "ogham", "Tea Leaves"};
    Rows update;
    for (int i = pick(1, shape.maxRows); i > 0; --i) {
        const auto& names = !listed.empty() && chance(0.6) ? listed : unlisted;
        update.push_back({recase(names[pick(0, static_cast<int>(names.size()) - 1)]),
                          "term" + std::to_string(i), link()});
    }
    return update;
}

void expectSameFiles(std::uint64_t seed, const Shape& shape) {
    DictionaryFolder base, rowByRow, merged;
    const auto update = randomCase(seed, shape, base.path());
    writeDictionaryFile(base.file("update.mdb"), update);
    copyFolder(base.path(), rowByRow.path());
    copyFolder(base.path(), merged.path());
    ASSERT_TRUE(rowByRowMerge(base.file("update.mdb"), rowByRow.path()));
    MergeReport report = mergeUpdateFile(base.file("update.mdb"), merged.path());
    EXPECT_EQ(folderContents(merged.path()), folderContents(rowByRow.path())) << "seed " << seed;
    // Every update row is added, a duplicate or a failure; only a listed dictionary whose file
    // is missing can fail here.
    EXPECT_EQ(report.added + report.duplicates + report.failed(), update.size()) << "seed " << seed;
    for (const MergeFailure& failure : report.failures)
        EXPECT_NE(failure.reason.find("is missing"), std::string::npos) << failure.reason;
}

// Small folders, then dictionaries of many pages, half written a record at a time: appended
// records meet full pages and must be placed as one session per record would place them.
TEST(Equivalence, RandomFoldersAndUpdates) {
    for (std::uint64_t seed = 1; seed <= 150 && !HasFailure(); ++seed)
        expectSameFiles(seed, {30, 20, 40});
    for (std::uint64_t seed = 1001; seed <= 1008 && !HasFailure(); ++seed)
        expectSameFiles(seed, {400, seed % 2 ? 1500 : 600, 3000, seed % 2 == 0});
}

} // namespace
} // namespace update
