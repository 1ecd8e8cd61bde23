#include "run/filter_words.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "run/counting_run.h"
#include "run/session.h"
#include "text/word_chars.h"
#include "engine/words_phrases.h"
#include "util/split_work.h"
#include "util/utf8.h"

namespace talq {

bool ExcludedByWordRules(const Settings& st, std::string_view word) {
  const std::size_t length = Utf8Length(word);
  if (st.chkIgnoreShortWords && length < static_cast<std::size_t>(st.ShortWordSize())) return true;
  if (length > static_cast<std::size_t>(st.LongWordSize())) return true;
  if (st.chkIgnoreRepetitions && length >= 4 && HasFourRepetitions(word)) return true;
  if (st.chkIgnoreNoLetter && !HasLetter(word)) return true;
  return false;
}

namespace {

// Calls pass(part, from, to) on entries [from, to) so that the parts cover 1..lngNumWords,
// calling Pump() between steps of part 0, which runs on this thread; the others (as many as
// the table has threads, for a large table) run on threads of their own.
void OverEntries(Session& s, int parts, const std::function<void(int, std::int64_t, std::int64_t)>& pass) {
  constexpr std::int64_t kStep = 0x4000;
  InParts(parts, [&](int k) {
    const auto [first, last] = PartRange(static_cast<std::size_t>(s.words.lngNumWords), k, parts);
    for (auto from = static_cast<std::int64_t>(first) + 1, to = static_cast<std::int64_t>(last) + 1;
         from < to; from += kStep) {
      if (k == 0 && from > 1) s.host.Pump();
      pass(k, from, std::min(to, from + kStep));
    }
  });
}

// Parts for a pass over the whole table.
int PartsFor(const Session& s) {
  return s.words.PartsFor(static_cast<std::size_t>(std::max<std::int64_t>(s.words.lngNumWords, 0)));
}

}  // namespace

void FilterWords(Session& s) {
  const Settings& st = s.settings;
  const CountingRunState& cr = s.counting;
  s.words.SettleCounts();
  OverEntries(s, PartsFor(s), [&](int, std::int64_t from, std::int64_t to) {
    for (std::int64_t i = from; i < to; ++i) {
      WordRecord& w = s.words.udtWords[static_cast<std::size_t>(i)];
      w.blnIncluded = !ExcludedByWordRules(st, w.strWord) &&
                      !(st.chkIgnoreInfrequentWords && w.lngFrequency < cr.intThresholdFrequency) &&
                      !(st.chkIgnoreExcessivelyFrequentWords &&
                        w.lngFrequency > cr.intExcessFrequency);
    }
  });
}

void ApplyFrequencyLimits(Session& s) {
  const Settings& st = s.settings;
  CountingRunState& cr = s.counting;
  const bool mfp = s.run.blnCountingMFP;
  if (mfp) cr.intThresholdFrequency = cr.intMFPThresholdFrequency;
  const bool tooFew = mfp || st.chkIgnoreInfrequentWords;
  const bool tooMany = !mfp && st.chkIgnoreExcessivelyFrequentWords;
  const std::string noun = WordsPhrases(s.run);
  if (tooFew && tooMany)
    s.host.TxbSet("Excluding too frequent or too infrequent " + noun + " ...");
  else if (tooFew)
    s.host.TxbSet("Excluding too infrequent " + noun + " ...");
  else if (tooMany)
    s.host.TxbSet("Excluding too frequent " + noun + " ...");
  s.words.SettleCounts();
  for (std::int64_t i = 1; i <= s.words.lngNumWords; ++i) {
    if ((i & 0x3FFF) == 0) s.host.Pump();
    WordRecord& w = s.words.udtWords[static_cast<std::size_t>(i)];
    w.blnIncluded = !(tooFew && w.lngFrequency < cr.intThresholdFrequency) &&
                    !(tooMany && w.lngFrequency > cr.intExcessFrequency);
  }
}

void ComputeRunStatistics(Session& s) {
  WordTable& t = s.words;
  ReportState& r = s.reports;
  t.SettleCounts();
  struct Figures {
    std::int64_t included = 0, excluded = 0, occurrences = 0, maxFrequency = 0, maxFiles = 0;
    int maxLength = 0, maxWords = 0;
  };
  const int parts = PartsFor(s);
  std::vector<Figures> figures(static_cast<std::size_t>(parts));
  OverEntries(s, parts, [&](int part, std::int64_t from, std::int64_t to) {
    Figures& f = figures[static_cast<std::size_t>(part)];
    for (std::int64_t i = from; i < to; ++i) {
      const WordRecord& w = t.udtWords[static_cast<std::size_t>(i)];
      if (!w.blnIncluded) {
        ++f.excluded;
        continue;
      }
      ++f.included;
      f.occurrences += w.lngFrequency;
      f.maxFrequency = std::max(f.maxFrequency, w.lngFrequency);
      f.maxFiles = std::max(f.maxFiles, w.NumFiles());
      f.maxLength = std::max(f.maxLength, static_cast<int>(Utf8Length(w.strWord)));
      const int words = static_cast<int>(std::count(w.strWord.begin(), w.strWord.end(), ' ')) + 1;
      f.maxWords = std::max(f.maxWords, words);
    }
  });
  // A phrase count keeps only its frequent phrases in the table; the others are excluded.
  r.lngNumWordsExcluded = s.run.blnCountingMFP ? s.phrases.lngNumPhrasesNotKept : 0;
  t.lngNumWordsIncluded = 0;
  t.lngMaxFrequency = 0;
  r.lngNumOccurrences = 0;
  r.lngMaxNumFiles = 0;
  r.intMaxWordLengthFound = 0;
  r.intNumWordsInLongestPhrase = 0;
  for (const Figures& f : figures) {
    r.lngNumWordsExcluded += f.excluded;
    t.lngNumWordsIncluded += f.included;
    r.lngNumOccurrences += f.occurrences;
    t.lngMaxFrequency = std::max(t.lngMaxFrequency, f.maxFrequency);
    r.lngMaxNumFiles = std::max(r.lngMaxNumFiles, f.maxFiles);
    r.intMaxWordLengthFound = std::max(r.intMaxWordLengthFound, f.maxLength);
    r.intNumWordsInLongestPhrase = std::max(r.intNumWordsInLongestPhrase, f.maxWords);
  }
}

}  // namespace talq
