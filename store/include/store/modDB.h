// The program's database routines, shaped like the ADO calls the program makes:
//
//   Connection db;
//   modDB::OpenConnection(db, modDB::DictionaryPath(folder, "Runes"));
//   Recordset rs;
//   modDB::OpenRecordset(rs, db, modDB::kQuery);
//   for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) show(rs.Fields("Key"));
//
// Errors from the engine reach the caller unchanged, as jet::Error.
#pragma once

#include "store/connection.h"
#include "store/recordset.h"

#include <functional>
#include <string>

namespace modDB {

// The database password every file of the program carries.
inline constexpr const char* kDatabasePassword = "K8Wum2qTx7vRb4Lpe9";
// The one query the program runs.
inline constexpr const char* kQuery = "select * from data";
// The table that query reads.
inline constexpr const char* kDataTable = "data";

// "DRIVER=...;UID=;PWD=<password>;DBQ=<path>", the form the program has always used.
std::string BuildConnectionString(const std::string& path);
// The value of one "NAME=value" piece of a connection string ("" when absent).
std::string ConnectionStringPart(const std::string& connectionString, const std::string& name);

// Replaces whatever the handle held with the database at path, opened with the password the
// connection string carries.
void OpenConnection(Connection& handle, const std::string& path);
// Replaces whatever the handle held with the rows of query. Only kQuery is understood;
// anything else is jet::Error(Invalid, "unsupported query").
void OpenRecordset(Recordset& handle, Connection& connection, const std::string& query);

// The record walk every reader of the program follows: open the file at path, run kQuery, and
// when the record count is not 0, visit the records from the first, record-count times. The
// visitor returns false to stop early. Errors reach the caller unchanged, as jet::Error.
void WalkRecords(const std::string& path, const std::function<bool(const Recordset&)>& visit);

// Paths of the program's files, built the way the program always has: folder + "/" + name.
std::string CataloguePath(const std::string& programFolder);
// The dictionary's name in lower case (all of Unicode for UTF-8 names) + ".dll".
std::string DictionaryPath(const std::string& programFolder, const std::string& dictionaryName);
std::string TemplatePath(const std::string& programFolder);

// UTF-8 text in lower case; bytes that are not valid UTF-8 pass through unchanged.
std::string LowerUtf8(const std::string& text);

} // namespace modDB
