// The cryptographic primitives Office encryption builds on: hashes and AES over whole blocks.
// The only file of the engine that reaches the system's cryptography library; everything else
// in `crypto/` is written in terms of these.
#pragma once

#include "file/bytes.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace jet::detail {

using Bytes = std::vector<std::uint8_t>;

enum class HashAlgorithm { Md5, Sha1, Sha256, Sha384, Sha512 };

// By the name an agile encryption descriptor gives it ("SHA512"); none when unknown.
std::optional<HashAlgorithm> hashAlgorithmNamed(std::string_view name);
std::size_t hashSize(HashAlgorithm algorithm);
// The hash of the parts one after the other.
Bytes hashOf(HashAlgorithm algorithm, std::initializer_list<ByteSpan> parts);
// Office's password stretching: `count` times h = H(little-endian i, h), for i from 0.
Bytes iterateHash(HashAlgorithm algorithm, Bytes hash, std::uint32_t count);

// AES (a 16, 24 or 32-byte key) over `data`, a whole number of 16-byte blocks, in place, with no
// padding. Cfb is the 8-bit CFB of Office's "ChainingModeCFB"; Ecb ignores `iv`.
enum class ChainingMode { Ecb, Cbc, Cfb };
void aesDecrypt(ChainingMode mode, ByteSpan key, ByteSpan iv, std::span<std::uint8_t> data);
void aesEncrypt(ChainingMode mode, ByteSpan key, ByteSpan iv, std::span<std::uint8_t> data);

// `bytes` cut or padded with `pad` to `length`, as Office sizes hashes into keys and IVs.
Bytes fixedLength(Bytes bytes, std::size_t length, std::uint8_t pad = 0);

} // namespace jet::detail
