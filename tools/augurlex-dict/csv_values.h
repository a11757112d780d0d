// Reading values back from the text forms `dump --format csv` writes (see row_formats.h), one
// column type at a time.
#pragma once

#include "augurlex-dict/csv_reader.h"
#include "jet/database.h"

#include <stdexcept>
#include <string_view>

namespace dict {

// A field that does not read as a value of its column's type; the message says why.
class ValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value of one CSV field for `column`. An empty unquoted field is null; a quoted empty one
// a zero-length string (text, memo) or zero bytes (binary, OLE). Text must be valid UTF-8.
// Decimal values are scaled to the column's scale and must fit its precision.
jet::Value parseFieldValue(const jet::Column& column, const CsvField& field);

// The pieces, exposed for tests.
jet::Value parseDateTime(std::string_view text);         // YYYY-MM-DD[(T| )HH:MM:SS]
jet::Value parseGuid(std::string_view text);             // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
jet::Value parseExtendedDateTime(std::string_view text); // YYYY-MM-DDTHH:MM:SS[.fffffff]
jet::Bytes parseBase64(std::string_view text);

} // namespace dict
