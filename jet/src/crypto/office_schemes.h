// The Office encryption schemes of Access 2007 and later files, behind crypto/page_ciphers.h.
// Each takes the encryption descriptor after its version field, checks every length in it and
// the password against its verifier, and returns the cipher of the file's pages.
#pragma once

#include "crypto/primitives.h"
#include "file/page_cipher.h"

#include <memory>
#include <string>

namespace jet::detail {

struct SchemeInput {
    ByteSpan descriptor;       // the descriptor after its version (4 bytes)
    Bytes password;            // UTF-16LE, at most 255 characters
    bool passwordGiven;        // false: the caller gave none (for the message)
    std::uint32_t encodingKey; // the header's, mixed with each page number into the page's key
    std::uint32_t pageSize;
    std::string fileName;
};

// Versions 2.2, 3.2 and 4.2: a binary header and verifier; RC4 or AES through the CryptoAPI.
std::shared_ptr<const PageCipher> cryptoApiCipher(const SchemeInput& input);
// Version 4.4: an XML descriptor; AES with a key wrapped by the password.
std::shared_ptr<const PageCipher> agileCipher(const SchemeInput& input);

// The errors every scheme raises, naming the file.
[[noreturn]] void throwDamagedDescriptor(const SchemeInput& input, const std::string& what);
[[noreturn]] void throwUnsupportedScheme(const SchemeInput& input, const std::string& what);
[[noreturn]] void throwWrongPassword(const SchemeInput& input);

// True when the two are equal, in time that does not depend on where they differ.
bool sameBytes(ByteSpan a, ByteSpan b);

} // namespace jet::detail
