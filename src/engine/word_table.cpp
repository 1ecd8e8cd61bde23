// The word table. Counting goes through an open-addressing hash index over the entries
// (the table is not kept in word order while counting); the sort by key and the frequency
// chain are built once afterwards, each in O(n log n).
#include "engine/word_table.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include <sys/mman.h>

#include "engine/engine_session.h"
#include "engine/word_hash.h"
#include "engine/words_phrases.h"
#include "host/host.h"
#include "settings/run_flags.h"
#include "settings/settings.h"
#include "util/numbers.h"
#include "util/paced_sort.h"
#include "util/split_work.h"
#include "util/text_case.h"

namespace talq {

namespace {

using word_hash::HashWord;
using word_hash::Read32;
using word_hash::Read64;
using word_hash::SameBytes;

// The slot tag: high hash bits above the byte length (capped at 255).
inline std::uint32_t Tag(std::uint64_t hash, std::size_t size) {
  return static_cast<std::uint32_t>(hash >> 32) << 8 | static_cast<std::uint32_t>(std::min<std::size_t>(size, 255));
}

// The first 8 bytes, zero-padded, in memory order.
inline std::uint64_t Prefix8(std::string_view s) {
  const char* p = s.data();
  const std::size_t n = s.size();
  if (n >= 8) return Read64(p);
  // Overlapping loads instead of a copy of n bytes: a store the load then waits for.
  if (n >= 4) return Read32(p) | Read32(p + n - 4) << (8 * (n - 4));
  if (n == 0) return 0;
  const auto byte = [p](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])}; };
  return byte(0) | byte(n >> 1) << (8 * (n >> 1)) | byte(n - 1) << (8 * (n - 1));
}

// Bytes 8..15, zero-padded, in memory order.
inline std::uint64_t Second8(std::string_view s) {
  const std::size_t n = s.size();
  if (n <= 8) return 0;
  if (n >= 16) return Read64(s.data() + 8);
  // The last 8 bytes, shifted so that byte 8 comes lowest (little-endian loads).
  return Read64(s.data() + n - 8) >> (8 * (16 - n));
}

