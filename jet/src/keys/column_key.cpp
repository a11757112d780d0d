#include "keys/column_key.h"

#include "file/byte_writer.h"
#include "jet/error.h"
#include "keys/text_key.h"
#include "keys/text_key97.h"

#include <cstdio>
#include <cstring>

namespace jet::detail {
namespace {

constexpr std::uint8_t kStartAscending = 0x7f;
constexpr std::uint8_t kNullAscending = 0x00;
constexpr std::uint8_t kTrueAscending = 0x00;
constexpr std::uint8_t kFalseAscending = 0xff;
constexpr std::uint8_t kDecimalNegative = 0x80;
constexpr std::size_t kBinarySegment = 8;
constexpr std::uint8_t kMoreSegments = 9;
constexpr std::uint8_t kGeneral97LowestWeight = 0x10;

void complement(std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        bytes[i] = static_cast<std::uint8_t>(~bytes[i]);
}

// Two's complement integers: flipping the sign bit puts negative numbers first.
void appendInteger(std::vector<std::uint8_t>& key, std::int64_t value, std::size_t size,
                   bool ascending) {
    const std::size_t at = key.size();
    appendBigEndian(key, static_cast<std::uint64_t>(value), size);
    key[at] ^= 0x80;
    if (!ascending)
        complement(key, at, key.size());
}

// IEEE numbers: positive ones get their sign bit set, negative ones are complemented whole, so
// that larger magnitudes of negative numbers sort first.
void appendFloating(std::vector<std::uint8_t>& key, std::uint64_t bits, std::size_t size,
                    bool ascending) {
    const std::size_t at = key.size();
    appendBigEndian(key, bits, size);
    const bool negative = (key[at] & 0x80) != 0;
    if (!negative)
        key[at] ^= 0x80;
    if (negative == ascending)
        complement(key, at, key.size());
}

// Decimals: a sign byte then the 16-byte magnitude, most significant first. Access 2000-2003
// replace the sign byte after any complement, so a descending index keeps negative numbers
// first; Access 2007 and later set it to 0xff before.
void appendDecimal(std::vector<std::uint8_t>& key, const Decimal& value, bool ascending,
                   bool legacy) {
    const std::size_t at = key.size();
    bool zero = true;
    for (std::uint32_t word : value.magnitude)
        zero = zero && word == 0;
    const bool negative = value.negative && !zero;
    key.push_back(legacy ? (negative ? kDecimalNegative : 0) : 0xff);
    for (int word = 3; word >= 0; --word)
        appendBigEndian(key, value.magnitude[static_cast<std::size_t>(word)], 4);
    if (negative == ascending)
        complement(key, at, key.size());
    if (legacy)
        key[at] = negative ? 0x00 : 0xff;
}

// Binary values in segments of eight bytes, each followed by a byte that says how many of its
// bytes count, or 9 when more segments follow (that byte is never complemented).
void appendBinary(std::vector<std::uint8_t>& key, const std::uint8_t* data, std::size_t size,
                  bool ascending) {
    std::size_t pos = 0;
    while (size - pos > kBinarySegment) {
        const std::size_t at = key.size();
        key.insert(key.end(), data + pos, data + pos + kBinarySegment);
        if (!ascending)
            complement(key, at, key.size());
        key.push_back(kMoreSegments);
        pos += kBinarySegment;
    }
    if (pos < size) {
        const std::size_t at = key.size();
        const std::size_t rest = size - pos;
        key.insert(key.end(), data + pos, data + size);
        key.insert(key.end(), kBinarySegment - rest, 0);
        key.push_back(static_cast<std::uint8_t>(rest));
        if (!ascending)
            complement(key, at, key.size());
    }
}

// A GUID sorts by its text form: the first three groups most significant byte first.
// An extended date's key is its 42 stored characters in blocks of 8, each followed by a tab
// (which a descending key leaves as it is), then a fixed end.
void appendExtendedDateTime(std::vector<std::uint8_t>& key, const ExtendedDateTime& value,
                            bool ascending) {
    char stored[48];
    std::snprintf(stored, sizeof stored, "%019lld:%012lld%07lld:7",
                  static_cast<long long>(value.days),
                  static_cast<long long>(value.ticks / 10'000'000),
                  static_cast<long long>(value.ticks % 10'000'000));
    const auto flip = [ascending](std::uint8_t b) {
        return ascending ? b : static_cast<std::uint8_t>(~b);
    };
    for (std::size_t i = 0; i < 42; ++i) { // the 42nd is the stored text's closing zero
        key.push_back(flip(static_cast<std::uint8_t>(stored[i])));
        if (i % 8 == 7 && i < 40)
            key.push_back(0x09);
    }
    for (std::uint8_t b : {0, 0, 0, 0, 0, 0, 2})
        key.push_back(flip(b));
}

void appendGuid(std::vector<std::uint8_t>& key, const Guid& guid, bool ascending) {
    std::uint8_t b[16];
    std::memcpy(b, guid.bytes.data(), 16);
    std::swap(b[0], b[3]);
    std::swap(b[1], b[2]);
    std::swap(b[4], b[5]);
    std::swap(b[6], b[7]);
    appendBinary(key, b, 16, ascending);
}

std::uint64_t doubleBits(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

std::uint64_t floatBits(double d) {
    const float f = static_cast<float>(d);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

[[noreturn]] void unsupported(const KeyColumn& column, const std::string& what) {
    throw Error(ErrorKind::Invalid, "cannot build an index key for " + what + " in a " +
                                        columnTypeName(column.type) + " column");
}

std::int64_t integerOf(const Value& value, const KeyColumn& column) {
    if (value.is<std::int64_t>())
        return value.as<std::int64_t>();
    if (value.is<bool>())
        return value.as<bool>() ? 1 : 0;
    unsupported(column, "this value");
}

double numberOf(const Value& value, const KeyColumn& column) {
    if (value.is<double>())
        return value.as<double>();
    if (value.is<DateTime>())
        return value.as<DateTime>().days;
    if (value.is<std::int64_t>())
        return static_cast<double>(value.as<std::int64_t>());
    unsupported(column, "this value");
}

} // namespace

std::vector<KeyColumn> keyColumnsOf(const JetFormat& format, const TableDef& def,
                                    const std::vector<IndexColumn>& columns, const Jet3Text& jet3) {
    std::vector<KeyColumn> out;
    for (const IndexColumn& c : columns) {
        const ColumnSortOrder& order = def.placements[c.column].sortOrder;
        out.push_back({def.columns[c.column].type, c.ascending, order.supported(), order.name(),
                       !format.aceColumns});
        if (format.version == Version::Jet3) {
            out.back().textOrder = jet3TextSortOrder(jet3);
            out.back().sortOrderName = jet3SortOrderName(jet3);
        }
    }
    return out;
}

bool buildsKeys(const KeyColumn& column) {
    return (column.type != ColumnType::Text && column.type != ColumnType::Memo) ||
           column.textOrder.has_value();
}

void appendColumnKey(std::vector<std::uint8_t>& key, const Value& value, const KeyColumn& column) {
    const bool asc = column.ascending;
    const auto flag = [asc](std::uint8_t ascendingByte) {
        return asc ? ascendingByte : static_cast<std::uint8_t>(~ascendingByte);
    };
    if (column.type == ColumnType::Boolean) {
        // A yes/no column is never null in a key: null counts as no.
        const bool yes = value.is<bool>() ? value.as<bool>()
                                          : value.is<std::int64_t>() && value.as<std::int64_t>();
        key.push_back(flag(kStartAscending));
        key.push_back(flag(yes ? kTrueAscending : kFalseAscending));
        return;
    }
    if (value.isNull()) {
        key.push_back(flag(kNullAscending));
        return;
    }
    if (!buildsKeys(column))
        throw Error(ErrorKind::Invalid,
                    "cannot build index keys in the sort order " + column.sortOrderName);
    key.push_back(flag(kStartAscending));
    switch (column.type) {
    case ColumnType::Byte: {
        const auto b = static_cast<std::uint8_t>(integerOf(value, column));
        key.push_back(flag(b));
        return;
    }
    case ColumnType::Integer:
        return appendInteger(key, integerOf(value, column), 2, asc);
    case ColumnType::Long:
        return appendInteger(key, integerOf(value, column), 4, asc);
    case ColumnType::BigInt:
        return appendInteger(key, integerOf(value, column), 8, asc);
    case ColumnType::ExtendedDateTime:
        if (!value.is<ExtendedDateTime>())
            unsupported(column, "this value");
        return appendExtendedDateTime(key, value.as<ExtendedDateTime>(), asc);
    case ColumnType::Complex: // keyed by the number the row stores, as a long
        if (!value.is<ComplexValue>())
            unsupported(column, "this value");
        return appendInteger(key, value.as<ComplexValue>().key, 4, asc);
    case ColumnType::Currency:
        if (!value.is<Currency>())
            unsupported(column, "this value");
        return appendInteger(key, value.as<Currency>().scaled, 8, asc);
    case ColumnType::Single:
        return appendFloating(key, floatBits(numberOf(value, column)), 4, asc);
    case ColumnType::Double:
    case ColumnType::DateTime:
        return appendFloating(key, doubleBits(numberOf(value, column)), 8, asc);
    case ColumnType::Numeric:
        if (!value.is<Decimal>())
            unsupported(column, "this value");
        return appendDecimal(key, value.as<Decimal>(), asc, column.legacyDecimal);
    case ColumnType::Guid:
        if (!value.is<Guid>())
            unsupported(column, "this value");
        return appendGuid(key, value.as<Guid>(), asc);
    case ColumnType::Binary:
        if (!value.is<Bytes>())
            unsupported(column, "this value");
        return appendBinary(key, value.as<Bytes>().data(), value.as<Bytes>().size(), asc);
    case ColumnType::Text:
    case ColumnType::Memo:
        if (!value.is<std::string>())
            unsupported(column, "this value");
        if (*column.textOrder == TextSortOrder::General97)
            return appendGeneral97TextKey(key, value.as<std::string>(), asc);
        return appendGeneralTextKey(key, value.as<std::string>(), *column.textOrder, asc);
    default:
        unsupported(column, "any value");
    }
}

std::size_t weightedKeyPrefix(const std::vector<const Value*>& values,
                              const std::vector<KeyColumn>& columns) {
    std::vector<std::uint8_t> key;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const KeyColumn& column = columns[i];
        const std::size_t start = key.size();
        appendColumnKey(key, *values[i], column);
        const bool text = column.type == ColumnType::Text || column.type == ColumnType::Memo;
        if (i + 1 < columns.size() || !text || values[i]->isNull())
            continue;
        // The weights end at the first byte below them: the end of the text (Jet 4), or the
        // accent codes' first nibble (Jet 3); complemented when descending.
        const std::uint8_t below =
            *column.textOrder == TextSortOrder::General97 ? kGeneral97LowestWeight : 0x02;
        std::size_t end = start + 1;
        while (end < key.size() &&
               (column.ascending ? key[end] : static_cast<std::uint8_t>(~key[end])) >= below)
            ++end;
        return end;
    }
    return key.size();
}

std::vector<std::uint8_t> entryKey(const std::vector<const Value*>& values,
                                   const std::vector<KeyColumn>& columns) {
    std::vector<std::uint8_t> key;
    for (std::size_t i = 0; i < columns.size(); ++i)
        appendColumnKey(key, *values[i], columns[i]);
    return key;
}

} // namespace jet::detail
