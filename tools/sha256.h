// SHA-256 (FIPS 180-4) over bytes given piece by piece, for the report
// sweep's digests of its blocks.
#ifndef VELLAMIRE_TOOLS_SHA256_H_
#define VELLAMIRE_TOOLS_SHA256_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tools {

// The hash of the bytes added so far.
struct Sha256 {
  std::array<std::uint32_t, 8> State = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::array<unsigned char, 64> Pending{};  // the bytes of the block not yet hashed
  std::uint64_t Length = 0;                 // bytes added
};

// Adds `bytes` to the hash. Cannot fail.
void AddBytes(Sha256& sha, std::string_view bytes);

// The digest of the bytes added so far, as 64 lower-case hex digits, as
// sha256sum prints it. Cannot fail.
std::string HexDigest(Sha256 sha);

}  // namespace tools

#endif  // VELLAMIRE_TOOLS_SHA256_H_
