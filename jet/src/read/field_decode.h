// Turning a cracked field into a typed value.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "jet/value.h"
#include "read/code_page.h"
#include "read/long_value.h"
#include "read/row.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

struct FieldContext {
    const PageStore& pages;
    const JetFormat& format;
    const CodePageDecoder& textDecoder; // Jet 3 text
    std::vector<std::uint8_t>& scratch; // long values spread over several pages
    NearbyPages* nearby = nullptr;      // a walk's pages at hand for long values
};

// `table` names errors; `rowPage` is the page the row sits on.
Value decodeField(const FieldContext& context, const std::string& table, const Column& column,
                  const FieldRef& field, std::uint32_t rowPage);
// The same into `out`, reusing the text buffer it may hold.
void decodeFieldInto(const FieldContext& context, const std::string& table, const Column& column,
                     const FieldRef& field, std::uint32_t rowPage, Value& out);

// The text of a present text or memo field (a memo's long value read first), appended to `out`.
void appendTextField(const FieldContext& context, const std::string& table, const Column& column,
                     const FieldRef& field, std::uint32_t rowPage, std::string& out);

// Text of a Jet text or memo field in the database's encoding, appended to `out`.
void appendFieldText(const FieldContext& context, ByteSpan bytes, std::string& out);

// The value inside a calculated column's stored bytes.
ByteSpan unwrapCalculated(ByteSpan bytes);

// The exact decimal stored in 17 bytes: a sign byte, then four 32-bit words, highest first.
Decimal decodeDecimal(ByteSpan bytes, std::uint8_t precision, std::uint8_t scale);

} // namespace jet::detail
