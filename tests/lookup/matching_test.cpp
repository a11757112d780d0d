// The match rules of the search modes and of the lookup, and the wildcard pattern.
#include "lookup/matching.h"
#include "text/folding.h"
#include "text/utf8.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

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
bool near(std::string_view term, std::string_view keyword, std::size_t edits = 2) {
    return KeywordMatcher::nearKeyword(term, edits).matches(keyword);
}

// The optimal string alignment distance from the whole table, as the textbook computes it.
std::size_t alignmentDistance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        for (std::size_t j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = i + j;
                continue;
            }
            d[i][j] = std::min(
                {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
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

TEST(Matching, FoldingLowersDropsLatinAccentsAndNeverMakesMoreCharactersThanBytes) {
    EXPECT_EQ(text::foldedCharacters("Séance ÆSIR Straße Þórr ŁÓDŹ ǅ İŞ Ự ΣΕΛ"),
              U"seance aesir strasse thorr lodz dz is u σελ");
    // A combining mark goes; a stray byte stays a character of its own.
    EXPECT_EQ(text::foldedCharacters("Se\u0301ance \xff"), U"seance \xdcff");
    std::string encoded;
    char32_t folded[text::kMaxFoldedCharacters];
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        encoded.clear();
        text::utf8::append(encoded, c);
        std::size_t pos = 0;
        ASSERT_LE(text::foldNext(encoded, pos, folded), encoded.size()) << encoded;
        ASSERT_EQ(pos, encoded.size());
    }
}

TEST(Matching, ASpellingIsWithinItsEditsOfTheTermOnceBothAreFolded) {
    EXPECT_TRUE(near("tarot", "Tarot", 0) && near("SEANCE", "Séance", 0));
    EXPECT_TRUE(near("tarrot", "Tarot", 1) && near("taot", "Tarot", 1));      // insertion, deletion
    EXPECT_TRUE(near("tarit", "Tarot", 1) && near("traot", "Tarot", 1));      // substitution, swap
    EXPECT_TRUE(near("trarot", "Tarot") && near("numerolgoy", "Numerology")); // two edits
    EXPECT_FALSE(near("ubsot", "Tarot"));                                     // three edits
    EXPECT_FALSE(near("tarrot", "Tarot", 0));
    EXPECT_FALSE(near("tarot", "t", 7)); // four edits: never more than two are counted
    EXPECT_TRUE(near("strasse", "Straße", 0) && near("σεληνη", "ΣΕΛΗΝΗ", 0));
    EXPECT_FALSE(near("ca", "abc")); // a swap edits both characters: no third edit after it

    // Short random spellings agree with the whole table, one by one and packed (a pack of ASCII
    // alone is walked its own way), in packs of more than one block.
    const char* const letters[] = {"a", "b", "c", "A", "é", "E", "ß", "s", " "};
    std::mt19937 random(11);
    const auto spelling = [&](std::size_t alphabet) {
        std::string text;
        for (std::size_t n = random() % 7; n > 0; --n)
            text += letters[random() % alphabet];
        return text;
    };
    for (const std::size_t alphabet : {std::size(letters), std::size_t{4}}) {
        std::vector<std::string> keywords;
        PackedTexts lowered;
        for (int n = 0; n < 700; ++n) {
            keywords.push_back(spelling(alphabet));
            lowered.push_back(text::utf8::toLower(keywords.back()));
        }
        for (int round = 0; round < 40; ++round) {
            const std::string term = spelling(std::size(letters));
            for (std::size_t edits = 0; edits <= 2; ++edits) {
                const KeywordMatcher matcher = KeywordMatcher::nearKeyword(term, edits);
                std::vector<std::size_t> expected, packed;
                for (std::size_t i = 0; i < keywords.size(); ++i) {
                    const bool within =
                        alignmentDistance(text::foldedCharacters(term),
                                          text::foldedCharacters(keywords[i])) <= edits;
                    ASSERT_EQ(matcher.matches(keywords[i]), within)
                        << "[" << term << "] [" << keywords[i] << "] " << edits;
                    if (within)
                        expected.push_back(i);
                }
                matcher.forEachMatch(lowered, [&](std::size_t i) {
                    packed.push_back(i);
                    return true;
                });
                ASSERT_EQ(packed, expected) << "[" << term << "] " << edits;
            }
        }
    }
}

// Over keywords packed end to end a hit may run from one keyword into the next; it belongs to
// neither. Each rule must pick exactly the keywords it picks one by one, also over packs many
// blocks long with hits across blocks and several in one keyword.
TEST(Matching, PackedKeywordsMatchExactlyAsOneByOne) {
    std::vector<std::string> keywords = {"or", "",  "acle",   "ORACLE", "Coracle bones",
                                         "ab", "a", "ba",     "ababa",  "Ärmelorakel",
                                         "İs", "*", "the or", "lé"};
    std::vector<std::string> texts = {"or",  "ORACLE",   "or*le", "*",   "",    "aba*ba", "ab*a",
                                      "rac", "ÄRM*AKEL", "is",    "e*o", " or", "ba*",    "a"};
    const char* const letters[] = {"a", "b", "A", "é", "É", " ", "*"};
    std::mt19937 random(5);
    const auto spelling = [&](std::size_t longest) {
        std::string text;
        for (std::size_t n = random() % (longest + 1); n > 0; --n)
            text += letters[random() % std::size(letters)];
        return text;
    };
    for (int n = 0; n < 300; ++n)
        keywords.push_back(spelling(40));
    // Keywords longer than the stretch a scan takes at once, and pieces longer than a mask.
    keywords.insert(keywords.begin() + 150, std::string(5000, 'a') + "b");
    keywords.push_back("ba" + std::string(70, 'A'));
    texts.insert(texts.end(), {std::string(70, 'a'), "b*" + std::string(69, 'a'), "ab*ab"});
    for (int n = 0; n < 60; ++n)
        texts.push_back(spelling(7));
    PackedTexts lowered;
    for (const std::string& keyword : keywords) {
        std::string text;
        appendLowered(keyword, text);
        EXPECT_EQ(text, buildPattern(keyword)) << keyword;
        lowered.push_back(text);
    }
    for (const std::string& text : texts) {
        const KeywordMatcher matchers[] = {
            KeywordMatcher(SearchMode::Exact, text), KeywordMatcher(SearchMode::Wildcard, text),
            KeywordMatcher::wholeKeyword(text), KeywordMatcher::nearKeyword(text, 2)};
        for (const KeywordMatcher& matcher : matchers) {
            std::vector<std::size_t> oneByOne, packed;
            for (std::size_t i = 0; i < keywords.size(); ++i) {
                if (matcher.matches(keywords[i]))
                    oneByOne.push_back(i);
                ASSERT_EQ(matcher.matchesLowered(lowered, i), matcher.matches(keywords[i]))
                    << (&matcher - matchers) << " [" << text << "] [" << keywords[i] << "]";
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
