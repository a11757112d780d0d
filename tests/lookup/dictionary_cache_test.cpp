// Searches through the cache of decoded dictionaries see the files as they are on disk at each
// search, whoever changed them, and a file that cannot be read looks as it does without the
// cache.
#include "dictionary_folder.h"
#include "jet/create.h"
#include "lookup/find_link.h"
#include "lookup/keyword_search.h"
#include "lookup/keywords.h"
#include "store/file_stamp.h"
#include "store/files_for_appending.h"
#include "store/program_files.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lookup {
namespace {

namespace fs = std::filesystem;
using Keys = std::vector<std::string>;

// What a search shows: the keywords found, then each reason heard, as "!reason".
Keys search(const std::string& folder, const Keys& names, const std::string& text,
            DictionaryCache* cache, SearchMode mode = SearchMode::Exact) {
    Keys shown, reasons;
    searchKeywords(
        folder, names, mode, text, [&](std::string_view keyword) { shown.emplace_back(keyword); },
        [&](const std::string& reason) { reasons.push_back("!" + reason); }, cache);
    shown.insert(shown.end(), reasons.begin(), reasons.end());
    return shown;
}

struct CachedSearch : ::testing::Test {
    testing_support::DictionaryFolder folder;
    // Trusts a decode at once, so these tests see the stamp comparison alone.
    DictionaryCache cache{DictionaryCache::kDefaultBudget, 0};
    const Keys names{"Omens"};

    void SetUp() override { write("Omens", {"Crow", "Comet", "Raven"}); }
    void write(const std::string& name, const Keys& keys) {
        std::vector<testing_support::Record> records;
        for (const std::string& key : keys)
            records.emplace_back(key, "https://example.org/" + key);
        folder.writeDictionary(name, records);
    }
    std::string file() const { return store::dictionaryPath(folder.path(), "Omens"); }
    Keys search(const std::string& text, DictionaryCache* through) const {
        return lookup::search(folder.path(), names, text, through);
    }
};

TEST_F(CachedSearch, AnUnchangedFileIsDecodedOnceAndAFreshlyWrittenOneEveryTime) {
    EXPECT_EQ(search("c", &cache), (Keys{"Crow", "Comet"}));
    const auto first = cache.read(file(), false).content;
    EXPECT_EQ(cache.read(file(), false).content, first);
    // Links are decoded when first asked for, replacing the entry rather than adding one.
    const auto withLinks = cache.read(file(), true).content;
    EXPECT_NE(withLinks, first);
    EXPECT_EQ(cache.bytes(), withLinks->bytes());
    // A file changed a moment ago could change again within the same clock tick unseen.
    DictionaryCache wary;
    EXPECT_NE(wary.read(file(), false).content, wary.read(file(), false).content);
}

TEST_F(CachedSearch, SeesAFileChangedBetweenTwoSearchesByOurWriterAndByAnOverwriteInPlace) {
    EXPECT_EQ(search("r", &cache), (Keys{"Raven"}));
    store::DictionaryFile omens = store::DictionaryFile::open(file());
    omens.append({"omens", "Rook", "https://example.org/Rook"});
    omens.commit();
    EXPECT_EQ(search("r", &cache), (Keys{"Raven", "Rook"}));

    // The same number of records with keys of the same lengths: the same size, so only the
    // modification time tells the new content from the old (set well in the past first, so it
    // differs whatever the clock's tick).
    const std::string before = file() + ".before";
    fs::copy_file(file(), before);
    fs::last_write_time(file(), fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(search("r", &cache), (Keys{"Raven", "Rook"}));
    write("Omens", {"Crow", "Comet", "Roven", "Rock"});
    const std::string changed = file() + ".changed";
    fs::copy_file(file(), changed);
    fs::rename(before, file());
    fs::last_write_time(file(), fs::file_time_type::clock::now() - std::chrono::hours(1));
    const store::FileStamp old = *store::stampOf(file());
    EXPECT_EQ(search("r", &cache), (Keys{"Raven", "Rook"}));
    // Written over where it stands: same inode, no rename, as a copy tool does.
    std::ofstream(file(), std::ios::binary | std::ios::in) << std::ifstream(changed).rdbuf();
    const store::FileStamp now = *store::stampOf(file());
    ASSERT_EQ(now.inode, old.inode);
    ASSERT_EQ(now.size, old.size);
    EXPECT_EQ(search("r", &cache), (Keys{"Roven", "Rock"}));
    std::string link;
    EXPECT_TRUE(findLinkIn(folder.path(), "Omens", "ROCK", link, &cache));
    EXPECT_EQ(link, "https://example.org/Rock");
}

TEST_F(CachedSearch, AFileDeletedLockedOrDamagedSinceLooksAsItDoesWithoutTheCache) {
    // Enough records for several pages, so a cut file fails part-way.
    Keys many;
    for (int i = 0; i < 400; ++i)
        many.push_back("Comet " + std::to_string(i) + std::string(40, 'x'));
    const auto replaceAndCompare = [&](const std::function<void()>& replace) {
        write("Omens", many);
        EXPECT_EQ(search("comet 39", &cache).size(), 11u); // decoded and kept
        replace();
        const Keys straight = search("comet 39", nullptr);
        EXPECT_EQ(search("comet 39", &cache), straight);
        EXPECT_EQ(search("comet 39", &cache), straight); // and not kept
        Keys loaded{"Earlier"};
        EXPECT_EQ(loadKeywords(folder.path(), "Omens", loaded, &cache),
                  loadKeywords(folder.path(), "Omens", loaded, nullptr));
        std::string cachedLink = "-", straightLink = "-";
        EXPECT_EQ(findLinkIn(folder.path(), "Omens", many[3], cachedLink, &cache),
                  findLinkIn(folder.path(), "Omens", many[3], straightLink, nullptr));
        EXPECT_EQ(cachedLink, straightLink);
        return straight;
    };
    const Keys deleted = replaceAndCompare([&] { fs::remove(file()); });
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].substr(0, file().size() + 1), "!" + file());
    EXPECT_EQ(cache.bytes(), 0u);

