#include "augurlex-dict/row_formats.h"

#include "augurlex-dict/parts_in_order.h"
#include "augurlex-dict/text_forms.h"

#include <algorithm>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace dict {

bool parseRowFormat(std::string_view name, RowFormat& format) {
    if (name == "jsonl") {
        format = RowFormat::JsonLines;
        return true;
    }
    if (name == "csv") {
        format = RowFormat::Csv;
        return true;
    }
    return false;
}

namespace {

// Calls emit(text, quoted) with the value's text form for the types both formats write as
// text; returns false for null, booleans and numbers, which each format writes itself.
template <class Emit> bool withTextForm(const jet::Value& value, Emit emit) {
    return std::visit(
        [&](const auto& v) -> bool {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>) {
                emit(std::string_view(v));
            } else if constexpr (std::is_same_v<T, jet::Currency>) {
                emit(jet::formatCurrency(v));
            } else if constexpr (std::is_same_v<T, jet::Decimal>) {
                emit(jet::formatDecimal(v));
            } else if constexpr (std::is_same_v<T, jet::DateTime>) {
                emit(jet::formatDateTime(v));
            } else if constexpr (std::is_same_v<T, jet::Guid>) {
                emit(jet::formatGuid(v));
            } else if constexpr (std::is_same_v<T, jet::ExtendedDateTime>) {
                emit(jet::formatExtendedDateTime(v));
            } else {
                return false;
            }
            return true;
        },
        value.storage());
}

// A complex field in JSON: an array of its items (attachments and memo versions as objects).
void putJsonComplex(OutputWriter& out, const jet::ComplexValue& complex) {
    out.put('[');
    const char* comma = "";
    for (const jet::Attachment& a : complex.attachments) {
        out.put(std::exchange(comma, ","));
        out.put("{\"name\":");
        putJsonString(out, a.name);
        out.put(",\"type\":");
        putJsonString(out, a.type);
        out.put(",\"data\":\"");
        putBase64(out, a.data);
        out.put("\"}");
    }
    for (const jet::Value& v : complex.values) {
        out.put(std::exchange(comma, ","));
        putJsonValue(out, v);
    }
    for (const jet::MemoVersion& v : complex.versions) {
        out.put(std::exchange(comma, ","));
        out.put("{\"text\":");
        putJsonString(out, v.text);
        out.put(",\"saved\":");
        putJsonString(out, jet::formatDateTime(v.saved));
        out.put('}');
    }
    out.put(']');
}

} // namespace

void putJsonValue(OutputWriter& out, const jet::Value& value) {
    const jet::Value::Storage& s = value.storage();
    if (value.isNull()) {
        out.put("null");
    } else if (auto* b = std::get_if<bool>(&s)) {
        out.put(*b ? "true" : "false");
    } else if (auto* i = std::get_if<std::int64_t>(&s)) {
        putInteger(out, *i);
    } else if (auto* d = std::get_if<double>(&s)) {
        bool finite = isFinite(*d);
        if (!finite)
            out.put('"');
        putDouble(out, *d);
        if (!finite)
            out.put('"');
    } else if (auto* bytes = std::get_if<jet::Bytes>(&s)) {
        out.put('"');
        putBase64(out, *bytes);
        out.put('"');
    } else if (auto* complex = std::get_if<jet::ComplexValue>(&s)) {
        if (complex->kind == jet::ComplexKind::Unknown)
            putInteger(out, complex->key);
        else
            putJsonComplex(out, *complex);
    } else {
        withTextForm(value, [&](std::string_view text) { putJsonString(out, text); });
    }
}

void putCsvValue(OutputWriter& out, const jet::Value& value) {
    const jet::Value::Storage& s = value.storage();
    if (value.isNull()) {
        return;
    } else if (auto* b = std::get_if<bool>(&s)) {
        out.put(*b ? "true" : "false");
    } else if (auto* i = std::get_if<std::int64_t>(&s)) {
        putInteger(out, *i);
    } else if (auto* d = std::get_if<double>(&s)) {
        putDouble(out, *d);
    } else if (auto* bytes = std::get_if<jet::Bytes>(&s)) {
        if (bytes->empty())
            out.put("\"\"");
        else
            putBase64(out, *bytes);
    } else if (auto* complex = std::get_if<jet::ComplexValue>(&s)) {
        putCsvField(out, complex->kind == jet::ComplexKind::Unknown ? std::to_string(complex->key)
                                                                    : jet::formatComplex(*complex));
    } else {
        withTextForm(value, [&](std::string_view text) { putCsvField(out, text); });
    }
}

