#include "read/field_decode.h"

#include "file/errors.h"
#include "read/long_value.h"
#include "read/text_decoder.h"

#include <algorithm>

namespace jet::detail {

namespace {

void needSize(const FieldRef& field, std::size_t size, std::uint32_t page, const std::string& table,
              const Column& column) {
    if (field.bytes.size() < size)
        throwCorruptPage(page, FieldLabel{table, column.name}.text() + " holds " +
                                   std::to_string(field.bytes.size()) + " bytes where " +
                                   std::to_string(size) + " are needed");
}

} // namespace

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
                  const FieldRef& field, std::uint32_t rowPage) {
    if (column.type == ColumnType::Boolean)
        return Value(field.present);
    if (!field.present)
        return Value();
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
    appendFieldText(context, bytes, out);
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
