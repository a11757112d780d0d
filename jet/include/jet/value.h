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

struct Guid {
    std::array<std::uint8_t, 16> bytes{}; // as stored (first three groups little-endian)
    bool operator==(const Guid&) const = default;
};

using Bytes = std::vector<std::uint8_t>;

// A field value. std::monostate is null. Text and memo are UTF-8; boolean, byte, integer and long
// are held as bool/int64; single and double as double.
class Value {
public:
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, Currency, DateTime,
                                 Decimal, Guid, std::string, Bytes>;

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

// Text forms shared by the tools and the program.
std::string formatCurrency(Currency c);      // exact, four decimals: "-12.3400"
std::string formatDecimal(const Decimal& d); // "123.45", no exponent
std::string formatDateTime(DateTime d);      // "YYYY-MM-DDTHH:MM:SS"
std::string formatGuid(const Guid& g);       // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
// The value as the program reads a field: text as is, numbers in their plain form, null as "".
std::string toText(const Value& v);

} // namespace jet
