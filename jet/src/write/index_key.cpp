#include "write/index_key.h"

#include "jet/error.h"

#include <string>

namespace jet::detail {
namespace {

constexpr std::uint8_t kAscendingFlag = 0x7f;
constexpr std::uint8_t kNullFlag = 0x00;
constexpr std::uint8_t kEndOfText = 0x01;
constexpr std::uint8_t kEndOfExtras = 0x00;

// General sort order weights: case is ignored, digits sort before letters.
std::uint8_t generalWeight(char c) {
    static constexpr std::uint8_t kDigits[10] = {0x36, 0x38, 0x3a, 0x3c, 0x3e,
                                                 0x40, 0x42, 0x44, 0x46, 0x48};
    static constexpr std::uint8_t kLetters[26] = {
        0x4a, 0x4c, 0x4d, 0x4f, 0x51, 0x53, 0x55, 0x57, 0x59, 0x5b, 0x5c, 0x5e, 0x60,
        0x62, 0x64, 0x66, 0x68, 0x69, 0x6b, 0x6d, 0x6f, 0x71, 0x73, 0x75, 0x76, 0x78};
    if (c >= '0' && c <= '9')
        return kDigits[c - '0'];
    if (c >= 'a' && c <= 'z')
        return kLetters[c - 'a'];
    if (c >= 'A' && c <= 'Z')
        return kLetters[c - 'A'];
    if (c == ' ')
        return 0x07;
    throw Error(ErrorKind::Invalid,
                std::string("cannot build an index key for the character '") + c + "'");
}

void appendFlag(std::vector<std::uint8_t>& key, std::uint8_t flag, bool ascending) {
    key.push_back(ascending ? flag : static_cast<std::uint8_t>(~flag));
}

} // namespace

void appendLongKey(std::vector<std::uint8_t>& key, std::int32_t value, bool ascending) {
    appendFlag(key, kAscendingFlag, ascending);
    // Big-endian with the sign bit flipped, so negative numbers sort first.
    std::uint32_t bits = static_cast<std::uint32_t>(value) ^ 0x80000000u;
    for (int shift = 24; shift >= 0; shift -= 8) {
        std::uint8_t b = static_cast<std::uint8_t>(bits >> shift);
        key.push_back(ascending ? b : static_cast<std::uint8_t>(~b));
    }
}

void appendNullKey(std::vector<std::uint8_t>& key, bool ascending) {
    appendFlag(key, kNullFlag, ascending);
}

void appendTextKey(std::vector<std::uint8_t>& key, std::string_view ascii, bool ascending) {
    appendFlag(key, kAscendingFlag, ascending);
    auto push = [&](std::uint8_t w) {
        key.push_back(ascending ? w : static_cast<std::uint8_t>(~w));
    };
    for (char c : ascii) {
        if (c == '_') { // punctuation sorts as a pair of bytes
            push(0x2b);
            push(0x03);
            continue;
        }
        push(generalWeight(c));
    }
    push(kEndOfText);
    push(kEndOfExtras); // no case, accent or punctuation extras follow
    if (!ascending)
        key.push_back(kEndOfExtras);
}

void appendEntryRowPointer(std::vector<std::uint8_t>& key, std::uint32_t page, std::uint8_t row) {
    key.push_back(static_cast<std::uint8_t>(page >> 16));
    key.push_back(static_cast<std::uint8_t>(page >> 8));
    key.push_back(static_cast<std::uint8_t>(page));
    key.push_back(row);
}

} // namespace jet::detail
