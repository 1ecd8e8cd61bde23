// The hash and the byte comparison that the word table and word batches share: a batch
// cut on one thread hands its hashes to the table that counts it on another.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace talq::word_hash {

inline std::uint64_t Read64(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

inline std::uint64_t Read32(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
  const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
  return static_cast<std::uint64_t>(r) ^ static_cast<std::uint64_t>(r >> 64);
}

// A multiply-mix hash over 8-byte reads; short words (the usual case) take one branch and
// two multiplications.
inline std::uint64_t HashWord(std::string_view s) {
  constexpr std::uint64_t k0 = 0xa0761d6478bd642full;
  constexpr std::uint64_t k1 = 0xe7037ed1a0b428dbull;
  const char* p = s.data();
  const std::size_t n = s.size();
  std::uint64_t seed = k0;
  std::uint64_t a = 0;
  std::uint64_t b = 0;
  if (n <= 16) {
    if (n >= 8) {
      a = Read64(p);
      b = Read64(p + n - 8);
    } else if (n >= 4) {
      a = Read32(p);
      b = Read32(p + n - 4);
    } else if (n > 0) {
      a = (std::uint64_t{static_cast<unsigned char>(p[0])} << 16) |
          (std::uint64_t{static_cast<unsigned char>(p[n >> 1])} << 8) |
          static_cast<unsigned char>(p[n - 1]);
    }
  } else {
    std::size_t i = 0;
    for (; n - i > 16; i += 16) seed = Mix(Read64(p + i) ^ k1, Read64(p + i + 8) ^ seed);
    a = Read64(p + n - 16);
    b = Read64(p + n - 8);
  }
  return Mix(k1 ^ n, Mix(a ^ k1, b ^ seed));
}

// Byte equality without a library call: lookups compare mostly short words of equal hash.
inline bool SameBytes(std::string_view a, std::string_view b) {
  const std::size_t n = a.size();
  if (n != b.size()) return false;
  const char* p = a.data();
  const char* q = b.data();
  if (n >= 8) {
    if (n > 16) return std::memcmp(p, q, n) == 0;
    return Read64(p) == Read64(q) && Read64(p + n - 8) == Read64(q + n - 8);
  }
  if (n >= 4) return Read32(p) == Read32(q) && Read32(p + n - 4) == Read32(q + n - 4);
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] != q[i]) return false;
  }
  return true;
}

}  // namespace talq::word_hash
