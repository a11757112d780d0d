// Making the program's database files from records given as CSV text: the bundled files the
// build writes (make-dictionaries), and the folders the benchmarks work on.
#pragma once

#include "jet/write_session.h"

#include <string>
#include <string_view>
#include <vector>

namespace dict {

// The template: a dictionary file without records, with the program's password.
void createTemplate(const std::string& path);

// A new dictionary file at `target` holding the template's records, then those of `csv` (as
// importCsv reads it), each given `constants` as well. The file appears whole, replacing one
// that may be there; on any failure (ImportError for the CSV, jet::Error) nothing is written.
void writeDictionaryFile(const std::string& templatePath, const std::string& target,
                         std::string_view csv, const jet::RowValues& constants = {});

// The catalogue listing `names` in order, each with its dictionary's file name. On failure no
// catalogue is left at `path`.
void writeCatalogue(const std::string& path, const std::vector<std::string>& names);

} // namespace dict
