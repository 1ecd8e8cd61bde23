// The phrases are read as word-id sequences. A phrase i inside a longer phrase j lines up
// with j's words: its inner words are j's words, its first word is all or the end of a word
// of j, its last word all or the start of one (a single word: any part of one). So instead
// of comparing pairs, each phrase j looks up the phrases its own words allow:
//  - word-aligned parts: only the two parts one word shorter. Any other aligned part i of
//    the same frequency f lies inside one of those, which is counted at least as often as j
//    and at most as often as i, so it too has frequency f and excludes i in its own turn;
//  - parts that begin inside a word of j, or end inside one: candidate first words are the
//    words that are the end of j's word and start some phrase, candidate last words those
//    that are the start of j's word and end some phrase; a candidate grows a word at a time
//    and stops as soon as no phrase of frequency f begins (or ends) with what it has so far.
#include "engine/redundant_subphrases.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/engine_session.h"
#include "host/host.h"
#include "util/hash.h"
#include "util/huge_pages.h"
#include "util/id_index.h"
#include "util/paced_sort.h"

namespace talq {

namespace {

// Phrase keys are hashed a word at a time, the frequency first, from the front or from the
// back: the hash of a phrase's start (or end) is a step on the way to the phrase's own.
inline std::uint64_t Front(std::int64_t frequency) {
  return Fmix(static_cast<std::uint64_t>(frequency) ^ 0x243f6a8885a308d3ull);
}
inline std::uint64_t Back(std::int64_t frequency) {
  return Fmix(static_cast<std::uint64_t>(frequency) ^ 0x13198a2e03707344ull);
}
inline std::uint64_t Step(std::uint64_t h, std::uint32_t word) {
  return Fmix(h ^ (word + 0x9e3779b97f4a7c15ull));
}

// The words of the phrases, numbered in order of first sight. Their text is copied end to
// end, so that telling words apart reads a few megabytes rather than the whole table.
class WordIds {
 public:
  std::uint32_t Id(std::string_view word) {
    const std::uint64_t h = HashBytes(word);
    std::size_t pos = 0;
    const std::uint32_t found = index_.Find(h, [&](std::uint32_t id) { return Word(id) == word; }, pos);
    if (found != IdIndex::kMissing) return found;
    text_.append(word);
    ends_.push_back(text_.size());
    return index_.Add(h, pos);
  }

  // Every word in id order; the views last as long as this.
  std::vector<std::string_view> Words() const {
    std::vector<std::string_view> out;
    out.reserve(ends_.size());
    for (std::uint32_t id = 0; id < ends_.size(); ++id) out.push_back(Word(id));
    return out;
  }

 private:
  std::string_view Word(std::uint32_t id) const {
    const std::size_t begin = id == 0 ? 0 : ends_[id - 1];
    return std::string_view(text_).substr(begin, ends_[id] - begin);
  }

  IdIndex index_;
  std::string text_;
  std::vector<std::size_t> ends_;
};

struct Phrase {
  std::int64_t index;      // in the word table
  std::int64_t frequency;
  std::uint32_t first;     // into ids
  std::uint32_t length;    // words
};

class Redundancy {
 public:
  explicit Redundancy(EngineSession& s) : s_(s) {}

  bool Run();

 private:
  // Read and Relate end early on a stop, which Run checks after each.
  void Read();
  void Relate();
  // Lets the window handle its events; true when the user has stopped the run.
  bool Paused() {
    s_.host.Pump();
    return s_.run.blnStop;
  }
  static std::uint64_t Hash(std::int64_t frequency, const std::uint32_t* w, std::size_t n);
  // The phrase w[0..n) of the given frequency (whose Hash is h): its index + 1, or 0.
  std::uint32_t Find(std::int64_t frequency, const std::uint32_t* w, std::size_t n, std::uint64_t h) const;
  // A key's two bits lie in one word of the filter, so a test costs one cache miss at most.
  static std::uint64_t FilterBits(std::uint64_t h) {
    return (std::uint64_t{1} << ((h >> 7) & 63)) | (std::uint64_t{1} << ((h >> 13) & 63));
  }
  void Mark(std::uint64_t h) { filter_[h >> filterShift_] |= FilterBits(h); }
  // False when no phrase of the hashed frequency starts (Front) or ends (Back) so.
  bool Maybe(std::uint64_t h) const {
    const std::uint64_t bits = FilterBits(h);
    return (filter_[h >> filterShift_] & bits) == bits;
  }
  void Exclude(std::int64_t frequency, const std::uint32_t* w, std::size_t n, std::uint64_t h);
  void Exclude(std::int64_t frequency, const std::uint32_t* w, std::size_t n) {
    Exclude(frequency, w, n, Hash(frequency, w, n));
  }
  void Prefetch(const Phrase& j) const;
  void Examine(const Phrase& j);

