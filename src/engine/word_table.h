// The word table: every distinct word or phrase of a run with its frequency and the files
// it came from; sorted by folded key after counting and linked into the frequency chain.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/word_batch.h"

namespace talq {

class Host;
struct Settings;
struct RunFlags;
struct EngineSession;

// One distinct word or phrase. Indices into the table are 1-based, as are chain links.
// Laid out so that what counting touches (word, count, current file tally) shares one
// cache line; the rest is read after counting.
struct alignas(64) WordRecord {
 private:
  using FileTally = std::pair<std::int64_t, std::int64_t>;  // (file number, count)

 public:
  std::string strWord;  // as counted; phrase words separated by single spaces
  std::int64_t lngFrequency = 0;

 private:
  // Most entries of a run come from one file: the first pair lives inline, so a new entry
  // costs no heap allocation for its per-file data. Count 0: no per-file data.
  FileTally firstFile_{0, 0};

 public:
  bool blnIncluded = true;     // the entry takes part in reports
  std::string strSortKey;  // FoldAccents then LowerCaseAccented of strWord; set by SortWordsByKey
  std::int64_t lngFreqRank = 0;     // 1-based rank among included entries; 0 if excluded
  std::int64_t lngNextInChain = 0;  // next entry by frequency; 0 at the end

  // Per-file data (counted text only), in order of first occurrence.
  std::int64_t NumFiles() const;                  // lngNumFiles
  std::int64_t FileNumber(std::int64_t i) const;  // i in [0, NumFiles())
  std::int64_t FileCount(std::int64_t i) const;   // occurrences in FileNumber(i)
  // Counts n occurrences in file fileNumber: the last file's count grows when it is the
  // same file, otherwise (fileNumber, n) is appended. n > 0.
  void CountInFile(std::int64_t fileNumber, std::int64_t n = 1);
  // Makes room for files more per-file counts, so that as many CountInFile calls for new
  // files allocate nothing.
  void ReserveFiles(std::int64_t files);

 private:
  // The second and later files; a single pointer keeps the record at two cache lines.
  struct MoreFiles {
    std::unique_ptr<std::vector<FileTally>> list;
    MoreFiles() = default;
    MoreFiles(const MoreFiles& o) { *this = o; }
    MoreFiles& operator=(const MoreFiles& o) {
      if (this != &o) list = o.list ? std::make_unique<std::vector<FileTally>>(*o.list) : nullptr;
      return *this;
    }
    MoreFiles(MoreFiles&&) noexcept = default;
    MoreFiles& operator=(MoreFiles&&) noexcept = default;
  };
  MoreFiles moreFiles_;
};

// What the table needs to know about the run while words are added.
struct WordTableContext {
  Host* host = nullptr;
  const Settings* settings = nullptr;
  RunFlags* run = nullptr;
  bool countingText = false;  // false while a word list is read: no per-file data
};

// The context for the session's current activity: text is counted unless a list is read.
// A session nobody watches (a worker's, see ExtractionState::blnGatherWords) serves no host.
WordTableContext CountingContext(EngineSession& session);

class WordTable {
 public:
  WordTable();

  // Entries 1..lngNumWords are in use; udtWords[0] is an unused placeholder. While counting,
  // entries stand in order of first occurrence (SortByWord gives word order). Callers may
  // change blnIncluded, ranks and links; a table filled or emptied by hand is re-indexed
  // on the next lookup, but changing strWord of an indexed entry is not noticed.
  // Counting keeps repeat counts beside the index, apart from the records: lngFrequency and
  // the per-file data are current only after SettleCounts (which sorting, chaining and
  // IndexOf call themselves).
  std::vector<WordRecord> udtWords;
  std::int64_t lngNumWords = 0;
  int intMaxPermittedWordLength = 100;  // in characters (code points)
  std::int64_t lngFirstFreq = 0;
  std::int64_t lngMaxFrequency = 0;       // set by the run
  std::int64_t lngNumWordsIncluded = 0;   // set by the run

  // Empties the table, the file registry and the live display (start of a run or list read).
  void Clear();

