#include "write/row_encoder.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "write/text_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace jet::detail {
namespace {

constexpr std::size_t kMaxRowSize = 4060; // the most a Jet 4 data page takes in one row

[[noreturn]] void unsuitable(const ColumnLayout& c, const char* what) {
    throw Error(ErrorKind::Invalid,
                named("column", c.name) + " (" + columnTypeName(c.type) + "): " + what);
}

std::int64_t integerOf(const ColumnLayout& c, const Value& v, std::int64_t lo, std::int64_t hi) {
    if (!v.is<std::int64_t>())
        unsuitable(c, "needs a whole number");
    std::int64_t n = v.as<std::int64_t>();
    if (n < lo || n > hi)
        unsuitable(c, "number out of range");
    return n;
}

double doubleOf(const ColumnLayout& c, const Value& v) {
    if (v.is<double>())
        return v.as<double>();
    if (v.is<std::int64_t>())
        return static_cast<double>(v.as<std::int64_t>());
    unsuitable(c, "needs a number");
}

} // namespace

RowShape rowShapeOf(std::vector<ColumnLayout> columns, std::uint16_t maxColumns) {
    RowShape shape;
    shape.maxColumns = maxColumns;
    for (const ColumnLayout& c : columns) {
        if (!c.fixed)
            shape.variableSlots =
                std::max(shape.variableSlots, static_cast<std::uint16_t>(c.varIndex + 1));
        else if (c.type != ColumnType::Boolean) // booleans live in the null mask
            shape.fixedSize = std::max(shape.fixedSize, c.fixedOffset + fixedSizeOf(c.type));
        shape.maxColumns = std::max(shape.maxColumns, static_cast<std::uint16_t>(c.number + 1));
    }
    shape.columns = std::move(columns);
    return shape;
}

RowShape rowShapeOf(const TableDef& def) {
    std::vector<ColumnLayout> columns;
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        const Column& column = def.columns[i];
        const ColumnPlacement& placement = def.placements[i];
        ColumnLayout c;
        c.name = column.name;
        c.type = column.type;
        c.number = column.number;
        c.varIndex = placement.varIndex;
        c.fixedOffset = placement.fixedOffset;
        c.length = column.length;
        c.flags = placement.flags;
        c.extFlags = column.compressedUnicode ? kColumnExtCompressedUnicode : 0;
        c.fixed = column.fixedLength;
        columns.push_back(std::move(c));
    }
    return rowShapeOf(std::move(columns), def.maxColumns);
}

