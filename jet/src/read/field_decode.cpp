#include "read/field_decode.h"

#include "file/errors.h"
#include "read/long_value.h"
#include "read/text_decoder.h"

#include <algorithm>
#include <array>

namespace jet::detail {

namespace {

void needSize(const FieldRef& field, std::size_t size, std::uint32_t page, const std::string& table,
              const Column& column) {
    if (field.bytes.size() < size)
        throwCorruptPage(page, FieldLabel{table, column.name}.text() + " holds " +
                                   std::to_string(field.bytes.size()) + " bytes where " +
                                   std::to_string(size) + " are needed");
}

// A calculated value is wrapped: 16 bytes, the length of the value, the value, 3 bytes.
constexpr std::size_t kCalculatedLengthOffset = 16;
constexpr std::size_t kCalculatedDataOffset = 20;

// The 42 ASCII bytes of an extended date and time: 19 digits of days since 0001-01-01, a colon,
// 12 digits of seconds into the day, 7 digits of 100 ns, 3 bytes of padding.
ExtendedDateTime decodeExtendedDateTime(ByteSpan bytes, std::uint32_t page,
                                        const FieldLabel& label) {
    auto number = [&](std::size_t start, std::size_t digits) {
        std::int64_t n = 0;
        for (std::size_t i = start; i < start + digits; ++i) {
            // Beyond 10^15 days no date is meant (and 19 digits would overflow).
            if (bytes[i] < '0' || bytes[i] > '9' || n > 999'999'999'999'999)
                throwCorruptPage(page, label.text() + " holds a badly formed date and time");
            n = n * 10 + (bytes[i] - '0');
        }
        return n;
    };
    const std::int64_t seconds = number(20, 12);
    if (bytes[19] != ':' || seconds >= 86400)
        throwCorruptPage(page, label.text() + " holds a badly formed date and time");
    return ExtendedDateTime{number(0, 19), seconds * 10'000'000 + number(32, 7)};
}

// A calculated decimal: a 16-bit length, the scale, the sign, then the digits' bytes, a
// multiple of four: a big-endian number whose leading 4 bytes (when the count is not a multiple
// of 8) and then each group of 8 are stored reversed.
Decimal decodeCalculatedDecimal(ByteSpan bytes) {
    Decimal d;
    d.precision = 28;
    if (bytes.size() < 4)
        return d;
    d.scale = bytes[2];
    d.negative = bytes[3] != 0;
    std::size_t size = le16(bytes.data());
    size = size > 2 ? size - 2 : bytes.size() - 2;
    size = std::min<std::size_t>({size / 4 * 4, 16, (bytes.size() - 4) / 4 * 4});
    std::array<std::uint8_t, 16> number{};
    std::copy_n(bytes.data() + 4, size, number.begin());
    std::size_t at = 0;
    if (size % 8) {
        std::reverse(number.begin(), number.begin() + 4);
        at = 4;
    }
    for (; at < size; at += 8)
        std::reverse(number.begin() + static_cast<std::ptrdiff_t>(at),
                     number.begin() + static_cast<std::ptrdiff_t>(at + 8));
    for (std::size_t i = 0; i < size; ++i) { // the last byte is the lowest
        const std::size_t fromLowest = size - 1 - i;
        d.magnitude[fromLowest / 4] |= std::uint32_t{number[i]} << (8 * (fromLowest % 4));
    }
    return d;
}

} // namespace

ByteSpan unwrapCalculated(ByteSpan bytes) {
    if (bytes.size() < kCalculatedDataOffset)
        return bytes;
    const std::size_t length = le32(bytes.data() + kCalculatedLengthOffset);
    return bytes.subspan(kCalculatedDataOffset,
                         std::min(length, bytes.size() - kCalculatedDataOffset));
}

void appendFieldText(const FieldContext& context, ByteSpan bytes, std::string& out) {
    if (context.format.version == Version::Jet3)
        context.textDecoder.append(out, bytes);
    else
        appendJet4Text(out, bytes);
}

Decimal decodeDecimal(ByteSpan bytes, std::uint8_t precision, std::uint8_t scale) {
    Decimal d;
    d.negative = (bytes[0] & 0x80) != 0;
    d.precision = precision;
    d.scale = scale;
    for (std::size_t word = 0; word < 4; ++word)
        d.magnitude[word] = le32(bytes.data() + 1 + (3 - word) * 4);
    return d;
}

namespace {

// Every type but text and memo, which decode into a reused buffer.
Value decodeOther(const FieldContext& context, const std::string& table, const Column& column,
                  FieldRef field, std::uint32_t rowPage) {
    if (column.type == ColumnType::Boolean && !column.calculated)
        return Value(field.present);
    if (!field.present)
        return column.type == ColumnType::Boolean ? Value(false) : Value();
    if (column.calculated && column.type != ColumnType::Ole) {
        field.bytes = unwrapCalculated(field.bytes);
        // An empty calculated value of a fixed size is null (a boolean's is false).
        if (column.type == ColumnType::Boolean)
            return Value(!field.bytes.empty() && field.bytes[0] != 0);
        if (field.bytes.empty() && column.type != ColumnType::Binary)
            return Value();
        if (column.type == ColumnType::Numeric)
            return Value(decodeCalculatedDecimal(field.bytes));
    }
    const std::size_t fixedSize = fixedSizeOf(column.type);
    if (fixedSize)
        needSize(field, fixedSize, rowPage, table, column);
    const std::uint8_t* p = field.bytes.data();
    switch (column.type) {
    case ColumnType::Byte:
        return Value(std::int64_t{p[0]});
    case ColumnType::Integer:
        return Value(std::int64_t{static_cast<std::int16_t>(le16(p))});
    case ColumnType::Long:
        return Value(std::int64_t{static_cast<std::int32_t>(le32(p))});
    case ColumnType::BigInt:
        return Value(static_cast<std::int64_t>(le64(p)));
    case ColumnType::ExtendedDateTime:
        return Value(decodeExtendedDateTime(field.bytes, rowPage, FieldLabel{table, column.name}));
    case ColumnType::Complex: {
        ComplexValue complex;
        complex.key = static_cast<std::int32_t>(le32(p));
        return Value(std::move(complex));
    }
    case ColumnType::Currency:
        return Value(Currency{static_cast<std::int64_t>(le64(p))});
    case ColumnType::Single:
        return Value(static_cast<double>(leFloat(p)));
    case ColumnType::Double:
        return Value(leDouble(p));
    case ColumnType::DateTime:
        return Value(DateTime{leDouble(p)});
    case ColumnType::Guid: {
        Guid g;
        std::copy_n(p, g.bytes.size(), g.bytes.begin());
        return Value(g);
    }
    case ColumnType::Numeric:
        return Value(decodeDecimal(field.bytes, column.precision, column.scale));
    case ColumnType::Ole: {
        ByteSpan bytes =
            readLongValue(context.pages, context.format, field.bytes, rowPage,
                          FieldLabel{table, column.name}, context.scratch, context.nearby);
        return Value(Bytes(bytes.begin(), bytes.end()));
    }
    default: // binary, and types this engine does not interpret
        return Value(Bytes(field.bytes.begin(), field.bytes.end()));
    }
}

} // namespace

Value decodeField(const FieldContext& context, const std::string& table, const Column& column,
                  const FieldRef& field, std::uint32_t rowPage) {
    Value value;
    decodeFieldInto(context, table, column, field, rowPage, value);
    return value;
}

void appendTextField(const FieldContext& context, const std::string& table, const Column& column,
                     const FieldRef& field, std::uint32_t rowPage, std::string& out) {
    ByteSpan bytes = field.bytes;
    if (column.type == ColumnType::Memo)
        bytes = readLongValue(context.pages, context.format, field.bytes, rowPage,
                              FieldLabel{table, column.name}, context.scratch, context.nearby);
    appendFieldText(context, column.calculated ? unwrapCalculated(bytes) : bytes, out);
}

void decodeFieldInto(const FieldContext& context, const std::string& table, const Column& column,
                     const FieldRef& field, std::uint32_t rowPage, Value& out) {
    if ((column.type == ColumnType::Text || column.type == ColumnType::Memo) && field.present) {
        appendTextField(context, table, column, field, rowPage, out.resetText());
        return;
    }
    out = decodeOther(context, table, column, field, rowPage);
}

} // namespace jet::detail
