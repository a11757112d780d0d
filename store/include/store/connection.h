// An open database and the connection string it was opened from.
#pragma once

#include "jet/database.h"

#include <optional>
#include <string>

class Connection {
public:
    bool IsOpen() const { return database_.has_value(); }
    const std::string& ConnectionString() const { return connectionString_; }
    // The open database; jet::Error(Invalid) when the connection is closed.
    const jet::Database& Database() const;
    void Close();

    // Used by modDB::OpenConnection: replaces what the handle held.
    void Open(std::string connectionString, jet::Database database);

private:
    std::string connectionString_;
    std::optional<jet::Database> database_;
};
