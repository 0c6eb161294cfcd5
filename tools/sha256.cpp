#include "tools/sha256.h"

#include <algorithm>
#include <cstring>

namespace tools {
namespace {

constexpr std::uint32_t kRounds[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Rotate(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

// Hashes the full block in sha.Pending into sha.State.
void HashBlock(Sha256& sha) {
  std::uint32_t w[64];
  for (int i = 0; i < 16; ++i) {
    const unsigned char* p = &sha.Pending[static_cast<std::size_t>(4 * i)];
    w[i] = std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
  }
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::uint32_t v[8];
  for (int i = 0; i < 8; ++i) v[i] = sha.State[static_cast<std::size_t>(i)];
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t s1 = Rotate(v[4], 6) ^ Rotate(v[4], 11) ^ Rotate(v[4], 25);
    const std::uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
    const std::uint32_t t1 = v[7] + s1 + choice + kRounds[i] + w[i];
    const std::uint32_t s0 = Rotate(v[0], 2) ^ Rotate(v[0], 13) ^ Rotate(v[0], 22);
    const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
    for (int k = 7; k > 0; --k) v[k] = v[k - 1];
    v[4] += t1;
    v[0] = t1 + s0 + majority;
  }
  for (int i = 0; i < 8; ++i) sha.State[static_cast<std::size_t>(i)] += v[i];
}

}  // namespace

void AddBytes(Sha256& sha, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t at = sha.Length % 64;
    const std::size_t n = std::min(bytes.size(), 64 - at);
    std::memcpy(&sha.Pending[at], bytes.data(), n);
    bytes.remove_prefix(n);
    sha.Length += n;
    if (sha.Length % 64 == 0) HashBlock(sha);
  }
}

std::string HexDigest(Sha256 sha) {
  // The padding: a 1 bit, zeros up to 8 bytes before a block's end, and the
  // length in bits, most significant byte first.
  const std::uint64_t bits = sha.Length * 8;
  AddBytes(sha, "\x80");
  while (sha.Length % 64 != 56) AddBytes(sha, std::string_view("", 1));
  for (int i = 7; i >= 0; --i) AddBytes(sha, std::string(1, static_cast<char>(bits >> (8 * i))));
  std::string hex;
  for (std::uint32_t word : sha.State) {
    for (int i = 28; i >= 0; i -= 4) hex += "0123456789abcdef"[(word >> i) & 0xF];
  }
  return hex;
}

}  // namespace tools
