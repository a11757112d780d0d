// The match rules of the search modes and of the lookup, and the wildcard pattern.
#include "lookup/matching.h"

#include <gtest/gtest.h>

namespace lookup {
namespace {

TEST(Matching, ExactIsAPrefixMatchIgnoringCaseInCharactersNotBytes) {
    EXPECT_TRUE(matchesPrefix("Oracle bones", "ORA"));
    EXPECT_FALSE(matchesPrefix("Coracle", "ora"));
    EXPECT_FALSE(matchesPrefix("Oracle", "oracle bones"));
    EXPECT_TRUE(matchesPrefix("Ärmelorakel", "ÄRM") && matchesPrefix("ΣΕΛΗΝΗ", "σελ"));
    // İ (two bytes) lowers to i (one byte).
    EXPECT_TRUE(matchesPrefix("İstikhara", "is") && matchesPrefix("istikhara", "İS"));
    EXPECT_TRUE(keyEquals("ΘΕΑ", "θεα"));
    EXPECT_FALSE(keyEquals(" Omen", "Omen") || keyEquals("Omens", "Omen")); // no trimming
}

TEST(Matching, WildcardFindsTheLoweredUntrimmedPatternAnywhereAndAStarStandsForAnyRun) {
    EXPECT_EQ(buildPattern("  Or*LÉ "), "  or*lé ");
    EXPECT_EQ(searchTerm(SearchMode::Exact, "  ora ") + "|" +
                  searchTerm(SearchMode::Wildcard, " ora "),
              "ora| ora ");
    EXPECT_TRUE(matchesPattern("ORACLE", "acl") && matchesPattern("Aura reading", "ra "));
    EXPECT_FALSE(matchesPattern("Oracle", "ra ") || matchesPattern("", ""));
    EXPECT_TRUE(matchesPattern("Coracle bones", "or*le") && matchesPattern("Orle", "or*le"));
    EXPECT_FALSE(matchesPattern("Lore", "or*le"));
    EXPECT_TRUE(matchesPattern("Tarot", "*"));
    EXPECT_FALSE(matchesPattern("aba", "aba*ba")); // pieces in order, not overlapping
    EXPECT_TRUE(matchesPattern("ababa", "aba*ba"));
    EXPECT_TRUE(KeywordMatcher(SearchMode::Wildcard, "OR").matches("Coracle"));
    EXPECT_FALSE(KeywordMatcher(SearchMode::Exact, "OR").matches("Coracle"));
}

// Over keywords packed end to end a hit may run from one keyword into the next; it belongs to
// neither. Each mode must pick exactly the keywords its one-keyword rule picks.
TEST(Matching, PackedKeywordsMatchExactlyAsOneByOne) {
    const std::vector<std::string> keywords = {"or", "",  "acle",   "ORACLE", "Coracle bones",
                                               "ab", "a", "ba",     "ababa",  "Ärmelorakel",
                                               "İs", "*", "the or", "lé"};
    PackedTexts lowered;
    for (const std::string& keyword : keywords) {
        std::string text;
        appendLowered(keyword, text);
        EXPECT_EQ(text, buildPattern(keyword)) << keyword;
        lowered.push_back(text);
    }
    for (SearchMode mode : {SearchMode::Exact, SearchMode::Wildcard}) {
        for (const char* text : {"or", "ORACLE", "or*le", "*", "", "aba*ba", "ab*a", "rac",
                                 "ÄRM*AKEL", "is", "e*o", " or", "ba*"}) {
            const KeywordMatcher matcher(mode, text);
            std::vector<std::size_t> oneByOne, packed;
            for (std::size_t i = 0; i < keywords.size(); ++i) {
                if (matcher.matches(keywords[i]))
                    oneByOne.push_back(i);
            }
            matcher.forEachMatch(lowered, [&](std::size_t i) { packed.push_back(i); });
            EXPECT_EQ(packed, oneByOne) << static_cast<int>(mode) << " [" << text << "]";
        }
    }
}

} // namespace
} // namespace lookup
