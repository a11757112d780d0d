// The keys Access stored in the indexes of its own files are the oracle for the key builder:
// every entry's key must be exactly the key computed from a row of the table, entry for row.
#include "index_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

struct OracleCounts {
    std::size_t entries = 0, textEntries = 0, skipped = 0;
};

// Compares stored and computed keys of every index in the files of one version, those with a
// database password too; the stored keys of every index, whether the engine builds its keys or
// not, rise in page order.
OracleCounts compareStoredKeys(Version version) {
    OracleCounts n;
    for (const auto& [file, password, ace] : openTestFiles()) {
        const Database db = Database::open(testFile(file), password);
        if (db.version() != version)
            continue;
        for (IndexKeys& keys : indexKeys(db)) {
            const std::string where = file + " " + keys.table + "." + keys.index;
            EXPECT_TRUE(std::is_sorted(keys.stored.begin(), keys.stored.end())) << where;
            if (!keys.supported) {
                ++n.skipped;
                continue;
            }
            std::vector<Key> stored = keys.stored;
            std::sort(stored.begin(), stored.end());
            std::sort(keys.computed.begin(), keys.computed.end());
            EXPECT_EQ(stored.size(), keys.computed.size()) << where;
            n.entries += stored.size();
            if (keys.hasText)
                n.textEntries += stored.size();
            std::vector<Key> missing;
            std::set_difference(stored.begin(), stored.end(), keys.computed.begin(),
                                keys.computed.end(), std::back_inserter(missing));
            for (std::size_t i = 0; i < std::min<std::size_t>(missing.size(), 3); ++i)
                ADD_FAILURE() << where << ": stored key " << hex(missing[i])
                              << " is no row's computed key";
        }
    }
    return n;
}

// In Access 97 files text keys are in that version's "General" sort order, accented letters and
// ligatures included; every index of these files is one the engine builds keys for.
TEST(StoredIndexKeys, EveryEntryOfEveryIndexIsTheKeyOfItsRow) {
    EXPECT_GT(compareStoredKeys(Version::Jet4).entries, 600u);
    const OracleCounts jet3 = compareStoredKeys(Version::Jet3);
    EXPECT_EQ(jet3.skipped, 0u);
    EXPECT_GT(jet3.textEntries, 300u);
    // Access 2007 and later: large numbers, extended dates, descending binary keys, emoji.
    std::size_t ace = 0;
    for (Version v : {Version::Ace12, Version::Ace14, Version::Ace16, Version::Ace17})
        ace += compareStoredKeys(v).entries;
    EXPECT_GT(ace, 1000u);
}

} // namespace
} // namespace jet::test