// Number of code points in valid UTF-8 (continuation bytes are not counted).
std::size_t CodePointCount(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// The first 8 bytes, big-endian and zero-padded: comparing these as numbers orders like
// comparing the strings' first 8 bytes, so most comparisons in a sort never touch the heap.
std::uint64_t Prefix(const std::string& s) {
  std::uint64_t v = 0;
  const std::size_t n = std::min<std::size_t>(s.size(), 8);
  for (std::size_t i = 0; i < n; ++i) {
    v |= std::uint64_t{static_cast<unsigned char>(s[i])} << (56 - 8 * i);
  }
  return v;
}

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr int kMadvCollapse = 25;  // not yet named by every C library

// Asks for huge pages on the whole 2 MiB pages inside [p, p + bytes); populated says the
// memory is already written, and is then collapsed at once instead of on later faults.
void AdviseHugePages(void* p, std::size_t bytes, bool populated) {
  const auto begin = (reinterpret_cast<std::uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(kHugePage - 1);
  if (end <= begin) return;
  // Advice only: where huge pages are unavailable the memory works as before.
  (void)madvise(reinterpret_cast<void*>(begin), end - begin, populated ? kMadvCollapse : MADV_HUGEPAGE);
}

// Grows v (doubling) before it is full, advising huge pages for the new block.
void GrowWithHugePages(std::vector<WordRecord>& v) {
  if (v.size() < v.capacity()) return;
  v.reserve(std::max<std::size_t>(1024, v.capacity() * 2));
  const std::size_t used = v.size() * sizeof(WordRecord);
  if (v.capacity() * sizeof(WordRecord) < 2 * kHugePage) return;
  AdviseHugePages(v.data(), used, true);
  AdviseHugePages(reinterpret_cast<char*>(v.data()) + used,
                  (v.capacity() - v.size()) * sizeof(WordRecord), false);
}

// Whether counts under ctx are kept per file of a folder run, each file registered first.
bool KeepsFolderFiles(const WordTableContext& ctx) {
  return ctx.countingText && ctx.settings != nullptr &&
         ctx.settings->source == Source::optFolder && ctx.run != nullptr;
}

// Long passes over the table let a window handle its events every this many entries + 1.
constexpr std::size_t kPumpMask = 0x3FFF;

// Settling fewer tallies than this stays on one thread: starting another would cost more
// than it saves (PartsFor does the same for entries).
constexpr std::size_t kSplitTallies = 16384;

struct SortItem {
  std::uint64_t prefix;
  std::uint32_t index;
};

}  // namespace

std::string MakeSortKey(const std::string& word) {
  bool ascii = true;
  for (char c : word) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (!ascii) return LowerCaseAccented(FoldAccents(word));
  // Folding leaves ASCII alone; lower-casing it is the plain A-Z mapping.
  std::string key = word;
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

// ---- WordRecord ----

static_assert(sizeof(WordRecord) == 128, "a record should stay two cache lines");

std::int64_t WordRecord::NumFiles() const {
  if (firstFile_.second == 0) return 0;
  return 1 + (moreFiles_.list ? static_cast<std::int64_t>(moreFiles_.list->size()) : 0);
}

std::int64_t WordRecord::FileNumber(std::int64_t i) const {
  return i == 0 ? firstFile_.first : moreFiles_.list->at(static_cast<std::size_t>(i - 1)).first;
}

std::int64_t WordRecord::FileCount(std::int64_t i) const {
  return i == 0 ? firstFile_.second : moreFiles_.list->at(static_cast<std::size_t>(i - 1)).second;
}

void WordRecord::CountInFile(std::int64_t fileNumber, std::int64_t n) {
  if (firstFile_.second == 0) {
    firstFile_ = {fileNumber, n};
    return;
  }
  std::vector<FileTally>* more = moreFiles_.list.get();
  FileTally& last = more == nullptr || more->empty() ? firstFile_ : more->back();
  if (last.first == fileNumber) {
    last.second += n;
    return;
  }
  if (more == nullptr) {
    moreFiles_.list = std::make_unique<std::vector<FileTally>>();
    more = moreFiles_.list.get();
  }
  more->emplace_back(fileNumber, n);
}

void WordRecord::ReserveFiles(std::int64_t files) {
  const std::int64_t inline1 = firstFile_.second == 0 ? 1 : 0;
  if (files <= inline1) return;
  if (!moreFiles_.list) moreFiles_.list = std::make_unique<std::vector<FileTally>>();
  moreFiles_.list->reserve(moreFiles_.list->size() + static_cast<std::size_t>(files - inline1));
}

// ---- WordTable ----

template <typename T>
T* WordTable::HugePageAllocator<T>::allocate(std::size_t n) {
  const std::size_t bytes = n * sizeof(T);
  if (bytes < 2 * kHugePage) return static_cast<T*>(::operator new(bytes));
  void* p = std::aligned_alloc(kHugePage, (bytes + kHugePage - 1) & ~(kHugePage - 1));
  if (p == nullptr) throw std::bad_alloc();
  AdviseHugePages(p, bytes, false);
  return static_cast<T*>(p);
}

template <typename T>
void WordTable::HugePageAllocator<T>::deallocate(T* p, std::size_t n) {
  if (n * sizeof(T) < 2 * kHugePage) {
    ::operator delete(p);
  } else {
    std::free(p);
  }
}

template struct WordTable::HugePageAllocator<WordTable::Slot>;

WordTableContext CountingContext(EngineSession& session) {
  const bool gathering = session.extraction.blnGatherWords;
  return WordTableContext{gathering ? nullptr : &session.host, &session.settings, &session.run,
                          !session.run.blnReadingWords};
}

WordTable::WordTable() { Clear(); }

void WordTable::Clear() {
  udtWords.clear();
  udtWords.emplace_back();
  lngNumWords = 0;
  lngFirstFreq = 0;
  lngMaxFrequency = 0;
  lngNumWordsIncluded = 0;
  slots_.assign(1024, Slot{});
  indexedWords_ = 0;
  pumpCountdown_ = kPumpInterval;
  unsettled_ = false;
  lngFileNumber_ = 0;
  strFileNames_.assign(1, std::string());
  strWordsFoundPending_.clear();
  lngLastDisplaySecond_ = -1;
  gathered_.Clear();
  tallies_.clear();
}

const std::string& WordTable::FileName(std::int64_t n) const {
  return strFileNames_.at(static_cast<std::size_t>(n));
}

void WordTable::RegisterCurrentFile(const std::string& currentFile) {
  // Paths are compared exactly: names differing in case are different files here.
  if (currentFile == strFileNames_[static_cast<std::size_t>(lngFileNumber_)]) return;
  ++lngFileNumber_;
  strFileNames_.push_back(currentFile);
}

void WordTable::InsertIntoIndex(std::uint32_t index, std::uint64_t hash) {
  const std::string& word = udtWords[index].strWord;
  const std::size_t mask = slots_.size() - 1;
  std::size_t pos = static_cast<std::size_t>(hash) & mask;
  while (slots_[pos].index != 0) pos = (pos + 1) & mask;
  slots_[pos] = Slot{index, Tag(hash, word.size()), Prefix8(word), Second8(word), 0, kNoFile};
}

void WordTable::Flush(Slot& slot) {
  if (slot.pending == 0) return;
  if (slot.pendingFile == kNoFile) {
    udtWords[slot.index].lngFrequency += slot.pending;
  } else {
    tallies_.push_back(Tally{slot.index, slot.pendingFile, slot.pending});
    // The log stays small beside the per-file data it feeds: a run over very many files
    // settles it in batches.
    if (tallies_.size() >= kLogLimit) ApplyTallies(1);
  }
  slot.pending = 0;
}

void WordTable::ApplyTallies(int parts) {
  // A table emptied by hand drops what its lost entries still had pending.
  const std::size_t limit = std::min<std::size_t>(udtWords.size(), std::size_t(lngNumWords) + 1);
  const auto apply = [this](const Tally& t) {
    WordRecord& rec = udtWords[t.index];
    rec.lngFrequency += t.count;
    rec.CountInFile(t.file, t.count);
  };
  if (tallies_.size() < 4096) {
    for (const Tally& t : tallies_)
      if (t.index < limit) apply(t);
    tallies_.clear();
    return;
  }
  // Sorted by entry (a stable counting sort keeps each entry's files in order), the records
  // are visited once each, in memory order, and each list is allocated once.
  std::vector<std::uint32_t> first(limit + 1, 0);
  for (const Tally& t : tallies_)
    if (t.index < limit) ++first[t.index + 1];
  for (std::size_t i = 1; i <= limit; ++i) first[i] += first[i - 1];
  std::vector<Tally> sorted(first[limit]);
  {
    std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
    for (const Tally& t : tallies_)
      if (t.index < limit) sorted[next[t.index]++] = t;
  }
  tallies_.clear();
  const auto applyEntries = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (first[i] == first[i + 1]) continue;
      udtWords[i].ReserveFiles(first[i + 1] - first[i]);
      for (std::uint32_t k = first[i]; k < first[i + 1]; ++k) apply(sorted[k]);
    }
  };
  if (parts < 2 || sorted.size() < kSplitTallies) {
    applyEntries(1, limit);
    return;
  }
  // Each part takes the entries of about as many tallies; an entry's stay in one part.
  std::vector<std::size_t> bounds{1};
  for (int k = 1; k < parts; ++k) {
    const auto target = static_cast<std::uint32_t>(PartRange(sorted.size(), k, parts).first);
    const std::size_t at = static_cast<std::size_t>(
        std::lower_bound(first.begin() + 1, first.begin() + static_cast<std::ptrdiff_t>(limit),
                         target) -
        first.begin());
    bounds.push_back(std::max(bounds.back(), at));
  }
  bounds.push_back(limit);
  InParts(parts, [&](int k) {
    applyEntries(bounds[static_cast<std::size_t>(k)], bounds[static_cast<std::size_t>(k) + 1]);
  });
}

