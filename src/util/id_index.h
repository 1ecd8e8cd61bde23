// An open-addressing index from a key's hash to ids numbered 0, 1, 2… in order of addition.
// The caller keeps the keys themselves and says whether an id's key is the one sought.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace talq {

class IdIndex {
 public:
  static constexpr std::uint32_t kMissing = UINT32_MAX;

  IdIndex() : slots_(1024, 0) {}

  // The id whose hash is h and for which same(id) holds, or kMissing; pos is then where the
  // key goes (for Add).
  template <class Same>
  std::uint32_t Find(std::uint64_t h, const Same& same, std::size_t& pos) const {
    const std::size_t mask = slots_.size() - 1;
    for (pos = h & mask;; pos = (pos + 1) & mask) {
      const std::uint32_t s = slots_[pos];
      if (s == 0) return kMissing;
      if (hashes_[s - 1] == h && same(s - 1)) return s - 1;
    }
  }

  // Gives the next id to the key with hash h at pos (from Find); rebuilds at half full.
  std::uint32_t Add(std::uint64_t h, std::size_t pos) {
    const auto id = static_cast<std::uint32_t>(hashes_.size());
    hashes_.push_back(h);
    slots_[pos] = id + 1;
    if (hashes_.size() * 2 > slots_.size()) {
      slots_.assign(slots_.size() * 2, 0);
      const std::size_t mask = slots_.size() - 1;
      for (std::uint32_t i = 0; i < hashes_.size(); ++i) {
        std::size_t p = hashes_[i] & mask;
        while (slots_[p] != 0) p = (p + 1) & mask;
        slots_[p] = i + 1;
      }
    }
    return id;
  }

  // Frees the index once no more lookups come.
  void Release() {
    std::vector<std::uint32_t>().swap(slots_);
    std::vector<std::uint64_t>().swap(hashes_);
  }

 private:
  std::vector<std::uint32_t> slots_;  // id + 1; 0 empty
  std::vector<std::uint64_t> hashes_;
};

}  // namespace talq
