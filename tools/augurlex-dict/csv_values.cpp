#include "augurlex-dict/csv_values.h"

#include "text/utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace dict {

namespace {

std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    if (text.size() <= kShown)
        return "\"" + std::string(text) + "\"";
    return "\"" + std::string(text.substr(0, kShown)) + "...\"";
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

jet::Value parseBoolean(std::string_view text) {
    if (equalsIgnoringCase(text, "true") || text == "1")
        return true;
    if (equalsIgnoringCase(text, "false") || text == "0")
        return false;
    throw ValueError(quoted(text) + " is not true or false");
}

jet::Value parseWholeNumber(std::string_view text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        throw ValueError(quoted(text) + " is out of range");
    if (error != std::errc() || end != text.data() + text.size())
        throw ValueError(quoted(text) + " is not a whole number");
    return value;
}

jet::Value parseFloatingNumber(std::string_view text) {
    if (text == "NaN")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == "Infinity")
        return std::numeric_limits<double>::infinity();
    if (text == "-Infinity")
        return -std::numeric_limits<double>::infinity();
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // from_chars also takes "inf" and "nan"; only the forms above are ours.
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        throw ValueError(quoted(text) + " is not a number");
    return value;
}

// Decimal text split into its sign and digits, with the point's place.
struct DecimalText {
    bool negative = false;
    std::string digits;    // without leading zeros; empty for zero
    std::size_t scale = 0; // digits after the point
};

DecimalText splitDecimal(std::string_view text) {
    DecimalText d;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        d.negative = text[i++] == '-';
    bool anyDigit = false, point = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (point)
                ++d.scale;
            d.digits.push_back(c);
        } else {
            throw ValueError(quoted(text) + " is not a decimal number");
        }
    }
    if (!anyDigit)
        throw ValueError(quoted(text) + " is not a decimal number");
    // Trailing zeros after the point carry no value.
    while (d.scale > 0 && !d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
        --d.scale;
    }
    std::size_t leading = d.digits.find_first_not_of('0');
    d.digits.erase(0, leading == std::string::npos ? d.digits.size() : leading);
    return d;
}

// The digits of `d` as a whole number of 1/10^scale units.
std::string scaledDigits(const DecimalText& d, std::size_t scale, std::string_view text) {
    if (d.scale > scale)
        throw ValueError(quoted(text) + " has more than " + std::to_string(scale) +
                         " decimal places");
    if (d.digits.empty())
        return {};
    std::string digits = d.digits;
    digits.append(scale - d.scale, '0');
    return digits;
}

jet::Value parseCurrency(std::string_view text) {
    DecimalText d = splitDecimal(text);
    std::string digits = scaledDigits(d, 4, text);
    std::uint64_t magnitude = 0;
    for (char c : digits) {
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - 9) / 10)
            throw ValueError(quoted(text) + " is out of range for currency");
        magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    }
    const std::uint64_t limit = d.negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    if (magnitude > limit)
        throw ValueError(quoted(text) + " is out of range for currency");
    std::int64_t scaled = d.negative ? static_cast<std::int64_t>(0 - magnitude)
                                     : static_cast<std::int64_t>(magnitude);
    return jet::Currency{scaled};
}

jet::Value parseDecimal(const jet::Column& column, std::string_view text) {
    DecimalText d = splitDecimal(text);
    std::string digits = scaledDigits(d, column.scale, text);
    const std::size_t precision = column.precision ? column.precision : 28;
    if (digits.size() > precision)
        throw ValueError(quoted(text) + " has more than the column's " + std::to_string(precision) +
                         " digits");
    jet::Decimal value;
    value.negative = d.negative && !digits.empty();
    value.precision = column.precision;
    value.scale = column.scale;
    for (char c : digits) { // magnitude = magnitude * 10 + digit, in 32-bit words
        std::uint64_t carry = static_cast<unsigned>(c - '0');
        for (std::uint32_t& word : value.magnitude) {
            std::uint64_t product = std::uint64_t{word} * 10 + carry;
            word = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry)
            throw ValueError(quoted(text) + " is out of range for a decimal");
    }
    return value;
}

