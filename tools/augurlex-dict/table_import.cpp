#include "augurlex-dict/table_import.h"

#include "augurlex-dict/csv_reader.h"
#include "augurlex-dict/csv_values.h"
#include "text/printable_text.h"

#include <vector>

namespace dict {

namespace {

std::string describe(std::size_t line, const std::string& column, const std::string& reason) {
    std::string text = "line " + std::to_string(line);
    if (!column.empty())
        text += ", column \"" + text::printableText(column) + "\"";
    return text + ": " + reason;
}

std::string columnList(const std::vector<jet::Column>& columns) {
    std::string list;
    for (const jet::Column& c : columns)
        list += (list.empty() ? "" : ", ") + c.name;
    return list;
}

} // namespace

ImportError::ImportError(std::size_t line, std::string column, const std::string& reason)
    : std::runtime_error(describe(line, column, reason)), line_(line), column_(std::move(column)) {}

std::uint64_t importCsv(jet::WriteSession& session, const std::string& tableName,
                        std::string_view csv, const jet::RowValues& constants) {
    CsvReader reader(csv);
    return importCsv(session, tableName, reader, constants);
}

std::uint64_t importCsv(jet::WriteSession& session, const std::string& tableName, CsvReader& reader,
                        const jet::RowValues& constants) {
    const jet::Table table = session.database().table(tableName);
    const std::vector<jet::Column>& columns = table.columns();

    std::vector<CsvField> fields;
    try {
        if (!reader.next(fields))
            throw ImportError(1, "", "the CSV is empty; its first line must name the columns");
    } catch (const CsvError& error) {
        throw ImportError(error.line(), "", error.what());
    }

    // Each CSV column to its table column; the row's values keep their names from here on.
    std::vector<const jet::Column*> targets;
    jet::RowValues row = constants;
    for (const CsvField& field : fields) {
        std::string name(field.text);
        int index = table.columnIndex(name);
        if (index < 0)
            throw ImportError(1, name,
                              "table \"" + table.name() + "\" has no such column (its columns: " +
                                  columnList(columns) + ")");
        for (const auto& [given, value] : row)
            if (table.columnIndex(given) == index)
                throw ImportError(1, name, "the column is named twice");
        targets.push_back(&columns[static_cast<std::size_t>(index)]);
        row.emplace_back(columns[static_cast<std::size_t>(index)].name, jet::Value{});
    }
    const std::size_t first = constants.size();

    std::uint64_t appended = 0;
    for (;;) {
        try {
            if (!reader.next(fields))
                break;
        } catch (const CsvError& error) {
            throw ImportError(error.line(), "", error.what());
        }
        const std::size_t line = reader.recordLine();
        if (fields.size() != targets.size()) {
            // A blank line is one empty field; where that cannot be a row, it is skipped.
            if (fields.size() == 1 && fields[0].text.empty() && !fields[0].quoted)
                continue;
            throw ImportError(line, "",
                              std::to_string(fields.size()) + " fields where the header names " +
                                  std::to_string(targets.size()));
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            try {
                row[first + i].second = parseFieldValue(*targets[i], fields[i]);
            } catch (const ValueError& error) {
                throw ImportError(line, targets[i]->name, error.what());
            }
        }
        try {
            session.appendRow(table.name(), row);
        } catch (const jet::Error& error) {
            // A refused row is the CSV's fault, named by its line (the engine names the column);
            // damage met mid-way is the file's, and keeps its kind.
            if (error.kind() == jet::ErrorKind::Corrupt)
                throw;
            throw ImportError(line, "", error.what());
        }
        ++appended;
    }
    return appended;
}

} // namespace dict
