#include "engine/phrase_count.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/engine_session.h"
#include "engine/extraction.h"
#include "engine/list_lookup.h"
#include "engine/word_table.h"
#include "host/host.h"
#include "util/hash.h"
#include "util/huge_pages.h"
#include "util/id_index.h"
#include "util/paced_sort.h"
#include "util/paths.h"

namespace talq {

namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFFu;  // in the text: no phrase spans this point
constexpr std::size_t kDisplayLimit = 65000;  // the text box is cleared past this length

}  // namespace

struct PhraseCounter::Impl {
  // Run configuration.
  int minWords = 1;
  int maxWords = 1;
  bool countSingles = false;  // a minimum length of 1
  bool singlesAllowIgnored = false;
  bool wordsToIgnore = false;
  WordsToIgnoreHandling handling = WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore;
  bool strip = false;
  bool folder = false;

  // Words: text, whether each is a word to ignore.
  std::vector<std::string> words;
  std::vector<std::uint8_t> wordIgnored;
  IdIndex wordIndex;

  // The counted text as word ids, kEnd where a terminator ends every phrase.
  std::vector<std::uint32_t> text;

  // The window: whether each of the last words is a word to ignore.
  int inWindow = 0;
  std::array<std::uint8_t, 32> ignoredBack{};  // [k]: the word k places back is ignored

  // Per-file data of a folder run: the file of each stretch of text, from its first position.
  std::string currentPath;
  bool fileRegistered = false;
  std::vector<std::pair<std::size_t, std::uint32_t>> fileStarts;

  // Gathering into the table.
  std::int64_t distinct = 0;
  std::int64_t minFrequency = 0;
  std::int64_t left = 0;
  std::int64_t visits = 0;
  bool stopped = false;
  std::vector<std::vector<std::uint64_t>> scratch;  // per phrase length: (next word, position)
  std::vector<std::pair<std::int64_t, std::int64_t>> tallies;
  std::vector<std::uint32_t> files;
  // The phrases that reach the minimum frequency, in the order they become table entries;
  // their per-file counts (folder runs) end to end.
  struct Kept {
    std::uint32_t position;
    std::uint32_t length;
    std::uint32_t occurrences;
    std::uint32_t talliesEnd;
  };
  std::deque<Kept> kept;  // grows without copying what it holds
  std::vector<std::pair<std::int64_t, std::int64_t>> keptTallies;
  std::string phraseText;

  // Live display of new phrases.
  std::string pending;
  std::int64_t lastDisplaySecond = -1;

  std::uint32_t Intern(EngineSession& session, std::string_view word);
  bool AnyCountedEndsHere(int available) const;
  bool Counted(int length, bool allIgnored, bool anyIgnored) const;
  void ShowNew(EngineSession& session, std::size_t position, int length);
  void NumberWordsInSortOrder(Host& host);
  void Text(std::size_t position, int length, std::string& out) const;
  void Visit(EngineSession& session, const std::uint64_t* items, std::size_t n, int length,
             bool allIgnored, bool anyIgnored);
  void Keep(const std::uint64_t* items, std::size_t n, int length);
  void AddKeptToTable(EngineSession& session);
};

std::uint32_t PhraseCounter::Impl::Intern(EngineSession& session, std::string_view word) {
  const std::uint64_t h = HashBytes(word);
  std::size_t pos = 0;
  const std::uint32_t found = wordIndex.Find(h, [&](std::uint32_t id) { return words[id] == word; }, pos);
  if (found != IdIndex::kMissing) return found;
  if (words.size() >= kEnd - 1) throw std::length_error("too many distinct words");
  words.emplace_back(word);
  // The same test the phrase slots apply, once per distinct word.
  wordIgnored.push_back(Lists(session).AllWordsToIgnore(session, word) ? 1 : 0);
  return wordIndex.Add(h, pos);
}

bool PhraseCounter::Impl::Counted(int length, bool allIgnored, bool anyIgnored) const {
  if (length == 1) return countSingles && (singlesAllowIgnored || !allIgnored);
  if (length < minWords) return false;
  if (!wordsToIgnore || strip) return true;
  if (handling == WordsToIgnoreHandling::optExcludePhrasesWithWordToIgnore) return !anyIgnored;
  if (handling == WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore) return !allIgnored;
  return true;
}