bool readDigits(std::string_view text, std::size_t at, std::size_t count, int& out) {
    if (at + count > text.size())
        return false;
    out = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

jet::Value parseDateTime(std::string_view text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool dateOk = text.size() >= 10 && readDigits(text, 0, 4, year) && text[4] == '-' &&
                  readDigits(text, 5, 2, month) && text[7] == '-' && readDigits(text, 8, 2, day);
    bool timeOk = text.size() == 10 || (text.size() == 19 && (text[10] == 'T' || text[10] == ' ') &&
                                        readDigits(text, 11, 2, hour) && text[13] == ':' &&
                                        readDigits(text, 14, 2, minute) && text[16] == ':' &&
                                        readDigits(text, 17, 2, second));
    if (!dateOk || !timeOk)
        throw ValueError(quoted(text) + " is not a date in the form YYYY-MM-DDTHH:MM:SS");
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        throw ValueError(quoted(text) + " is not a valid date and time");
    // Jet counts whole days from 1899-12-30 (negative before it); the fraction's size is the
    // time of day, also on negative days.
    const std::int64_t days = daysFromCivil(year, month, day) + 25569;
    const double timeOfDay = (hour * 3600 + minute * 60 + second) / 86400.0;
    return jet::DateTime{days < 0 ? days - timeOfDay : days + timeOfDay};
}

jet::Value parseExtendedDateTime(std::string_view text) {
    const std::size_t end = std::min<std::size_t>(text.size(), 19);
    parseDateTime(text.substr(0, end)); // the date and time, checked
    int fraction = 0;
    const std::size_t digits = text.size() > 20 ? text.size() - 20 : 0;
    if (text.size() > end && (end < 19 || text[19] != '.' || digits == 0 || digits > 7 ||
                              !readDigits(text, 20, digits, fraction)))
        throw ValueError(quoted(text) + " is not a date in the form YYYY-MM-DDTHH:MM:SS.fffffff");
    for (std::size_t i = digits; i < 7; ++i)
        fraction *= 10;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    readDigits(text, 0, 4, year);
    readDigits(text, 5, 2, month);
    readDigits(text, 8, 2, day);
    if (end == 19) {
        readDigits(text, 11, 2, hour);
        readDigits(text, 14, 2, minute);
        readDigits(text, 17, 2, second);
    }
    if (year == 0)
        throw ValueError(quoted(text) + " is before the year 1");
    // Counted from 0001-01-01, 719162 days before 1970-01-01.
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + 719'162;
    const std::int64_t seconds = hour * 3600 + minute * 60 + second;
    return jet::ExtendedDateTime{days, seconds * 10'000'000 + fraction};
}

jet::Value parseGuid(std::string_view text) {
    std::string_view inner = text;
    if (inner.size() == 38 && inner.front() == '{' && inner.back() == '}')
        inner = inner.substr(1, 36);
    // Byte order as stored: the first three groups little-endian.
    static constexpr int kStoredAt[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    jet::Guid guid;
    std::size_t at = 0, byte = 0;
    bool ok = inner.size() == 36;
    while (ok && byte < 16) {
        if (at == 8 || at == 13 || at == 18 || at == 23) {
            ok = inner[at++] == '-';
            continue;
        }
        int high = hexDigit(inner[at]), low = hexDigit(inner[at + 1]);
        ok = high >= 0 && low >= 0;
        guid.bytes[static_cast<std::size_t>(kStoredAt[byte++])] =
            static_cast<std::uint8_t>(high * 16 + low);
        at += 2;
    }
    if (!ok)
        throw ValueError(quoted(text) + " is not a GUID in the form "
                                        "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}");
    return guid;
}

jet::Bytes parseBase64(std::string_view text) {
    static const std::array<std::int8_t, 256> kValues = [] {
        std::array<std::int8_t, 256> values{};
        values.fill(-1);
        const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
        return values;
    }();
    std::size_t length = text.size();
    std::size_t padding = 0;
    while (length > 0 && text[length - 1] == '=' && padding < 2) {
        --length;
        ++padding;
    }
    if ((length + padding) % 4 != 0 && padding != 0)
        throw ValueError("the base64 text is cut short");
    if (length % 4 == 1)
        throw ValueError("the base64 text is cut short");
    jet::Bytes bytes;
    bytes.reserve(length * 3 / 4);
    std::uint32_t bits = 0;
    int held = 0;
    for (std::size_t i = 0; i < length; ++i) {
        std::int8_t v = kValues[static_cast<unsigned char>(text[i])];
        if (v < 0)
            throw ValueError("a character that is not base64 at position " + std::to_string(i + 1));
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<std::uint8_t>(bits >> held));
        }
    }
    return bytes;
}

jet::Value parseFieldValue(const jet::Column& column, const CsvField& field) {
    std::string_view text = field.text;
    if (text.empty() && !field.quoted)
        return {};
    switch (column.type) {
    case jet::ColumnType::Text:
    case jet::ColumnType::Memo:
        if (!text::utf8::isValid(text))
            throw ValueError("the text is not valid UTF-8");
        return std::string(text);
    case jet::ColumnType::Binary:
    case jet::ColumnType::Ole:
        return parseBase64(text);
    case jet::ColumnType::Boolean:
        return parseBoolean(text);
    case jet::ColumnType::Byte:
    case jet::ColumnType::Integer:
    case jet::ColumnType::Long:
        return parseWholeNumber(text);
    case jet::ColumnType::Single:
    case jet::ColumnType::Double:
        return parseFloatingNumber(text);
    case jet::ColumnType::Currency:
        return parseCurrency(text);
    case jet::ColumnType::Numeric:
        return parseDecimal(column, text);
    case jet::ColumnType::DateTime:
        return parseDateTime(text);
    case jet::ColumnType::Guid:
        return parseGuid(text);
    case jet::ColumnType::BigInt:
        return parseWholeNumber(text);
    case jet::ColumnType::ExtendedDateTime:
        return parseExtendedDateTime(text);
    case jet::ColumnType::Complex:
        throw ValueError("the column is complex (attachments, multiple values or a memo's "
                         "history), which Access 2007 or later keeps and this program cannot "
                         "write");
    }
    throw ValueError("the column's type cannot be imported");
}

} // namespace dict
