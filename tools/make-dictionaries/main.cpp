// Builds the program's database files from the CSV sources in data/:
//   make-dictionaries DATA_DIR OUT_DIR
// writes OUT_DIR/divination.dll (the catalogue, in the order of dictionaries.csv), one
// dictionary file per dictionary and the empty template clone.dll, all with the program's
// database password. Each file is built under a temporary name and renamed into place, so a
// failed build never leaves a half-written file behind.
#include "augurlex-dict/csv_reader.h"
#include "augurlex-dict/dictionary_tables.h"
#include "augurlex-dict/table_import.h"
#include "jet/write_session.h"
#include "store/modDB.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class BuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw BuildError(path.string() + ": cannot read the file");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The display names of dictionaries.csv, in order.
std::vector<std::string> readCatalogue(const fs::path& path) {
    std::string text = readText(path);
    dict::CsvReader reader(text);
    std::vector<dict::CsvField> fields;
    std::vector<std::string> names;
    try {
        if (!reader.next(fields) || fields.size() != 1 || fields[0].text != "names")
            throw BuildError(path.string() + ": the first line must be exactly: names");
        while (reader.next(fields)) {
            if (fields.size() != 1)
                throw BuildError(path.string() + " line " + std::to_string(reader.recordLine()) +
                                 ": one name a line");
            if (!fields[0].text.empty())
                names.emplace_back(fields[0].text);
        }
    } catch (const dict::CsvError& error) {
        throw BuildError(path.string() + " line " + std::to_string(error.line()) + ": " +
                         error.what());
    }
    return names;
}

// Creates `target` with the given table and lets `fill` append rows, under a temporary name.
void buildFile(const fs::path& target, const jet::TableSpec& table,
               const std::function<void(jet::WriteSession&)>& fill) {
    fs::path temporary = target;
    temporary += ".building";
    try {
        jet::CreateOptions options;
        options.password = modDB::kDatabasePassword;
        jet::createDatabase(temporary, {table}, options);
        jet::WriteSession session = jet::WriteSession::open(temporary, options.password);
        fill(session);
        session.commit();
        fs::rename(temporary, target);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

int build(const fs::path& dataDir, const fs::path& outDir) {
    fs::create_directories(outDir);
    const std::vector<std::string> names = readCatalogue(dataDir / "dictionaries.csv");
    for (const std::string& name : names) {
        const std::string lower = modDB::LowerUtf8(name);
        const fs::path source = dataDir / (lower + ".csv");
        const std::string csv = readText(source);
        buildFile(modDB::DictionaryPath(outDir.string(), name), dict::dictionaryTableSpec(),
                  [&](jet::WriteSession& session) {
                      try {
                          dict::importCsv(session, modDB::kDataTable, csv,
                                          {{"names", jet::Value(lower)}});
                      } catch (const dict::ImportError& error) {
                          throw BuildError(source.string() + " " + error.what());
                      }
                  });
    }
    buildFile(modDB::CataloguePath(outDir.string()), dict::catalogueTableSpec(),
              [&](jet::WriteSession& session) {
                  for (const std::string& name : names)
                      session.appendRow(
                          modDB::kDataTable,
                          {{"names", jet::Value(name)},
                           {"Database", jet::Value(modDB::LowerUtf8(name) + ".dll")}});
              });
    buildFile(modDB::TemplatePath(outDir.string()), dict::dictionaryTableSpec(),
              [](jet::WriteSession&) {});
    std::printf("make-dictionaries: %zu dictionaries, the catalogue and the template in %s\n",
                names.size(), outDir.string().c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-dictionaries DATA_DIR OUT_DIR\n");
        return 2;
    }
    try {
        return build(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-dictionaries: %s\n", error.what());
        return 1;
    }
}
