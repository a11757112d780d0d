// The match rules of the three entry points and the wildcard pattern.
#include "lookup/search/matching.h"

#include <gtest/gtest.h>

using namespace lookup::search;

TEST(ExactMatch, IsAPrefixMatchThatIgnoresCase) {
    EXPECT_TRUE(MatchesPrefix("Oracle", "ora"));
    EXPECT_TRUE(MatchesPrefix("Oracle bones", "ora"));
    EXPECT_FALSE(MatchesPrefix("Coracle", "ora"));
    EXPECT_TRUE(MatchesPrefix("oracle", "ORACLE"));
    EXPECT_TRUE(MatchesPrefix("Oracle", "ORACLE"));
    EXPECT_FALSE(MatchesPrefix("Oracle", "oracle bones"));
    EXPECT_FALSE(MatchesPrefix("", "a"));
    EXPECT_TRUE(MatchesPrefix("anything", ""));
    EXPECT_TRUE(MatchesPrefix("", ""));
}

TEST(ExactMatch, LowersAllOfUnicodeTheSameWayOnBothSides) {
    EXPECT_TRUE(MatchesPrefix("Ärmelorakel", "ÄRM"));
    EXPECT_TRUE(MatchesPrefix("ΣΕΛΗΝΗ", "σελ"));
    EXPECT_TRUE(MatchesPrefix("Руны", "РУН"));
    // A capital that lowers to a shorter byte sequence: İ (2 bytes) lowers to i (1 byte).
    EXPECT_TRUE(MatchesPrefix("İstikhara", "is"));
    EXPECT_TRUE(MatchesPrefix("istikhara", "İS"));
    EXPECT_FALSE(MatchesPrefix("Ärmel", "ärmelx"));
}

TEST(Lookup, ComparesWholeKeysIgnoringCaseWithoutTrimming) {
    EXPECT_TRUE(KeyEquals("Omen", "OMEN"));
    EXPECT_TRUE(KeyEquals("ΘΕΑ", "θεα"));
    EXPECT_FALSE(KeyEquals(" Omen", "Omen"));
    EXPECT_FALSE(KeyEquals("Omens", "Omen"));
}

TEST(Pattern, IsTheTextLoweredAndUntrimmedWithStarsKept) {
    EXPECT_EQ(BuildPattern("Or*LE "), "or*le ");
    EXPECT_EQ(BuildPattern("  ÄB"), "  äb");
    EXPECT_EQ(BuildPattern(""), "");
    EXPECT_EQ(SearchTerm(SearchMode::Exact, "  ora "), "ora");
    EXPECT_EQ(SearchTerm(SearchMode::Wildcard, "  ora "), "  ora ");
}

TEST(WildcardMatch, FindsThePatternAnywhereInTheKeyword) {
    EXPECT_TRUE(MatchesPattern("Oracle", "acl"));
    EXPECT_TRUE(MatchesPattern("Coracle", "acl"));
    EXPECT_TRUE(MatchesPattern("ORACLE", "acl"));
    EXPECT_FALSE(MatchesPattern("Oracle", "acle bones"));
    EXPECT_TRUE(MatchesPattern("Aura reading", "ra "));
    EXPECT_FALSE(MatchesPattern("Oracle", "ra "));
    EXPECT_FALSE(MatchesPattern("", ""));
}

TEST(WildcardMatch, StarStandsForAnyRunOfCharactersIncludingNone) {
    EXPECT_TRUE(MatchesPattern("Oracle", "or*le"));
    EXPECT_TRUE(MatchesPattern("Coracle bones", "or*le"));
    EXPECT_TRUE(MatchesPattern("Orle", "or*le"));
    EXPECT_FALSE(MatchesPattern("Lore", "or*le"));
    EXPECT_EQ(MatchesPattern("Oracle", "*acl*"), MatchesPattern("Oracle", "acl"));
    EXPECT_EQ(MatchesPattern("Runes", "*acl"), MatchesPattern("Runes", "acl"));
    EXPECT_TRUE(MatchesPattern("Tarot", "*"));
    EXPECT_TRUE(MatchesPattern("a*b", "a*b"));
    // Pieces must appear in order and must not overlap.
    EXPECT_FALSE(MatchesPattern("aba", "aba*ba"));
    EXPECT_TRUE(MatchesPattern("ababa", "aba*ba"));
}

TEST(Matcher, AppliesTheModesRule) {
    KeywordMatcher exact(SearchMode::Exact, "OR");
    KeywordMatcher wildcard(SearchMode::Wildcard, "OR");
    EXPECT_TRUE(exact.Matches("Oracle"));
    EXPECT_FALSE(exact.Matches("Coracle"));
    EXPECT_TRUE(wildcard.Matches("Coracle"));
    EXPECT_FALSE(wildcard.Matches(""));
}