  EngineSession& s_;
  std::vector<Phrase> phrases_;
  std::vector<std::uint32_t> ids_;
  WordIds words_;
  std::vector<std::string_view> vocabulary_;
  std::vector<std::uint8_t> starts_, ends_, single_;  // per word: begins, ends, is a phrase
  // A slot holds what a lookup compares before it reads the phrase's words, so that a
  // probe past another phrase costs no further cache miss.
  struct Slot {
    std::uint32_t phrase;  // + 1; 0 empty
    std::uint32_t first;   // into ids
    std::uint64_t key;     // Key(frequency, length)
  };
  static std::uint64_t Key(std::int64_t frequency, std::size_t length) {
    return static_cast<std::uint64_t>(frequency) << 8 | std::min<std::size_t>(length, 255);
  }
  std::vector<Slot> slots_;
  // Two bits per start and per end of every phrase (the phrase itself among them): nearly
  // every key looked up is no phrase and begins or ends none, and this filter, far smaller
  // than the table, says so.
  std::vector<std::uint64_t> filter_;
  int filterShift_ = 64;
  std::uint32_t lengths_ = 0;  // bit n: some phrase has n words
  std::vector<std::uint8_t> excluded_;
  // Per word: the words that are its proper ends (and start a phrase), its proper starts
  // (and end a phrase), its proper parts (and are a one-word phrase).
  std::vector<std::uint32_t> endsAt_, endsOf_, startsAt_, startsOf_, partsAt_, partsOf_;
};

void Redundancy::Read() {
  const WordTable& t = s_.words;
  const auto entries = static_cast<std::size_t>(std::max<std::int64_t>(t.lngNumWords, 0));
  ReserveHugePages(phrases_, entries);
  // Room that is never written costs no memory: enough for phrases of eight words on
  // average, so that the words are not copied while they are read.
  ReserveHugePages(ids_, entries * 8);
  for (std::int64_t i = 1; i <= t.lngNumWords; ++i) {
    // The set-up passes let the window breathe too: on a large corpus each takes a while.
    if ((i & 0xFFF) == 0 && Paused()) return;
    const WordRecord& r = t.udtWords[static_cast<std::size_t>(i)];
    if (!r.blnIncluded) continue;
    Phrase p{i, r.lngFrequency, static_cast<std::uint32_t>(ids_.size()), 0};
    const std::string_view text = r.strWord;
    std::size_t start = 0;
    for (;;) {
      const std::size_t space = text.find(' ', start);
      const std::string_view word = text.substr(start, space == std::string_view::npos ? space : space - start);
      ids_.push_back(words_.Id(word));
      ++p.length;
      if (space == std::string_view::npos) break;
      start = space + 1;
    }
    if (p.length < 32) lengths_ |= std::uint32_t{1} << p.length;
    phrases_.push_back(p);
  }
  vocabulary_ = words_.Words();
  const std::size_t n = vocabulary_.size();
  starts_.assign(n, 0);
  ends_.assign(n, 0);
  single_.assign(n, 0);
  std::size_t size = 1024;
  while (size < phrases_.size() * 3 / 2) size *= 2;  // four slots to a cache line
  ReserveHugePages(slots_, size);
  PacedResize(slots_, size, [this] { s_.host.Pump(); });
  std::size_t filterWords = 64;  // of 64 bits; about eight bits per key
  filterShift_ = 64 - 6;
  while (filterWords * 64 < ids_.size() * 2 * 8 - phrases_.size() * 8) {
    filterWords *= 2;
    --filterShift_;
  }
  ReserveHugePages(filter_, filterWords);
  PacedResize(filter_, filterWords, [this] { s_.host.Pump(); });
  // Marks and slots are written a few dozen steps after their cache lines are asked for,
  // so that the misses overlap instead of following one another.
  constexpr std::size_t kAhead = 32;
  std::uint64_t marks[kAhead];
  std::size_t numMarks = 0;
  auto mark = [&](std::uint64_t h) {
    __builtin_prefetch(&filter_[h >> filterShift_], 1);
    std::uint64_t& m = marks[numMarks++ % kAhead];
    if (numMarks > kAhead) Mark(m);
    m = h;
  };
  std::pair<std::uint64_t, std::uint32_t> inserts[kAhead];
  std::size_t numInserts = 0;
  const std::size_t mask = slots_.size() - 1;
  auto insert = [&](const std::pair<std::uint64_t, std::uint32_t>& e) {
    const Phrase& p = phrases_[e.second];
    std::size_t pos = e.first & mask;
    while (slots_[pos].phrase != 0) pos = (pos + 1) & mask;
    slots_[pos] = Slot{e.second + 1, p.first, Key(p.frequency, p.length)};
  };
  for (std::uint32_t k = 0; k < phrases_.size(); ++k) {
    if ((k & 0xFFF) == 0 && Paused()) return;
    const Phrase& p = phrases_[k];
    const std::uint32_t* w = &ids_[p.first];
    if (p.length == 1) {
      single_[w[0]] = 1;
    } else {
      starts_[w[0]] = 1;
      ends_[w[p.length - 1]] = 1;
    }
    std::uint64_t h = Front(p.frequency);
    // Starts and ends of one word are never asked about, only a one-word phrase itself.
    for (std::uint32_t i = 0; i < p.length; ++i) {
      h = Step(h, w[i]);
      if (i > 0 || p.length == 1) mark(h);
    }
    std::uint64_t g = Back(p.frequency);
    for (std::uint32_t i = p.length; i-- > 0;) {
      g = Step(g, w[i]);
      if (i + 1 < p.length) mark(g);
    }
    __builtin_prefetch(&slots_[h & mask], 1);
    auto& e = inserts[numInserts++ % kAhead];
    if (numInserts > kAhead) insert(e);
    e = {h, k};
  }
  for (std::size_t i = 0; i < std::min(numMarks, kAhead); ++i) Mark(marks[i]);
  for (std::size_t i = 0; i < std::min(numInserts, kAhead); ++i) insert(inserts[i]);
  excluded_.assign(phrases_.size(), 0);
}

void Redundancy::Relate() {
  std::unordered_map<std::string_view, std::uint32_t> index;
  for (std::uint32_t i = 0; i < vocabulary_.size(); ++i) {
    if ((i & 0x3FFF) == 0x3FFF && Paused()) return;
    index.emplace(vocabulary_[i], i);
  }
  bool anySingle = false;
  for (std::uint8_t b : single_) anySingle = anySingle || b != 0;
  auto lookup = [&](std::string_view part) -> std::int64_t {
    auto it = index.find(part);
    return it == index.end() ? std::int64_t{-1} : std::int64_t{it->second};
  };
  auto boundary = [](std::string_view w, std::size_t i) {
    return i == w.size() || (static_cast<unsigned char>(w[i]) & 0xC0) != 0x80;
  };
  endsAt_.assign(1, 0);
  startsAt_.assign(1, 0);
  partsAt_.assign(1, 0);
  std::uint32_t seen = 0;
  for (std::string_view w : vocabulary_) {
    if ((++seen & 0x3FFF) == 0 && Paused()) return;
    for (std::size_t i = 1; i < w.size(); ++i) {
      if (!boundary(w, i)) continue;
      if (const std::int64_t e = lookup(w.substr(i)); e >= 0 && starts_[e]) endsOf_.push_back(e);
      if (const std::int64_t b = lookup(w.substr(0, i)); b >= 0 && ends_[b]) startsOf_.push_back(b);
    }
    if (anySingle) {
      for (std::size_t a = 0; a < w.size(); ++a) {
        if (!boundary(w, a)) continue;
        for (std::size_t b = a + 1; b <= w.size(); ++b) {
          if (!boundary(w, b) || (a == 0 && b == w.size())) continue;
          if (const std::int64_t p = lookup(w.substr(a, b - a)); p >= 0 && single_[p]) partsOf_.push_back(p);
        }
      }
    }
    endsAt_.push_back(static_cast<std::uint32_t>(endsOf_.size()));
    startsAt_.push_back(static_cast<std::uint32_t>(startsOf_.size()));
    partsAt_.push_back(static_cast<std::uint32_t>(partsOf_.size()));
  }
}

std::uint64_t Redundancy::Hash(std::int64_t frequency, const std::uint32_t* w, std::size_t n) {
  std::uint64_t h = Front(frequency);
  for (std::size_t i = 0; i < n; ++i) h = Step(h, w[i]);
  return h;
}

std::uint32_t Redundancy::Find(std::int64_t frequency, const std::uint32_t* w, std::size_t n,
                               std::uint64_t h) const {
  if (n >= 32 || ((lengths_ >> n) & 1) == 0 || !Maybe(h)) return 0;
  const std::size_t mask = slots_.size() - 1;
  const std::uint64_t key = Key(frequency, n);
  for (std::size_t pos = h & mask;; pos = (pos + 1) & mask) {
    const Slot& slot = slots_[pos];
    if (slot.phrase == 0) return 0;
    if (slot.key != key) continue;
    const std::uint32_t* v = &ids_[slot.first];
    bool same = true;
    for (std::size_t i = 0; i < n && same; ++i) same = v[i] == w[i];
    // The key holds all of a frequency below 2^56, that is any a text can reach.
    if (same && (frequency >> 56 == 0 || phrases_[slot.phrase - 1].frequency == frequency)) return slot.phrase;
  }
}

void Redundancy::Exclude(std::int64_t frequency, const std::uint32_t* w, std::size_t n, std::uint64_t h) {
  // Two threads may mark the same phrase.
  if (const std::uint32_t slot = Find(frequency, w, n, h); slot != 0)
    std::atomic_ref<std::uint8_t>(excluded_[slot - 1]).store(1, std::memory_order_relaxed);
}

// Brings in the filter words that Examine(j) reads first, so that their cache misses overlap
// with the work on the phrase before j instead of following one another. (A word alone
// passes the filter too often to be worth a test of its own.)
void Redundancy::Prefetch(const Phrase& j) const {
  const std::int64_t f = j.frequency;
  const std::uint32_t* J = &ids_[j.first];
  const std::uint32_t q = j.length;
  auto fetch = [this](std::uint64_t h) { __builtin_prefetch(&filter_[h >> filterShift_]); };
  if (q >= 2) {
    // The two parts a word shorter are mostly phrases: their slots are read too.
    for (const std::uint64_t h : {Hash(f, J + 1, q - 1), Hash(f, J, q - 1)}) {
      fetch(h);
      __builtin_prefetch(&slots_[h & (slots_.size() - 1)]);
    }
  }
  for (std::uint32_t t = 0; t + 1 < q; ++t) {
    for (std::uint32_t a = endsAt_[J[t]]; a < endsAt_[J[t] + 1]; ++a)
      fetch(Step(Step(Front(f), endsOf_[a]), J[t + 1]));
  }
  for (std::uint32_t e = 1; e < q; ++e) {
    for (std::uint32_t b = startsAt_[J[e]]; b < startsAt_[J[e] + 1]; ++b)
      fetch(Step(Step(Back(f), startsOf_[b]), J[e - 1]));
  }
}

void Redundancy::Examine(const Phrase& j) {
  const std::int64_t f = j.frequency;
  const std::uint32_t* J = &ids_[j.first];
  const std::uint32_t q = j.length;
  if (q >= 2) {
    Exclude(f, J + 1, q - 1);
    Exclude(f, J, q - 1);
  }
  for (std::uint32_t t = 0; t < q; ++t) {
    for (std::uint32_t k = partsAt_[J[t]]; k < partsAt_[J[t] + 1]; ++k) Exclude(f, &partsOf_[k], 1);
  }
  std::uint32_t buffer[64];
  if (q > 32) return;  // phrases are at most 25 words
  // Beginning inside word t, grown a word at a time while some phrase of frequency f
  // begins so.
  for (std::uint32_t t = 0; t + 1 < q; ++t) {
    for (std::uint32_t a = endsAt_[J[t]]; a < endsAt_[J[t] + 1]; ++a) {
      buffer[0] = endsOf_[a];
      std::uint64_t h = Step(Front(f), buffer[0]);
      std::size_t n = 1;
      for (std::uint32_t e = t + 1; e < q; ++e) {
        for (std::uint32_t b = startsAt_[J[e]]; b < startsAt_[J[e] + 1]; ++b) {
          buffer[n] = startsOf_[b];
          Exclude(f, buffer, n + 1, Step(h, buffer[n]));
        }
        buffer[n] = J[e];
        h = Step(h, J[e]);
        if (!Maybe(h)) break;
        Exclude(f, buffer, ++n, h);
      }
    }
  }
  // Beginning with word t, ending inside word e, grown a word at a time to the left while
  // some phrase of frequency f ends so.
  for (std::uint32_t e = 1; e < q; ++e) {
    for (std::uint32_t b = startsAt_[J[e]]; b < startsAt_[J[e] + 1]; ++b) {
      const std::uint32_t last = startsOf_[b];
      std::uint64_t g = Step(Back(f), last);
      for (std::uint32_t t = e; t-- > 0;) {
        g = Step(g, J[t]);
        if (!Maybe(g)) break;
        const std::size_t n = e - t;
        for (std::size_t i = 0; i < n; ++i) buffer[i] = J[t + i];
        buffer[n] = last;
        Exclude(f, buffer, n + 1);
      }
    }
  }
}

bool Redundancy::Run() {
  Read();
  if (s_.run.blnStop) return false;
  Relate();
  if (s_.run.blnStop) return false;
  // Blocks of phrases are taken in turn by this thread and, on a machine with a second
  // core, a helper. An examination only reads the tables and marks exclusions, so the
  // result does not depend on which thread takes which block. Only this thread pumps.
  constexpr std::size_t kBlock = 1024;  // this thread pumps after each block it takes
  const std::size_t n = phrases_.size();
  std::atomic<std::size_t> next{0};
  std::atomic<bool> quit{false};
  auto examine = [&](std::size_t begin) {
    // A few phrases ahead: the examination of one is shorter than a cache miss.
    constexpr std::size_t kAhead = 4;
    const std::size_t end = std::min(begin + kBlock, n);
    for (std::size_t k = begin; k < std::min(begin + kAhead, end); ++k) Prefetch(phrases_[k]);
    for (std::size_t k = begin; k < end; ++k) {
      if (k + kAhead < end) Prefetch(phrases_[k + kAhead]);
      Examine(phrases_[k]);
    }
  };
  std::thread helper;
  if (n > 2 * kBlock && std::thread::hardware_concurrency() > 1) {
    helper = std::thread([&] {
      for (std::size_t b; !quit.load(std::memory_order_relaxed) && (b = next.fetch_add(kBlock)) < n;) examine(b);
    });
  }
  bool stopped = false;
  for (std::size_t b; (b = next.fetch_add(kBlock)) < n;) {
    examine(b);
    s_.host.Pump();
    if (s_.run.blnStop) {
      stopped = true;
      quit = true;
      break;
    }
  }
  if (helper.joinable()) helper.join();
  if (stopped) return false;
  for (std::size_t k = 0; k < phrases_.size(); ++k) {
    if ((k & 0x3FFF) == 0x3FFF) s_.host.Pump();
    if (excluded_[k]) s_.words.udtWords[static_cast<std::size_t>(phrases_[k].index)].blnIncluded = false;
  }
  return true;
}

}  // namespace

void ExcludeRedundantSubphrases(EngineSession& s) {
  s.host.Pump();
  if (s.run.blnStop) return;
  Redundancy(s).Run();
}

}  // namespace talq