void WordTable::ApplyLoggedCounts() {
  if (tallies_.size() >= kLogLimit / 16) ApplyTallies(1);
}

void WordTable::SettleCounts() { Settle(threads_); }

void WordTable::Settle(int parts) {
  if (!unsettled_) return;
  unsettled_ = false;
  const std::size_t limit = std::min<std::size_t>(udtWords.size(), std::size_t(lngNumWords) + 1);
  for (Slot& slot : slots_) {
    if (slot.index == 0 || slot.pending == 0) continue;
    if (slot.index < limit) {
      Flush(slot);
    } else {
      slot.pending = 0;
    }
  }
  ApplyTallies(parts);
}

void WordTable::RebuildIndex() {
  Settle(1);  // while reading, other threads have the other cores
  if (udtWords.size() < static_cast<std::size_t>(lngNumWords) + 1) {
    udtWords.resize(static_cast<std::size_t>(lngNumWords) + 1);
  }
  std::size_t size = 1024;
  while (size < static_cast<std::size_t>(lngNumWords) * 2 + 2) size *= 2;
  slots_.assign(size, Slot{});
  for (std::int64_t i = 1; i <= lngNumWords; ++i) {
    InsertIntoIndex(static_cast<std::uint32_t>(i), HashWord(udtWords[i].strWord));
  }
  indexedWords_ = lngNumWords;
}

