// The text forms of values shared by the output formats.
#pragma once

#include "augurlex-dict/output_writer.h"
#include "jet/value.h"

#include <cstdint>
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

} // namespace dict
