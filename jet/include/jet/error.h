// Errors raised by the engine. Every failure carries a kind a caller can act on and a message a
// user can read (naming the file, page, table or column where that helps).
#pragma once

#include <stdexcept>
#include <string>

namespace jet {

enum class ErrorKind {
    NotSupported, // not an Access database, or a format we do not read (Access 2007+)
    BadPassword,  // the database password does not match
    Corrupt,      // a structure in the file is inconsistent or points outside the file
    Io,           // the operating system refused a read or write
    NotFound,     // no such table or column
    Invalid,      // the caller asked for something the file cannot hold
    Busy,         // another writer holds the folder (see jet/write_lock.h)
};

class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

// The message Jet gives for a wrong database password.
inline constexpr const char* kBadPasswordMessage = "Not a valid password.";
// The message for anything that is not an Access 97 or 2000-2003 database.
inline constexpr const char* kNotSupportedMessage = "not a supported Access database";

} // namespace jet
