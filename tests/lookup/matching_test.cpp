// The match rules of the search modes and of the lookup, and the wildcard pattern.
#include "lookup/matching.h"

#include <gtest/gtest.h>

namespace lookup {
namespace {

TEST(Matching, ExactIsAPrefixMatchIgnoringCaseInCharactersNotBytes) {
    EXPECT_TRUE(MatchesPrefix("Oracle bones", "ORA"));
    EXPECT_FALSE(MatchesPrefix("Coracle", "ora"));
    EXPECT_FALSE(MatchesPrefix("Oracle", "oracle bones"));
    EXPECT_TRUE(MatchesPrefix("Ärmelorakel", "ÄRM") && MatchesPrefix("ΣΕΛΗΝΗ", "σελ"));
    // İ (two bytes) lowers to i (one byte).
    EXPECT_TRUE(MatchesPrefix("İstikhara", "is") && MatchesPrefix("istikhara", "İS"));
    EXPECT_TRUE(KeyEquals("ΘΕΑ", "θεα"));
    EXPECT_FALSE(KeyEquals(" Omen", "Omen") || KeyEquals("Omens", "Omen")); // no trimming
}

TEST(Matching, WildcardFindsTheLoweredUntrimmedPatternAnywhereAndAStarStandsForAnyRun) {
    EXPECT_EQ(BuildPattern("  Or*LÉ "), "  or*lé ");
    EXPECT_EQ(SearchTerm(SearchMode::Exact, "  ora ") + "|" +
                  SearchTerm(SearchMode::Wildcard, " ora "),
              "ora| ora ");
    EXPECT_TRUE(MatchesPattern("ORACLE", "acl") && MatchesPattern("Aura reading", "ra "));
    EXPECT_FALSE(MatchesPattern("Oracle", "ra ") || MatchesPattern("", ""));
    EXPECT_TRUE(MatchesPattern("Coracle bones", "or*le") && MatchesPattern("Orle", "or*le"));
    EXPECT_FALSE(MatchesPattern("Lore", "or*le"));
    EXPECT_TRUE(MatchesPattern("Tarot", "*"));
    EXPECT_FALSE(MatchesPattern("aba", "aba*ba")); // pieces in order, not overlapping
    EXPECT_TRUE(MatchesPattern("ababa", "aba*ba"));
    EXPECT_TRUE(KeywordMatcher(SearchMode::Wildcard, "OR").Matches("Coracle"));
    EXPECT_FALSE(KeywordMatcher(SearchMode::Exact, "OR").Matches("Coracle"));
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
        AppendLowered(keyword, text);
        EXPECT_EQ(text, BuildPattern(keyword)) << keyword;
        lowered.push_back(text);
    }
    for (SearchMode mode : {SearchMode::Exact, SearchMode::Wildcard}) {
        for (const char* text : {"or", "ORACLE", "or*le", "*", "", "aba*ba", "ab*a", "rac",
                                 "ÄRM*AKEL", "is", "e*o", " or", "ba*"}) {
            const KeywordMatcher matcher(mode, text);
            std::vector<std::size_t> oneByOne, packed;
            for (std::size_t i = 0; i < keywords.size(); ++i) {
                if (matcher.Matches(keywords[i]))
                    oneByOne.push_back(i);
            }
            matcher.ForEachMatch(lowered, [&](std::size_t i) { packed.push_back(i); });
            EXPECT_EQ(packed, oneByOne) << static_cast<int>(mode) << " [" << text << "]";
        }
    }
}

} // namespace
} // namespace lookup
