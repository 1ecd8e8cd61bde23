// Answers of word-list lookups remembered per distinct word while a run counts: within a
// run an answer depends only on the word and the lists, and a pattern list is walked entry
// by entry. Each session copy holds its own, so worker threads never share one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace talq {

struct LookupMemo {
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  using Answers = std::unordered_map<std::string, bool, Hash, std::equal_to<>>;
  // A map holding this many answers starts afresh, so memory stays bounded.
  static constexpr std::size_t kLimit = std::size_t{1} << 20;

  bool active = false;  // set for the length of a run only: lists change between runs
  Answers ignore;       // words to ignore, by lower-cased word
  Answers countOnly;    // count-only entries, by entry as it stands in the text

  // Forgets every answer; remembers from now on when active.
  void Reset(bool nowActive) {
    active = nowActive;
    ignore.clear();
    countOnly.clear();
  }
};

}  // namespace talq