inline WordTable::Slot& WordTable::Probe(std::string_view word, std::uint64_t hash) {
  const std::uint32_t tag = Tag(hash, word.size());
  const std::uint64_t prefix = Prefix8(word);
  const std::uint64_t prefix2 = Second8(word);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t pos = static_cast<std::size_t>(hash) & mask;; pos = (pos + 1) & mask) {
    Slot& slot = slots_[pos];
    if (slot.index == 0) return slot;
    // Words of up to 16 bytes are told apart by length and prefixes alone.
    if (slot.tag == tag && slot.prefix == prefix && slot.prefix2 == prefix2 &&
        (word.size() <= 16 || SameBytes(udtWords[slot.index].strWord, word)))
      return slot;
  }
}

std::int64_t WordTable::RegisterFile(const std::string& path) {
  RegisterCurrentFile(path);
  return lngFileNumber_;
}

std::int64_t WordTable::AddEntry(std::string_view word,
                                 const std::vector<std::pair<std::int64_t, std::int64_t>>& tallies) {
  // The entry is known to be new, so the index is not kept up (millions of phrase entries
  // arrive at once); the next lookup rebuilds it.
  SettleCounts();
  if (lngNumWords >= 0xFFFFFFFFll) throw std::length_error("word table full");
  if (udtWords.size() != static_cast<std::size_t>(lngNumWords) + 1) {
    udtWords.resize(static_cast<std::size_t>(lngNumWords) + 1);
  }
  const std::int64_t index = ++lngNumWords;
  indexedWords_ = -1;
  GrowWithHugePages(udtWords);
  WordRecord& rec = udtWords.emplace_back();
  rec.strWord.assign(word);
  for (const auto& [file, count] : tallies) {
    if (count <= 0) continue;
    rec.CountInFile(file, count);
    rec.lngFrequency += count;
  }
  return index;
}

std::int64_t WordTable::IndexOf(std::string_view word) {
  if (indexedWords_ != lngNumWords) RebuildIndex();
  SettleCounts();
  return Probe(word, HashWord(word)).index;
}

std::int64_t WordTable::StoreNewWord(std::string_view word, std::int64_t fileTag,
                                     std::uint64_t hash, std::int64_t n) {
  if (lngNumWords >= 0xFFFFFFFFll) throw std::length_error("word table full");
  // Tolerates a table whose count was reset without Clear(): entries past it are dropped.
  if (udtWords.size() != static_cast<std::size_t>(lngNumWords) + 1) {
    udtWords.resize(static_cast<std::size_t>(lngNumWords) + 1);
  }
  ++lngNumWords;
  GrowWithHugePages(udtWords);
  WordRecord& rec = udtWords.emplace_back();
  rec.strWord.assign(word);
  rec.lngFrequency = n;
  if (fileTag >= 0) rec.CountInFile(fileTag, n);
  // Keep the load at most one half, so that misses stay short.
  if (static_cast<std::size_t>(lngNumWords) * 2 > slots_.size()) {
    RebuildIndex();
  } else {
    InsertIntoIndex(static_cast<std::uint32_t>(lngNumWords), hash);
    ++indexedWords_;
  }
  return lngNumWords;
}

