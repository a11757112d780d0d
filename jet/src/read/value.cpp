#include "jet/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace jet {

const char* columnTypeName(ColumnType type) {
    switch (type) {
    case ColumnType::Boolean:
        return "Boolean";
    case ColumnType::Byte:
        return "Byte";
    case ColumnType::Integer:
        return "Integer";
    case ColumnType::Long:
        return "Long";
    case ColumnType::Currency:
        return "Currency";
    case ColumnType::Single:
        return "Single";
    case ColumnType::Double:
        return "Double";
    case ColumnType::DateTime:
        return "DateTime";
    case ColumnType::Binary:
        return "Binary";
    case ColumnType::Text:
        return "Text";
    case ColumnType::Ole:
        return "OLE";
    case ColumnType::Memo:
        return "Memo";
    case ColumnType::Guid:
        return "GUID";
    case ColumnType::Numeric:
        return "Decimal";
    case ColumnType::Complex:
        return "Complex";
    case ColumnType::BigInt:
        return "BigInt";
    case ColumnType::ExtendedDateTime:
        return "DateTimeExtended";
    }
    return "Unknown";
}

namespace {

std::string unsignedText(std::uint64_t v) {
    char buffer[24];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

// Civil date from days since 1970-01-01 (proleptic Gregorian calendar).
void civilFromDays(std::int64_t z, std::int64_t& year, unsigned& month, unsigned& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
}

// The shortest text that reads back as the same number; plain digits unless the number is
// very large or very small. Singles are held as doubles and printed in their own shortest form.
std::string doubleText(double d) {
    if (std::isnan(d))
        return "NaN";
    if (std::isinf(d))
        return d < 0 ? "-Infinity" : "Infinity";
    char buffer[64];
    const double magnitude = std::fabs(d);
    const auto format = magnitude == 0 || (magnitude >= 1e-6 && magnitude < 1e15)
                            ? std::chars_format::fixed
                            : std::chars_format::general;
    const auto f = static_cast<float>(d);
    auto end = static_cast<double>(f) == d
                   ? std::to_chars(buffer, buffer + sizeof buffer, f, format).ptr
                   : std::to_chars(buffer, buffer + sizeof buffer, d, format).ptr;
    return std::string(buffer, end);
}

std::string hexText(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

} // namespace

std::string formatCurrency(Currency c) {
    const bool negative = c.scaled < 0;
    const std::uint64_t magnitude =
        negative ? ~static_cast<std::uint64_t>(c.scaled) + 1 : static_cast<std::uint64_t>(c.scaled);
    std::string fraction = unsignedText(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    return (negative ? "-" : "") + unsignedText(magnitude / 10000) + "." + fraction;
}

std::string formatDecimal(const Decimal& d) {
    std::array<std::uint32_t, 4> words = d.magnitude;
    std::string digits;
    auto isZero = [&] { return words[0] == 0 && words[1] == 0 && words[2] == 0 && words[3] == 0; };
    const bool zero = isZero();
    while (!isZero()) {
        std::uint64_t remainder = 0;
        for (int i = 3; i >= 0; --i) {
            const std::uint64_t current = (remainder << 32) | words[i];
            words[i] = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
        }
        digits.push_back(static_cast<char>('0' + remainder));
    }
    if (digits.size() < std::size_t{d.scale} + 1)
        digits.append(std::size_t{d.scale} + 1 - digits.size(), '0');
    std::string out(digits.rbegin(), digits.rend());
    if (d.scale > 0)
        out.insert(out.size() - d.scale, ".");
    if (d.negative && !zero)
        out.insert(0, "-");
    return out;
}

std::string formatDateTime(DateTime d) {
    if (!std::isfinite(d.days) || std::fabs(d.days) > 1e8)
        return {};
    // The whole part counts days from 1899-12-30 (negative before it); the fraction's size is
    // the time of day on that date, also for negative values.
    double whole = std::trunc(d.days);
    auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(d.days - whole) * 86400.0));
    auto day = static_cast<std::int64_t>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += 1;
    }
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned dayOfMonth = 0;
    civilFromDays(day - 25569, year, month, dayOfMonth);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02d:%02d:%02d",
                  static_cast<long long>(year), month, dayOfMonth, static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return buffer;
}

std::string formatExtendedDateTime(ExtendedDateTime d) {
    constexpr std::int64_t kTicksPerDay = 864'000'000'000;
    if (d.days < 0 || d.days > 3'652'058 || d.ticks < 0 || d.ticks >= kTicksPerDay)
        return {};
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(d.days - 719'162, year, month, day); // 0001-01-01 is 719162 days before 1970
    const std::int64_t seconds = d.ticks / 10'000'000;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02d:%02d:%02d.%07lld",
                  static_cast<long long>(year), month, day, static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
                  static_cast<long long>(d.ticks % 10'000'000));
    return buffer;
}

std::string formatComplex(const ComplexValue& c) {
    std::string out;
    auto add = [&](const std::string& text) {
        if (!out.empty())
            out += "; ";
        out += text;
    };
    for (const Attachment& a : c.attachments)
        add(a.name);
    for (const Value& v : c.values)
        add(toText(v));
    for (const MemoVersion& v : c.versions)
        add(v.text);
    return out;
}

std::string formatGuid(const Guid& g) {
    const auto& b = g.bytes;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return buffer;
}

std::string toText(const Value& v) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(bool b) const { return b ? "true" : "false"; }
        std::string operator()(std::int64_t i) const {
            return i < 0 ? "-" + unsignedText(~static_cast<std::uint64_t>(i) + 1)
                         : unsignedText(static_cast<std::uint64_t>(i));
        }
        std::string operator()(double d) const { return doubleText(d); }
        std::string operator()(Currency c) const { return formatCurrency(c); }
        std::string operator()(DateTime d) const { return formatDateTime(d); }
        std::string operator()(const Decimal& d) const { return formatDecimal(d); }
        std::string operator()(const Guid& g) const { return formatGuid(g); }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(const Bytes& b) const { return hexText(b); }
        std::string operator()(ExtendedDateTime d) const { return formatExtendedDateTime(d); }
        std::string operator()(const ComplexValue& c) const { return formatComplex(c); }
    };
    return std::visit(Visitor{}, v.storage());
}

} // namespace jet
