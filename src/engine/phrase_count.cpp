#include "engine/phrase_count.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <unordered_map>

#include "engine/engine_session.h"
#include "engine/extraction.h"
#include "engine/list_lookup.h"
#include "host/host.h"
#include "util/paths.h"

namespace talq {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr int kChunkBits = 20;  // nodes live in chunks of 2^20, so growing never copies them
constexpr std::uint32_t kChunkMask = (1u << kChunkBits) - 1;

inline std::uint64_t Fmix(std::uint64_t k) {
  k ^= k >> 33;
  k *= 0xff51afd7ed558ccdull;
  k ^= k >> 33;
  k *= 0xc4ceb9fe1a85ec53ull;
  k ^= k >> 33;
  return k;
}

std::uint64_t HashBytes(std::string_view s) {
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

// A phrase: the phrase of its words but the last (kNone for a single word) and that last
// word. count is the low half of its frequency (wrap-arounds are kept aside).
struct Node {
  std::uint32_t parent;
  std::uint32_t word;
  std::uint32_t count;
  std::uint32_t lastFile;  // folder runs: the file of its latest occurrence
};

// The first occurrence of a phrase in a file, with its frequency before it.
struct FileMark {
  std::uint32_t node;
  std::uint32_t file;
  std::uint64_t before;
};

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

  // Words: text, whether each is a word to ignore, its single-word node.
  std::vector<std::string> words;
  std::vector<std::uint8_t> wordIgnored;
  std::vector<std::uint32_t> wordNode;
  std::vector<std::uint64_t> wordHash;
  std::vector<std::uint32_t> wordSlots;  // word id + 1; 0 empty

  // Phrases.
  std::vector<std::unique_ptr<Node[]>> chunks;
  std::uint32_t numNodes = 0;
  std::vector<std::uint64_t> nodeSlots;  // (hash tag << 32) | (node id + 1); 0 empty
  int slotShift = 64 - 16;                // a key's home slot: its hash >> slotShift
  std::unordered_map<std::uint32_t, std::uint64_t> carries;  // multiples of 2^32 per node
  std::int64_t distinct = 0;

  // The window: nodes of the phrases of 1..maxWords words ending at the last word.
  int inWindow = 0;
  std::array<std::uint32_t, 32> prev{};
  std::array<std::uint8_t, 32> ignoredBack{};  // [k]: the word k places back is ignored

  // Per-file data of a folder run.
  std::string currentPath;
  bool fileRegistered = false;
  std::uint32_t fileNumber = 0;
  std::vector<FileMark> marks;

  // Live display of new phrases.
  std::string pending;
  std::int64_t lastDisplaySecond = -1;

  Node& At(std::uint32_t id) { return chunks[id >> kChunkBits][id & kChunkMask]; }
  std::uint64_t Total(std::uint32_t id) {
    std::uint64_t t = At(id).count;
    if (!carries.empty()) {
      auto it = carries.find(id);
      if (it != carries.end()) t += it->second;
    }
    return t;
  }

  std::uint32_t Intern(EngineSession& session, std::string_view word);
  std::uint32_t NewNode(std::uint32_t parent, std::uint32_t word);
  static std::uint64_t KeyHash(std::uint32_t parent, std::uint32_t word) {
    return Fmix((std::uint64_t{parent} << 32) | word);
  }
  std::uint32_t FindOrAdd(std::uint64_t hash, std::uint32_t parent, std::uint32_t word);
  void GrowNodeSlots();
  void Count(EngineSession& session, std::uint32_t id);
  void ShowNew(EngineSession& session, std::uint32_t id);
  std::string Text(std::uint32_t id);
};

std::uint32_t PhraseCounter::Impl::NewNode(std::uint32_t parent, std::uint32_t word) {
  if (numNodes == kNone - 1) throw std::length_error("too many distinct phrases");
  if ((numNodes & kChunkMask) == 0) chunks.push_back(std::make_unique<Node[]>(std::size_t{1} << kChunkBits));
  const std::uint32_t id = numNodes++;
  At(id) = Node{parent, word, 0, kNone};
  return id;
}

std::uint32_t PhraseCounter::Impl::Intern(EngineSession& session, std::string_view word) {
  const std::uint64_t h = HashBytes(word);
  std::size_t mask = wordSlots.size() - 1;
  std::size_t pos = h & mask;
  for (;; pos = (pos + 1) & mask) {
    const std::uint32_t s = wordSlots[pos];
    if (s == 0) break;
    if (wordHash[s - 1] == h && words[s - 1] == word) return s - 1;
  }
  const auto id = static_cast<std::uint32_t>(words.size());
  words.emplace_back(word);
  wordHash.push_back(h);
  // The same test the phrase slots apply, once per distinct word.
  wordIgnored.push_back(Lists(session).AllWordsToIgnore(session, word) ? 1 : 0);
  wordNode.push_back(NewNode(kNone, id));
  wordSlots[pos] = id + 1;
  if (words.size() * 2 > wordSlots.size()) {
    wordSlots.assign(wordSlots.size() * 2, 0);
    mask = wordSlots.size() - 1;
    for (std::uint32_t i = 0; i < words.size(); ++i) {
      std::size_t p = wordHash[i] & mask;
      while (wordSlots[p] != 0) p = (p + 1) & mask;
      wordSlots[p] = i + 1;
    }
  }
  return id;
}

// Slots are found from the high bits of a key's hash, which the slot keeps as its tag: the
// table doubles without reading a node, and in nearly the order of its new slots.
void PhraseCounter::Impl::GrowNodeSlots() {
  std::vector<std::uint64_t> old;
  old.swap(nodeSlots);
  nodeSlots.assign(old.size() * 2, 0);
  --slotShift;
  const std::size_t mask = nodeSlots.size() - 1;
  for (std::uint64_t s : old) {
    if (s == 0) continue;
    std::size_t p = static_cast<std::size_t>(s >> slotShift);
    while (nodeSlots[p] != 0) p = (p + 1) & mask;
    nodeSlots[p] = s;
  }
}

std::uint32_t PhraseCounter::Impl::FindOrAdd(std::uint64_t h, std::uint32_t parent,
                                             std::uint32_t word) {
  const std::uint64_t tag = h & 0xFFFFFFFF00000000ull;
  const std::size_t mask = nodeSlots.size() - 1;
  std::size_t pos = static_cast<std::size_t>(h >> slotShift);
  for (;; pos = (pos + 1) & mask) {
    const std::uint64_t s = nodeSlots[pos];
    if (s == 0) break;
    if ((s & 0xFFFFFFFF00000000ull) != tag) continue;
    const auto id = static_cast<std::uint32_t>(s) - 1;
    const Node& n = At(id);
    if (n.parent == parent && n.word == word) return id;
  }
  const std::uint32_t id = NewNode(parent, word);
  nodeSlots[pos] = tag | (id + 1);
  // At most three quarters full: probes stay short.
  if (std::size_t{numNodes} * 4 > nodeSlots.size() * 3) GrowNodeSlots();
  return id;
}

std::string PhraseCounter::Impl::Text(std::uint32_t id) {
  std::array<std::uint32_t, 32> ids{};
  int n = 0;
  for (std::uint32_t i = id; i != kNone && n < 32; i = At(i).parent) ids[n++] = At(i).word;
  std::string text;
  for (int k = n - 1; k >= 0; --k) {
    text += words[ids[k]];
    if (k > 0) text += ' ';
  }
  return text;
}

void PhraseCounter::Impl::ShowNew(EngineSession& session, std::uint32_t id) {
  // As the word table shows new words: gathered, and written once a second; the phrase that
  // triggers the writing and the very first one are not shown.
  if (session.settings.chkSuppressWords != 0 || distinct == 1) return;
  const std::int64_t second = session.run.lngSecondsElapsed;
  if (second == lastDisplaySecond) {
    pending += Text(id);
    pending += ", ";
    return;
  }
  session.host.TxbAppend(pending);
  pending.clear();
  lastDisplaySecond = second;
  if (session.host.TxbLength() > 65000) session.host.TxbClear();
}

void PhraseCounter::Impl::Count(EngineSession& session, std::uint32_t id) {
  Node& n = At(id);
  if (n.count == 0 && (carries.empty() || carries.find(id) == carries.end())) {
    ++distinct;
    ShowNew(session, id);
  }
  if (folder) {
    if (!fileRegistered) {
      fileNumber = static_cast<std::uint32_t>(session.words.RegisterFile(currentPath));
      fileRegistered = true;
    }
    if (n.lastFile != fileNumber) {
      marks.push_back(FileMark{id, fileNumber, Total(id)});
      n.lastFile = fileNumber;
    }
  }
  if (++n.count == 0) carries[id] += std::uint64_t{1} << 32;
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
  m.wordSlots.assign(1024, 0);
  // A file's size foretells its phrases well (about one word in six bytes, nine in ten of
  // its windows distinct): sized once, the table need not grow while it is read.
  int bits = 16;
  if (session.settings.source == Source::optInFile) {
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(TrimPathBox(session.settings.txbFile[0]), ec);
    if (!ec) {
      const double expected = static_cast<double>(bytes) / 6 * (m.maxWords - 1) * 0.9 * 4 / 3;
      while (bits < 27 && static_cast<double>(std::size_t{1} << bits) < expected) ++bits;
    }
  }
  m.nodeSlots.assign(std::size_t{1} << bits, 0);
  m.slotShift = 64 - bits;
}

PhraseCounter::~PhraseCounter() = default;

void PhraseCounter::Reset() { impl_->inWindow = 0; }

std::int64_t PhraseCounter::NumPhrases() const { return impl_->distinct; }

void PhraseCounter::AddWord(EngineSession& session, std::string_view word) {
  Impl& m = *impl_;
  if (m.folder && session.run.strCurrentFile != m.currentPath) {
    m.currentPath = session.run.strCurrentFile;
    m.fileRegistered = false;
  }
  const std::uint32_t w = m.Intern(session, word);
  const bool ignored = m.wordIgnored[w] != 0;
  for (int k = std::min(m.inWindow, m.maxWords - 1); k >= 1; --k) m.ignoredBack[k] = m.ignoredBack[k - 1];
  m.ignoredBack[0] = ignored ? 1 : 0;
  const int available = std::min(m.inWindow + 1, m.maxWords);

  std::array<std::uint32_t, 32> cur{};
  cur[1] = m.wordNode[w];
  if (m.countSingles && (m.singlesAllowIgnored || !ignored)) m.Count(session, cur[1]);

  // Which phrases ending here are counted; the longest are never a prefix of another, so
  // only counted ones need a node.
  std::array<bool, 32> counted{};
  std::array<std::uint64_t, 32> hash{};
  bool allIgnored = ignored;
  bool anyIgnored = ignored;
  int last = 1;
  for (int k = 2; k <= available; ++k) {
    allIgnored = allIgnored && m.ignoredBack[k - 1] != 0;
    anyIgnored = anyIgnored || m.ignoredBack[k - 1] != 0;
    bool admissible = k >= m.minWords;
    if (admissible && m.wordsToIgnore && !m.strip) {
      if (m.handling == WordsToIgnoreHandling::optExcludePhrasesWithWordToIgnore)
        admissible = !anyIgnored;
      else if (m.handling == WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore)
        admissible = !allIgnored;
    }
    counted[k] = admissible;
    if (!admissible && k == m.maxWords) break;
    last = k;
    // Every key is known now: fetch all their slots at once, not one after another.
    hash[k] = Impl::KeyHash(m.prev[k - 1], w);
    __builtin_prefetch(&m.nodeSlots[static_cast<std::size_t>(hash[k] >> m.slotShift)]);
  }
  // Then the nodes the slots point to, before reading any of them.
  std::array<std::uint32_t, 32> guess{};
  for (int k = 2; k <= last; ++k) {
    const std::uint64_t tag = hash[k] & 0xFFFFFFFF00000000ull;
    const std::size_t mask = m.nodeSlots.size() - 1;
    guess[k] = kNone;
    for (std::size_t p = static_cast<std::size_t>(hash[k] >> m.slotShift);; p = (p + 1) & mask) {
      const std::uint64_t s = m.nodeSlots[p];
      if (s == 0) break;
      if ((s & 0xFFFFFFFF00000000ull) == tag) {
        guess[k] = static_cast<std::uint32_t>(s) - 1;
        __builtin_prefetch(&m.At(guess[k]));
        break;
      }
    }
  }
  for (int k = 2; k <= last; ++k) {
    const std::uint32_t g = guess[k];
    if (g != kNone && m.At(g).parent == m.prev[k - 1] && m.At(g).word == w)
      cur[k] = g;
    else
      cur[k] = m.FindOrAdd(hash[k], m.prev[k - 1], w);
    if (counted[k]) m.Count(session, cur[k]);
  }
  m.prev = cur;
  m.inWindow = available;
}

std::int64_t PhraseCounter::MoveIntoTable(EngineSession& session, std::int64_t minFrequency) {
  Impl& m = *impl_;
  std::vector<std::uint64_t>().swap(m.nodeSlots);
  std::vector<std::uint32_t>().swap(m.wordSlots);
  std::sort(m.marks.begin(), m.marks.end(), [](const FileMark& a, const FileMark& b) {
    return a.node != b.node ? a.node < b.node : a.before < b.before;
  });
  std::int64_t left = 0;
  std::size_t mark = 0;
  std::vector<std::pair<std::int64_t, std::int64_t>> tallies;
  for (std::uint32_t id = 0; id < m.numNodes; ++id) {
    const std::uint64_t total = m.Total(id);
    while (mark < m.marks.size() && m.marks[mark].node < id) ++mark;
    if (total == 0) continue;
    if (total < static_cast<std::uint64_t>(std::max<std::int64_t>(minFrequency, 0))) {
      ++left;
      continue;
    }
    tallies.clear();
    if (m.folder) {
      for (std::size_t i = mark; i < m.marks.size() && m.marks[i].node == id; ++i) {
        const bool last = i + 1 == m.marks.size() || m.marks[i + 1].node != id;
        const std::uint64_t until = last ? total : m.marks[i + 1].before;
        tallies.emplace_back(m.marks[i].file, static_cast<std::int64_t>(until - m.marks[i].before));
      }
    } else {
      tallies.emplace_back(0, static_cast<std::int64_t>(total));
    }
    session.words.AddEntry(m.Text(id), tallies);
    if ((session.words.lngNumWords & 4095) == 0) {
      session.host.Pump();
      if (session.run.blnStop) break;
    }
  }
  impl_ = std::make_unique<Impl>();
  return left;
}

}  // namespace talq