void WordTable::AddWordToList(const WordTableContext& ctx, std::string_view word) {
  if (TooLong(ctx, word)) return;
  if (KeepsFolderFiles(ctx)) RegisterCurrentFile(ctx.run->strCurrentFile);
  CountWord(ctx, word, HashWord(word), 1);
}

void WordTable::AddWordLater(const WordTableContext& ctx, std::string_view word) {
  // Too long a word is left out now, so that the batch holds as many entries as this table
  // would.
  if (!TooLong(ctx, word)) gathered_.Add(word);
}

bool WordTable::TooLong(const WordTableContext& ctx, std::string_view word) const {
  // Byte length bounds the character count, so most words skip the count.
  const std::size_t limit = static_cast<std::size_t>(intMaxPermittedWordLength);
  if (word.size() <= limit || !ctx.countingText) return false;
  const RunFlags* run = ctx.run;
  if (run != nullptr && run->blnThereAreCountOnlyWords && run->blnCountOnlyWordsIncludePhrase)
    return false;
  return CodePointCount(word) > limit;
}

void WordTable::CountBatch(const WordTableContext& ctx, const WordBatch& batch,
                           const std::function<void(std::int64_t)>& before) {
  const std::vector<WordBatch::Entry>& entries = batch.Entries();
  if (indexedWords_ != lngNumWords) RebuildIndex();
  // The file is registered with the first word counted: the batch is all from one file.
  bool registerFile = KeepsFolderFiles(ctx);
  // Each word's slot is fetched well ahead: a cache miss otherwise.
  constexpr std::size_t kSlotAhead = 16;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    if (before) before(static_cast<std::int64_t>(k));
    if (k + kSlotAhead < entries.size())
      __builtin_prefetch(&slots_[static_cast<std::size_t>(entries[k + kSlotAhead].hash) &
                                 (slots_.size() - 1)]);
    const WordBatch::Entry& e = entries[k];
    const std::string_view word = batch.Word(e);
    if (TooLong(ctx, word)) continue;
    if (registerFile) {
      RegisterCurrentFile(ctx.run->strCurrentFile);
      registerFile = false;
    }
    CountWord(ctx, word, e.hash, e.count);
  }
  if (before) before(static_cast<std::int64_t>(entries.size()));
}

void WordTable::CountWord(const WordTableContext& ctx, std::string_view word, std::uint64_t hash,
                          std::int64_t n) {
  if (indexedWords_ != lngNumWords) RebuildIndex();
  const std::int64_t fileTag = ctx.countingText ? lngFileNumber_ : -1;
  if (Slot& slot = Probe(word, hash); slot.index != 0) {
    const std::uint32_t file = fileTag < 0 ? kNoFile : static_cast<std::uint32_t>(fileTag);
    // What the slot's 32-bit fields cannot hold goes straight to the record.
    const bool direct = fileTag >= std::int64_t{kNoFile} || n > std::int64_t{0xFFFFFFFF};
    if (slot.pendingFile != file || direct || n > std::int64_t{0xFFFFFFFF - slot.pending}) {
      Flush(slot);
      slot.pendingFile = file;
    }
    if (direct) {
      ApplyTallies(1);  // the entry's earlier files come first
      WordRecord& rec = udtWords[slot.index];
      rec.lngFrequency += n;
      if (fileTag >= 0) rec.CountInFile(fileTag, n);
    } else {
      slot.pending += static_cast<std::uint32_t>(n);
      unsettled_ = true;
    }
    if (--pumpCountdown_ == 0) {
      pumpCountdown_ = kPumpInterval;
      if (ctx.host != nullptr) ctx.host->Pump();
    }
    return;
  }

  const bool first = lngNumWords == 0;
  StoreNewWord(word, fileTag, hash, n);
  if (ctx.host == nullptr) return;
  if (!first) ShowNewWord(ctx, word);
  ShowProgress(ctx);
}

