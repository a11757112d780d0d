#include "store/modDB.h"

namespace modDB {

namespace {
const std::string kDriver = "DRIVER=Microsoft Access Driver (*.mdb);";
const std::string kCredentials = "UID=;PWD=";
const std::string kPathKey = ";DBQ=";
} // namespace

std::string BuildConnectionString(const std::string& path) {
    return kDriver + kCredentials + kDatabasePassword + kPathKey + path;
}

std::string ConnectionStringPart(const std::string& connectionString, const std::string& name) {
    // Pieces are "NAME=value" separated by ';'. The path (DBQ) comes last and may itself hold
    // ';', so it runs to the end of the string.
    const std::string key = name + "=";
    std::size_t start = 0;
    while (start <= connectionString.size()) {
        std::size_t end = connectionString.find(';', start);
        if (end == std::string::npos)
            end = connectionString.size();
        if (connectionString.compare(start, key.size(), key) == 0) {
            std::size_t valueStart = start + key.size();
            if (name == "DBQ")
                return connectionString.substr(valueStart);
            return connectionString.substr(valueStart, end - valueStart);
        }
        start = end + 1;
    }
    return {};
}

void OpenConnection(Connection& handle, const std::string& path) {
    handle.Close();
    std::string connectionString = BuildConnectionString(path);
    jet::Database database = jet::Database::open(ConnectionStringPart(connectionString, "DBQ"),
                                                 ConnectionStringPart(connectionString, "PWD"));
    handle.Open(std::move(connectionString), std::move(database));
}

void OpenRecordset(Recordset& handle, Connection& connection, const std::string& query) {
    handle.Close();
    if (query != kQuery)
        throw jet::Error(jet::ErrorKind::Invalid, "unsupported query");
    handle.OpenTable(connection.Database(), kDataTable,
                     ConnectionStringPart(connection.ConnectionString(), "PWD"));
}

std::string CataloguePath(const std::string& programFolder) {
    return programFolder + "/" + "divination.dll";
}

std::string DictionaryPath(const std::string& programFolder, const std::string& dictionaryName) {
    return programFolder + "/" + LowerUtf8(dictionaryName) + ".dll";
}

std::string TemplatePath(const std::string& programFolder) {
    return programFolder + "/" + "clone.dll";
}

} // namespace modDB