// Whether the newest word ends a phrase that is counted: the file it came from is then one
// the run registers.
bool PhraseCounter::Impl::AnyCountedEndsHere(int available) const {
  bool allIgnored = ignoredBack[0] != 0;
  bool anyIgnored = allIgnored;
  if (Counted(1, allIgnored, anyIgnored)) return true;
  for (int k = 2; k <= available; ++k) {
    allIgnored = allIgnored && ignoredBack[k - 1] != 0;
    anyIgnored = anyIgnored || ignoredBack[k - 1] != 0;
    if (Counted(k, allIgnored, anyIgnored)) return true;
  }
  return false;
}

void PhraseCounter::Impl::Text(std::size_t position, int length, std::string& out) const {
  out.clear();
  for (int k = 0; k < length; ++k) {
    if (k > 0) out += ' ';
    out += words[text[position + static_cast<std::size_t>(k)]];
  }
}

// Word ids are renumbered in the order of the table's sort key (then the word), so that
// the phrases, visited word by word in id order, reach the table already sorted whenever
// no two words share a key (otherwise the table sorts them itself).
void PhraseCounter::Impl::NumberWordsInSortOrder(Host& host) {
  std::vector<std::string> keys;
  keys.reserve(words.size());
  for (const std::string& w : words) {
    if ((keys.size() & 0x3FFF) == 0x3FFF) host.Pump();
    keys.push_back(MakeSortKey(w));
  }
  std::vector<std::uint32_t> order(words.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  PacedSort(order, [&](std::uint32_t a, std::uint32_t b) {
    if (const int c = keys[a].compare(keys[b]); c != 0) return c < 0;
    return words[a] < words[b];
  }, [&host] {
    host.Pump();
    return true;
  }, 1u << 12);  // comparisons of keys far apart in memory: short steps
  std::vector<std::uint32_t> newId(words.size());
  std::vector<std::string> sortedWords(words.size());
  std::vector<std::uint8_t> sortedIgnored(words.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) {
    newId[order[i]] = i;
    sortedWords[i] = std::move(words[order[i]]);
    sortedIgnored[i] = wordIgnored[order[i]];
  }
  words = std::move(sortedWords);
  wordIgnored = std::move(sortedIgnored);
  for (std::size_t p = 0; p < text.size(); ++p) {
    if ((p & 0x3FFF) == 0) host.Pump();
    if (text[p] != kEnd) text[p] = newId[text[p]];
  }
}

void PhraseCounter::Impl::ShowNew(EngineSession& session, std::size_t position, int length) {
  // As the word table shows new words: gathered, and written once a second; the phrase that
  // triggers the writing and the very first one are not shown.
  if (session.settings.chkSuppressWords != 0 || distinct == 1) return;
  const std::int64_t second = session.run.lngSecondsElapsed;
  if (second == lastDisplaySecond) {
    // Text past the box's limit is cleared as soon as it is written: no need to build it.
    if (pending.size() <= kDisplayLimit) {
      Text(position, length, phraseText);
      pending += phraseText;
      pending += ", ";
    }
    return;
  }
  session.host.TxbAppend(pending);
  pending.clear();
  lastDisplaySecond = second;
  if (session.host.TxbLength() > kDisplayLimit) session.host.TxbClear();
}

// A phrase that reaches the minimum frequency is noted, with its count per file, to become a
// table entry once all are known.
void PhraseCounter::Impl::Keep(const std::uint64_t* items, std::size_t n, int length) {
  if (folder) {
    tallies.clear();
    files.clear();
    for (std::size_t i = 0; i < n; ++i) {
      // The occurrence belongs to the file of its last word.
      const std::size_t last = static_cast<std::uint32_t>(items[i]) + static_cast<std::size_t>(length) - 1;
      auto it = std::upper_bound(fileStarts.begin(), fileStarts.end(), last,
                                 [](std::size_t p, const auto& f) { return p < f.first; });
      files.push_back(it == fileStarts.begin() ? 0 : std::prev(it)->second);
    }
    std::sort(files.begin(), files.end());  // files are numbered in the order they are read
    for (std::size_t i = 0; i < files.size();) {
      std::size_t j = i;
      while (j < files.size() && files[j] == files[i]) ++j;
      keptTallies.emplace_back(files[i], static_cast<std::int64_t>(j - i));
      i = j;
    }
  }
  kept.push_back(Kept{static_cast<std::uint32_t>(items[0]), static_cast<std::uint32_t>(length),
                      static_cast<std::uint32_t>(n), static_cast<std::uint32_t>(keptTallies.size())});
}

// The table is given room for all kept phrases at once: grown by doubling, its largest
// step would hold the old and the new array together.
void PhraseCounter::Impl::AddKeptToTable(EngineSession& session) {
  std::vector<WordRecord>& records = session.words.udtWords;
  const std::size_t needed = static_cast<std::size_t>(session.words.lngNumWords) + 1 + kept.size();
  if (records.capacity() < needed && records.size() <= 1) {
    std::vector<WordRecord> room;
    ReserveHugePages(room, needed);
    room.resize(records.size());
    records.swap(room);
  }
  std::size_t talliesBegin = 0;
  for (std::size_t k = 0; k < kept.size(); ++k) {
    if ((k & 0xFFF) == 0xFFF) {
      session.host.Pump();
      if (session.run.blnStop) break;
    }
    const Kept& e = kept[k];
    tallies.clear();
    if (folder) {
      tallies.assign(keptTallies.begin() + static_cast<std::ptrdiff_t>(talliesBegin),
                     keptTallies.begin() + static_cast<std::ptrdiff_t>(e.talliesEnd));
      talliesBegin = e.talliesEnd;
    } else {
      tallies.emplace_back(0, static_cast<std::int64_t>(e.occurrences));
    }
    Text(e.position, static_cast<int>(e.length), phraseText);
    session.words.AddEntry(phraseText, tallies);
  }
}

// items: the positions (low 32 bits) where one phrase of the given length occurs, ascending.
// The phrase is counted and kept or left out; then its occurrences that go on are grouped by
// their next word, each group being one phrase a word longer.
void PhraseCounter::Impl::Visit(EngineSession& session, const std::uint64_t* items, std::size_t n,
                                int length, bool allIgnored, bool anyIgnored) {
  if (stopped) return;
  // Paced by occurrences handled, not phrases: the phrases of common words have many.
  visits += static_cast<std::int64_t>(n) + 16;
  if (visits >= 1 << 16) {
    visits = 0;
    session.host.Pump();
    if (session.run.blnStop) {
      stopped = true;
      return;
    }
  }
  const std::size_t first = static_cast<std::uint32_t>(items[0]);
  if (Counted(length, allIgnored, anyIgnored)) {
    ++distinct;
    ShowNew(session, first, length);
    if (static_cast<std::int64_t>(n) >= minFrequency)
      Keep(items, n, length);
    else
      ++left;
  }
  if (length == maxWords) return;
  std::vector<std::uint64_t>& next = scratch[static_cast<std::size_t>(length)];
  next.clear();
  next.reserve(n);  // not doubled and copied while it fills
  for (std::size_t i = 0; i < n; ++i) {
    if ((i & 0x3FFF) == 0x3FFF) session.host.Pump();
    const std::size_t p = static_cast<std::uint32_t>(items[i]) + static_cast<std::size_t>(length);
    if (p < text.size() && text[p] != kEnd) next.push_back((std::uint64_t{text[p]} << 32) | (p - length));
  }
  // The words after a common word are many: the window is served while they are sorted.
  if (next.size() > 1) PacedSort(next, std::less<>(), [&session] {
    session.host.Pump();
    return true;  // a stop is taken at the next phrase
  });
  for (std::size_t i = 0; i < next.size() && !stopped;) {
    std::size_t j = i + 1;
    while (j < next.size() && (next[j] >> 32) == (next[i] >> 32)) ++j;
    const bool ignored = wordIgnored[next[i] >> 32] != 0;
    Visit(session, &next[i], j - i, length + 1, allIgnored && ignored, anyIgnored || ignored);
    i = j;
  }
}

PhraseCounter::PhraseCounter(EngineSession& session) : impl_(std::make_unique<Impl>()) {
  Impl& m = *impl_;
  const ExtractionState& x = session.extraction;
  m.minWords = std::max(1, x.intMinNumWordsInPhrase);
  m.maxWords = std::clamp(x.intMaxNumWordsInPhrase, 1, 25);
  m.countSingles = m.minWords == 1;
  m.wordsToIgnore = session.run.blnThereAreWordsToIgnore;
  m.handling = session.settings.wordsToIgnoreHandling;
  m.strip = x.blnStripPhrases;
  m.singlesAllowIgnored =
      m.wordsToIgnore && m.handling == WordsToIgnoreHandling::optAllowPhrasesAllWordsToIgnore;
  m.folder = session.settings.source == Source::optFolder;
  // A file's size foretells its words well (about one in six bytes): reserved once, the text
  // need not be copied while it is read.
  if (session.settings.source == Source::optInFile) {
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(TrimPathBox(session.settings.txbFile[0]), ec);
    // Capped: a huge file grows the text as it is read rather than claim it all at once.
    if (!ec) ReserveHugePages(m.text, static_cast<std::size_t>(std::min<std::uintmax_t>(bytes / 5, 1u << 28)));
  }
}

PhraseCounter::~PhraseCounter() = default;

void PhraseCounter::Reset() {
  Impl& m = *impl_;
  m.inWindow = 0;
  if (!m.text.empty() && m.text.back() != kEnd) m.text.push_back(kEnd);
}

std::int64_t PhraseCounter::NumPhrases() const { return impl_->distinct; }

void PhraseCounter::AddWord(EngineSession& session, std::string_view word) {
  Impl& m = *impl_;
  if (m.folder && session.run.strCurrentFile != m.currentPath) {
    m.currentPath = session.run.strCurrentFile;
    m.fileRegistered = false;
  }
  const std::uint32_t w = m.Intern(session, word);
  for (int k = std::min(m.inWindow, m.maxWords - 1); k >= 1; --k) m.ignoredBack[k] = m.ignoredBack[k - 1];
  m.ignoredBack[0] = m.wordIgnored[w];
  const int available = std::min(m.inWindow + 1, m.maxWords);
  // A file is registered with its first counted phrase, as the table would register it.
  if (m.folder && !m.fileRegistered && m.AnyCountedEndsHere(available)) {
    const auto file = static_cast<std::uint32_t>(session.words.RegisterFile(m.currentPath));
    m.fileStarts.emplace_back(m.text.size(), file);
    m.fileRegistered = true;
  }
  if (m.text.size() >= kEnd) throw std::length_error("text too long for a phrase count");
  m.text.push_back(w);
  m.inWindow = available;
}

std::int64_t PhraseCounter::MoveIntoTable(EngineSession& session, std::int64_t minFrequency) {
  Impl& m = *impl_;
  m.wordIndex.Release();
  m.minFrequency = std::max<std::int64_t>(minFrequency, 0);
  m.scratch.resize(static_cast<std::size_t>(m.maxWords) + 1);
  m.NumberWordsInSortOrder(session.host);
  // Every position by its word (counting sort, positions ascending), as (word, position).
  std::vector<std::uint64_t> byWord;
  {
    std::vector<std::size_t> start(m.words.size() + 1, 0);
    std::size_t positions = 0;
    for (std::size_t p = 0; p < m.text.size(); ++p) {
      if ((p & 0x3FFF) == 0) session.host.Pump();
      const std::uint32_t w = m.text[p];
      if (w == kEnd) continue;
      ++start[w + 1];
      ++positions;
    }
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    ReserveHugePages(byWord, positions);
    PacedResize(byWord, positions, [&session] { session.host.Pump(); });
    for (std::size_t p = 0; p < m.text.size(); ++p) {
      if ((p & 0x3FFF) == 0) session.host.Pump();
      const std::uint32_t w = m.text[p];
      if (w != kEnd) byWord[start[w]++] = (std::uint64_t{w} << 32) | p;
    }
  }
  for (std::size_t i = 0; i < byWord.size() && !m.stopped;) {
    std::size_t j = i + 1;
    while (j < byWord.size() && (byWord[j] >> 32) == (byWord[i] >> 32)) ++j;
    const bool ignored = m.wordIgnored[byWord[i] >> 32] != 0;
    m.Visit(session, &byWord[i], j - i, 1, ignored, ignored);
    i = j;
  }
  std::vector<std::uint64_t>().swap(byWord);
  std::vector<std::vector<std::uint64_t>>().swap(m.scratch);
  m.AddKeptToTable(session);
  const std::int64_t left = m.left;
  impl_ = std::make_unique<Impl>();
  return left;
}

}  // namespace talq