namespace {

// A part's text goes out once it is this large: the rows of a few pages may hold long values of
// any size, and several parts are made at once.
constexpr std::size_t kPassOnAt = std::size_t{1} << 20;

// Each key with its punctuation, escaped once per table.
std::vector<std::string> jsonKeys(const std::vector<jet::Column>& columns) {
    std::vector<std::string> keys;
    for (const jet::Column& column : columns) {
        std::string key;
        OutputWriter keyWriter(key);
        keyWriter.put(keys.empty() ? '{' : ',');
        putJsonString(keyWriter, column.name);
        keyWriter.put(':');
        keys.push_back(std::move(key));
    }
    return keys;
}

void putJsonRow(const std::vector<std::string>& keys, const jet::Cursor& cursor,
                OutputWriter& out) {
    if (keys.empty())
        out.put('{');
    for (std::size_t c = 0; c < keys.size(); ++c) {
        out.put(keys[c]);
        putJsonValue(out, cursor.value(c));
    }
    out.put("}\n");
}

void putCsvHeader(const std::vector<jet::Column>& columns, OutputWriter& out) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c)
            out.put(',');
        putCsvField(out, columns[c].name);
    }
    out.put("\r\n");
}

// Text is decoded straight into the output rather than into a value per field.
void putCsvRow(const std::vector<char>& textual, const jet::Cursor& cursor, OutputWriter& out) {
    for (std::size_t c = 0; c < textual.size(); ++c) {
        if (c)
            out.put(',');
        if (textual[c])
            putCsvFieldAppended(out, [&](std::string& text) { return cursor.appendText(c, text); });
        else
            putCsvValue(out, cursor.value(c));
    }
    out.put("\r\n");
}

} // namespace

RowWalk RowWalk::forThisMachine() {
    RowWalk walk;
    walk.threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
    walk.fewestPartsForThreads = 16;
    return walk;
}

std::uint64_t writeRows(const jet::Table& table, RowFormat format, OutputWriter& out,
                        const RowWalk& walk) {
    const std::vector<jet::Column>& columns = table.columns();
    const std::vector<std::string> keys =
        format == RowFormat::JsonLines ? jsonKeys(columns) : std::vector<std::string>();
    std::vector<char> textual; // per column: written from its text
    for (const jet::Column& column : columns)
        textual.push_back(column.type == jet::ColumnType::Text ||
                          column.type == jet::ColumnType::Memo);
    if (format == RowFormat::Csv)
        putCsvHeader(columns, out);

    // Parts of the table become text on their own threads and go out in the table's order.
    std::vector<jet::Cursor> parts = table.partCursors(walk.pagesPerPart);
    std::uint64_t rows = 0;
    makePartsInOrder(
        parts.size(), parts.size() < walk.fewestPartsForThreads ? 1 : walk.threads,
        [&](std::size_t i, PartText& part) {
            jet::Cursor& cursor = parts[i];
            // Sized once for the most a part holds, not grown as rows come: memory the system
            // hands out is only faulted in as it is written.
            part.text.reserve(kPassOnAt + (kPassOnAt >> 2));
            OutputWriter into(part.text);
            for (bool ok = !cursor.eof(); ok; ok = cursor.moveNext()) {
                if (format == RowFormat::Csv)
                    putCsvRow(textual, cursor, into);
                else
                    putJsonRow(keys, cursor, into);
                ++part.rows;
                if (part.text.size() >= kPassOnAt)
                    part.passOn();
            }
        },
        [&](std::size_t, PartText& part) {
            out.putMade(part.text);
            rows += part.rows;
        });
    return rows;
}

} // namespace dict
