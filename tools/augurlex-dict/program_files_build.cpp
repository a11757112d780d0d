#include "augurlex-dict/program_files_build.h"

#include "augurlex-dict/dictionary_tables.h"
#include "augurlex-dict/table_import.h"
#include "store/program_files.h"

#include <filesystem>

namespace dict {

namespace {

jet::CreateOptions programPassword() {
    jet::CreateOptions options;
    options.password = store::kDatabasePassword;
    return options;
}

} // namespace

void createTemplate(const std::string& path) {
    jet::createDatabase(path, {dictionaryTableSpec()}, programPassword());
}

void writeDictionaryFile(const std::string& templatePath, const std::string& target,
                         std::string_view csv, const jet::RowValues& constants) {
    jet::WriteSession session = jet::WriteSession::open(templatePath, store::kDatabasePassword);
    importCsv(session, store::kDataTable, csv, constants);
    session.commitAs(target);
}

void writeCatalogue(const std::string& path, const std::vector<std::string>& names) {
    // The engine makes a file only empty; the records follow in a second atomic step.
    jet::createDatabase(path, {catalogueTableSpec()}, programPassword());
    try {
        jet::WriteSession session = jet::WriteSession::open(path, store::kDatabasePassword);
        for (const std::string& name : names)
            session.appendRow(store::kDataTable,
                              {{"names", name}, {"Database", store::dictionaryFileName(name)}});
        session.commit();
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
}

} // namespace dict
