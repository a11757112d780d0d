// Suggestions for a term that matches nothing, over folders of our own, through the cache and
// straight from the files alike.
#include "dictionary_folder.h"
#include "lookup/suggestions.h"

#include <fstream>
#include <gtest/gtest.h>

namespace lookup {
namespace {

using Keys = std::vector<std::string>;

struct Suggestions : ::testing::Test {
    testing_support::DictionaryFolder folder;
    DictionaryCache cache;
    Keys names{"Methods", "Tarot"};

    void write(const std::string& name, const Keys& keys) {
        std::vector<testing_support::Record> records;
        for (const std::string& key : keys)
            records.emplace_back(key, "https://example.org/" + key);
        folder.writeDictionary(name, records);
    }
    // The suggestions read straight from the files, once they agree with those of the cache.
    Keys suggest(const std::string& term, const std::string& choice = "All") {
        Keys straight = suggestKeywords(folder.path(), names, term, choice, nullptr);
        EXPECT_EQ(suggestKeywords(folder.path(), names, term, choice, &cache), straight) << term;
        return straight;
    }
};

TEST_F(Suggestions, FewerEditsComeFirstThenTheTermsFirstLetterThenItsLengthThenRecordOrder) {
    write("Methods", {"Trot", "Parrot", "tarot", "Carrot", "Tarots", "Tarot", "Taro", "Tarrots",
                      "Ballot", "Séance", "O", "Oxe", "Fox", "Ox"});
    EXPECT_EQ(suggest(" TARROT "), (Keys{"tarot", "Tarrots", "Parrot", "Carrot", "Tarots", "Trot",
                                         "Taro"})); // Ballot is three edits away
    // What the lookup finds is no suggestion; a difference in accents alone is the best one.
    EXPECT_EQ(suggest("tarot"), (Keys{"Trot", "Tarots", "Taro", "Tarrots", "Parrot", "Carrot"}));
    EXPECT_EQ(suggest("SEANCE"), Keys{"Séance"});
    EXPECT_EQ(suggest("ox"), (Keys{"O", "Oxe", "Fox"})); // two letters: one edit
    EXPECT_EQ(suggest("ö"), Keys{"O"});                  // one letter: accents only
    EXPECT_EQ(suggest("q"), Keys{});
    EXPECT_EQ(suggest("  "), Keys{});
}

TEST_F(Suggestions, TheScopeIsOneDictionaryOrAllInOrderEachKeywordOnceAndTenAtMost) {
    Keys many;
    for (int n = 1; n <= 12; ++n)
        many.push_back("kalo" + std::to_string(n));
    write("Methods", many);
    // "kal" ranks as the others but comes later; "kalq" ranks above them all.
    write("Tarot", {"KALO7", "kal", "kalq", "kalo 2 3"});
    names = {"Methods", "Absent", "Tarot"};
    std::ofstream(folder.file("absent.dll")) << "not a database";
    EXPECT_EQ(suggest("kalo"), (Keys{"kalq", "kalo1", "kalo2", "kalo3", "kalo4", "kalo5", "kalo6",
                                     "kalo7", "kalo8", "kalo9"}));
    EXPECT_EQ(suggest("kalo", "Tarot"), (Keys{"kalq", "KALO7", "kal"}));
    EXPECT_EQ(suggest("kalo", "Absent"), Keys{});
    EXPECT_EQ(suggest("kalo7", "All"), (Keys{"kalo1", "kalo2", "kalo3", "kalo4", "kalo5", "kalo6",
                                             "kalo8", "kalo9", "kalo10", "kalo11"}));
}

} // namespace
} // namespace lookup