    replaceAndCompare([&] {
        fs::remove(file());
        jet::createDatabase(file(), {{"data", {{"Key"}, {"Link"}}}}, {"another password", {}});
    });
    const Keys cut = replaceAndCompare([&] { fs::resize_file(file(), fs::file_size(file()) / 2); });
    EXPECT_EQ(cut.back().front(), '!');
    const Keys garbage = replaceAndCompare(
        [&] { std::ofstream(file(), std::ios::binary) << std::string(12288, '\x01'); });
    EXPECT_EQ(garbage.size(), 1u);
}

TEST(DictionaryCacheBudget, KeepsTheMostRecentlyUsedFilesWithinItsBudget) {
    testing_support::DictionaryFolder folder;
    Keys names;
    for (const char* name : {"A", "B", "C"}) {
        names.push_back(name);
        folder.writeDictionary(name, std::vector<testing_support::Record>(
                                         10, {std::string(200, name[0]), "https://example.org"}));
    }
    DictionaryCache probe(DictionaryCache::kDefaultBudget, 0);
    probe.read(store::dictionaryPath(folder.path(), "A"), false);
    const std::size_t one = probe.bytes();
    DictionaryCache cache(2 * one + one / 2, 0);
    for (const std::string& name : names)
        cache.read(store::dictionaryPath(folder.path(), name), false);
    EXPECT_EQ(cache.bytes(), 2 * one); // the files are alike in size
    // B and C are kept: C was read last, A first.
    const auto c = cache.read(store::dictionaryPath(folder.path(), "C"), false).content;
    EXPECT_EQ(cache.read(store::dictionaryPath(folder.path(), "C"), false).content, c);
    EXPECT_EQ(search(folder.path(), names, "bb", &cache), Keys(10, std::string(200, 'B')));
    DictionaryCache tooSmall(one / 2, 0);
    EXPECT_EQ(search(folder.path(), names, "aa", &tooSmall), Keys(10, std::string(200, 'A')));
    EXPECT_EQ(tooSmall.bytes(), 0u);
}

} // namespace
} // namespace lookup
