#include "augurlex-dict/row_formats.h"

#include "augurlex-dict/text_forms.h"

#include <string>
#include <type_traits>
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
            } else {
                return false;
            }
            return true;
        },
        value.storage());
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
    } else {
        withTextForm(value, [&](std::string_view text) { putCsvField(out, text); });
    }
}

namespace {

std::uint64_t writeJsonLines(const jet::Table& table, OutputWriter& out) {
    // Each key with its punctuation, escaped once per table.
    std::vector<std::string> keys;
    for (const jet::Column& column : table.columns()) {
        std::string key;
        OutputWriter keyWriter(key);
        keyWriter.put(keys.empty() ? '{' : ',');
        putJsonString(keyWriter, column.name);
        keyWriter.put(':');
        keyWriter.flush();
        keys.push_back(std::move(key));
    }
    std::uint64_t rows = 0;
    jet::Cursor cursor = table.cursor();
    for (bool ok = cursor.moveFirst(); ok; ok = cursor.moveNext()) {
        if (keys.empty())
            out.put('{');
        for (std::size_t c = 0; c < keys.size(); ++c) {
            out.put(keys[c]);
            putJsonValue(out, cursor.value(c));
        }
        out.put("}\n");
        ++rows;
    }
    return rows;
}

std::uint64_t writeCsv(const jet::Table& table, OutputWriter& out) {
    const std::vector<jet::Column>& columns = table.columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c)
            out.put(',');
        putCsvField(out, columns[c].name);
    }
    out.put("\r\n");
    // Text is decoded straight into one reused buffer rather than into a value per field.
    std::vector<bool> textual;
    for (const jet::Column& column : columns)
        textual.push_back(column.type == jet::ColumnType::Text ||
                          column.type == jet::ColumnType::Memo);
    std::string text;
    std::uint64_t rows = 0;
    jet::Cursor cursor = table.cursor();
    for (bool ok = cursor.moveFirst(); ok; ok = cursor.moveNext()) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c)
                out.put(',');
            if (!textual[c]) {
                putCsvValue(out, cursor.value(c));
            } else if (!cursor.isNull(c)) {
                cursor.readText(c, text);
                putCsvField(out, text);
            }
        }
        out.put("\r\n");
        ++rows;
    }
    return rows;
}

} // namespace

std::uint64_t writeRows(const jet::Table& table, RowFormat format, OutputWriter& out) {
    return format == RowFormat::Csv ? writeCsv(table, out) : writeJsonLines(table, out);
}

} // namespace dict