  // Threads that settling, sorting and chaining may use (1 by default); the result is the
  // same for any number. Only sorts that cannot be stopped are split.
  void UseThreads(int threads) { threads_ = std::max(threads, 1); }
  int Threads() const { return threads_; }
  // Parts for a pass over `items` entries: Threads(), or 1 for too few to be worth a thread.
  int PartsFor(std::size_t items) const { return items >= kSplitEntries ? threads_ : 1; }

  // Counts one occurrence of word: a new entry or lngFrequency + 1, the current file's
  // count, the live list of new words and the progress label. Words longer than
  // intMaxPermittedWordLength characters are skipped, except while a list is read or
  // under a count-only list with phrases. Calls host->Pump() once every kPumpInterval
  // repeated words (the GUI throttles further; the stop flag is tested by the caller).
  void AddWordToList(const WordTableContext& ctx, std::string_view word);
  static constexpr int kPumpInterval = 1024;

  // Keeps word, as AddWordToList would count it, in a batch for another table to count
  // (TakeBatch); this table stays as it is. Words longer than it takes are left out.
  void AddWordLater(const WordTableContext& ctx, std::string_view word);
  // Gathers from now on into room, a batch whose memory is reused.
  void GatherInto(WordBatch&& room) {
    gathered_ = std::move(room);
    gathered_.Clear();
  }
  // Distinct words gathered so far.
  std::int64_t NumGathered() const { return static_cast<std::int64_t>(gathered_.Entries().size()); }
  WordBatch TakeBatch() {
    WordBatch batch = std::move(gathered_);
    gathered_ = WordBatch();
    return batch;
  }
  // Counts every entry of batch (cut apart, e.g. on another thread, from one file or one
  // stretch of a file) as if its words had been added here one by one: same entries, order,
  // counts, live display and progress label. The counts go to the current file (folder runs
  // register ctx.run->strCurrentFile first). before(k) runs on reaching the k-th entry of
  // batch (0-based) and once more with k = its size at the end; null means nothing to run.
  void CountBatch(const WordTableContext& ctx, const WordBatch& batch,
                  const std::function<void(std::int64_t)>& before = nullptr);

  // Index (1-based) of the entry for word, or 0. Works in any table order. Settles counts.
  std::int64_t IndexOf(std::string_view word);

  // Writes the counts gathered while counting into lngFrequency and the per-file data of
  // the records. Cheap when nothing was counted since the last call.
  void SettleCounts();
  // Part of SettleCounts that a thread may do early while it has nothing else to do: the
  // per-file counts of entries that have come from another file since, once there are many.
  void ApplyLoggedCounts();

  // Computes every strSortKey and sorts entries 1..lngNumWords by it; equal keys by
  // strWord's code points. Ranks and links are left as they were (stale). Calls
  // host->Pump() every few thousand entries' work; host may be null. Once *stop is true
  // after a Pump(), gives up and returns false with the entries in their old order.
  bool SortWordsByKey(Host* host = nullptr, const bool* stop = nullptr);
  // Sorts entries 1..lngNumWords by strWord's code points (the order during counting).
  void SortByWord();
  // Builds lngFreqRank, lngNextInChain and lngFirstFreq over the included entries: by
  // descending frequency, equal frequencies in table order. Appends " ." to the text box
  // every 1000 links and calls host->Pump() between steps. host may be null.
  void SetUpFrequencyChain(Host* host);

  // For counters that keep their counts outside the table while reading (phrase runs):
  // registers path as the file being counted, as adding a word from it would (a new number
  // when it differs from the last file registered), and returns its number.
  std::int64_t RegisterFile(const std::string& path);
  // Appends an entry for word, which must not be in the table yet, with its occurrences per
  // file as (file number, count) pairs in order of first occurrence; its frequency is their
  // sum. Returns its index.
  std::int64_t AddEntry(std::string_view word,
                        const std::vector<std::pair<std::int64_t, std::int64_t>>& tallies);

  // Path of file number n (1..NumFilesRegistered()), as registered; "" for 0.
  const std::string& FileName(std::int64_t n) const;
  // The last file number assigned in the run (lngFileNumber).
  std::int64_t NumFilesRegistered() const { return lngFileNumber_; }

