// The match rules of the search modes and of the lookup, and the wildcard pattern.
#include "lookup/matching.h"

#include <gtest/gtest.h>

namespace lookup {
namespace {

// Whether the keyword matches the text under each rule.
bool exact(std::string_view text, std::string_view keyword) {
    return KeywordMatcher(SearchMode::Exact, text).matches(keyword);
}
bool wildcard(std::string_view text, std::string_view keyword) {
    return KeywordMatcher(SearchMode::Wildcard, text).matches(keyword);
}
bool whole(std::string_view text, std::string_view keyword) {
    return KeywordMatcher::wholeKeyword(text).matches(keyword);
}

TEST(Matching, ExactIsAPrefixMatchAndALookupAWholeOneIgnoringCaseInCharactersNotBytes) {
    EXPECT_TRUE(exact("ORA", "Oracle bones"));
    EXPECT_FALSE(exact("ora", "Coracle"));
    EXPECT_FALSE(exact("oracle bones", "Oracle"));
    EXPECT_TRUE(exact("ÄRM", "Ärmelorakel") && exact("σελ", "ΣΕΛΗΝΗ"));
    // İ (two bytes) lowers to i (one byte).
    EXPECT_TRUE(exact("is", "İstikhara") && exact("İS", "istikhara"));
    EXPECT_TRUE(whole("θεα", "ΘΕΑ"));
    EXPECT_FALSE(whole("Omen", " Omen") || whole("Omen", "Omens")); // no trimming
}

TEST(Matching, WildcardFindsTheLoweredUntrimmedPatternAnywhereAndAStarStandsForAnyRun) {
    EXPECT_EQ(buildPattern("  Or*LÉ "), "  or*lé ");
    EXPECT_EQ(searchTerm(SearchMode::Exact, "  ora ") + "|" +
                  searchTerm(SearchMode::Wildcard, " ora "),
              "ora| ora ");
    EXPECT_TRUE(wildcard("ACL", "ORACLE") && wildcard("ra ", "Aura reading"));
    EXPECT_FALSE(wildcard("ra ", "Oracle") || wildcard("", ""));
    EXPECT_TRUE(wildcard("or*le", "Coracle bones") && wildcard("OR*LE", "Orle"));
    EXPECT_FALSE(wildcard("or*le", "Lore"));
    EXPECT_TRUE(wildcard("*", "Tarot"));
    EXPECT_FALSE(wildcard("aba*ba", "aba")); // pieces in order, not overlapping
    EXPECT_TRUE(wildcard("aba*ba", "ababa"));
}

// Over keywords packed end to end a hit may run from one keyword into the next; it belongs to
// neither. Each rule must pick exactly the keywords it picks one by one.
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
    for (const char* text : {"or", "ORACLE", "or*le", "*", "", "aba*ba", "ab*a", "rac", "ÄRM*AKEL",
                             "is", "e*o", " or", "ba*", "a"}) {
        const KeywordMatcher matchers[] = {KeywordMatcher(SearchMode::Exact, text),
                                           KeywordMatcher(SearchMode::Wildcard, text),
                                           KeywordMatcher::wholeKeyword(text)};
        for (const KeywordMatcher& matcher : matchers) {
            std::vector<std::size_t> oneByOne, packed;
            for (std::size_t i = 0; i < keywords.size(); ++i) {
                if (matcher.matches(keywords[i]))
                    oneByOne.push_back(i);
            }
            matcher.forEachMatch(lowered, [&](std::size_t i) {
                packed.push_back(i);
                return true;
            });
            EXPECT_EQ(packed, oneByOne) << (&matcher - matchers) << " [" << text << "]";
        }
    }
}

} // namespace
} // namespace lookup
