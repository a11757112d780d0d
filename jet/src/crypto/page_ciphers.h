// The one door to the engine's cryptography: from a file's header page and the password, how its
// pages are coded. Plain files have no cipher; Jet 3 and Jet 4 "encrypted" files RC4 keyed by the
// header (file/page_cipher.h); Office-encrypted Access 2007 and later files one of the schemes
// their header's encryption descriptor names (RC4 through the CryptoAPI, AES through the CryptoAPI
// with or without the standard's key stretching, agile AES), keyed by the password.
//
// The password is checked against the descriptor's verifier here, before any page is decoded, so
// a wrong or missing one is a BadPassword error, never pages of garbage. A damaged descriptor is
// Corrupt; a scheme outside those above is NotSupported. `fileName` is used in messages.
#pragma once

#include "file/bytes.h"
#include "file/header.h"
#include "file/page_cipher.h"

#include <memory>
#include <string>
#include <string_view>

namespace jet::detail {

// `header` as readHeader gives it; `headerPage` the file's first page as stored.
std::shared_ptr<const PageCipher> pageCipherFor(const Header& header, ByteSpan headerPage,
                                                std::string_view password,
                                                const std::string& fileName);

// True for an Access 2007 or later file whose pages are Office-encrypted: its password is the
// cipher's to check, and the header's Jet password field means nothing.
bool isOfficeEncrypted(const Header& header);

// Where an Office-encrypted file's header page keeps its encryption descriptor: a 16-bit length,
// then the descriptor ("EncryptionInfo": its version, then the scheme's own fields).
inline constexpr std::size_t kEncryptionDescriptorOffset = 0x299;

} // namespace jet::detail