 private:
  // A slot of the hash index, one half cache line. Repeats are counted here, so counting a
  // word of at most 16 bytes touches nothing else.
  struct Slot {
    std::uint32_t index;     // entry index; 0 = empty
    std::uint32_t tag;       // high hash bits, and the byte length (at most 255) below them
    std::uint64_t prefix;    // bytes 0..7 of the word, zero-padded
    std::uint64_t prefix2;   // bytes 8..15 of the word, zero-padded
    std::uint32_t pending;   // occurrences not yet in the record, all in pendingFile
    std::uint32_t pendingFile;  // their file number; kNoFile without per-file data
  };
  static constexpr std::uint32_t kNoFile = 0xFFFFFFFF;
  // Occurrences of entry `index` in `file`, moved out of a slot when another file's came.
  struct Tally {
    std::uint32_t index;
    std::uint32_t file;
    std::uint32_t count;
  };

  void RegisterCurrentFile(const std::string& currentFile);
  // Whether word is longer than the table takes while ctx counts text.
  bool TooLong(const WordTableContext& ctx, std::string_view word) const;
  // Counts n occurrences of word (hash given; length limits already applied).
  void CountWord(const WordTableContext& ctx, std::string_view word, std::uint64_t hash,
                 std::int64_t n);
  std::int64_t StoreNewWord(std::string_view word, std::int64_t fileTag, std::uint64_t hash,
                            std::int64_t n);
  void Flush(Slot& slot);
  // SettleCounts with its log applied in up to `parts` parts.
  void Settle(int parts);
  // Writes the logged tallies into the records, each entry's in the order they came; a large
  // log in up to `parts` parts side by side.
  void ApplyTallies(int parts);
  void ShowNewWord(const WordTableContext& ctx, std::string_view word);
  void ShowProgress(const WordTableContext& ctx);
  void RebuildIndex();
  void InsertIntoIndex(std::uint32_t index, std::uint64_t hash);
  // The slot holding word (whose hash is given), or the empty slot where it belongs. The
  // index must be current.
  Slot& Probe(std::string_view word, std::uint64_t hash);

  // Backs large arrays with huge pages where the system allows: a lookup in a big table
  // touches scattered memory, and page-table walks would otherwise dominate it.
  template <typename T>
  struct HugePageAllocator {
    using value_type = T;
    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) {}
    T* allocate(std::size_t n);
    void deallocate(T* p, std::size_t n);
    bool operator==(const HugePageAllocator&) const { return true; }
  };

  std::vector<Slot, HugePageAllocator<Slot>> slots_;
  // Entries the index covers; -1 after a re-sort. Any mismatch with lngNumWords (a re-sort,
  // a table filled or emptied by hand) makes the next lookup rebuild the index.
  std::int64_t indexedWords_ = 0;
  int pumpCountdown_ = kPumpInterval;
  bool unsettled_ = false;  // some slot holds pending counts, or tallies_ is not empty
  // Per-file counts in the order their slots gave them up: counting appends here instead
  // of reaching into the records (a cache miss and often an allocation each).
  std::vector<Tally> tallies_;
  static constexpr std::size_t kLogLimit = std::size_t{1} << 20;

  std::int64_t lngFileNumber_ = 0;
  std::vector<std::string> strFileNames_;  // [0] is "" (no file yet)
  int threads_ = 1;
  static constexpr std::size_t kSplitEntries = 8192;

  WordBatch gathered_;  // words kept by AddWordLater

  std::string strWordsFoundPending_;
  std::int64_t lngLastDisplaySecond_ = -1;
};

// The key SortWordsByKey orders by: FoldAccents then LowerCaseAccented of word.
std::string MakeSortKey(const std::string& word);

// Binary search over words[1..count] (ascending, ordinal; words[0] unused). True and
// position = index when found; otherwise false and position = minus the index where key
// would be inserted (-1 before the first entry or for count 0, -(count + 1) after the last).
bool FindWord(std::string_view key, const std::vector<std::string>& words, std::int64_t count,
              std::int64_t& position);

}  // namespace talq
