// Column types and the values stored in rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// Type codes as stored in table definitions.
enum class ColumnType : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03, // 16-bit
    Long = 0x04,    // 32-bit
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0a,
    Ole = 0x0b,
    Memo = 0x0c,
    Guid = 0x0f,
    Numeric = 0x10, // "decimal"
    // Access 2007 and later:
    Complex = 0x12,          // attachments, multiple values or a memo's versions (a hidden table)
    BigInt = 0x13,           // "Large Number", 64-bit
    ExtendedDateTime = 0x14, // "Date/Time Extended", to 100 ns from 0001-01-01
};

const char* columnTypeName(ColumnType type);

// Money in units of 1/10000, as stored.
struct Currency {
    std::int64_t scaled = 0;
    bool operator==(const Currency&) const = default;
};

// Days since 1899-12-30; the fraction is the time of day.
struct DateTime {
    double days = 0;
    bool operator==(const DateTime&) const = default;
};

// Exact decimal: magnitude / 10^scale, up to 28 digits.
struct Decimal {
    bool negative = false;
    std::uint8_t precision = 18;
    std::uint8_t scale = 0;
    std::array<std::uint32_t, 4> magnitude{}; // little-endian 32-bit words, word 0 lowest
    bool operator==(const Decimal&) const = default;
};

// Access 2019's extended date and time: days since 0001-01-01 and the time of day in units of
// 100 ns, as stored, without the rounding of a double.
struct ExtendedDateTime {
    std::int64_t days = 0;
    std::int64_t ticks = 0; // 0 to 863,999,999,999
    bool operator==(const ExtendedDateTime&) const = default;
};

struct Guid {
    std::array<std::uint8_t, 16> bytes{}; // as stored (first three groups little-endian)
    bool operator==(const Guid&) const = default;
};

using Bytes = std::vector<std::uint8_t>;

class Value;

// A complex field as a user sees it: the rows of the column's hidden table that belong to this
// field, in the order stored. An attachment is a file's name, type (its extension) and bytes;
// a multi-value field holds values of one type; a memo's history holds its earlier texts with
// the time each was saved.
struct Attachment {
    std::string name;
    std::string type;
    Bytes data;
    bool operator==(const Attachment&) const = default;
};
struct MemoVersion {
    std::string text;
    DateTime saved;
    bool operator==(const MemoVersion&) const = default;
};
enum class ComplexKind : std::uint8_t { Attachments, MultipleValues, VersionHistory, Unknown };
struct ComplexValue {
    ComplexKind kind = ComplexKind::Unknown;
    std::vector<Attachment> attachments; // Attachments
    std::vector<Value> values;           // MultipleValues
    std::vector<MemoVersion> versions;   // VersionHistory
    std::int64_t key = 0;                // as stored in the row (Unknown shows only this)
    bool operator==(const ComplexValue& other) const;
};

// A field value. std::monostate is null. Text and memo are UTF-8; boolean, byte, integer and long
// are held as bool/int64 (so is a large number); single and double as double.
class Value {
public:
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, Currency, DateTime,
                                 Decimal, Guid, std::string, Bytes, ExtendedDateTime, ComplexValue>;

    Value() = default;
    template <class T> Value(T v) : storage_(std::move(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(storage_); }
    template <class T> bool is() const { return std::holds_alternative<T>(storage_); }
    template <class T> const T& as() const { return std::get<T>(storage_); }
    const Storage& storage() const { return storage_; }
    // Makes this value an empty text and returns it to be filled. A value that already held
    // text keeps its buffer, so decoding row after row into one value does not allocate.
    std::string& resetText() {
        if (auto* text = std::get_if<std::string>(&storage_)) {
            text->clear();
            return *text;
        }
        return storage_.emplace<std::string>();
    }
    bool operator==(const Value&) const = default;

private:
    Storage storage_;
};

inline bool ComplexValue::operator==(const ComplexValue& other) const {
    return kind == other.kind && attachments == other.attachments && values == other.values &&
           versions == other.versions && key == other.key;
}

// Text forms shared by the tools and the program.
std::string formatCurrency(Currency c);                 // exact, four decimals: "-12.3400"
std::string formatDecimal(const Decimal& d);            // "123.45", no exponent
std::string formatDateTime(DateTime d);                 // "YYYY-MM-DDTHH:MM:SS"
std::string formatGuid(const Guid& g);                  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
std::string formatExtendedDateTime(ExtendedDateTime d); // "YYYY-MM-DDTHH:MM:SS.fffffff"
// A complex field's text: its items' texts joined by "; " (attachments by their names, a memo's
// history by its texts, oldest first as stored).
std::string formatComplex(const ComplexValue& c);
// The value as the program reads a field: text as is, numbers in their plain form, null as "".
std::string toText(const Value& v);

} // namespace jet
