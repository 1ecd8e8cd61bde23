// The words of one text cut apart from the table that will count them (on another thread):
// each distinct word once, in order of first occurrence, with its hash and count.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talq {

class WordBatch {
 public:
  struct Entry {
    std::uint32_t begin;   // in the batch's bytes
    std::uint32_t length;
    std::uint64_t hash;
    std::int64_t count;
  };

  // n occurrences of word.
  void Add(std::string_view word, std::int64_t n = 1);
  // Empties the batch, keeping its room for the next text.
  void Clear();

  const std::vector<Entry>& Entries() const { return entries_; }
  std::string_view Word(const Entry& e) const { return {bytes_.data() + e.begin, e.length}; }

 private:
  void Grow();

  std::string bytes_;
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> index_;  // entry number + 1, or 0 for a free place; a power of 2
};

}  // namespace talq