void WordTable::ShowNewWord(const WordTableContext& ctx, std::string_view word) {
  if (ctx.settings == nullptr || ctx.settings->chkSuppressWords != 0 || ctx.run == nullptr) return;
  const std::int64_t second = ctx.run->lngSecondsElapsed;
  if (second == lngLastDisplaySecond_) {
    strWordsFoundPending_.append(word);
    strWordsFoundPending_.append(", ");
    return;
  }
  // Once a second the words gathered so far are shown; the word that triggers it is not.
  ctx.host->TxbAppend(strWordsFoundPending_);
  strWordsFoundPending_.clear();
  lngLastDisplaySecond_ = second;
  if (ctx.host->TxbLength() > 65000) ctx.host->TxbClear();
}

void WordTable::ShowProgress(const WordTableContext& ctx) {
  static const std::string kLabel = "lblNumberOfWords";
  const RunFlags* run = ctx.run;
  const bool countOnly = run != nullptr && run->blnThereAreCountOnlyWords;
  const bool mfp = run != nullptr && run->blnCountingMFP;
  std::string text;
  if (!ctx.countingText) {
    if (lngNumWords % 10 == 0) text = "Number of words read so far: " + FormatCount(lngNumWords);
  } else if (!mfp) {
    if (lngNumWords == 1 && countOnly) {
      text = run->blnCountOnlyWordsIncludePhrase ? "One word or phrase found so far."
                                                 : "One word found so far.";
    } else if (countOnly || lngNumWords % (lngNumWords / 100 + 10) == 0) {
      text = "Number of different " + WordsPhrases(*run) + " found so far: " +
             FormatCount(lngNumWords);
    }
  }
  if (text.empty()) return;
  ctx.host->SetLabel(kLabel, text);
  ctx.host->SetLabelVisible(kLabel, true);
}

// Rebuilds records[1..] in the order of items; records[0] stays the placeholder.
static void Reorder(std::vector<WordRecord>& records, const std::vector<SortItem>& items,
                    Host* host, int parts) {
  const std::size_t n = items.size();
  std::vector<WordRecord> sorted;
  sorted.reserve(n + 1);
  AdviseHugePages(sorted.data(), (n + 1) * sizeof(WordRecord), false);
  if (parts > 1) {
    sorted.resize(n + 1);
    InParts(parts, [&](int k) {
      const auto [from, to] = PartRange(n, k, parts);
      for (std::size_t i = from; i < to; ++i) {
        sorted[i + 1] = std::move(records[items[i].index]);
        if (k == 0 && host != nullptr && (i & kPumpMask) == 0) host->Pump();
      }
    });
    records = std::move(sorted);
    return;
  }
  sorted.emplace_back();
  for (const SortItem& item : items) {
    sorted.push_back(std::move(records[item.index]));
    if (host != nullptr && (sorted.size() & kPumpMask) == 0) host->Pump();
  }
  records = std::move(sorted);
}

bool WordTable::SortWordsByKey(Host* host, const bool* stop) {
  SettleCounts();
  const std::size_t n = static_cast<std::size_t>(lngNumWords);
  // A sort that may be stopped stays on this thread, which checks the stop between steps.
  const int parts = stop == nullptr ? PartsFor(n) : 1;
  std::vector<SortItem> items;
  const auto keyOf = [this](std::size_t i) {
    WordRecord& rec = udtWords[i];
    rec.strSortKey = MakeSortKey(rec.strWord);
    return SortItem{Prefix(rec.strSortKey), static_cast<std::uint32_t>(i)};
  };
  if (parts > 1) {
    items.resize(n);
    InParts(parts, [&](int k) {
      const auto [from, to] = PartRange(n, k, parts);
      for (std::size_t i = from; i < to; ++i) {
        items[i] = keyOf(i + 1);
        if (k == 0 && host != nullptr && (i & kPumpMask) == 0) host->Pump();
      }
    });
  } else {
    items.reserve(n);  // written as it fills: zeroing it first would be a long step of its own
    for (std::size_t i = 1; i <= n; ++i) {
      items.push_back(keyOf(i));
      if (host != nullptr && (i & kPumpMask) == 0) host->Pump();
    }
  }
  // Keys and then words differ between any two entries: the order is total.
  const auto before = [this](const SortItem& a, const SortItem& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    const WordRecord& ra = udtWords[a.index];
    const WordRecord& rb = udtWords[b.index];
    if (const int c = ra.strSortKey.compare(rb.strSortKey); c != 0) return c < 0;
    return ra.strWord < rb.strWord;
  };
  // A phrase run hands its entries over in this order already: a check in one pass spares
  // the sort and a second copy of the whole table.
  bool inOrder = true;
  for (std::size_t i = 1; i < n && inOrder; ++i) {
    inOrder = !before(items[i], items[i - 1]);
    if (host != nullptr && (i & kPumpMask) == 0) host->Pump();
  }
  if (inOrder) return true;
  if (parts > 1) {
    SortInParts(items, before, parts);
  } else if (!PacedSort(items, before, [host, stop] {
               if (host != nullptr) host->Pump();
               return stop == nullptr || !*stop;
             })) {
    return false;
  }
  Reorder(udtWords, items, host, parts);
  indexedWords_ = -1;
  return true;
}

