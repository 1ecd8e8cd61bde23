// Hashing for the phrase code's open-addressing tables: a 64-bit finaliser and a byte hash.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace talq {

// Spreads every input bit over the whole word (the murmur3 finaliser).
inline std::uint64_t Fmix(std::uint64_t k) {
  k ^= k >> 33;
  k *= 0xff51afd7ed558ccdull;
  k ^= k >> 33;
  k *= 0xc4ceb9fe1a85ec53ull;
  k ^= k >> 33;
  return k;
}

// A hash of s, 8 bytes at a time.
inline std::uint64_t HashBytes(std::string_view s) {
  std::uint64_t h = 0x9e3779b97f4a7c15ull ^ s.size();
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t v;
    std::memcpy(&v, s.data() + i, 8);
    h = Fmix(h ^ v);
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, s.data() + i, s.size() - i);
  return Fmix(h ^ tail ^ (std::uint64_t{s.size()} << 56));
}

}  // namespace talq
