// The text forms of values shared by the output formats.
#pragma once

#include "augurlex-dict/output_writer.h"
#include "jet/value.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dict {

void putInteger(OutputWriter& out, std::int64_t value);
// Shortest form that reads back to the same double; NaN and infinities as "NaN", "Infinity",
// "-Infinity" (callers quote them where the format needs it).
void putDouble(OutputWriter& out, double value);
bool isFinite(double value);
// Standard base64 with padding.
void putBase64(OutputWriter& out, const jet::Bytes& bytes);
// A JSON string literal with its quotes. Bytes that are not valid UTF-8 become U+FFFD, so the
// result is always valid JSON.
void putJsonString(OutputWriter& out, std::string_view text);
// A CSV field (RFC 4180): quoted when it holds a comma, quote, CR or LF, or is empty (so an
// empty string differs from an unquoted empty null).
void putCsvField(OutputWriter& out, std::string_view text);
// Quotes the field that begins at `start` and runs to the end of `text` if CSV needs it to be.
void quoteCsvFieldFrom(std::string& text, std::size_t start);
// The same for a field that `append(std::string&)` adds straight to the output's text (no copy on
// the way); `append` returns false for a null, which stays an empty unquoted field.
template <class Append> void putCsvFieldAppended(OutputWriter& out, Append&& append) {
    out.putAppended([&](std::string& text) {
        const std::size_t start = text.size();
        if (append(text))
            quoteCsvFieldFrom(text, start);
    });
}

} // namespace dict