void WordTable::SortByWord() {
  SettleCounts();
  const std::size_t n = static_cast<std::size_t>(lngNumWords);
  std::vector<SortItem> items(n);
  for (std::size_t i = 1; i <= n; ++i) {
    items[i - 1] = SortItem{Prefix(udtWords[i].strWord), static_cast<std::uint32_t>(i)};
  }
  std::sort(items.begin(), items.end(), [this](const SortItem& a, const SortItem& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return udtWords[a.index].strWord < udtWords[b.index].strWord;
  });
  Reorder(udtWords, items, nullptr, 1);
  indexedWords_ = -1;
}

void WordTable::SetUpFrequencyChain(Host* host) {
  SettleCounts();
  lngFirstFreq = 0;
  struct ChainItem {
    std::int64_t frequency;
    std::uint32_t index;
  };
  std::vector<ChainItem> chain;
  chain.reserve(static_cast<std::size_t>(std::max<std::int64_t>(lngNumWords, 0)));
  for (std::int64_t i = 1; i <= lngNumWords; ++i) {
    WordRecord& rec = udtWords[i];
    rec.lngFreqRank = 0;
    rec.lngNextInChain = 0;
    if (rec.blnIncluded) chain.push_back(ChainItem{rec.lngFrequency, static_cast<std::uint32_t>(i)});
    if (host != nullptr && (i & kPumpMask) == 0) host->Pump();
  }
  // Descending frequency; equal frequencies keep table order (indices ascend).
  const auto byFrequency = [](const ChainItem& a, const ChainItem& b) {
    return a.frequency != b.frequency ? a.frequency > b.frequency : a.index < b.index;
  };
  if (const int parts = PartsFor(chain.size()); parts > 1) {
    SortInParts(chain, byFrequency, parts);
  } else {
    PacedSort(chain, byFrequency, [host] {
      if (host != nullptr) host->Pump();
      return true;
    });
  }
  if (host != nullptr) host->Pump();
  if (chain.empty()) return;
  lngFirstFreq = chain.front().index;
  for (std::size_t r = 0; r < chain.size(); ++r) {
    WordRecord& rec = udtWords[chain[r].index];
    rec.lngFreqRank = static_cast<std::int64_t>(r + 1);
    if (r + 1 == chain.size()) break;
    rec.lngNextInChain = chain[r + 1].index;
    // Link r + 1 is made; a progress mark every 1000 links.
    if (host != nullptr && (r + 1) % 1000 == 0) {
      host->TxbAppend(" .");
      host->Pump();
    }
  }
}

bool FindWord(std::string_view key, const std::vector<std::string>& words, std::int64_t count,
              std::int64_t& position) {
  // A count past the array's end would read beyond it.
  count = std::min<std::int64_t>(count, static_cast<std::int64_t>(words.size()) - 1);
  if (count <= 0) {
    position = -1;
    return false;
  }
  const auto begin = words.begin() + 1;
  const auto end = begin + count;
  const auto it = std::lower_bound(begin, end, key,
                                   [](const std::string& w, std::string_view k) { return w < k; });
  const std::int64_t index = (it - begin) + 1;
  if (it != end && *it == key) {
    position = index;
    return true;
  }
  position = -index;
  return false;
}

}  // namespace talq
