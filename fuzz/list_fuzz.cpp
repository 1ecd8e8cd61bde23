// Fuzz target: a list file loaded as words to ignore or count-only entries (wildcards,
// expressions under the engine's limits, recorded frequencies), then words looked up in it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/list_lookup.h"
#include "fuzz_support.h"
#include "lists/patterns.h"
#include "lists/word_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace talq;
  fuzz::Bits bits(data, size, 1);
  fuzz::FreshSession f;
  Settings& st = f.s.settings;
  const int index = int(bits.Take(1));
  st.chkPatternMatchingInWordsToIgnoreFile = bits.Flag();
  st.chkPatternMatchingInCountOnlyWordsFile = bits.Flag();
  st.chkCaseSignificant = bits.Flag();
  st.chkAllowWordsWithApostrophes = bits.Flag();
  f.host.answerYes = bits.Flag();
  const std::string path = fuzz::WriteInput("list.txt", data, size);
  LoadListFile(f.s, index, path);

  const auto& entries = f.s.lists.Loaded(index);
  const std::int64_t count = f.s.lists.LoadedCount(index);
  if (count < 0 || std::size_t(count) >= entries.size() + 1) __builtin_trap();
  InvalidRegExpMark mark;
  for (const char* w : {"the", "cat+sat", "naïve", "a", "", "x+y+z"}) {
    IsInList(w, entries, 1, count, true, st.chkCaseSignificant != 0, mark);
  }
  // Every entry on its own through the admissibility check and a match.
  std::string inner;
  for (std::size_t i = 1; i <= std::size_t(count) && i < 64; ++i) {
    CheckRegExp(entries[i], inner);
    MatchPhrase("the+cat", entries[i], false, mark);
    NumWordsInEntry(entries[i]);
  }
  return 0;
}
