#include "store/connection.h"

#include <utility>

const jet::Database& Connection::Database() const {
    if (!database_)
        throw jet::Error(jet::ErrorKind::Invalid, "the connection is not open");
    return *database_;
}

void Connection::Close() {
    database_.reset();
    connectionString_.clear();
}

void Connection::Open(std::string connectionString, jet::Database database) {
    connectionString_ = std::move(connectionString);
    database_.emplace(std::move(database));
}
