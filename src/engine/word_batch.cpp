#include "engine/word_batch.h"

#include <algorithm>

#include "engine/word_hash.h"

namespace talq {

void WordBatch::Add(std::string_view word, std::int64_t n) {
  const std::uint64_t hash = word_hash::HashWord(word);
  if (entries_.size() * 2 >= index_.size()) Grow();
  const std::size_t mask = index_.size() - 1;
  for (std::size_t pos = static_cast<std::size_t>(hash) & mask;; pos = (pos + 1) & mask) {
    const std::uint32_t at = index_[pos];
    if (at == 0) {
      index_[pos] = static_cast<std::uint32_t>(entries_.size() + 1);
      entries_.push_back(Entry{static_cast<std::uint32_t>(bytes_.size()),
                               static_cast<std::uint32_t>(word.size()), hash, n});
      bytes_.append(word);
      return;
    }
    Entry& e = entries_[at - 1];
    if (e.hash == hash && word_hash::SameBytes(Word(e), word)) {
      e.count += n;
      return;
    }
  }
}

void WordBatch::Clear() {
  bytes_.clear();
  entries_.clear();
  std::fill(index_.begin(), index_.end(), 0u);
}

void WordBatch::Grow() {
  index_.assign(index_.empty() ? 1024 : index_.size() * 2, 0u);
  const std::size_t mask = index_.size() - 1;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    std::size_t pos = static_cast<std::size_t>(entries_[k].hash) & mask;
    while (index_[pos] != 0) pos = (pos + 1) & mask;
    index_[pos] = static_cast<std::uint32_t>(k + 1);
  }
}

}  // namespace talq
