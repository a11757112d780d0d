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

} // namespace
} // namespace lookup
