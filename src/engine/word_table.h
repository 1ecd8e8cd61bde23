// The word table: every distinct word or phrase of a run with its frequency and the files
// it came from; sorted by folded key after counting and linked into the frequency chain.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talq {

class Host;
struct Settings;
struct RunFlags;

// One distinct word or phrase. Indices into the table are 1-based, as are chain links.
struct WordRecord {
  std::string strWord;     // as counted; phrase words separated by single spaces
  std::string strSortKey;  // FoldAccents then LowerCaseAccented of strWord
  std::int64_t lngFrequency = 0;
  std::int64_t lngFreqRank = 0;     // 1-based rank among included entries; 0 if excluded
  std::int64_t lngNextInChain = 0;  // next entry by frequency; 0 at the end
  bool blnIncluded = true;

  // Per-file data (counted text only), in order of first occurrence.
  std::int64_t NumFiles() const;                 // lngNumFiles
  std::int64_t FileNumber(std::int64_t i) const;  // i in [0, NumFiles())
  std::int64_t FileCount(std::int64_t i) const;

  // Implementation detail: (file number, count) pairs.
  std::vector<std::pair<std::int64_t, std::int64_t>> files;
};

// What the table needs to know about the run while words are added.
struct WordTableContext {
  Host* host = nullptr;
  const Settings* settings = nullptr;
  RunFlags* run = nullptr;
  bool countingText = false;  // false while a word list is read: no per-file data
};

class WordTable {
 public:
  // Entries 1..lngNumWords are in use; udtWords[0] is an unused placeholder.
  std::vector<WordRecord> udtWords;
  std::int64_t lngNumWords = 0;
  int intMaxPermittedWordLength = 100;
  std::int64_t lngFirstFreq = 0;
  std::int64_t lngMaxFrequency = 0;
  std::int64_t lngNumWordsIncluded = 0;

  // Empties the table (start of a run or of a list read).
  void Clear();
  // Counts one occurrence of word.
  void AddWordToList(const WordTableContext& ctx, std::string_view word);
  // Sorts entries 1..lngNumWords by strSortKey; equal keys by strWord's code points.
  void SortWordsByKey();
  // Builds lngFreqRank, lngNextInChain and lngFirstFreq over the included entries.
  void SetUpFrequencyChain(Host* host);

  // Path of file number n (1-based), as registered.
  const std::string& FileName(std::int64_t n) const;
  std::int64_t NumFilesRegistered() const;
};

// Binary search over words[1..count] (ascending, ordinal). True and position = index when
// found; otherwise false and position = minus the index where key would be inserted.
bool FindWord(std::string_view key, const std::vector<std::string>& words, std::int64_t count,
              std::int64_t& position);

}  // namespace talq
