// Builds the program's database files from the CSV sources in data/:
//   make-dictionaries DATA_DIR OUT_DIR
// writes OUT_DIR/clone.dll (the empty template), one dictionary file per dictionary, made from
// the template, and the catalogue divination.dll (in the order of dictionaries.csv), all with
// the program's database password. The engine writes each file whole, so a failed build never
// leaves a half-written file behind.
#include "augurlex-dict/csv_reader.h"
#include "augurlex-dict/program_files_build.h"
#include "augurlex-dict/table_import.h"
#include "store/program_files.h"
#include "text/utf8.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
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

int build(const fs::path& dataDir, const fs::path& outDir) {
    fs::create_directories(outDir);
    const std::string out = outDir.string();
    const std::vector<std::string> names = readCatalogue(dataDir / "dictionaries.csv");
    dict::createTemplate(store::templatePath(out));
    for (const std::string& name : names) {
        const std::string lower = text::utf8::toLower(name);
        const fs::path source = dataDir / (lower + ".csv");
        try {
            dict::writeDictionaryFile(store::templatePath(out), store::dictionaryPath(out, name),
                                      readText(source), {{"names", jet::Value(lower)}});
        } catch (const dict::ImportError& error) {
            throw BuildError(source.string() + " " + error.what());
        }
    }
    dict::writeCatalogue(store::cataloguePath(out), names);
    std::printf("make-dictionaries: %zu dictionaries, the catalogue and the template in %s\n",
                names.size(), out.c_str());
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
