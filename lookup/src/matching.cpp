#include "lookup/matching.h"

#include "lookup/keywords.h"
#include "pattern_scan.h"
#include "spelling_distance.h"
#include "text/utf8.h"

#include <algorithm>
#include <cstring>

namespace lookup {

namespace {

std::vector<std::string> piecesOf(std::string_view pattern) {
    std::vector<std::string> pieces;
    std::size_t from = 0;
    while (from <= pattern.size()) {
        std::size_t star = pattern.find('*', from);
        if (star == std::string_view::npos)
            star = pattern.size();
        if (star > from)
            pieces.emplace_back(pattern.substr(from, star - from));
        from = star + 1;
    }
    return pieces;
}

} // namespace

std::string searchTerm(SearchMode mode, std::string_view searchText) {
    return mode == SearchMode::Wildcard ? std::string(searchText) : trimSpaces(searchText);
}

std::string buildPattern(std::string_view text) {
    return text::utf8::toLower(text);
}

void appendLowered(std::string_view text, std::string& out, std::size_t enough) {
    // Plain ASCII, the common case, is lowered in place without a table look-up.
    const std::size_t start = out.size();
    out.resize(start + std::min(text.size(), enough));
    char* to = out.data() + start;
    std::size_t i = 0;
    for (; i < text.size() && i < enough; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80)
            break;
        to[i] = static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte);
    }
    out.resize(start + i);
    while (i < text.size() && out.size() - start < enough) {
        char32_t c = 0;
        const std::size_t length = text::utf8::decode(text, i, c);
        if (length == 0) {
            out += text[i++]; // malformed bytes stay as they are
            continue;
        }
        text::utf8::append(out, text::utf8::toLower(c));
        i += length;
    }
}

KeywordMatcher::KeywordMatcher(SearchMode mode, std::string_view searchText)
    : KeywordMatcher(mode == SearchMode::Wildcard ? Rule::Pattern : Rule::Prefix, searchText) {}

KeywordMatcher::KeywordMatcher(Rule rule, std::string_view text)
    : rule_(rule), lowered_(text::utf8::toLower(text)) {
    if (rule_ == Rule::Pattern)
        pieces_ = piecesOf(lowered_);
}

KeywordMatcher KeywordMatcher::nearKeyword(std::string_view term, std::size_t edits) {
    KeywordMatcher matcher(Rule::Near, term);
    matcher.spelling_ = std::make_shared<const SpellingDistance>(term);
    matcher.edits_ = std::min(edits, kMaxSpellingEdits);
    return matcher;
}

bool KeywordMatcher::matches(std::string_view keyword) const {
    scratch_.clear();
    // A prefix needs no more of the keyword lowered than the term is long, a whole keyword a
    // byte more to tell a longer one.
    const std::size_t enough = rule_ == Rule::Prefix  ? lowered_.size()
                               : rule_ == Rule::Whole ? lowered_.size() + 1
                                                      : std::string::npos;
    appendLowered(keyword, scratch_, enough);
    return matchesLowered(scratch_);
}

bool KeywordMatcher::matchesLowered(std::string_view lowered) const {
    if (rule_ == Rule::Pattern)
        return !lowered.empty() && PatternScan::holdsOne(pieces_, lowered, 0, lowered.size());
    if (rule_ == Rule::Whole)
        return lowered == lowered_;
    if (rule_ == Rule::Near)
        return spelling_->sizeAllows(lowered, edits_, false) &&
               spelling_->within(lowered, edits_) <= edits_;
    // Lowering maps each character to one character and UTF-8 is prefix-free, so a byte prefix
    // of the lowered keyword is a prefix of its first characters.
    return lowered.starts_with(lowered_);
}

bool KeywordMatcher::matchesLowered(const PackedTexts& lowered, std::size_t i) const {
    if (rule_ != Rule::Pattern)
        return matchesLowered(lowered[i]);
    const std::size_t begin = lowered.begin(i), end = lowered.end(i);
    return end > begin && PatternScan::holdsOne(pieces_, lowered.all(), begin, end);
}

template <class Found>
void KeywordMatcher::eachMatch(const PackedTexts& lowered, Found& found) const {
    if (rule_ == Rule::Pattern)
        return eachPatternMatch(lowered, found);
    if (rule_ == Rule::Near)
        return eachNearMatch(lowered, found);
    const std::string_view all = lowered.all();
    const std::size_t length = lowered_.size();
    for (std::size_t i = 0; i < lowered.size(); ++i) {
        const std::size_t begin = lowered.begin(i), size = lowered.end(i) - begin;
        if ((rule_ == Rule::Whole ? size == length : size >= length) &&
            std::memcmp(all.data() + begin, lowered_.data(), length) == 0 && !found(i))
            return;
    }
}

void KeywordMatcher::forEachMatch(const PackedTexts& lowered,
                                  const std::function<bool(std::size_t)>& found) const {
    eachMatch(lowered, found);
}

std::vector<std::uint32_t> KeywordMatcher::allMatches(const PackedTexts& lowered) const {
    std::vector<std::uint32_t> matches;
    const auto keep = [&matches](std::size_t i) {
        matches.push_back(static_cast<std::uint32_t>(i));
        return true;
    };
    eachMatch(lowered, keep);
    return matches;
}

template <class Found>
void KeywordMatcher::eachPatternMatch(const PackedTexts& lowered, Found& found) const {
    if (pieces_.empty()) { // only stars, or nothing: every keyword that is not empty
        for (std::size_t i = 0; i < lowered.size(); ++i) {
            if (lowered.end(i) > lowered.begin(i) && !found(i))
                return;
        }
        return;
    }
    PatternScan(pieces_).run(lowered, found);
}

// Most keywords are told apart by their size: a block at a time, without a branch, and those far
// longer than the term at once when no keyword holds more than ASCII (one test of them all).
// Only the keywords their size lets through are looked at.
template <class Found>
void KeywordMatcher::eachNearMatch(const PackedTexts& lowered, Found& found) const {
    const bool ascii = isAscii(lowered.all());
    constexpr std::size_t kBlock = 256;
    std::size_t picked[kBlock];
    for (std::size_t first = 0; first < lowered.size(); first += kBlock) {
        const std::size_t last = std::min(first + kBlock, lowered.size());
        std::size_t count = 0;
        for (std::size_t i = first; i < last; ++i) {
            picked[count] = i;
            count += spelling_->sizeAllows(lowered.end(i) - lowered.begin(i), edits_, ascii);
        }
        for (std::size_t k = 0; k < count; ++k) {
            const std::string_view keyword = lowered[picked[k]];
            if (spelling_->sizeAllows(keyword, edits_, ascii) &&
                spelling_->within(keyword, edits_) <= edits_ && !found(picked[k]))
                return;
        }
    }
}

} // namespace lookup