FieldData encodeInlineField(const ColumnLayout& c, const Value& v, std::uint16_t jet3CodePage) {
    FieldData f;
    if (v.isNull())
        return f;
    f.isNull = false;
    ByteWriter w;
    switch (c.type) {
    case ColumnType::Boolean:
        if (!v.is<bool>())
            unsuitable(c, "needs true or false");
        f.boolValue = v.as<bool>();
        return f;
    case ColumnType::Byte:
        w.u8(static_cast<std::uint8_t>(integerOf(c, v, 0, 255)));
        break;
    case ColumnType::Integer:
        w.u16(static_cast<std::uint16_t>(integerOf(c, v, -32768, 32767)));
        break;
    case ColumnType::Long:
        w.u32(static_cast<std::uint32_t>(integerOf(c, v, std::numeric_limits<std::int32_t>::min(),
                                                   std::numeric_limits<std::int32_t>::max())));
        break;
    case ColumnType::Currency:
        if (!v.is<Currency>())
            unsuitable(c, "needs a currency amount");
        w.u64(static_cast<std::uint64_t>(v.as<Currency>().scaled));
        break;
    case ColumnType::Single: {
        double d = doubleOf(c, v);
        if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
            unsuitable(c, "number out of range");
        auto s = static_cast<float>(d);
        std::uint32_t bits;
        std::memcpy(&bits, &s, sizeof bits);
        w.u32(bits);
        break;
    }
    case ColumnType::Double:
        w.f64(doubleOf(c, v));
        break;
    case ColumnType::DateTime:
        if (!v.is<DateTime>())
            unsuitable(c, "needs a date/time");
        w.f64(v.as<DateTime>().days);
        break;
    case ColumnType::Complex:
        unsuitable(c, "holds attachments, multiple values or a memo's history, which cannot be "
                      "written");
    case ColumnType::BigInt:
        w.u64(static_cast<std::uint64_t>(integerOf(c, v, std::numeric_limits<std::int64_t>::min(),
                                                   std::numeric_limits<std::int64_t>::max())));
        break;
    case ColumnType::ExtendedDateTime: {
        if (!v.is<ExtendedDateTime>())
            unsuitable(c, "needs an extended date and time");
        const ExtendedDateTime& d = v.as<ExtendedDateTime>();
        if (d.days < 0 || d.days > 3'652'058 || d.ticks < 0 || d.ticks >= 864'000'000'000)
            unsuitable(c, "date out of range");
        // Days, a colon, seconds and 100 ns in digits, then ":7" and a zero.
        char stored[48];
        std::snprintf(stored, sizeof stored, "%019lld:%012lld%07lld:7",
                      static_cast<long long>(d.days), static_cast<long long>(d.ticks / 10'000'000),
                      static_cast<long long>(d.ticks % 10'000'000));
        w.append(std::span(reinterpret_cast<const std::uint8_t*>(stored), 42));
        break;
    }
    case ColumnType::Guid:
        if (!v.is<Guid>())
            unsuitable(c, "needs a GUID");
        w.append(v.as<Guid>().bytes);
        break;
    case ColumnType::Numeric: {
        if (!v.is<Decimal>())
            unsuitable(c, "needs a decimal number");
        const Decimal& d = v.as<Decimal>();
        w.u8(d.negative ? 0x80 : 0x00);
        // Four little-endian 32-bit words, the most significant first.
        for (std::size_t word = d.magnitude.size(); word-- > 0;)
            w.u32(d.magnitude[word]);
        break;
    }
    case ColumnType::Text: {
        if (!v.is<std::string>())
            unsuitable(c, "needs text");
        const std::string& s = v.as<std::string>();
        if (jet3CodePage) {
            std::vector<std::uint8_t> text = encodeCodePageText(s, jet3CodePage);
            if (text.size() > c.length)
                unsuitable(c, "text longer than the column allows");
            return FieldData{false, false, std::move(text)};
        }
        if (utf16Length(s) * 2 > c.length)
            unsuitable(c, "text longer than the column allows");
        return FieldData{false, false, encodeJet4Text(s, c.compressedUnicode())};
    }
    case ColumnType::Binary:
        if (!v.is<Bytes>())
            unsuitable(c, "needs binary data");
        if (v.as<Bytes>().size() > c.length)
            unsuitable(c, "binary value longer than the column allows");
        f.bytes = v.as<Bytes>();
        return f;
    case ColumnType::Memo:
    case ColumnType::Ole:
        unsuitable(c, "long values are stored outside the row");
    }
    f.bytes = w.take();
    return f;
}

namespace {

// The part every row shares: the fixed columns, then the variable data in slot order. Returns
// the null mask and, per slot, where its data starts; the entry past the last is the end.
struct RowBody {
    std::vector<std::uint8_t> nullMask;
    std::vector<std::size_t> slotStarts;
};

RowBody writeBody(ByteWriter& w, std::size_t countSize, const RowShape& shape,
                  const std::vector<FieldData>& fields) {
    RowBody body;
    body.nullMask.assign((shape.maxColumns + 7) / 8, 0);
    auto markPresent = [&](std::uint16_t number) {
        body.nullMask[number / 8] |= static_cast<std::uint8_t>(1u << (number % 8));
    };
    // Fixed part: room for every fixed column, null or not.
    w.zeros(shape.fixedSize);
    std::vector<const FieldData*> byVarSlot(shape.variableSlots, nullptr);
    body.slotStarts.reserve(shape.variableSlots + 1);
    for (std::size_t i = 0; i < shape.columns.size(); ++i) {
        const ColumnLayout& c = shape.columns[i];
        const FieldData& f = fields[i];
        if (!c.fixed) {
            if (c.varIndex < shape.variableSlots && !f.isNull)
                byVarSlot[c.varIndex] = &f;
            if (!f.isNull)
                markPresent(c.number);
            continue;
        }
        if (c.type == ColumnType::Boolean) {
            if (!f.isNull && f.boolValue)
                markPresent(c.number);
            continue;
        }
        if (f.isNull)
            continue;
        markPresent(c.number);
        std::memcpy(w.bytes().data() + countSize + c.fixedOffset, f.bytes.data(),
                    std::min<std::size_t>(f.bytes.size(), c.length));
    }
    // Variable part in slot order; a null or deleted column takes no bytes, so its offset
    // equals the next one's.
    for (std::uint16_t slot = 0; slot < shape.variableSlots; ++slot) {
        body.slotStarts.push_back(w.size());
        if (byVarSlot[slot])
            w.append(byVarSlot[slot]->bytes);
    }
    body.slotStarts.push_back(w.size());
    return body;
}

void checkRowSize(std::size_t size, std::size_t max) {
    if (size > max)
        throw Error(ErrorKind::Invalid, "the row is " + std::to_string(size) +
                                            " bytes; a row holds at most " + std::to_string(max));
}

// An upper bound on a row's size, to reserve it at once.
std::size_t expectedRowSize(const RowShape& shape, const std::vector<FieldData>& fields) {
    std::size_t size = 2 + shape.fixedSize + 2 * (shape.variableSlots + 3) + shape.maxColumns / 8 +
                       1 + shape.variableSlots / 128;
    for (const FieldData& f : fields)
        size += f.bytes.size();
    return size;
}

} // namespace

std::vector<std::uint8_t> encodeJet4Row(const RowShape& shape,
                                        const std::vector<FieldData>& fields) {
    ByteWriter w(expectedRowSize(shape, fields));
    w.u16(shape.maxColumns);
    RowBody body = writeBody(w, 2, shape, fields);
    if (shape.variableSlots > 0) {
        checkRowSize(w.size(), kMaxRowSize);
        w.u16(static_cast<std::uint16_t>(body.slotStarts.back())); // end of the variable data
        for (std::size_t slot = shape.variableSlots; slot-- > 0;)
            w.u16(static_cast<std::uint16_t>(body.slotStarts[slot]));
        w.u16(shape.variableSlots);
    }
    w.append(body.nullMask);
    checkRowSize(w.size(), kMaxRowSize);
    return w.take();
}

std::vector<std::uint8_t> encodeJet3Row(const RowShape& shape,
                                        const std::vector<FieldData>& fields) {
    constexpr std::size_t kMaxJet3Row = 2012;
    ByteWriter w(expectedRowSize(shape, fields));
    w.u8(static_cast<std::uint8_t>(shape.maxColumns));
    RowBody body = writeBody(w, 1, shape, fields);
    if (shape.variableSlots > 0) {
        checkRowSize(w.size(), kMaxJet3Row);
        // Offsets keep their low byte; the jump table lists, for each multiple of 256 the row
        // reaches, the first slot (the end counting as the last) at or past it. Its length
        // follows from the whole row's length, which includes the table itself.
        const std::size_t n = shape.variableSlots;
        const std::size_t fixedTrailer = 1 + n + 1 + body.nullMask.size();
        std::size_t jumps = 0;
        while ((w.size() + fixedTrailer + jumps - 1) / 256 != jumps)
            ++jumps;
        std::vector<std::uint8_t> table(jumps, 0xff); // unused entries stay 0xff
        for (std::size_t k = 0; k < jumps; ++k)
            for (std::size_t slot = 0; slot <= n; ++slot)
                if (body.slotStarts[slot] >= 256 * (k + 1)) {
                    table[k] = static_cast<std::uint8_t>(slot);
                    break;
                }
        w.u8(static_cast<std::uint8_t>(body.slotStarts[n]));
        for (std::size_t slot = n; slot-- > 0;)
            w.u8(static_cast<std::uint8_t>(body.slotStarts[slot]));
        for (std::size_t k = jumps; k-- > 0;)
            w.u8(table[k]);
        w.u8(static_cast<std::uint8_t>(n));
    }
    w.append(body.nullMask);
    checkRowSize(w.size(), kMaxJet3Row);
    return w.take();
}

} // namespace jet::detail
